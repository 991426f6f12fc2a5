// The rich-text window: layout, scrollbars, the mouse and drawing.
#include "richtext/GameMultiLine.h"

#include <CEGUI/CoordConverter.h>
#include <CEGUI/FontManager.h>
#include <CEGUI/GUIContext.h>
#include <CEGUI/Logger.h>
#include <CEGUI/System.h>
#include <CEGUI/widgets/Scrollbar.h>

#include <algorithm>

#include "richtext/ColourTable.h"
#include "richtext/Document.h"
#include "richtext/GameMultiLineRenderer.h"
#include "richtext/ParserManager.h"
#include "richtext/TextBlocks.h"
#include "widgets/QXRenderer.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CGameMultiLine::WidgetTypeName("QXGame/GameMultiLine");

class CGameMultiLine::DocumentUse
{
public:
    explicit DocumentUse(CGameMultiLine& window) : m_Window(window) { ++m_Window.m_nDocumentUsers; }
    ~DocumentUse()
    {
        if (--m_Window.m_nDocumentUsers == 0 && m_Window.m_bDocumentReleased)
            m_Window.releaseDocument();
    }
    DocumentUse(const DocumentUse&) = delete;
    DocumentUse& operator=(const DocumentUse&) = delete;

private:
    CGameMultiLine& m_Window;
};

CGameMultiLine::CGameMultiLine(const CEGUI::String& type, const CEGUI::String& name)
    : CEGUI::MultiLineEditbox(type, name),
      m_pParserManager(&TextParser::CSimpleParserManager::Instance()),
      m_pDoc(m_pParserManager->CreateDoc()),
      m_DefaultColour(TextParser::CColorPropertyManager::Instance().GetDefaultColors().text)
{
    SharePropertySet.applyTo(*this);
    EditboxPropertySet.applyTo(*this);
    setReadOnly(true);
    // The text is the module's markup, never the GUI library's.
    setTextParsingEnabled(false);
}

// A window deleted without being destroyed first still gives its document
// back.
CGameMultiLine::~CGameMultiLine()
{
    if (m_pDoc)
        m_pParserManager->DestroyDoc(m_pDoc);
}

CEGUI::Property* CGameMultiLine::FindSharePros(const CEGUI::String& name) const
{
    return SharePropertySet.GetpProperty(name);
}

void CGameMultiLine::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    for (CEGUI::Property* p : SharePropertySet.properties())
    {
        if (isPropertyBannedFromXML(p) || isPropertyAtDefault(p))
            continue;
        p->writeXMLToStream(this, xml);
        ++count;
    }
}

// ---------------------------------------------------------------------------
// The document

CEGUI::Sizef CGameMultiLine::getDocSize() const
{
    const IDoc* doc = liveDocument();
    return CEGUI::Sizef((doc ? doc->GetDocWidth() : 0.0f) + DocSizeMargin,
                        (doc ? doc->GetDocHeight() : 0.0f) + DocSizeMargin);
}

CEGUI::String CGameMultiLine::getPlainText() const
{
    const IDoc* doc = liveDocument();
    return doc ? doc->GetText(const_cast<CGameMultiLine*>(this)) : CEGUI::String();
}

// Scripts the layout calls (an item asks them for its colour, the item
// references are reported to them) may set this window's text again or
// destroy it: a layout asked for meanwhile runs once this one is done, and a
// document given back meanwhile stays until then.
void CGameMultiLine::relayout(bool repeat)
{
    if (m_bLayingOut)
    {
        m_bLayoutQueued = true;
        return;
    }
    DocumentUse use(*this);
    m_bLayingOut = true;
    int queued = 0;
    do
    {
        m_bLayoutQueued = false;
        layoutOnce(repeat);
    } while (m_bLayoutQueued && ++queued <= MaxQueuedLayouts);
    m_bLayingOut = false;
    if (m_bLayoutQueued)
    {
        m_bLayoutQueued = false;
        CEGUI::Logger::getSingleton().logEvent("QGUI::CGameMultiLine: window '" + getName() +
                                                   "' was given new text during every layout; "
                                                   "the last text given is not laid out.",
                                               CEGUI::Errors);
    }
}

