// The chat box: the ring of message windows, their stacking, expiry and
// the view that follows or stays.
#include "widgets/GameChatBox.h"

#include <CEGUI/Exceptions.h>
#include <CEGUI/Logger.h>
#include <CEGUI/WindowManager.h>
#include <CEGUI/widgets/ScrolledContainer.h>
#include <CEGUI/widgets/Scrollbar.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "richtext/GameMultiLine.h"
#include "widgets/LookImagery.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CGameChatBox::WidgetTypeName("QXGame/GameChatBox");
const CEGUI::String CGameChatBox::MessageNameInfix("__qxauto_single__");

namespace
{
const CEGUI::String kMessageWindowType("QXLook/GameMultiLine");

void LogLine(const CEGUI::String& text, CEGUI::LoggingLevel level)
{
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent(text, level);
}

// A message window's laid-out document height, without the window's margin.
float DocumentHeight(const CGameMultiLine& window)
{
    return std::max(0.0f, window.getDocHeight() - CGameMultiLine::DocSizeMargin);
}

float MessageHeight(const CGameMultiLine& window)
{
    return DocumentHeight(window) + CGameChatBox::MessageOverlap;
}
} // namespace

CGameChatBox::CGameChatBox(const CEGUI::String& type, const CEGUI::String& name)
    : CEGUI::ScrollablePane(type, name), m_pContent(const_cast<CEGUI::ScrolledContainer*>(getContentPane()))
{
    SharePropertySet.applyTo(*this);
    // Messages expire while the box is hidden too.
    setUpdateMode(CEGUI::WUM_ALWAYS);
    // The box gives the content its size: the windows of messages out of
    // view are not kept in place.
    setContentPaneAutoSized(false);
}

// The message windows go with the box's children; only the subscriptions
// that watch them are let go.
CGameChatBox::~CGameChatBox()
{
    for (Slot& s : m_Slots)
        if (s.destroyed.isValid())
            s.destroyed->disconnect();
}

void CGameChatBox::destroy()
{
    if (CheckLookPart(*this, d_contentChangedConn.isValid() && d_autoSizeChangedConn.isValid(), "scrollbars"))
    {
        CEGUI::ScrollablePane::destroy();
        return;
    }
    CEGUI::Window::destroy();
}

CEGUI::Property* CGameChatBox::FindSharePros(const CEGUI::String& name) const
{
    return SharePropertySet.GetpProperty(name);
}

void CGameChatBox::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    WriteSharedSet(*this, SharePropertySet, xml, count);
}

// ---------------------------------------------------------------------------
// Fields

void CGameChatBox::setChatCapacity(uint32_t capacity)
{
    if (!ChangeValue(m_nCapacity, capacity))
        return;
    // Slots past a lowered capacity would never be reached by the ring
    // again: their messages go.
    if (m_nCount > m_nCapacity)
    {
        dropSlotsFrom(m_nCapacity);
        m_nCount = m_nCapacity;
        if (m_nFirstIndex >= m_nCapacity)
            m_nFirstIndex = 0;
        if (!m_bBusy)
            relayoutKeepingView(false);
    }
}

void CGameChatBox::setFirstIndex(uint32_t index)
{
    m_nFirstIndex = index < m_nCapacity ? index : 0;
}

void CGameChatBox::setMessageCount(uint32_t count)
{
    m_nCount = std::min(count, m_nCapacity);
}

void CGameChatBox::setMsgLife(float seconds)
{
    m_fMsgLife = seconds > 0.0f ? seconds : 0.0f;
}

float CGameChatBox::getMsgLifeSeconds() const
{
    return std::trunc(m_fMsgLife);
}

// ---------------------------------------------------------------------------
// Message windows

CEGUI::Scrollbar* CGameChatBox::vertBar() const
{
    return isChild(VertScrollbarName) ? getVertScrollbar() : nullptr;
}

// The pane asks its renderer; without one, the whole box.
CEGUI::Rectf CGameChatBox::viewArea() const
{
    return getWindowRenderer() ? getViewableArea() : CEGUI::Rectf(CEGUI::Vector2f(0.0f, 0.0f), getPixelSize());
}

CGameMultiLine* CGameChatBox::findMessageWindow(uint32_t slot) const
{
    const Slot* s = slotAt(slot);
    return s && s->window && s->window->getParent() == m_pContent ? s->window : nullptr;
}

