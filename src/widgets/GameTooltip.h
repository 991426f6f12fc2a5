// The game's tooltip: its text is rich text, shown by a rich-text window
// that fills the tooltip; when the window it describes names an object to
// compare with, the game's tooltip of that object stands beside it in a
// second, framed rich-text window. The tooltip sizes itself from its
// document and runs its own hover, fade-in, display, fade-out sequence,
// stepped at most once per host frame.
#pragma once

#include <CEGUI/widgets/Tooltip.h>

#include "core/ModuleMemory.h"

namespace QGUI
{
class CGameMultiLine;

class CQXToolTip : public CEGUI::Tooltip, public CModuleObject
{
public:
    static const CEGUI::String WidgetTypeName;      // "QXGame/Tooltip"
    static const CEGUI::String MainBoxName;         // "__auto_multiline__"
    static const CEGUI::String CompareBoxName;      // "__auto_multiline2__"
    // The size the boxes lay text out in before they fit their documents.
    static constexpr float LayoutWidth = 256.0f;
    static constexpr float LayoutHeight = 512.0f;
    // The compare box is its document's size plus this (its frame).
    static constexpr float CompareFrame = 12.0f;
    // Seconds a new tooltip shows for, until a style gives its own.
    static constexpr float InitialDisplayTime = 100.0f;
    // Two updates closer in host time than a frame less this are the same
    // frame: the timers step once.
    static constexpr float SameFrameTolerance = 0.0001f;

    CQXToolTip(const CEGUI::String& type, const CEGUI::String& name);
    ~CQXToolTip() override;

    // Seconds the tooltip takes to fade in and out; 0 shows and hides it at
    // once.
    float getFadeTime() const { return d_fadeTime; }
    void setFadeTime(float seconds);

    // The text's size: the main box's document, (0, 0) for no text.
    CEGUI::Sizef getContentSize() const;
    CEGUI::Sizef getTextSize_impl() const override;
    // The tooltip's screen rectangle, with the compare box when it shows.
    CEGUI::Rectf getTotalArea() const;

    CGameMultiLine* getMainBox() const { return m_pMainBox; }
    CGameMultiLine* getCompareBox() const { return m_pCompareBox; }
    // Whether the tooltip shows (fading in, shown or fading out).
    bool isShowing() const { return m_State != State::Hidden; }

    void initialiseComponents() override;

protected:
    void onTextChanged(CEGUI::WindowEventArgs& e) override;
    void onMoved(CEGUI::ElementEventArgs& e) override;
    void onDestructionStarted(CEGUI::WindowEventArgs& e) override;
    void updateSelf(float elapsed) override;

private:
    enum class State
    {
        Hidden,
        FadingIn,
        Shown,
        FadingOut
    };

    // Makes or takes up one inner box; null when the look's type is no
    // rich-text window.
    CGameMultiLine* innerBox(const CEGUI::String& name);
    void showCompareText();
    // One step of the sequence.
    void step(float elapsed);
    // The target when it is still a window; a destroyed one is dropped.
    const CEGUI::Window* liveTarget();
    bool onTargetDestroyed(const CEGUI::EventArgs& args);
    void watchTarget();
    void startShowing();
    void startFadingOut();
    void finishHiding();
    // Keeps the tooltip and its compare box on the screen.
    void keepOnScreen();

    CGameMultiLine* m_pMainBox = nullptr;
    float m_fLastUpdateTime = 0.0f;
    CGameMultiLine* m_pCompareBox = nullptr;

    State m_State = State::Hidden;
    float m_fFadeElapsed = 0.0f;
    bool m_bKeepingOnScreen = false;
    // The target watched for its destruction.
    const CEGUI::Window* m_pWatched = nullptr;
    CEGUI::Event::Connection m_WatchedDestroyed;
};
} // namespace QGUI