void CGameMultiLine::layoutOnce(bool repeat)
{
    if (IDoc* doc = liveDocument())
    {
        doc->Clear();
        doc->SetLineSpacing(0.0f);
        doc->SetRightEdge(textArea().getWidth() - RightEdgeInset);
        // The text is parsed from a copy: a script may change the window's.
        const CEGUI::String text(getText());
        if (!text.empty())
        {
            m_TextMetrics.Reset(getFont());
            doc->CommitItemRefs(this);
            m_pParserManager->Parse(this, text, doc);
            if ((doc = liveDocument()))
                doc->UpdateItemRefs();
        }
    }
    resetLineInfo();
    const bool changed = updateScrollbars();
    if (changed && repeat)
        layoutOnce(false);
}

void CGameMultiLine::resetLineInfo()
{
    d_lines.clear();
    LineInfo line;
    line.d_startIdx = 0;
    line.d_length = getText().length();
    line.d_extent = 0.0f;
    d_lines.push_back(line);
}

namespace
{
void SetScrollRange(CEGUI::Scrollbar& bar, float documentSize, float pageSize)
{
    bar.setDocumentSize(documentSize);
    bar.setPageSize(pageSize);
    bar.setStepSize(std::max(pageSize / 10.0f, 1.0f));
    bar.setScrollPosition(bar.getScrollPosition());
}
} // namespace

bool CGameMultiLine::configureScrollbars()
{
    CEGUI::Scrollbar* vert = vertScrollbar();
    CEGUI::Scrollbar* horz = horzScrollbar();
    if (!vert || !horz)
        return false;
    const bool vertWasShown = vert->isVisible();
    const bool horzWasShown = horz->isVisible();
    const IDoc* doc = liveDocument();
    const float docHeight = doc ? doc->GetDocRect().bottom() : 0.0f;
    const float widest = d_widestExtent;

    // Each test asks for the text area anew: it depends on the bars shown.
    auto horzWanted = [&] {
        return !m_bForceHideHorz && (widest > textArea().getWidth() || d_forceHorzScroll);
    };
    auto vertWanted = [&] { return docHeight > textArea().getHeight() || d_forceVertScroll; };
    if (m_bForceHideVert)
    {
        vert->hide();
        horz->setVisible(horzWanted());
    }
    else if (vertWanted())
    {
        vert->show();
        horz->setVisible(horzWanted());
    }
    else if (horzWanted())
    {
        horz->show();
        vert->setVisible(vertWanted());
    }
    else
    {
        vert->hide();
        horz->hide();
    }

    const CEGUI::Rectf area = textArea();
    SetScrollRange(*vert, docHeight, area.getHeight());
    SetScrollRange(*horz, widest, area.getWidth());
    return vert->isVisible() != vertWasShown || horz->isVisible() != horzWasShown;
}

// Without word wrapping the edit box's lines are those of the raw text
// (tags and all), as wide as they measure; with it none is wider than the
// text area. One pass over the text.
float CGameMultiLine::widestUnwrappedLine() const
{
    const CEGUI::Font* font = getFont();
    if (d_wordWrap || !font)
        return 0.0f;
    const CEGUI::String& text = getText();
    float widest = 0.0f;
    for (size_t start = 0; start < text.length();)
    {
        size_t end = text.find_first_of(d_lineBreakChars, start);
        if (end == CEGUI::String::npos)
            end = text.length();
        widest = std::max(widest, font->getTextExtent(text.substr(start, end - start)));
        start = end + 1;
    }
    return widest;
}

bool CGameMultiLine::updateScrollbars()
{
    d_widestExtent = widestUnwrappedLine();
    return configureScrollbars();
}

// The window's setters do as the edit box's do, less the edit box's own
// formatting: both end in the edit box's notification of the change.
void CGameMultiLine::setWordWrapping(bool setting)
{
    if (!ChangeValue(d_wordWrap, setting))
        return;
    CEGUI::WindowEventArgs args(this);
    onWordWrapModeChanged(args);
}

