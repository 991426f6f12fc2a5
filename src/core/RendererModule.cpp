// The module as a window-renderer module of the GUI library.
#include <CEGUI/Exceptions.h>

#include "interface.h"

// The module's window-renderer factories are registered here once the
// game widgets exist; until then the table is empty.
QGUI_EXPORT unsigned int registerAllFactories()
{
    return 0;
}

// Every type is unknown while the table is empty.
QGUI_EXPORT void registerFactory(const CEGUI::String& type_name)
{
    CEGUI_THROW(CEGUI::UnknownObjectException(
        "::registerFactory - The window renderer factory for type '" + type_name +
        "' is not known in this module."));
}
