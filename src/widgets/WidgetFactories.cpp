// The window-factory table and the window-renderer-factory table. Each
// later widget adds its row to each table in table order.
#include "widgets/WidgetFactories.h"

#include <CEGUI/Exceptions.h>
#include <CEGUI/Logger.h>
#include <CEGUI/WindowFactoryManager.h>
#include <CEGUI/WindowRendererManager.h>

#include "richtext/GameMultiLine.h"
#include "richtext/GameMultiLineRenderer.h"
#include "richtext/GuideBox.h"
#include "widgets/BuffIcon.h"
#include "widgets/BuffIconRenderer.h"
#include "widgets/ChatEditBox.h"
#include "widgets/CreatureViewer.h"
#include "widgets/CreatureViewerRenderer.h"
#include "widgets/DecorateWindow.h"
#include "widgets/GameChatBox.h"
#include "widgets/GameEditBox.h"
#include "widgets/GameEditBoxRenderer.h"
#include "widgets/GameMultiColumnList.h"
#include "widgets/GameMultilineEditbox.h"
#include "widgets/GameProgressBar.h"
#include "widgets/GameProgressBarRenderer.h"
#include "widgets/GameTooltip.h"
#include "widgets/GameTooltipRenderer.h"
#include "widgets/GamePushButton.h"
#include "widgets/GameValueText.h"
#include "widgets/GameValueTextRenderer.h"
#include "widgets/HTMLWindow.h"
#include "widgets/ItemIcon.h"
#include "widgets/ItemIconRenderer.h"
#include "widgets/TabControlForChat.h"
#include "widgets/ThinkableFrameWindow.h"

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
typedef CWidgetFactory<CQXDecorateWindow> CQXDecorateWindowFactory;
typedef CWidgetFactory<GameProgressBar> GameProgressBarFactory;
typedef CWidgetFactory<CThinkableFrameWindow> CThinkableFrameWindowFactory;
typedef CWidgetFactory<CGamePushButton> CGamePushButtonFactory;
typedef CWidgetFactory<CGameMultiLine> CGameMultiLineFactory;
typedef CWidgetFactory<GuideBox> GuideBoxFactory;
typedef CWidgetFactory<CGameEditBox> CGameEditBoxFactory;
typedef CWidgetFactory<CGameMultilineInput> CGameMultilineInputFactory;
typedef CWidgetFactory<CRichContentEdit> CRichContentEditFactory;
typedef CWidgetFactory<CTabControlForChat> CTabControlForChatFactory;
typedef CWidgetFactory<CChatEditBox> CChatEditBoxFactory;
typedef CWidgetFactory<CGameMultilineEditbox> CGameMultilineEditboxFactory;
typedef CWidgetFactory<CBuffIcon> CBuffIconFactory;
typedef CWidgetFactory<CQXToolTip> CQXToolTipFactory;
typedef CWidgetFactory<CGameChatBox> CGameChatBoxFactory;
} // namespace QGUI

namespace CEGUI
{
typedef QGUI::CRendererFactory<CItemIconRenderer> CItemIconRendererWRFactory;
typedef QGUI::CRendererFactory<GameProgressBarRenderer> GameProgressBarRendererWRFactory;
typedef QGUI::CRendererFactory<GameMultiLineRenderer> GameMultiLineRendererWRFactory;
typedef QGUI::CRendererFactory<GuideBoxRenderer> GuideBoxRendererWRFactory;
typedef QGUI::CRendererFactory<CRichContentEditRenderer> CRichContentEditRendererWRFactory;
typedef QGUI::CRendererFactory<CGameMultiColumnList> CGameMultiColumnListWRFactory;
typedef QGUI::CRendererFactory<CGameValueTextRenderer> CGameValueTextRendererWRFactory;
typedef QGUI::CRendererFactory<CCreatureViewerRenderer> CCreatureViewerRendererWRFactory;
typedef QGUI::CRendererFactory<CPercentBarRenderer> CPercentBarRendererWRFactory;
typedef QGUI::CRendererFactory<CBuffIconRenderer> CBuffIconRendererWRFactory;
typedef QGUI::CRendererFactory<CQXToolTipRenderer> CQXToolTipRendererWRFactory;
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
    {"QXGame/GameMultiLine", &WindowFactoryFor<CGameMultiLine>},
    {"QXGame/Tooltip", &WindowFactoryFor<CQXToolTip>},
    {"QXGame/PercentBar", &WindowFactoryFor<CPercentBar>},
    {"QXGame/SpellIcon", &WindowFactoryFor<CSpellIcon>},
    {"QXGame/DecorateWindow", &WindowFactoryFor<CQXDecorateWindow>},
    {"QXGame/GameEditBox", &WindowFactoryFor<CGameEditBox>},
    {"QXGame/GameChatBox", &WindowFactoryFor<CGameChatBox>},
    {"QXGame/BuffIcon", &WindowFactoryFor<CBuffIcon>},
    {"QXGame/GameMultilineInput", &WindowFactoryFor<CGameMultilineInput>},
    {"QXGame/RichContentEdit", &WindowFactoryFor<CRichContentEdit>},
    {"QXGame/GameProgressBar", &WindowFactoryFor<GameProgressBar>},
    {"QXGame/CThinkableFrameWindow", &WindowFactoryFor<CThinkableFrameWindow>},
    {"QXGame/TabControlForChat", &WindowFactoryFor<CTabControlForChat>},
    {"QXGame/GamePushButton", &WindowFactoryFor<CGamePushButton>},
    {"QXGame/ChatEditBox", &WindowFactoryFor<CChatEditBox>},
    {"QXGame/GuideBox", &WindowFactoryFor<GuideBox>},
    {"QXGame/HTMLWindow", &CHTMLWindowFactory::Instance},
    {"QXGame/GameMultilineEditbox", &WindowFactoryFor<CGameMultilineEditbox>},
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
    {"QXGame/GameMultiLineRenderer", &RendererFactoryFor<CEGUI::GameMultiLineRenderer>},
    {"QXGame/PercentBar", &RendererFactoryFor<CEGUI::CPercentBarRenderer>},
    {"QXGame/BuffIcon", &RendererFactoryFor<CEGUI::CBuffIconRenderer>},
    {"QXGame/RichContentEditRenderer", &RendererFactoryFor<CEGUI::CRichContentEditRenderer>},
    {"QXGame/GameProgressBarRenderer", &RendererFactoryFor<CEGUI::GameProgressBarRenderer>},
    {"QGUI/MultiColumnList", &RendererFactoryFor<CEGUI::CGameMultiColumnList>},
    {"QXGame/GuideBox", &RendererFactoryFor<CEGUI::GuideBoxRenderer>},
    {nullptr, nullptr},
};

// Window renderers the module's own window classes need that are not rows
// of the table: registered with the window factories, but neither walked
// nor counted by the table's registration.
const RendererFactoryRow kRenderersBesideTable[] = {
    {"QXGame/TooltipRenderer", &RendererFactoryFor<CEGUI::CQXToolTipRenderer>},
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

void AddRenderersBesideTable()
{
    for (const RendererFactoryRow* row = kRenderersBesideTable; row->type; ++row)
        AddUnlessPresent(*row);
}

bool AddRendererFactory(const CEGUI::String& type)
{
    for (const RendererFactoryRow* table : {kRendererFactories, kRenderersBesideTable})
    {
        for (const RendererFactoryRow* row = table; row->type; ++row)
        {
            if (type == row->type)
            {
                AddUnlessPresent(*row);
                return true;
            }
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