void CGameMultiLine::setShowVertScrollbar(bool setting)
{
    if (!ChangeValue(d_forceVertScroll, setting))
        return;
    CEGUI::WindowEventArgs args(this);
    onVertScrollbarModeChanged(args);
}

void CGameMultiLine::lineSettingChanged()
{
    relayout(true);
    invalidate();
}

// The edit box's setters, the notifications they end in and its formatter
// are not virtual in the GUI library: the event a notification fires is the
// window's first turn after a change. By then the word-wrap setter has
// formatted the text, to one line a paragraph (see
// GameMultiLineRenderer::getTextRenderArea), and either setter may have
// shown or hidden the bars by the edit box's rules.
void CGameMultiLine::fireEvent(const CEGUI::String& name, CEGUI::EventArgs& args,
                               const CEGUI::String& eventNamespace)
{
    if (eventNamespace == CEGUI::MultiLineEditbox::EventNamespace &&
        (name == EventWordWrapModeChanged || name == EventVertScrollbarModeChanged))
        lineSettingChanged();
    CEGUI::MultiLineEditbox::fireEvent(name, args, eventNamespace);
}

CEGUI::Scrollbar* CGameMultiLine::vertScrollbar() const
{
    return isChild(VertScrollbarName) ? getVertScrollbar() : nullptr;
}

CEGUI::Scrollbar* CGameMultiLine::horzScrollbar() const
{
    return isChild(HorzScrollbarName) ? getHorzScrollbar() : nullptr;
}

// ---------------------------------------------------------------------------
// Drawing

CEGUI::Rectf CGameMultiLine::textArea() const
{
    if (auto* own = dynamic_cast<const CEGUI::GameMultiLineRenderer*>(getWindowRenderer()))
        return own->textArea();
    if (auto* renderer = dynamic_cast<const CEGUI::MultiLineEditboxWindowRenderer*>(getWindowRenderer()))
        return renderer->getTextRenderArea();
    return CEGUI::Rectf(CEGUI::Vector2f(0.0f, 0.0f), getPixelSize());
}

CEGUI::Vector2f CGameMultiLine::viewOffset() const
{
    const CEGUI::Scrollbar* vert = m_bForceHideVert ? nullptr : vertScrollbar();
    const CEGUI::Scrollbar* horz = m_bForceHideHorz ? nullptr : horzScrollbar();
    return CEGUI::Vector2f(horz ? horz->getScrollPosition() : 0.0f,
                           vert ? vert->getScrollPosition() : 0.0f);
}

void CGameMultiLine::drawDocument(const DrawContext& ctx)
{
    DocumentUse use(*this);
    if (IDoc* doc = liveDocument())
    {
        m_TextMetrics.Reset(getFont());
        m_CmdMetrics.Reset(m_pCmdFont);
        doc->Draw(this, ctx);
    }
}

void CGameMultiLine::cacheRendererState(CRendererState& state, const CEGUI::Rectf* clip)
{
    if (state.getTextures().empty())
        return;
    const CEGUI::Rectf destination(CEGUI::Vector2f(0.0f, 0.0f), getUnclippedInnerRect().get().getSize());
    const CEGUI::Rectf area = clip ? clip->getIntersection(destination) : destination;
    m_ExtraCache.cacheDrawable(&state, destination, kTextZOffset, &area);
}

// The pictures of the document are drawn at the window's own depth (their
// drawable carries the depth of the text).
void CGameMultiLine::drawSelf(const CEGUI::RenderingContext& ctx)
{
    if (d_needsRedraw)
        m_ExtraCache.clearCachedImagery();
    bufferGeometry(ctx);
    queueGeometry(ctx);
    if (m_ExtraCache.hasCachedImagery())
        m_ExtraCache.queue(*this, ctx, 0.0f);
}

const ITextFont* CGameMultiLine::GetTextFont() const
{
    const CEGUI::Font* font = getFont();
    if (!font)
        return nullptr;
    if (m_TextMetrics.GetFont() != font)
        m_TextMetrics.Reset(font);
    return &m_TextMetrics;
}

