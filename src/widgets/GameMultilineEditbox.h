// Multi-line text entry for game panels: the GUI library's multi-line edit
// box with key presses kept from the windows around it. The multiline input
// keeps every key; the multiline edit box keeps keys while editable and adds
// copy, cut and paste on Control+C, X and V through the system clipboard.
#pragma once

#include <CEGUI/widgets/MultiLineEditbox.h>

#include "core/ModuleMemory.h"

namespace QGUI
{
// The GUI library's edit box formats its text through its window renderer;
// one made without a look has none, and keeps its text unformatted instead.
class CBareSafeMultiLineEditbox : public CEGUI::MultiLineEditbox
{
public:
    CBareSafeMultiLineEditbox(const CEGUI::String& type, const CEGUI::String& name);

protected:
    void onTextChanged(CEGUI::WindowEventArgs& e) override;
    void onSized(CEGUI::ElementEventArgs& e) override;
    void onFontChanged(CEGUI::WindowEventArgs& e) override;

private:
    bool canFormat();
};

class CGameMultilineInput : public CBareSafeMultiLineEditbox, public CModuleObject
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/GameMultilineInput"

    CGameMultilineInput(const CEGUI::String& type, const CEGUI::String& name);

protected:
    void onKeyDown(CEGUI::KeyEventArgs& e) override;
};

class CGameMultilineEditbox : public CBareSafeMultiLineEditbox, public CModuleObject
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/GameMultilineEditbox"

    CGameMultilineEditbox(const CEGUI::String& type, const CEGUI::String& name);

    // Copies the selection; works in a read-only box too.
    virtual bool copyToClipboard();
    virtual bool cutToClipboard();
    // Puts the clipboard's text in place of the selection. False, with
    // nothing changed, when the box is read-only, the clipboard holds no
    // text or the text would not fit the maximum text length.
    virtual bool pasteFromClipboard();

protected:
    void onKeyDown(CEGUI::KeyEventArgs& e) override;
    void onCharacter(CEGUI::KeyEventArgs& e) override;

private:
    void putText(const CEGUI::String& text, size_t caret);
};
} // namespace QGUI
