// The chat input line: a game edit box that also carries item links. A
// script links an item by pushing its id, then its display name, which is
// appended to the text and remembered as a piece; the encoded text is the
// text with each remembered name replaced by the link text the scripts make
// for its item.
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/GameEditBox.h"

namespace QGUI
{
class CChatEditBox : public CGameEditBox
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/ChatEditBox"
    // No limit on the links of one message.
    static constexpr uint32_t NoPieceLimit = 0;

    CChatEditBox(const CEGUI::String& type, const CEGUI::String& name);
    ~CChatEditBox() override;

    CEGUI::Property* FindSharePros(const CEGUI::String& name) const override;
    void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const override;

    // Starts a piece for an item; its display name comes with pushText.
    void pushId(uint32_t id);
    // pushId with the text read as an unsigned number.
    void pushIdText(const CEGUI::String& id);
    // Appends t to the text (wherever the caret is) and makes it the display
    // name of the last piece pushed. Nothing happens when the text would
    // grow past the maximum text length or fail the box's validation.
    void pushText(const CEGUI::String& t);
    // The text with the pieces' display names replaced by their link texts,
    // found in push order, each after the one before. Pieces whose name is
    // empty or not in the text are skipped; after the maximum number of
    // pieces the rest stays as it is. Sets the piece count.
    CEGUI::String getEncodedText() const;
    void clearPieces() { m_Pieces.clear(); }
    size_t getPieceCount() const { return m_Pieces.size(); }

    uint32_t getMaxEncodeNum() const { return m_nMaxPieces; }
    void setMaxEncodeNum(uint32_t max) { m_nMaxPieces = max; }
    // The pieces the last encoding found; one more than the maximum when it
    // was reached and another piece followed.
    uint32_t getEncodeNum() const { return m_nEncodeNum; }

    // The link text of an item, from the script global
    // "gFn_make_chat_item_text"; empty when the call fails.
    static CEGUI::String MakeItemLink(uint32_t id);

protected:
    void onTextChanged(CEGUI::WindowEventArgs& e) override;

    static CEGUI::ShareProSet SharePropertySet;

private:
    struct Piece
    {
        CEGUI::String text;
        uint32_t id;
    };

    std::vector<Piece> m_Pieces;
    uint32_t m_nMaxPieces = 0xFFFFFFFF;
    mutable uint32_t m_nEncodeNum = 0;
};
} // namespace QGUI