const ITextFont* CGameMultiLine::GetCmdTextFont() const
{
    if (!m_pCmdFont)
        return nullptr;
    if (m_CmdMetrics.GetFont() != m_pCmdFont)
        m_CmdMetrics.Reset(m_pCmdFont);
    return &m_CmdMetrics;
}

bool CGameMultiLine::IsUnderMouse() const
{
    CEGUI::System* system = CEGUI::System::getSingletonPtr();
    return system && system->getDefaultGUIContext().getWindowContainingMouse() == this;
}

// ---------------------------------------------------------------------------
// Properties

void CGameMultiLine::setFrameEnabled(bool enabled)
{
    if (m_bFrameEnabled == enabled)
        return;
    m_bFrameEnabled = enabled;
    invalidate();
}

void CGameMultiLine::setPicked(bool picked)
{
    if (m_bPicked == picked)
        return;
    m_bPicked = picked;
    invalidate();
}

void CGameMultiLine::setCmdFont(const CEGUI::String& name)
{
    m_CmdFontName = name;
    m_pCmdFont = name.empty() ? nullptr : &CEGUI::FontManager::getSingleton().get(name);
    CEGUI::WindowEventArgs args(this);
    onFontChanged(args);
}

// ---------------------------------------------------------------------------
// Window events

// Only the edit box's bars are taken, never its own set-up: that formats
// the text its way at once and again whenever the vertical bar comes or
// goes, measuring the rest of a long word anew for each line it fills. A
// look without both bars gets a window without bars.
void CGameMultiLine::initialiseComponents()
{
    CEGUI::Scrollbar* vert = vertScrollbar();
    CEGUI::Scrollbar* horz = horzScrollbar();
    if (vert && horz)
    {
        vert->subscribeEvent(CEGUI::Scrollbar::EventScrollPositionChanged,
                             CEGUI::Event::Subscriber(&CGameMultiLine::onScrolled, this));
        horz->subscribeEvent(CEGUI::Scrollbar::EventScrollPositionChanged,
                             CEGUI::Event::Subscriber(&CGameMultiLine::onScrolled, this));
    }
    performChildWindowLayout();
    relayout(true);
}

bool CGameMultiLine::onScrolled(const CEGUI::EventArgs&)
{
    invalidate();
    return true;
}

void CGameMultiLine::destroy()
{
    m_bDocumentReleased = true;
    if (m_nDocumentUsers == 0)
        releaseDocument();
    CEGUI::MultiLineEditbox::destroy();
}

// The scripts hear that the document's items are no longer referenced, then
// the document goes back to the parser manager.
void CGameMultiLine::releaseDocument()
{
    IDoc* doc = m_pDoc;
    if (!doc)
        return;
    m_pDoc = nullptr;
    doc->Clear();
    doc->CommitItemRefs(this);
    doc->UpdateItemRefs();
    m_pParserManager->DestroyDoc(doc);
}

void CGameMultiLine::onSized(CEGUI::ElementEventArgs& e)
{
    relayout(true);
    CEGUI::Window::onSized(e);
    ++e.handled;
}

void CGameMultiLine::onTextChanged(CEGUI::WindowEventArgs& e)
{
    // An empty text becomes one line break, without a second notification.
    if (d_textLogical.empty())
    {
        d_textLogical = "\n";
        d_renderedStringValid = false;
        d_bidiDataValid = false;
    }
    CEGUI::Window::onTextChanged(e);
    clearSelection();
    relayout(true);
    performChildWindowLayout();
    if (caretUsable())
    {
        setCaretIndex(getCaretIndex());
        ensureCaretIsVisible();
    }
    else
    {
        // As the edit box keeps it: at most on the last character (the text
        // is never empty here).
        d_caretPos = std::min(d_caretPos, getText().length() - 1);
    }
    ++e.handled;
}

// A new font changes every measure: the text is laid out again.
void CGameMultiLine::onFontChanged(CEGUI::WindowEventArgs& e)
{
    CEGUI::Window::onFontChanged(e);
    relayout(true);
}

