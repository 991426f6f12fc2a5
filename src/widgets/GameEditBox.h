// The game's single-line text input: the GUI library's edit box with a
// numeric mode bounded by a maximum, insertion of text at the caret for
// scripts, copy, cut and paste on Control+C, X and V through the system
// clipboard, and the caret's horizontal offset as of the last text change.
// The rich content edit is the same box under its own window type.
#pragma once

#include <CEGUI/widgets/Editbox.h>

#include <cstdint>
#include <vector>

#include "ShareProSet.h"
#include "core/ModuleMemory.h"

namespace CEGUI
{
class XMLSerializer;
}

namespace QGUI
{
class CGameEditBox : public CEGUI::Editbox, public CModuleObject
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/GameEditBox"
    // Fired (in the edit box's event namespace) when typed, inserted or
    // pasted text is refused.
    static const CEGUI::String EventInvalidEntryAttempted;
    // No bound on the number a numeric box takes.
    static constexpr uint32_t NoMaximum = 0xFFFFFFFF;

    CGameEditBox(const CEGUI::String& type, const CEGUI::String& name);
    ~CGameEditBox() override;

    // --- shared property sets ---
    // The class's shared property of that name, else the base class's.
    virtual CEGUI::Property* FindSharePros(const CEGUI::String& name) const;
    // Writes the shared properties that are not banned and not at their
    // default; count grows by one per property written.
    virtual void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const;

    // --- properties ---
    bool isNumericOnly() const { return m_bNumeric; }
    void setNumericOnly(bool numeric) { m_bNumeric = numeric; }
    uint32_t getMaxNumber() const { return m_nMaxNumber; }
    void setMaxNumber(uint32_t max) { m_nMaxNumber = max; }
    // Pixels from the text's start to the caret at the last text change,
    // never more than the inner width.
    float getCaratOffset() const;
    // What action properties read.
    CEGUI::String emptyText() const { return CEGUI::String(); }

    // Puts t in place of the selection, or at the caret: the caret then
    // follows t. Refused, with nothing changed, when the result fails the
    // box's validation, is not a number within the maximum in numeric mode
    // (both fire EventInvalidEntryAttempted), or is longer than the maximum
    // text length (no event).
    bool insertText(const CEGUI::String& t);

    virtual bool copyToClipboard();
    virtual bool cutToClipboard();
    virtual bool pasteFromClipboard();

    // The text read as an unsigned number: its leading digits, with any
    // value over 4294967295 read as 4294967296.
    static uint64_t ReadNumber(const CEGUI::String& text);

protected:
    void onTextChanged(CEGUI::WindowEventArgs& e) override;
    void onKeyDown(CEGUI::KeyEventArgs& e) override;
    void onCharacter(CEGUI::KeyEventArgs& e) override;

    // Writes the properties of one class's set that are not banned and not
    // at their default.
    void writeSharedSet(const CEGUI::ShareProSet& set, CEGUI::XMLSerializer& xml, int& count) const;
    void fireInvalidEntry();
    CEGUI::String selectedText() const;
    // The text with t in place of the selection (at the caret when there is
    // none).
    CEGUI::String textWithSelectionAs(const CEGUI::String& t) const;
    // Sets the text, the selection dropped and the caret at caret.
    void commitText(const CEGUI::String& text, size_t caret);

    static CEGUI::ShareProSet SharePropertySet;

private:
    bool m_bNumeric = false;
    uint32_t m_nMaxNumber = NoMaximum;
    // The caret offset is measured when it is asked for, from the caret and
    // the inner width as they were at the last text change (the text has not
    // changed since).
    mutable float m_fCaratOffset = 0.0f;
    mutable bool m_bOffsetPending = false;
    size_t m_nCaretAtChange = 0;
    float m_fWidthAtChange = 0.0f;
};

class CRichContentEdit : public CGameEditBox
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/RichContentEdit"

    CRichContentEdit(const CEGUI::String& type, const CEGUI::String& name);
    ~CRichContentEdit() override;

private:
    // Kept for the box's layout; nothing fills it.
    std::vector<uint32_t> m_Values;
};

} // namespace QGUI