CGameMultiLine* CGameChatBox::heldWindow(uint32_t slot) const
{
    CGameMultiLine* window = slot < m_nCount ? findMessageWindow(slot) : nullptr;
    return window && window->getID() == SlotHolding ? window : nullptr;
}

bool CGameChatBox::isHolding(uint32_t slot) const
{
    return heldWindow(slot) != nullptr;
}

float CGameChatBox::getMessageTop(uint32_t slot) const
{
    return isHolding(slot) ? m_Slots[slot].top : 0.0f;
}

float CGameChatBox::getMessageHeight(uint32_t slot) const
{
    return isHolding(slot) ? m_Slots[slot].height : 0.0f;
}

CGameMultiLine* CGameChatBox::getMessageWindow(uint32_t slot)
{
    if (CGameMultiLine* window = findMessageWindow(slot))
        return window;
    if (slot >= m_Slots.size())
        m_Slots.resize(size_t(slot) + 1);
    Slot& s = m_Slots[slot];
    if (s.destroyed.isValid())
        s.destroyed->disconnect();
    s = Slot();

    const CEGUI::String name = getName() + MessageNameInfix + CEGUI::String(std::to_string(slot).c_str());
    CGameMultiLine* window = nullptr;
    if (m_pContent->isChild(name))
    {
        // A window of the box's own made before: taken as it is. One of
        // another kind blocks the slot.
        window = dynamic_cast<CGameMultiLine*>(m_pContent->getChild(name));
        if (!window)
            return nullptr;
    }
    else
    {
        CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
        CEGUI::Window* made = nullptr;
        try
        {
            made = wm.createWindow(kMessageWindowType, name);
        }
        catch (const CEGUI::Exception& e)
        {
            LogLine("QGUI::CGameChatBox: window '" + getName() + "' cannot make its message window: " +
                        e.getMessage(),
                    CEGUI::Errors);
            return nullptr;
        }
        window = dynamic_cast<CGameMultiLine*>(made);
        if (!window)
        {
            LogLine("QGUI::CGameChatBox: '" + kMessageWindowType + "' is no rich-text window; window '" +
                        getName() + "' shows no messages.",
                    CEGUI::Errors);
            wm.destroyWindow(made);
            return nullptr;
        }
        window->hide();
        addChild(window);
        // Messages are the box's state, not part of a layout it is saved in
        // (the pane keeps windows marked so before they are added for
        // itself, so the mark comes after).
        window->setAutoWindow(true);
        window->setXPosition(CEGUI::UDim(0.0f, 0.0f));
        window->setWidth(CEGUI::UDim(1.0f, -MessageWidthInset));
        window->setFrameEnabled(false);
        window->setForceHideVertScrollbar(true);
        window->setRiseOnClickEnabled(false);
        window->setDefaultTextColour(m_DefaultColour);
        window->setIndent1stLine(m_nIndent1stLine);
        window->setIndentRestLine(m_nIndentRestLine);
        window->setID(SlotFree);
        // A message has nothing to do while it is out of sight: the frame's
        // update skips it then.
        window->setUpdateMode(CEGUI::WUM_VISIBLE);
        applyFont(*window);
    }
    s.window = window;
    s.destroyed = window->subscribeEvent(CEGUI::Window::EventDestructionStarted,
                                         CEGUI::Event::Subscriber(&CGameChatBox::onMessageDestroyed, this));
    return window;
}

bool CGameChatBox::onMessageDestroyed(const CEGUI::EventArgs& args)
{
    const CEGUI::Window* window = static_cast<const CEGUI::WindowEventArgs&>(args).window;
    for (Slot& s : m_Slots)
        if (s.window == window)
            s.window = nullptr;
    return false;
}

void CGameChatBox::applyFont(CGameMultiLine& window)
{
    window.setFont(getFont());
}

template <class Visit>
void CGameChatBox::forEachSlotOldestFirst(Visit visit) const
{
    for (uint32_t slot = m_nFirstIndex; slot < m_nCount; ++slot)
        visit(slot);
    for (uint32_t slot = 0; slot < m_nFirstIndex && slot < m_nCount; ++slot)
        visit(slot);
}

void CGameChatBox::freeWindow(CGameMultiLine& window)
{
    window.hide();
    window.setID(SlotFree);
    placeWindow(window, 0.0f, 0.0f);
}