bool CGameMultiLine::caretUsable() const
{
    return getFont() && vertScrollbar() && horzScrollbar();
}

CEGUI::Vector2f CGameMultiLine::documentPoint(const CEGUI::Vector2f& screen) const
{
    const CEGUI::Vector2f local = CEGUI::CoordConverter::screenToWindow(*this, screen);
    return local - textArea().d_min + viewOffset();
}

// The document hears where the mouse is, so that blocks know whether they
// are hovered.
void CGameMultiLine::moveOverDocument(CEGUI::MouseEventArgs& e)
{
    DocumentUse use(*this);
    if (IDoc* doc = liveDocument())
    {
        const CEGUI::Vector2f p = documentPoint(e.position);
        doc->OnMouseMove(this, p.d_x, p.d_y, e.button);
    }
    ++e.handled;
}

void CGameMultiLine::onMouseMove(CEGUI::MouseEventArgs& e)
{
    CEGUI::Window::onMouseMove(e);
    moveOverDocument(e);
}

// The position is outside now, so no block stays hovered.
void CGameMultiLine::onMouseLeaves(CEGUI::MouseEventArgs& e)
{
    CEGUI::Window::onMouseLeaves(e);
    moveOverDocument(e);
}

bool CGameMultiLine::HandlesMouseInput(MouseInput input, const CEGUI::MouseEventArgs& e) const
{
    switch (input)
    {
    case MouseInput::ButtonDown:
    case MouseInput::Move:
        return true;
    case MouseInput::DoubleClick:
    case MouseInput::TripleClick:
        return e.button == CEGUI::LeftButton;
    default:
        return false;
    }
}

// A click may run scripts that change this window's text or destroy the
// window: nothing of the document is touched after it.
void CGameMultiLine::onMouseButtonDown(CEGUI::MouseEventArgs& e)
{
    bool held;
    if (e.button == CEGUI::LeftButton)
        held = (e.sysKeys & CEGUI::LeftMouse) != 0;
    else if (e.button == CEGUI::RightButton)
        held = (e.sysKeys & CEGUI::RightMouse) != 0;
    else
        held = (static_cast<unsigned int>(e.button) & e.sysKeys) != 0;
    {
        DocumentUse use(*this);
        if (IDoc* doc = liveDocument())
        {
            const CEGUI::Vector2f p = documentPoint(e.position);
            doc->OnMouseButton(this, p.d_x, p.d_y, e.button, held);
        }
    }
    ++e.handled;
    CEGUI::Window::onMouseButtonDown(e);
}

void CGameMultiLine::onMouseButtonUp(CEGUI::MouseEventArgs& e)
{
    CEGUI::Window::onMouseButtonUp(e);
}

// The box scrolls as the edit box scrolls, then the wheel goes on to the
// window the box sits in, so that a scrollable parent scrolls too.
void CGameMultiLine::onMouseWheel(CEGUI::MouseEventArgs& e)
{
    CEGUI::Scrollbar* vert = vertScrollbar();
    CEGUI::Scrollbar* horz = horzScrollbar();
    if (vert && vert->isEffectiveVisible() && vert->getDocumentSize() > vert->getPageSize())
        vert->setScrollPosition(vert->getScrollPosition() + vert->getStepSize() * -e.wheelChange);
    else if (horz && horz->isEffectiveVisible() && horz->getDocumentSize() > horz->getPageSize())
        horz->setScrollPosition(horz->getScrollPosition() + horz->getStepSize() * -e.wheelChange);
    e.handled = 0;
    const bool propagate = isMouseInputPropagationEnabled();
    setMouseInputPropagationEnabled(true);
    CEGUI::Window::onMouseWheel(e);
    setMouseInputPropagationEnabled(propagate);
}

// The edit box's keys move the caret, which needs both bars and a font.
void CGameMultiLine::onKeyDown(CEGUI::KeyEventArgs& e)
{
    if (caretUsable())
        CEGUI::MultiLineEditbox::onKeyDown(e);
    else
        CEGUI::Window::onKeyDown(e);
}
} // namespace QGUI
