// The game tooltip: its two rich-text boxes, sizing, the compare text and
// the show and hide sequence.
#include "widgets/GameTooltip.h"

#include <CEGUI/Exceptions.h>
#include <CEGUI/Logger.h>
#include <CEGUI/WindowManager.h>

#include <algorithm>

#include "HostGlobals.h"
#include "IQGUI.h"
#include "richtext/GameMultiLine.h"
#include "strtools.h"
#include "widgets/GameObjectQueries.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CQXToolTip::WidgetTypeName("QXGame/Tooltip");
const CEGUI::String CQXToolTip::MainBoxName("__auto_multiline__");
const CEGUI::String CQXToolTip::CompareBoxName("__auto_multiline2__");

namespace
{
const CEGUI::String kInnerBoxType("QXLook/GameMultiLine");
const CEGUI::String kCompareIdProperty("GameObjectCompareId");

CEGUI::USize PixelSize(float width, float height)
{
    return CEGUI::USize(CEGUI::UDim(0.0f, width), CEGUI::UDim(0.0f, height));
}

// A time step that is no number or runs backwards counts as none.
float Elapsed(float elapsed)
{
    return elapsed >= 0.0f ? elapsed : 0.0f;
}
} // namespace

CQXToolTip::CQXToolTip(const CEGUI::String& type, const CEGUI::String& name) : CEGUI::Tooltip(type, name)
{
    // The timers run while the tooltip waits hidden for its hover time.
    setUpdateMode(CEGUI::WUM_ALWAYS);
}

CQXToolTip::~CQXToolTip()
{
    if (m_WatchedDestroyed.isValid())
        m_WatchedDestroyed->disconnect();
}

void CQXToolTip::setFadeTime(float seconds)
{
    d_fadeTime = seconds > 0.0f ? seconds : 0.0f;
    CEGUI::WindowEventArgs args(this);
    fireEvent(EventFadeTimeChanged, args, EventNamespace);
}

// ---------------------------------------------------------------------------
// The inner boxes

CGameMultiLine* CQXToolTip::innerBox(const CEGUI::String& name)
{
    // A look given again finds the boxes it made before.
    if (isChild(name))
        return dynamic_cast<CGameMultiLine*>(getChild(name));
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* made = nullptr;
    try
    {
        made = wm.createWindow(kInnerBoxType, name);
    }
    catch (const CEGUI::Exception& e)
    {
        CEGUI::Logger::getSingleton().logEvent(
            "QGUI::CQXToolTip: tooltip '" + getName() + "' has no rich-text box: " + e.getMessage(), CEGUI::Errors);
        return nullptr;
    }
    auto* box = dynamic_cast<CGameMultiLine*>(made);
    if (!box)
    {
        CEGUI::Logger::getSingleton().logEvent("QGUI::CQXToolTip: '" + kInnerBoxType +
                                                   "' is no rich-text window; tooltip '" + getName() +
                                                   "' shows no rich text.",
                                               CEGUI::Errors);
        wm.destroyWindow(made);
        return nullptr;
    }
    box->setAutoWindow(true);
    addChild(box);
    return box;
}

void CQXToolTip::initialiseComponents()
{
    CEGUI::Tooltip::initialiseComponents();
    setDisplayTime(InitialDisplayTime);
    if ((m_pMainBox = innerBox(MainBoxName)))
    {
        m_pMainBox->setArea(CEGUI::URect(CEGUI::UDim(0.0f, 0.0f), CEGUI::UDim(0.0f, 0.0f), CEGUI::UDim(1.0f, 0.0f),
                                         CEGUI::UDim(1.0f, 0.0f)));
        m_pMainBox->setFrameEnabled(false);
        m_pMainBox->setForceHideHorzScrollbar(true);
        m_pMainBox->setForceHideVertScrollbar(true);
    }
    // The compare box stands to the right of the tooltip, outside it.
    if ((m_pCompareBox = innerBox(CompareBoxName)))
    {
        m_pCompareBox->setArea(CEGUI::URect(CEGUI::UDim(1.0f, 0.0f), CEGUI::UDim(0.0f, 0.0f),
                                            CEGUI::UDim(2.0f, 0.0f), CEGUI::UDim(1.0f, 5.0f)));
        m_pCompareBox->setFrameEnabled(true);
        m_pCompareBox->setClippedByParent(false);
        m_pCompareBox->setForceHideVertScrollbar(true);
        m_pCompareBox->hide();
    }
}

// ---------------------------------------------------------------------------
// Text and size

void CQXToolTip::onTextChanged(CEGUI::WindowEventArgs& e)
{
    watchTarget();
    if (m_pMainBox && getText() != m_pMainBox->getText())
    {
        setSize(PixelSize(LayoutWidth, LayoutHeight));
        m_pMainBox->setText(getText());
        showCompareText();
    }
    CEGUI::Tooltip::onTextChanged(e);
    keepOnScreen();
}