// The box gives the content its size itself: a message window's move or
// new size is no news to the pane (which would lay its bars out again for
// each), so the window's events are muted meanwhile.
void CGameChatBox::placeWindow(CGameMultiLine& window, float top, float height)
{
    const CEGUI::UDim y(0.0f, top);
    const CEGUI::UDim h(0.0f, height);
    if (window.getYPosition() == y && window.getHeight() == h)
        return;
    const bool muted = window.isMuted();
    window.setMutedState(true);
    window.setYPosition(y);
    window.setHeight(h);
    window.setMutedState(muted);
}

void CGameChatBox::dropSlotsFrom(uint32_t from)
{
    for (uint32_t slot = from; slot < m_Slots.size(); ++slot)
        if (CGameMultiLine* window = findMessageWindow(slot))
            freeWindow(*window);
}

// ---------------------------------------------------------------------------
// Stacking and scrolling

// Oldest to newest, each message 5 pixels into the one before; the content
// is as tall as the stack. Only the box's own record of each message
// changes here.
void CGameChatBox::layoutMessages()
{
    float top = 0.0f;
    float bottom = 0.0f;
    forEachSlotOldestFirst([&](uint32_t slot) {
        if (!heldWindow(slot))
            return;
        Slot& s = m_Slots[slot];
        s.top = top;
        bottom = top + s.height;
        top += s.height - MessageOverlap;
    });
    const CEGUI::Rectf content(0.0f, 0.0f, std::max(0.0f, viewArea().getWidth() - MessageWidthInset),
                               bottom);
    if (getContentPaneArea() != content)
        setContentPaneArea(content);
}

// A message window laid out at another width (the box was resized, or its
// bar came or went and the pane's width with it) has another height: the
// heights follow the documents, and the messages stack again, until they
// hold still.
void CGameChatBox::relayoutMessages(bool refit)
{
    layoutMessages();
    for (int pass = 0; pass < MaxRefitPasses; ++pass)
    {
        float width = m_fStackedWidth;
        for (const Slot& s : m_Slots)
            if (s.window && s.window->getParent() == m_pContent)
            {
                width = s.window->getPixelSize().d_width;
                break;
            }
        if (!refit && width == m_fStackedWidth)
            break;
        refit = false;
        m_fStackedWidth = width;
        bool changed = false;
        forEachSlotOldestFirst([&](uint32_t slot) {
            if (const CGameMultiLine* window = heldWindow(slot))
                changed |= ChangeValue(m_Slots[slot].height, MessageHeight(*window));
        });
        if (!changed)
            break;
        layoutMessages();
    }
}

void CGameChatBox::showMessagesInView()
{
    const CEGUI::Scrollbar* bar = vertBar();
    const float viewTop = bar ? bar->getScrollPosition() : 0.0f;
    const float viewBottom = viewTop + (bar ? bar->getPageSize() : viewArea().getHeight());
    forEachSlotOldestFirst([&](uint32_t slot) {
        CGameMultiLine* window = heldWindow(slot);
        if (!window)
            return;
        const Slot& s = m_Slots[slot];
        if (s.top >= viewBottom || s.top + s.height <= viewTop)
        {
            if (window->isVisible())
                window->hide();
            return;
        }
        placeWindow(*window, s.top, s.height);
        if (!window->isVisible())
            window->show();
    });
}

void CGameChatBox::arrange(const ScrollState& before, bool refit, bool keepView)
{
    m_bArranging = true;
    relayoutMessages(refit);
    if (keepView)
        restoreScroll(before);
    m_bArranging = false;
    showMessagesInView();
}

void CGameChatBox::relayoutKeepingView(bool refit)
{
    arrange(findScrollAnchor(), refit, true);
}

CGameChatBox::ScrollState CGameChatBox::findScrollAnchor() const
{
    ScrollState state;
    const CEGUI::Scrollbar* bar = vertBar();
    if (!bar)
        return state;
    state.position = bar->getScrollPosition();
    state.documentSize = bar->getDocumentSize();
    if (state.position + bar->getPageSize() >= state.documentSize - BottomTolerance)
        return state;
    state.scrolledUp = true;
    for (uint32_t slot = 0; slot < m_nCount; ++slot)
    {
        CGameMultiLine* window = heldWindow(slot);
        if (!window)
            continue;
        const Slot& s = m_Slots[slot];
        if (s.top < state.position && state.position < s.top + s.height)
        {
            state.anchorSlot = slot;
            state.anchor = window;
            state.distance = state.position - s.top;
            break;
        }
    }
    return state;
}

