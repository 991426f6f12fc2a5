// The read-only rich-text window: its text is markup, laid out into a
// document whenever the text, the size or the font changes. It keeps the
// multi-line edit box's scrollbars, caret and keys, shows the bars by its
// own rules (which a window can forbid), hands the mouse to the document so
// that commands, names, items and emotes can be hovered and clicked, and
// draws the game pictures of the document through an extra render cache.
//
// The tooltip and the chat box hold windows of this class: they set the text
// (setText), the fonts (setFont, setCmdFont) and the force-hide flags, and
// size themselves from getDocSize.
#pragma once

#include <CEGUI/widgets/MultiLineEditbox.h>

#include <cstdint>

#include "ShareProSet.h"
#include "core/ModuleMemory.h"
#include "richtext/RichTextWindow.h"
#include "richtext/TextMetrics.h"
#include "widgets/MouseWalk.h"
#include "widgets/WindowRenderCache.h"

namespace CEGUI
{
class Scrollbar;
class XMLSerializer;
} // namespace CEGUI

namespace QGUI
{
class IDoc;
class CRendererState;
namespace TextParser
{
class IParserManager;
}

class CGameMultiLine : public CEGUI::MultiLineEditbox, public IRichTextWindow, public CModuleObject,
                       public IMouseInputHandler
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/GameMultiLine"
    // getDocSize adds this to the document's width and height.
    static constexpr float DocSizeMargin = 4.0f;
    // The document's right edge lies this far inside the text area.
    static constexpr float RightEdgeInset = 2.0f;
    // Layouts asked for while a layout runs (by the scripts it calls) run
    // after it, this many at most; a script that asks every time is cut off.
    static constexpr int MaxQueuedLayouts = 4;

    CGameMultiLine(const CEGUI::String& type, const CEGUI::String& name);
    ~CGameMultiLine() override;

    // --- shared property set ---
    virtual CEGUI::Property* FindSharePros(const CEGUI::String& name) const;
    // Writes the shared properties that are not banned and not at their
    // default; count grows by one per property written.
    virtual void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const;

    // --- the document ---
    // Laid-out size plus the margin on each axis; (4, 4) for an empty one.
    CEGUI::Sizef getDocSize() const;
    float getDocWidth() const { return getDocSize().d_width; }
    float getDocHeight() const { return getDocSize().d_height; }
    // The laid-out document; null once the window is destroyed.
    const IDoc* getDocument() const { return liveDocument(); }
    // The laid-out text without tags.
    CEGUI::String getPlainText() const;
    // Lays the text out again; when a scrollbar appears or goes and repeat
    // is set, once more for the new text area.
    void relayout(bool repeat);
    // Shows and hides the scrollbars by the document's size and sets their
    // ranges; true when either bar appeared or went.
    bool configureScrollbars();
    // The edit box sees the whole text as one line.
    void resetLineInfo();
    // Whether the edit box's own formatter is running: it empties the line
    // list, which the window otherwise keeps at one line.
    bool isEditBoxFormatting() const { return d_lines.empty(); }
    // The edit box's setters without the edit box's formatting. The layout
    // always wraps at the text area's edge, so word wrapping only decides
    // the horizontal bar; an always shown vertical bar takes effect at once.
    void setWordWrapping(bool setting);
    void setShowVertScrollbar(bool setting);
    // Passes every event on; the edit box's "WordWrapModeChanged" and
    // "VertScrollbarModeChanged", in which its setters and the window's own
    // end, first lay the window out again.
    void fireEvent(const CEGUI::String& name, CEGUI::EventArgs& args,
                   const CEGUI::String& eventNamespace = "") override;

    // --- drawing, for the window renderer ---
    // The text area in window pixels: the renderer's, or the whole window
    // without one.
    CEGUI::Rectf textArea() const;
    // Top-left of the document part shown: the scroll positions, 0 for a
    // missing or force-hidden bar. Drawing and the mouse both use it.
    CEGUI::Vector2f viewOffset() const;
    // Draws the visible part of the document into the window's geometry
    // buffer; pictures go to the sink.
    void drawDocument(const DrawContext& ctx);
    // Caches the state's pictures as one drawable of the extra render cache,
    // in front of the text, clipped to clip (the window when null).
    void cacheRendererState(CRendererState& state, const CEGUI::Rectf* clip);
    CWindowRenderCache& getExtraRenderCache() { return m_ExtraCache; }
    // The edit box's bars; null when the look has none.
    CEGUI::Scrollbar* vertScrollbar() const;
    CEGUI::Scrollbar* horzScrollbar() const;