// The object to compare with is the target's; none (id 0) asks the game
// nothing.
void CQXToolTip::showCompareText()
{
    if (!m_pCompareBox)
        return;
    const CEGUI::Window* target = liveTarget();
    CEGUI::String text;
    bool found = false;
    if (target && target->isPropertyPresent(kCompareIdProperty))
    {
        const uint32_t compareId = UintText::fromString(target->getProperty(kCompareIdProperty));
        found = compareId != 0 && QueryObjectTooltip(MainObject(), int32_t(compareId), true, text);
    }
    if (!found)
    {
        m_pCompareBox->hide();
        return;
    }
    m_pCompareBox->setSize(PixelSize(LayoutWidth, LayoutHeight));
    m_pCompareBox->setText(text);
    m_pCompareBox->setSize(
        PixelSize(m_pCompareBox->getDocWidth() - CGameMultiLine::DocSizeMargin + CompareFrame,
                  m_pCompareBox->getDocHeight() - CGameMultiLine::DocSizeMargin + CompareFrame));
    m_pCompareBox->show();
    m_pCompareBox->disable();
}

CEGUI::Sizef CQXToolTip::getContentSize() const
{
    if (!m_pMainBox || getText().empty())
        return CEGUI::Sizef(0.0f, 0.0f);
    return m_pMainBox->getDocSize();
}

CEGUI::Sizef CQXToolTip::getTextSize_impl() const
{
    return getContentSize();
}

CEGUI::Rectf CQXToolTip::getTotalArea() const
{
    CEGUI::Rectf area = getUnclippedOuterRect().get();
    if (m_pCompareBox && m_pCompareBox->isVisible())
    {
        const CEGUI::Rectf compare = m_pCompareBox->getUnclippedOuterRect().get();
        area.d_min.d_x = std::min(area.d_min.d_x, compare.d_min.d_x);
        area.d_min.d_y = std::min(area.d_min.d_y, compare.d_min.d_y);
        area.d_max.d_x = std::max(area.d_max.d_x, compare.d_max.d_x);
        area.d_max.d_y = std::max(area.d_max.d_y, compare.d_max.d_y);
    }
    return area;
}

// The GUI library keeps the tooltip's own rectangle on the screen; the
// compare box hangs off it, so the whole is moved back as far as it sticks
// out (left and top edges first). The library places the tooltip after
// its text changed, so every move is checked.
void CQXToolTip::onMoved(CEGUI::ElementEventArgs& e)
{
    CEGUI::Tooltip::onMoved(e);
    keepOnScreen();
}

void CQXToolTip::keepOnScreen()
{
    if (!getParent() || m_bKeepingOnScreen)
        return;
    const CEGUI::Rectf total = getTotalArea();
    const CEGUI::Sizef screen = getRootContainerSize();
    float dx = 0.0f;
    float dy = 0.0f;
    if (total.right() > screen.d_width)
        dx = screen.d_width - total.right();
    if (total.left() + dx < 0.0f)
        dx = -total.left();
    if (total.bottom() > screen.d_height)
        dy = screen.d_height - total.bottom();
    if (total.top() + dy < 0.0f)
        dy = -total.top();
    if (dx != 0.0f || dy != 0.0f)
    {
        m_bKeepingOnScreen = true;
        setPosition(getPosition() + CEGUI::UVector2(CEGUI::UDim(0.0f, dx), CEGUI::UDim(0.0f, dy)));
        m_bKeepingOnScreen = false;
    }
}

// ---------------------------------------------------------------------------
// The target

void CQXToolTip::watchTarget()
{
    if (d_target == m_pWatched)
        return;
    if (m_WatchedDestroyed.isValid())
        m_WatchedDestroyed->disconnect();
    m_WatchedDestroyed = CEGUI::Event::Connection();
    m_pWatched = nullptr;
    if (!d_target)
        return;
    if (!CEGUI::WindowManager::getSingleton().isAlive(d_target))
    {
        d_target = nullptr;
        return;
    }
    m_pWatched = d_target;
    m_WatchedDestroyed = const_cast<CEGUI::Window*>(d_target)->subscribeEvent(
        CEGUI::Window::EventDestructionStarted, CEGUI::Event::Subscriber(&CQXToolTip::onTargetDestroyed, this));
}

// The event that tells is still running: the subscription goes with the
// window.
bool CQXToolTip::onTargetDestroyed(const CEGUI::EventArgs& args)
{
    const CEGUI::Window* window = static_cast<const CEGUI::WindowEventArgs&>(args).window;
    if (d_target == window)
        d_target = nullptr;
    if (m_pWatched == window)
    {
        m_pWatched = nullptr;
        m_WatchedDestroyed = CEGUI::Event::Connection();
    }
    return false;
}

