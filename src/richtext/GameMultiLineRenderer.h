// The window renderer of the rich-text window: the look's frame ("Framed"
// or "NoFrame"), the visible part of the document in the look's text area,
// the document's game pictures, and "PickedFrame" while the window is
// picked. The text area is "TextArea" (or "NoFrameTextArea" without the
// frame), or while a scrollbar shows "TextAreaHScroll", "TextAreaVScroll" or
// "TextAreaHVScroll" when the look has it.
#pragma once

#include <CEGUI/widgets/MultiLineEditbox.h>

#include "core/ModuleMemory.h"
#include "richtext/RichTextWindow.h"
#include "widgets/QXRenderer.h"

namespace QGUI
{
class CGameMultiLine;
}

namespace CEGUI
{
class GameMultiLineRenderer : public MultiLineEditboxWindowRenderer,
                              public QGUI::IPictureSink,
                              public QGUI::CModuleObject
{
public:
    static const String TypeName; // "QXGame/GameMultiLineRenderer"

    explicit GameMultiLineRenderer(const String& type);
    ~GameMultiLineRenderer() override;

    void render() override;
    // The text area in window pixels; the whole window when the look has
    // none.
    Rectf textArea() const;
    // The text area, but of no width to the edit box's own formatter.
    Rectf getTextRenderArea() const override;

    // A game picture to draw with the document, and the clip of them all.
    void addTextureRequest(const QGUI::CRendererState::TextureRequest& request);
    void setClipRect(const Rectf* clip);
    void AddPictureRequest(uint32_t creatureId, uint32_t packedPicture, float x, float y) override;
    void SetPictureClip(const Rectf* clip) override { setClipRect(clip); }
    const QGUI::CRendererState& getState() const { return m_State; }

protected:
    // The text of the window stays as it is when a look comes.
    void onLookNFeelAssigned() override {}
    void onDetach() override;
    // The attached window when it is a rich-text window, else null.
    QGUI::CGameMultiLine* multiLine() const;

private:
    void renderTextArea(QGUI::CGameMultiLine& window, const Rectf& area);

    QGUI::CRendererState m_State;
};
} // namespace CEGUI
