// The window-factory table and the window-renderer-factory table. Each
// later widget adds its row to each table in table order.
#include "widgets/WidgetFactories.h"

#include <CEGUI/Exceptions.h>
#include <CEGUI/Logger.h>
#include <CEGUI/WindowFactoryManager.h>
#include <CEGUI/WindowRendererManager.h>

#include "widgets/BuffIcon.h"
#include "widgets/BuffIconRenderer.h"
#include "widgets/CreatureViewer.h"
#include "widgets/CreatureViewerRenderer.h"
#include "widgets/GameValueText.h"
#include "widgets/GameValueTextRenderer.h"
#include "widgets/ItemIcon.h"
#include "widgets/ItemIconRenderer.h"

namespace QGUI
{
// The factory of a widget class, built on first use with its window type.
template <class Widget>
CEGUI::WindowFactory& WindowFactoryFor(const char* type)
{
    static CWidgetFactory<Widget> factory(type);
    return factory;
}

// The factory of a window renderer, built on first use with its type.
template <class Renderer>
CEGUI::WindowRendererFactory& RendererFactoryFor(const char* type)
{
    static CRendererFactory<Renderer> factory(type);
    return factory;
}

typedef CWidgetFactory<CItemIcon> CItemIconFactory;
typedef CWidgetFactory<CGameValueText> CGameValueTextFactory;
typedef CWidgetFactory<CCreatureViewer> CCreatureViewerFactory;
typedef CWidgetFactory<CPercentBar> CPercentBarFactory;
typedef CWidgetFactory<CSpellIcon> CSpellIconFactory;
typedef CWidgetFactory<CBuffIcon> CBuffIconFactory;
} // namespace QGUI

namespace CEGUI
{
typedef QGUI::CRendererFactory<CItemIconRenderer> CItemIconRendererWRFactory;
typedef QGUI::CRendererFactory<CGameValueTextRenderer> CGameValueTextRendererWRFactory;
typedef QGUI::CRendererFactory<CCreatureViewerRenderer> CCreatureViewerRendererWRFactory;
typedef QGUI::CRendererFactory<CPercentBarRenderer> CPercentBarRendererWRFactory;
typedef QGUI::CRendererFactory<CBuffIconRenderer> CBuffIconRendererWRFactory;
} // namespace CEGUI

namespace QGUI
{
namespace
{
struct WindowFactoryRow
{
    const char* type;
    CEGUI::WindowFactory& (*factory)(const char* type);
};

// Window factories, in the order they are added.
const WindowFactoryRow kWindowFactories[] = {
    {"QXGame/ItemIcon", &WindowFactoryFor<CItemIcon>},
    {"QXGame/GameValueText", &WindowFactoryFor<CGameValueText>},
    {"QXGame/CreatureViewer", &WindowFactoryFor<CCreatureViewer>},
    {"QXGame/PercentBar", &WindowFactoryFor<CPercentBar>},
    {"QXGame/SpellIcon", &WindowFactoryFor<CSpellIcon>},
    {"QXGame/BuffIcon", &WindowFactoryFor<CBuffIcon>},
};

struct RendererFactoryRow
{
    const char* type;
    CEGUI::WindowRendererFactory& (*factory)(const char* type);
};

// Window-renderer factories; the row with a null type ends the table.
const RendererFactoryRow kRendererFactories[] = {
    {"QXGame/ItemIcon", &RendererFactoryFor<CEGUI::CItemIconRenderer>},
    {"QXGame/GameValueText", &RendererFactoryFor<CEGUI::CGameValueTextRenderer>},
    {"QXGame/CreatureViewer", &RendererFactoryFor<CEGUI::CCreatureViewerRenderer>},
    {"QXGame/PercentBar", &RendererFactoryFor<CEGUI::CPercentBarRenderer>},
    {"QXGame/BuffIcon", &RendererFactoryFor<CEGUI::CBuffIconRenderer>},
    {nullptr, nullptr},
};

// Adds a renderer factory unless one of its type is present.
void AddUnlessPresent(const RendererFactoryRow& row)
{
    CEGUI::WindowRendererManager& renderers = CEGUI::WindowRendererManager::getSingleton();
    if (renderers.isFactoryPresent(row.type))
    {
        CEGUI::Logger::getSingleton().logEvent(CEGUI::String("WindowRenderer factory '") + row.type +
                                                   "' appears to be already registered, skipping.",
                                               CEGUI::Standard);
        return;
    }
    renderers.addFactory(&row.factory(row.type));
}
} // namespace

void AddWindowFactories()
{
    CEGUI::WindowFactoryManager& windows = CEGUI::WindowFactoryManager::getSingleton();
    for (const WindowFactoryRow& row : kWindowFactories)
    {
        try
        {
            windows.addFactory(&row.factory(row.type));
        }
        catch (const CEGUI::AlreadyExistsException&)
        {
            // The GUI system has logged the clash; the other types still join.
        }
    }
}

unsigned int AddAllRendererFactories()
{
    unsigned int rows = 0;
    for (const RendererFactoryRow* row = kRendererFactories; row->type; ++row, ++rows)
        AddUnlessPresent(*row);
    return rows;
}

bool AddRendererFactory(const CEGUI::String& type)
{
    for (const RendererFactoryRow* row = kRendererFactories; row->type; ++row)
    {
        if (type == row->type)
        {
            AddUnlessPresent(*row);
            return true;
        }
    }
    return false;
}

unsigned int WindowFactoryCount()
{
    return sizeof(kWindowFactories) / sizeof(kWindowFactories[0]);
}

const char* WindowFactoryType(unsigned int row)
{
    return row < WindowFactoryCount() ? kWindowFactories[row].type : nullptr;
}

unsigned int RendererFactoryCount()
{
    return sizeof(kRendererFactories) / sizeof(kRendererFactories[0]) - 1;
}

const char* RendererFactoryType(unsigned int row)
{
    return row < RendererFactoryCount() ? kRendererFactories[row].type : nullptr;
}
} // namespace QGUI