const CEGUI::Window* CQXToolTip::liveTarget()
{
    watchTarget();
    return d_target;
}

void CQXToolTip::onDestructionStarted(CEGUI::WindowEventArgs& e)
{
    CEGUI::Tooltip::onDestructionStarted(e);
    if (m_WatchedDestroyed.isValid())
        m_WatchedDestroyed->disconnect();
    m_WatchedDestroyed = CEGUI::Event::Connection();
    m_pWatched = nullptr;
    if (IQGUI* main = MainObject())
        main->UnmarkWindowName(Utf8ToAnsi(getName().c_str(), ""));
}

// ---------------------------------------------------------------------------
// Showing and hiding

// The timers step once per host frame: the tooltip keeps the host clock of
// its last update, and an update less than a frame after it (two time
// pulses in one frame) does not step. The clock is the host record's 32-bit
// float, whose resolution falls as it grows; the record's layout is the
// host's, so the gate stays on it. The first update only records the time.
// Without the host's clock the timers step on every update.
void CQXToolTip::updateSelf(float elapsed)
{
    // The library's own sequence is replaced by the one below.
    CEGUI::Window::updateSelf(elapsed);
    IQGUI* main = MainObject();
    const HostGlobals* host = main ? main->GetHostGlobals() : nullptr;
    if (!host)
    {
        step(Elapsed(elapsed));
        return;
    }
    const float now = host->curtime;
    if (m_fLastUpdateTime != 0.0f && m_fLastUpdateTime <= now - elapsed + SameFrameTolerance)
        step(Elapsed(elapsed));
    m_fLastUpdateTime = now;
}

// Hidden: the mouse hovers over a target with tooltip text for the hover
// time. Fading in: the alpha rises over the fade time. Shown: for the
// display time (0 is for ever). Fading out: the alpha falls over the fade
// time, then the tooltip hides. A target without text fades the tooltip
// out; a target with text while it fades out brings it back.
void CQXToolTip::step(float elapsed)
{
    // Hidden by someone else: the sequence starts again.
    if (m_State != State::Hidden && !isVisible())
    {
        m_State = State::Hidden;
        d_active = false;
        d_elapsed = 0.0f;
    }
    const CEGUI::Window* target = liveTarget();
    const bool wanted = target && !target->getTooltipTextIncludingInheritance().empty();
    switch (m_State)
    {
    case State::Hidden:
        if (wanted && (d_elapsed += elapsed) >= d_hoverTime)
            startShowing();
        break;
    case State::FadingIn:
        if (!wanted)
            startFadingOut();
        else if ((m_fFadeElapsed += elapsed) >= d_fadeTime)
        {
            setAlpha(1.0f);
            m_State = State::Shown;
            d_elapsed = 0.0f;
        }
        else
            setAlpha(m_fFadeElapsed / d_fadeTime);
        break;
    case State::Shown:
        if (!wanted)
            startFadingOut();
        else if (d_displayTime > 0.0f && (d_elapsed += elapsed) >= d_displayTime)
        {
            // Shown long enough: it comes back only for the next target.
            d_target = nullptr;
            startFadingOut();
        }
        break;
    case State::FadingOut:
        if (wanted)
        {
            setAlpha(1.0f);
            m_State = State::Shown;
            d_elapsed = 0.0f;
            positionSelf();
            keepOnScreen();
        }
        else if ((m_fFadeElapsed += elapsed) >= d_fadeTime)
            finishHiding();
        else
            setAlpha(1.0f - m_fFadeElapsed / d_fadeTime);
        break;
    }
}

void CQXToolTip::startShowing()
{
    positionSelf();
    show();
    keepOnScreen();
    d_active = true;
    d_elapsed = 0.0f;
    m_fFadeElapsed = 0.0f;
    if (d_fadeTime > 0.0f)
    {
        setAlpha(0.0f);
        m_State = State::FadingIn;
    }
    else
    {
        setAlpha(1.0f);
        m_State = State::Shown;
    }
    CEGUI::WindowEventArgs args(this);
    onTooltipActive(args);
}

// A fade-in cut short fades out from the alpha it reached.
void CQXToolTip::startFadingOut()
{
    if (d_fadeTime <= 0.0f)
    {
        finishHiding();
        return;
    }
    m_fFadeElapsed = m_State == State::FadingIn ? (1.0f - getAlpha()) * d_fadeTime : 0.0f;
    m_State = State::FadingOut;
}

// Hiding takes the tooltip off the screen's window tree until its next
// target.
void CQXToolTip::finishHiding()
{
    m_State = State::Hidden;
    d_active = false;
    d_elapsed = 0.0f;
    m_fFadeElapsed = 0.0f;
    CEGUI::WindowEventArgs args(this);
    onTooltipInactive(args);
    d_target = nullptr;
    hide();
    setAlpha(1.0f);
}
} // namespace QGUI
