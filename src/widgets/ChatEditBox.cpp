#include "widgets/ChatEditBox.h"

#include "IQGUI.h"
#include "render/GuiString.h"
#include "strtools.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CChatEditBox::WidgetTypeName("QXGame/ChatEditBox");

CChatEditBox::CChatEditBox(const CEGUI::String& type, const CEGUI::String& name) : CGameEditBox(type, name)
{
    SharePropertySet.applyTo(*this);
}

CChatEditBox::~CChatEditBox() = default;

CEGUI::Property* CChatEditBox::FindSharePros(const CEGUI::String& name) const
{
    if (CEGUI::Property* p = SharePropertySet.GetpProperty(name))
        return p;
    return CGameEditBox::FindSharePros(name);
}

void CChatEditBox::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    CGameEditBox::WriteSharePropToXML(xml, count);
    writeSharedSet(SharePropertySet, xml, count);
}

void CChatEditBox::pushId(uint32_t id)
{
    m_Pieces.push_back(Piece{CEGUI::String(), id});
}

void CChatEditBox::pushIdText(const CEGUI::String& id)
{
    pushId(UintText::fromString(id));
}

void CChatEditBox::pushText(const CEGUI::String& t)
{
    const CEGUI::String text = getText() + t;
    if (text.length() > getMaxTextLength() || !handleValidityChangeForString(text))
        return;
    setText(text);
    // The text's change handlers may have emptied the box, and the pieces.
    if (!m_Pieces.empty())
        m_Pieces.back().text = t;
}

CEGUI::String CChatEditBox::MakeItemLink(uint32_t id)
{
    IQGUI* main = MainObject();
    if (!main)
        return CEGUI::String();
    return StringFromUtf8(
        AnsiToUtf8(main->CallScriptGlobalNumberToString("gFn_make_chat_item_text", static_cast<int>(id)), ""));
}

// The link texts come from the scripts, which may change the box and its
// pieces meanwhile: the encoding works on copies of both.
CEGUI::String CChatEditBox::getEncodedText() const
{
    const std::vector<Piece> pieces = m_Pieces;
    const CEGUI::String text = getText();
    CEGUI::String result;
    size_t rest = 0;
    uint32_t count = 0;
    for (const Piece& piece : pieces)
    {
        // A piece whose name never came would match anywhere.
        if (piece.text.empty())
            continue;
        const size_t at = text.find(piece.text, rest);
        if (at == CEGUI::String::npos)
            continue;
        ++count;
        if (m_nMaxPieces != NoPieceLimit && count > m_nMaxPieces)
            break;
        result += text.substr(rest, at - rest);
        result += MakeItemLink(piece.id);
        rest = at + piece.text.length();
    }
    result += text.substr(rest);
    m_nEncodeNum = count;
    return result;
}

void CChatEditBox::onTextChanged(CEGUI::WindowEventArgs& e)
{
    CGameEditBox::onTextChanged(e);
    if (getText().empty())
        clearPieces();
}
} // namespace QGUI
