// The module as a window-renderer module of the GUI library: the two entry
// points the host build calls, and the factory module a scheme's
// <WindowRendererSet> asks for.
#include <CEGUI/Exceptions.h>
#include <CEGUI/FactoryModule.h>
#include <CEGUI/FactoryRegisterer.h>

#include "interface.h"
#include "widgets/WidgetFactories.h"

namespace
{
// One renderer type of the module's table, for the GUI library's factory
// module. The module's own add logs a factory already present.
class RendererRegisterer : public CEGUI::FactoryRegisterer
{
public:
    explicit RendererRegisterer(const CEGUI::String& type) : CEGUI::FactoryRegisterer(type) {}
    // The module's renderer factories stay for the module's life: windows
    // made with them may outlive the scheme that named the module, and
    // destroying such a window needs its renderer's factory.
    void unregisterFactory() const override {}

protected:
    void doFactoryAdd() const override { QGUI::AddRendererFactory(d_type); }
    bool isAlreadyRegistered() const override { return false; }
};

class RendererFactoryModule : public CEGUI::FactoryModule
{
public:
    RendererFactoryModule()
    {
        for (unsigned int row = 0; row < QGUI::RendererFactoryCount(); ++row)
            d_registry.push_back(new RendererRegisterer(QGUI::RendererFactoryType(row)));
    }
    ~RendererFactoryModule() override
    {
        for (CEGUI::FactoryRegisterer* r : d_registry)
            delete r;
        d_registry.clear();
    }
};
} // namespace

// Adds every renderer factory of the table that is not registered yet;
// answers the number of table rows.
QGUI_EXPORT unsigned int registerAllFactories()
{
    return QGUI::AddAllRendererFactories();
}

QGUI_EXPORT void registerFactory(const CEGUI::String& type_name)
{
    if (!QGUI::AddRendererFactory(type_name))
        CEGUI_THROW(CEGUI::UnknownObjectException(
            "::registerFactory - The window renderer factory for type '" + type_name +
            "' is not known in this module."));
}

// The GUI library looks this entry up by its C name and calls it as C++.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
QGUI_EXPORT CEGUI::FactoryModule& getWindowRendererFactoryModule()
{
    static RendererFactoryModule module;
    return module;
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