void CGameChatBox::restoreScroll(const ScrollState& before)
{
    CEGUI::Scrollbar* bar = vertBar();
    if (!bar)
        return;
    const CGameMultiLine* anchor = before.anchor ? heldWindow(before.anchorSlot) : nullptr;
    if (before.scrolledUp && anchor && anchor == before.anchor)
        bar->setScrollPosition(m_Slots[before.anchorSlot].top + before.distance);
    else
        bar->setScrollPosition(bar->getDocumentSize() - before.documentSize + before.position);
}

// ---------------------------------------------------------------------------
// Pushing, expiry and clearing

bool CGameChatBox::PushChatText(const CEGUI::String& text)
{
    if (m_nCapacity == 0)
        return false;
    if (m_bBusy)
        return defer(Deferred{false, text});
    Operation op(*this);
    const bool placed = placeMessage(text);
    op.finish();
    return placed;
}

void CGameChatBox::clearChat()
{
    if (m_bBusy)
    {
        defer(Deferred{true, CEGUI::String()});
        return;
    }
    Operation op(*this);
    clearNow();
    op.finish();
}

CGameMultiLine* CGameChatBox::chooseTarget(ScrollState& scroll, uint32_t& slot)
{
    if (m_nCount < m_nCapacity)
    {
        CGameMultiLine* first = getMessageWindow(m_nFirstIndex);
        if (first && first->getID() == SlotFree && m_fMsgLife != 0.0f)
        {
            slot = m_nFirstIndex;
            m_nCount = std::max(m_nFirstIndex + 1, m_nCount);
            return first;
        }
        slot = m_nCount;
        CGameMultiLine* next = getMessageWindow(slot);
        if (next)
            ++m_nCount;
        return next;
    }
    // The ring is full by the slots it took; a slot freed by expiry right
    // after the messages held takes the new one, for overwriting the oldest
    // would lose a line that is still alive.
    uint32_t holding = 0;
    for (uint32_t s = 0; s < m_nCount; ++s)
        holding += isHolding(s);
    if (holding < m_nCapacity)
    {
        const uint32_t after = uint32_t((uint64_t(m_nFirstIndex) + holding) % m_nCapacity);
        CGameMultiLine* free = getMessageWindow(after);
        if (free && free->getID() == SlotFree)
        {
            slot = after;
            return free;
        }
    }
    slot = m_nFirstIndex;
    CGameMultiLine* oldest = getMessageWindow(slot);
    if (!oldest)
        return nullptr;
    m_nFirstIndex = m_nFirstIndex + 1 >= m_nCapacity ? 0 : m_nFirstIndex + 1;
    if (oldest == scroll.anchor)
        scroll.scrolledUp = false;
    return oldest;
}

bool CGameChatBox::placeMessage(const CEGUI::String& text)
{
    if (m_nCapacity == 0)
        return false;
    ScrollState scroll = findScrollAnchor();
    uint32_t slot = 0;
    CGameMultiLine* target = chooseTarget(scroll, slot);
    if (!target)
        return false;
    target->setDefaultTextColour(m_DefaultColour);
    // The slot is taken before the text is laid out: the scripts the layout
    // calls may push again.
    target->setID(SlotHolding);
    target->setText(text);
    // Those scripts may also have cleared the box, taken its window away or
    // destroyed the box: the message then stands as they left it.
    if (!CEGUI::WindowManager::getSingleton().isAlive(this))
        return true;
    if (heldWindow(slot) == target)
        m_Slots[slot].height = MessageHeight(*target);
    arrange(scroll, false, true);
    resetLifeTimer();
    return true;
}

// The anchored line is looked for after the retired message left the
// stack, so that a view scrolled up stays on it.
bool CGameChatBox::retireOldestMessage()
{
    if (m_nCapacity == 0)
        return false;
    CGameMultiLine* oldest = nullptr;
    forEachSlotOldestFirst([&](uint32_t slot) {
        if (!oldest)
            oldest = heldWindow(slot);
    });
    if (!oldest)
        return false;
    ScrollState scroll = findScrollAnchor();
    if (scroll.anchor == oldest)
        scroll.scrolledUp = false;
    freeWindow(*oldest);
    m_nFirstIndex = m_nFirstIndex + 1 >= m_nCapacity ? 0 : m_nFirstIndex + 1;
    const CEGUI::Scrollbar* bar = vertBar();
    arrange(scroll, false, bar && bar->isVisible());
    resetLifeTimer();
    return true;
}

