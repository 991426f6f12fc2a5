// What the document, the parsers and the text blocks know of the window that
// shows a document, and what they draw into. The window hands these to the
// engine; the engine never sees the window's own class.
#pragma once

#include <CEGUI/Rect.h>
#include <CEGUI/String.h>

#include <cstdint>

namespace CEGUI
{
class GeometryBuffer;
class Image;
} // namespace CEGUI

namespace QGUI
{
class ITextFont;

class IRichTextWindow
{
public:
    // The text the document was laid out from; blocks keep ranges of it.
    virtual const CEGUI::String& GetRichText() const = 0;
    // The window's name, as guide records carry it.
    virtual const CEGUI::String& GetWindowName() const = 0;
    // ARGB colour of text outside tags.
    virtual uint32_t GetDefaultTextColour() const = 0;
    // Pen x of the first line and of every later line, in pixels.
    virtual int GetIndent1stLine() const = 0;
    virtual int GetIndentRestLine() const = 0;
    // The font text is measured and drawn in; null when the window has none.
    virtual const ITextFont* GetTextFont() const = 0;
    // The font command texts are drawn in; null when none is set.
    virtual const ITextFont* GetCmdTextFont() const = 0;
    // Image behind a hovered command text; null when the look has none.
    virtual const CEGUI::Image* GetSelectionBrush() const = 0;
    // Whether the mouse is over this window (and not over a window in front).
    virtual bool IsUnderMouse() const = 0;
    // Asks for the window to be drawn again.
    virtual void RequestRedraw() = 0;

protected:
    ~IRichTextWindow() {}
};

// Receives the pictures of a document while it draws: each game picture is
// drawn by the game into the window at (x, y), window pixels, at its own size.
class IPictureSink
{
public:
    virtual void AddPictureRequest(uint32_t creatureId, uint32_t packedPicture, float x, float y) = 0;
    // Clip rectangle of the pictures, window pixels; null for none.
    virtual void SetPictureClip(const CEGUI::Rectf* clip) = 0;

protected:
    ~IPictureSink() {}
};

// One drawing pass of a document.
struct DrawContext
{
    // The window's geometry buffer, in window pixels; null draws no text.
    CEGUI::GeometryBuffer* buffer;
    // Where pictures go; null draws none.
    IPictureSink* pictures;
    // The part of the document shown, document coordinates.
    CEGUI::Rectf view;
    // Where that part is drawn, window pixels; everything is clipped to it.
    CEGUI::Rectf target;
};
} // namespace QGUI
