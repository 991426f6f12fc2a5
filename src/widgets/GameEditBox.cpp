#include "widgets/GameEditBox.h"

#include <CEGUI/Font.h>

#include "widgets/Clipboard.h"
#include "widgets/KeyCapture.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CGameEditBox::WidgetTypeName("QXGame/GameEditBox");
// The name scripts subscribe to, as edit boxes have always called it.
const CEGUI::String CGameEditBox::EventInvalidEntryAttempted("InvalidInputAttempt");
const CEGUI::String CRichContentEdit::WidgetTypeName("QXGame/RichContentEdit");

namespace
{
bool IsDigit(CEGUI::utf32 c)
{
    return c >= '0' && c <= '9';
}

bool IsDigits(const CEGUI::String& text)
{
    for (CEGUI::utf32 c : text)
        if (!IsDigit(c))
            return false;
    return true;
}
} // namespace

CGameEditBox::CGameEditBox(const CEGUI::String& type, const CEGUI::String& name) : CEGUI::Editbox(type, name)
{
    SharePropertySet.applyTo(*this);
}

CGameEditBox::~CGameEditBox() = default;

// The GUI library's edit box has no shared set of its own.
CEGUI::Property* CGameEditBox::FindSharePros(const CEGUI::String& name) const
{
    return SharePropertySet.GetpProperty(name);
}

void CGameEditBox::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    writeSharedSet(SharePropertySet, xml, count);
}

void CGameEditBox::writeSharedSet(const CEGUI::ShareProSet& set, CEGUI::XMLSerializer& xml, int& count) const
{
    for (CEGUI::Property* p : set.properties())
    {
        if (isPropertyBannedFromXML(p) || isPropertyAtDefault(p))
            continue;
        p->writeXMLToStream(this, xml);
        ++count;
    }
}

uint64_t CGameEditBox::ReadNumber(const CEGUI::String& text)
{
    constexpr uint64_t over = uint64_t(0xFFFFFFFF) + 1;
    size_t i = 0;
    while (i < text.length() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    uint64_t value = 0;
    for (; i < text.length() && IsDigit(text[i]); ++i)
    {
        value = value * 10 + (text[i] - '0');
        if (value >= over)
            return over;
    }
    return value;
}

void CGameEditBox::fireInvalidEntry()
{
    CEGUI::WindowEventArgs args(this);
    fireEvent(EventInvalidEntryAttempted, args, CEGUI::Editbox::EventNamespace);
}

CEGUI::String CGameEditBox::selectedText() const
{
    return getText().substr(getSelectionStartIndex(), getSelectionLength());
}

void CGameEditBox::onTextChanged(CEGUI::WindowEventArgs& e)
{
    CEGUI::Editbox::onTextChanged(e);
    m_nCaretAtChange = getCaretIndex();
    m_fWidthAtChange = getUnclippedInnerRect().get().getWidth();
    m_bOffsetPending = true;
}

// Measuring costs a pass over the text, which typing would pay for every
// character; it is paid here, once per text change that is asked about.
float CGameEditBox::getCaratOffset() const
{
    if (m_bOffsetPending)
    {
        const CEGUI::Font* font = getFont();
        const CEGUI::String& text = getText();
        const size_t caret = m_nCaretAtChange < text.length() ? m_nCaretAtChange : text.length();
        const float extent = font ? font->getTextExtent(text.substr(0, caret), 1.0f) : 0.0f;
        m_fCaratOffset = extent > m_fWidthAtChange ? m_fWidthAtChange : extent;
        m_bOffsetPending = false;
    }
    return m_fCaratOffset;
}

// An editable box keeps every key pressed in it from the handlers of the
// windows around it and of the game.
void CGameEditBox::onKeyDown(CEGUI::KeyEventArgs& e)
{
    if (isReadOnly())
    {
        CEGUI::Editbox::onKeyDown(e);
        return;
    }
    {
        CKeyCapture capture(*this);
        CEGUI::Editbox::onKeyDown(e);
    }
    if (e.handled == 0)
        ++e.handled;
}

void CGameEditBox::onCharacter(CEGUI::KeyEventArgs& e)
{
    if (RunClipboardCommand(*this, e))
    {
        ++e.handled;
        return;
    }
    if (!m_bNumeric)
    {
        CEGUI::Editbox::onCharacter(e);
        return;
    }
    if (!IsDigit(e.codepoint))
        return;
    CEGUI::Editbox::onCharacter(e);
    // A digit that takes the number over the maximum leaves the maximum.
    if (ReadNumber(getText()) > m_nMaxNumber)
    {
        setText(UintText::toString(m_nMaxNumber));
        setCaretIndex(0);
        fireInvalidEntry();
    }
}

// The new text is checked whole before anything changes, so a refused
// insertion keeps the selection and its text.
bool CGameEditBox::insertText(const CEGUI::String& t)
{
    const CEGUI::String candidate = textWithSelectionAs(t);
    if (!handleValidityChangeForString(candidate) ||
        (m_bNumeric && (!IsDigits(t) || ReadNumber(candidate) > m_nMaxNumber)))
    {
        fireInvalidEntry();
        return false;
    }
    if (candidate.length() > getMaxTextLength())
        return false;
    commitText(candidate, getSelectionStartIndex() + t.length());
    return true;
}

CEGUI::String CGameEditBox::textWithSelectionAs(const CEGUI::String& t) const
{
    const size_t start = getSelectionStartIndex();
    CEGUI::String text = getText();
    text.erase(start, getSelectionLength());
    text.insert(start, t);
    return text;
}

// The GUI library's own erasing of the selection drops the selection before
// it erases, and so erases nothing: edits set the new text whole.
void CGameEditBox::commitText(const CEGUI::String& text, size_t caret)
{
    clearSelection();
    d_caretPos = caret;
    setText(text);
}

bool CGameEditBox::copyToClipboard()
{
    if (isTextMasked())
        return false;
    return SetClipboardText(selectedText());
}

bool CGameEditBox::cutToClipboard()
{
    if (isReadOnly() || isTextMasked() || !copyToClipboard())
        return false;
    commitText(textWithSelectionAs(CEGUI::String()), getSelectionStartIndex());
    return true;
}

// A numeric box takes only a positive number made of digits.
bool CGameEditBox::pasteFromClipboard()
{
    if (isReadOnly() || isTextMasked())
        return false;
    CEGUI::String text;
    if (!GetClipboardText(text))
        return false;
    if (m_bNumeric && (!IsDigits(text) || ReadNumber(text) < 1))
        return false;
    return insertText(text);
}

CRichContentEdit::CRichContentEdit(const CEGUI::String& type, const CEGUI::String& name) : CGameEditBox(type, name)
{
}

CRichContentEdit::~CRichContentEdit() = default;
} // namespace QGUI