void CGameChatBox::clearNow()
{
    const uint32_t count = m_nCount;
    m_nFirstIndex = 0;
    m_nCount = 0;
    for (uint32_t slot = 0; slot < count; ++slot)
    {
        CGameMultiLine* window = findMessageWindow(slot);
        if (!window)
            continue;
        window->setText(CEGUI::String());
        placeWindow(*window, 0.0f, 0.0f);
        window->hide();
        window->setID(SlotHolding);
    }
    layoutMessages();
}

// Expiry runs on the box's own time pulses, which it gets while hidden too.
// A pulse that is no positive time (or that comes while a push runs)
// retires nothing.
void CGameChatBox::updateSelf(float elapsed)
{
    CEGUI::ScrollablePane::updateSelf(elapsed);
    if (m_fMsgLife == 0.0f || m_bBusy || !(elapsed >= 0.0f))
        return;
    if (elapsed >= m_fRemainingLife)
    {
        Operation op(*this);
        retireOldestMessage();
        op.finish();
    }
    else
        m_fRemainingLife -= elapsed;
}

// Every message window takes the box's font, free ones too (they may hold
// messages again), and the held ones take the height of their new layout.
void CGameChatBox::onFontChanged(CEGUI::WindowEventArgs& e)
{
    CEGUI::ScrollablePane::onFontChanged(e);
    for (uint32_t slot = 0; slot < m_Slots.size(); ++slot)
        if (CGameMultiLine* window = findMessageWindow(slot))
            applyFont(*window);
    if (!m_bBusy)
        relayoutKeepingView(true);
}

void CGameChatBox::onSized(CEGUI::ElementEventArgs& e)
{
    CEGUI::ScrollablePane::onSized(e);
    if (!m_bBusy)
        relayoutKeepingView(false);
}

void CGameChatBox::onContentPaneScrolled(CEGUI::WindowEventArgs& e)
{
    CEGUI::ScrollablePane::onContentPaneScrolled(e);
    if (!m_bArranging)
        showMessagesInView();
}

// The box sizes its content itself; a layout or script that asks the pane
// to do so is overruled.
void CGameChatBox::onAutoSizeSettingChanged(CEGUI::WindowEventArgs& e)
{
    CEGUI::ScrollablePane::onAutoSizeSettingChanged(e);
    if (isContentPaneAutoSized())
        setContentPaneAutoSized(false);
}

// ---------------------------------------------------------------------------
// Operations asked for while one runs

bool CGameChatBox::defer(Deferred op)
{
    if (m_Deferred.size() >= MaxDeferredOperations)
    {
        LogLine("QGUI::CGameChatBox: window '" + getName() + "' was asked for more than " +
                    CEGUI::String(std::to_string(MaxDeferredOperations).c_str()) +
                    " pushes or clears while one ran; the last is dropped.",
                CEGUI::Errors);
        return false;
    }
    m_Deferred.push_back(std::move(op));
    return true;
}

CGameChatBox::Operation::Operation(CGameChatBox& box) : m_Box(box)
{
    m_Box.m_bBusy = true;
}

// Left by an exception: nothing asked for meanwhile runs.
CGameChatBox::Operation::~Operation()
{
    if (!m_bFinished)
    {
        m_Box.m_Deferred.clear();
        m_Box.m_bBusy = false;
    }
}

void CGameChatBox::Operation::finish()
{
    m_bFinished = true;
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    size_t ran = 0;
    while (!m_Box.m_Deferred.empty() && wm.isAlive(&m_Box))
    {
        if (ran++ == MaxDeferredOperations)
        {
            LogLine("QGUI::CGameChatBox: window '" + m_Box.getName() +
                        "' was asked for a push or clear during every one; the rest are dropped.",
                    CEGUI::Errors);
            break;
        }
        Deferred op = std::move(m_Box.m_Deferred.front());
        m_Box.m_Deferred.erase(m_Box.m_Deferred.begin());
        if (op.clear)
            m_Box.clearNow();
        else
            m_Box.placeMessage(op.text);
    }
    m_Box.m_Deferred.clear();
    m_Box.m_bBusy = false;
}
} // namespace QGUI
