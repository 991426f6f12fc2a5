// The module's copy and paste of text through the system clipboard. Text in
// the GUI library is UTF-8; the clipboard is written in the local code page
// (CF_TEXT) and read from UTF-16 when offered, else from the local code
// page.
#pragma once

#include <CEGUI/InputEvent.h>
#include <CEGUI/String.h>

#include <cstddef>
#include <cstdint>

namespace QGUI
{
// Clipboard text of this many bytes or more (in the local code page) is
// not taken.
constexpr size_t kClipboardTextLimit = 10240;
// At most this many bytes of clipboard text are kept by the normalisation.
constexpr size_t kClipboardKeptBytes = kClipboardTextLimit - 2;

// Puts text on the clipboard. False, the clipboard untouched, for an empty
// text or one with no form in the local code page; false when the clipboard
// cannot be opened or does not take the text.
bool SetClipboardText(const CEGUI::String& text);
// Reads the clipboard's text into out, line feeds removed. False, out
// untouched, when the clipboard holds no text, cannot be opened, holds text
// of kClipboardTextLimit bytes or more, or text that comes out empty.
bool GetClipboardText(CEGUI::String& out);
// Local-code-page text of length bytes (it need not end in a zero) to
// UTF-8: every line feed left out (carriage returns stay), cut after
// kClipboardKeptBytes bytes. False when nothing is left.
bool NormaliseClipboardText(const char* text, size_t length, CEGUI::String& out);

// Control+letter arrives as the letter's code less 96.
enum ControlCode : uint32_t
{
    ControlC = 3,
    ControlV = 22,
    ControlX = 24
};
// Runs copy, paste or cut for a Control code on an edit box with those three
// operations; false when the character is no clipboard command (it then goes
// on to the box's own handling).
template <class Box>
bool RunClipboardCommand(Box& box, const CEGUI::KeyEventArgs& e)
{
    if (!(e.sysKeys & CEGUI::Control))
        return false;
    switch (e.codepoint)
    {
    case ControlC:
        box.copyToClipboard();
        return true;
    case ControlV:
        box.pasteFromClipboard();
        return true;
    case ControlX:
        box.cutToClipboard();
        return true;
    default:
        return false;
    }
}
} // namespace QGUI
