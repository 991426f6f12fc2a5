#include "widgets/GameMultilineEditbox.h"

#include "widgets/Clipboard.h"
#include "widgets/KeyCapture.h"
#include "widgets/LookImagery.h"

#include <algorithm>

namespace QGUI
{
const CEGUI::String CGameMultilineInput::WidgetTypeName("QXGame/GameMultilineInput");
const CEGUI::String CGameMultilineEditbox::WidgetTypeName("QXGame/GameMultilineEditbox");

namespace
{
void MarkHandled(CEGUI::EventArgs& e)
{
    if (e.handled == 0)
        ++e.handled;
}
} // namespace

CBareSafeMultiLineEditbox::CBareSafeMultiLineEditbox(const CEGUI::String& type, const CEGUI::String& name)
    : CEGUI::MultiLineEditbox(type, name)
{
}

bool CBareSafeMultiLineEditbox::canFormat()
{
    return CheckLookPart(*this, getWindowRenderer() != nullptr, "window renderer");
}

void CBareSafeMultiLineEditbox::onTextChanged(CEGUI::WindowEventArgs& e)
{
    if (canFormat())
    {
        CEGUI::MultiLineEditbox::onTextChanged(e);
        return;
    }
    CEGUI::Window::onTextChanged(e);
    clearSelection();
    d_caretPos = std::min(d_caretPos, getText().length());
    ++e.handled;
}

void CBareSafeMultiLineEditbox::onSized(CEGUI::ElementEventArgs& e)
{
    if (canFormat())
    {
        CEGUI::MultiLineEditbox::onSized(e);
        return;
    }
    CEGUI::Window::onSized(e);
    ++e.handled;
}

void CBareSafeMultiLineEditbox::onFontChanged(CEGUI::WindowEventArgs& e)
{
    if (canFormat())
        CEGUI::MultiLineEditbox::onFontChanged(e);
    else
        CEGUI::Window::onFontChanged(e);
}

CGameMultilineInput::CGameMultilineInput(const CEGUI::String& type, const CEGUI::String& name)
    : CBareSafeMultiLineEditbox(type, name)
{
}

// Every key pressed in the input stays there, away from the handlers of the
// windows around it and of the game.
void CGameMultilineInput::onKeyDown(CEGUI::KeyEventArgs& e)
{
    {
        CKeyCapture capture(*this);
        CEGUI::MultiLineEditbox::onKeyDown(e);
    }
    MarkHandled(e);
}

CGameMultilineEditbox::CGameMultilineEditbox(const CEGUI::String& type, const CEGUI::String& name)
    : CBareSafeMultiLineEditbox(type, name)
{
}

// Keys pressed in an editable box stay there.
void CGameMultilineEditbox::onKeyDown(CEGUI::KeyEventArgs& e)
{
    if (isReadOnly())
    {
        CEGUI::MultiLineEditbox::onKeyDown(e);
        return;
    }
    {
        CKeyCapture capture(*this);
        CEGUI::MultiLineEditbox::onKeyDown(e);
    }
    MarkHandled(e);
}

void CGameMultilineEditbox::onCharacter(CEGUI::KeyEventArgs& e)
{
    if (RunClipboardCommand(*this, e))
    {
        MarkHandled(e);
        return;
    }
    CEGUI::MultiLineEditbox::onCharacter(e);
}

bool CGameMultilineEditbox::copyToClipboard()
{
    return SetClipboardText(getText().substr(getSelectionStartIndex(), getSelectionLength()));
}

bool CGameMultilineEditbox::cutToClipboard()
{
    if (isReadOnly() || !copyToClipboard())
        return false;
    const size_t start = getSelectionStartIndex();
    CEGUI::String text = getText();
    text.erase(start, getSelectionLength());
    putText(text, start);
    return true;
}

// The box's text always ends in a line break of its own, which the maximum
// text length does not count (as for typing).
bool CGameMultilineEditbox::pasteFromClipboard()
{
    if (isReadOnly())
        return false;
    CEGUI::String pasted;
    if (!GetClipboardText(pasted))
        return false;
    const size_t start = getSelectionStartIndex();
    CEGUI::String result = getText();
    result.erase(start, getSelectionLength());
    result.insert(start, pasted);
    const bool ownBreak = !result.empty() && result[result.length() - 1] == '\n';
    if (result.length() - (ownBreak ? 1 : 0) > getMaxTextLength())
        return false;
    putText(result, start + pasted.length());
    return true;
}

// The GUI library's own erasing of the selection drops the selection before
// it erases, and so erases nothing: cut and paste set the new text whole.
void CGameMultilineEditbox::putText(const CEGUI::String& text, size_t caret)
{
    clearSelection();
    d_caretPos = caret;
    setText(text);
}
} // namespace QGUI