    // --- properties ---
    bool isFrameEnabled() const { return m_bFrameEnabled; }
    void setFrameEnabled(bool enabled);
    bool isPicked() const { return m_bPicked; }
    void setPicked(bool picked);
    bool isForceHideVertScrollbar() const { return m_bForceHideVert; }
    void setForceHideVertScrollbar(bool hide) { m_bForceHideVert = hide; }
    bool isForceHideHorzScrollbar() const { return m_bForceHideHorz; }
    void setForceHideHorzScrollbar(bool hide) { m_bForceHideHorz = hide; }
    const CEGUI::Colour& getDefaultTextColour() const { return m_DefaultColour; }
    void setDefaultTextColour(const CEGUI::Colour& colour) { m_DefaultColour = colour; }
    int32_t getIndent1stLine() const { return m_nIndent1stLine; }
    void setIndent1stLine(int32_t indent) { m_nIndent1stLine = indent; }
    int32_t getIndentRestLine() const { return m_nIndentRestLine; }
    void setIndentRestLine(int32_t indent) { m_nIndentRestLine = indent; }
    const CEGUI::String& getCmdFontName() const { return m_CmdFontName; }
    // Stores the name, then looks the font up (an empty name means none):
    // an unknown font throws the font manager's exception, keeping the
    // previous font.
    void setCmdFont(const CEGUI::String& name);
    const CEGUI::Font* getCmdFont() const { return m_pCmdFont; }

    // --- what the rich-text engine asks of the window ---
    const CEGUI::String& GetRichText() const override { return getText(); }
    const CEGUI::String& GetWindowName() const override { return getName(); }
    uint32_t GetDefaultTextColour() const override { return m_DefaultColour.getARGB(); }
    int GetIndent1stLine() const override { return m_nIndent1stLine; }
    int GetIndentRestLine() const override { return m_nIndentRestLine; }
    const ITextFont* GetTextFont() const override;
    const ITextFont* GetCmdTextFont() const override;
    const CEGUI::Image* GetSelectionBrush() const override { return getSelectionBrushImage(); }
    bool IsUnderMouse() const override;
    void RequestRedraw() override { invalidate(); }

    void initialiseComponents() override;
    // Gives the document back (telling the scripts its items are no longer
    // referenced) before the window goes.
    void destroy() override;

    // Every press (the document's clicks), moves (hovering), and the edit
    // box's left double and triple clicks; the wheel and releases go on.
    bool HandlesMouseInput(MouseInput input, const CEGUI::MouseEventArgs& e) const override;

protected:
    void onSized(CEGUI::ElementEventArgs& e) override;
    void onTextChanged(CEGUI::WindowEventArgs& e) override;
    void onFontChanged(CEGUI::WindowEventArgs& e) override;
    void onMouseMove(CEGUI::MouseEventArgs& e) override;
    void onMouseLeaves(CEGUI::MouseEventArgs& e) override;
    void onMouseButtonDown(CEGUI::MouseEventArgs& e) override;
    void onMouseButtonUp(CEGUI::MouseEventArgs& e) override;
    void onMouseWheel(CEGUI::MouseEventArgs& e) override;
    void onKeyDown(CEGUI::KeyEventArgs& e) override;
    void drawSelf(const CEGUI::RenderingContext& ctx) override;

    static CEGUI::ShareProSet SharePropertySet;
    // Stand-ins for edit box properties; not part of the shared set.
    static CEGUI::ShareProSet EditboxPropertySet;

private:
    // Keeps the document while the window works with it: a document the
    // window gives back meanwhile (a script destroyed the window) goes when
    // the last user is done.
    class DocumentUse;

    IDoc* liveDocument() const { return m_bDocumentReleased ? nullptr : m_pDoc; }
    void layoutOnce(bool repeat);
    void releaseDocument();
    // The document point under a screen position.
    CEGUI::Vector2f documentPoint(const CEGUI::Vector2f& screen) const;
    void moveOverDocument(CEGUI::MouseEventArgs& e);
    bool onScrolled(const CEGUI::EventArgs&);
    // The widest line the edit box would see, which the horizontal bar
    // follows; then configureScrollbars.
    float widestUnwrappedLine() const;
    bool updateScrollbars();
    // After a change of a setting that decides the bars (word wrapping, the
    // always-shown vertical bar): the edit box's setter may have formatted
    // the text and set the bars its way, so everything is laid out anew.
    void lineSettingChanged();
    // Whether the edit box's caret code can run: it needs both bars and a
    // font.
    bool caretUsable() const;

    TextParser::IParserManager* m_pParserManager;
    IDoc* m_pDoc;
    CWindowRenderCache m_ExtraCache;
    CEGUI::Colour m_DefaultColour;
    int32_t m_nIndent1stLine = 0;
    int32_t m_nIndentRestLine = 0;
    bool m_bFrameEnabled = true;
    bool m_bPicked = false;
    CEGUI::String m_CmdFontName;
    const CEGUI::Font* m_pCmdFont = nullptr;
    bool m_bForceHideVert = false;
    bool m_bForceHideHorz = false;

    // Measuring with the window's font and the command font; reset at each
    // layout and drawing.
    mutable CFontMetrics m_TextMetrics;
    mutable CFontMetrics m_CmdMetrics;
    int m_nDocumentUsers = 0;
    bool m_bDocumentReleased = false;
    bool m_bLayingOut = false;
    bool m_bLayoutQueued = false;
};
} // namespace QGUI
