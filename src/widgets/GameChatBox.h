// The chat history: a scrollable pane that shows each message in a
// rich-text window of its own. The message windows form a ring of a fixed
// capacity: a new message takes a free slot or overwrites the oldest, and
// with a message life set the oldest message goes away once per life
// interval, also while the box is hidden. A view at the bottom follows the
// newest message; a view scrolled up stays on the message line it shows.
//
// The box keeps where each held message stands (its top in the stack and
// its height) itself. Only the message windows the view reaches are shown
// and placed; the others are hidden until they come into view, so that a
// push, a scroll or a frame costs what the view shows, not what the box
// holds.
#pragma once

#include <CEGUI/Colour.h>
#include <CEGUI/widgets/ScrollablePane.h>

#include <cstdint>
#include <vector>

#include "ShareProSet.h"
#include "core/ModuleMemory.h"

namespace CEGUI
{
class Scrollbar;
class XMLSerializer;
} // namespace CEGUI

namespace QGUI
{
class CGameMultiLine;

class CGameChatBox : public CEGUI::ScrollablePane, public CModuleObject
{
public:
    static const CEGUI::String WidgetTypeName;     // "QXGame/GameChatBox"
    // A message window's name: the box's name, this, the slot number.
    static const CEGUI::String MessageNameInfix;   // "__qxauto_single__"
    // Window ids of message windows: the state of their slot.
    static constexpr CEGUI::uint SlotFree = 1;
    static constexpr CEGUI::uint SlotHolding = 0;
    // A message window is the box's width less this.
    static constexpr float MessageWidthInset = 15.0f;
    // A message window is its document's height plus this; consecutive
    // messages overlap by as much.
    static constexpr float MessageOverlap = 5.0f;
    // A view whose bottom is this close to the document's end follows it.
    static constexpr float BottomTolerance = 5.0f;
    // Pushes and clears asked for while one runs (by scripts the message
    // layout calls) run after it, this many at most.
    static constexpr size_t MaxDeferredOperations = 16;
    // Times the messages are stacked again after their heights followed a
    // change of width.
    static constexpr int MaxRefitPasses = 3;

    CGameChatBox(const CEGUI::String& type, const CEGUI::String& name);
    ~CGameChatBox() override;

    // --- shared property set ---
    virtual CEGUI::Property* FindSharePros(const CEGUI::String& name) const;
    virtual void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const;

    // The pane lets go of its content's events, which it only subscribes to
    // once it has a look: a box that never had one skips that.
    void destroy() override;

    // Places one message (rich-text markup); false only when the capacity
    // is 0 (or the message window cannot be made).
    bool PushChatText(const CEGUI::String& text);
    // Empties every slot.
    void clearChat();

    // --- properties ---
    uint32_t getChatCapacity() const { return m_nCapacity; }
    // A capacity below the messages held drops the slots past it.
    void setChatCapacity(uint32_t capacity);
    uint32_t getFirstIndex() const { return m_nFirstIndex; }
    // Kept inside the ring: an index past the capacity reads 0.
    void setFirstIndex(uint32_t index);
    uint32_t getMessageCount() const { return m_nCount; }
    // Never more than the capacity.
    void setMessageCount(uint32_t count);
    const CEGUI::Colour& getDefaultColour() const { return m_DefaultColour; }
    void setDefaultColour(const CEGUI::Colour& colour) { m_DefaultColour = colour; }
    int32_t getIndent1stLine() const { return m_nIndent1stLine; }
    void setIndent1stLine(int32_t indent) { m_nIndent1stLine = indent; }
    int32_t getIndentRestLine() const { return m_nIndentRestLine; }
    void setIndentRestLine(int32_t indent) { m_nIndentRestLine = indent; }
    float getMsgLife() const { return m_fMsgLife; }
    // Seconds a message lives; 0 (or a value that is no positive number)
    // means messages never expire.
    void setMsgLife(float seconds);
    // What "MsgLife" reads: the life in whole seconds.
    float getMsgLifeSeconds() const;
    float getRemainingLife() const { return m_fRemainingLife; }
    void setRemainingLife(float seconds) { m_fRemainingLife = seconds; }
    // What action properties read.
    CEGUI::String emptyText() const { return CEGUI::String(); }
    // "PushChat" and "Clear" (whose value is ignored) as property setters.
    void pushChatProperty(const CEGUI::String& text) { PushChatText(text); }
    void clearChatProperty(const CEGUI::String&) { clearChat(); }

    // --- the ring ---
    // The window of a ring slot: the box's own child of that name, made on
    // first use; null when it cannot be made.
    CGameMultiLine* getMessageWindow(uint32_t slot);
    // The window of a slot if it was made; never makes one.
    CGameMultiLine* findMessageWindow(uint32_t slot) const;
    // Whether a slot of the ring holds a message (shown or not).
    bool isHolding(uint32_t slot) const;
    // Where a held message stands in the stack: its top and its height, in
    // pixels of the scrolled content.
    float getMessageTop(uint32_t slot) const;
    float getMessageHeight(uint32_t slot) const;

protected:
    void onFontChanged(CEGUI::WindowEventArgs& e) override;
    void onSized(CEGUI::ElementEventArgs& e) override;
    void onContentPaneScrolled(CEGUI::WindowEventArgs& e) override;
    void onAutoSizeSettingChanged(CEGUI::WindowEventArgs& e) override;
    void updateSelf(float elapsed) override;

    static CEGUI::ShareProSet SharePropertySet;

private:
    // A slot's window, the subscription that forgets it when it is
    // destroyed, and where its message stands. The window is null for a
    // slot not made yet (or whose window was destroyed or taken away by
    // someone else).
    struct Slot
    {
        CGameMultiLine* window = nullptr;
        CEGUI::Event::Connection destroyed;
        float top = 0.0f;
        float height = 0.0f;
    };
    // Where the view stood before a change: whether it was scrolled up, the
    // message line it showed at its top and how far into that message.
    struct ScrollState
    {
        float position = 0.0f;
        float documentSize = 0.0f;
        bool scrolledUp = false;
        CGameMultiLine* anchor = nullptr;
        uint32_t anchorSlot = 0;
        float distance = 0.0f;
    };
    // A push (text) or a clear asked for while another operation runs.
    struct Deferred
    {
        bool clear;
        CEGUI::String text;
    };
    // One push, clear or expiry: while it runs, pushes and clears wait;
    // finish runs them in order.
    class Operation
    {
    public:
        explicit Operation(CGameChatBox& box);
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;
        void finish();

    private:
        CGameChatBox& m_Box;
        bool m_bFinished = false;
    };

    CEGUI::Scrollbar* vertBar() const;
    CEGUI::Rectf viewArea() const;
    const Slot* slotAt(uint32_t slot) const { return slot < m_Slots.size() ? &m_Slots[slot] : nullptr; }
    // The window of a slot when it holds a message.
    CGameMultiLine* heldWindow(uint32_t slot) const;
    // The view before a change.
    ScrollState findScrollAnchor() const;
    // Puts the view back after a change: on the anchored line, or as far
    // from the end as before.
    void restoreScroll(const ScrollState& before);
    bool placeMessage(const CEGUI::String& text);
    // The slot a new message goes to; advances the ring.
    CGameMultiLine* chooseTarget(ScrollState& scroll, uint32_t& slot);
    bool retireOldestMessage();
    // Stacks the held messages from the oldest to the newest.
    void layoutMessages();
    // Stacks them, with their heights following their documents when the
    // messages' width changed (or always, with refit set).
    void relayoutMessages(bool refit = false);
    // Shows and places the held messages the view reaches; hides the rest.
    void showMessagesInView();
    // Stacks the messages, puts the view back (with keepView) and shows
    // what it reaches.
    void arrange(const ScrollState& before, bool refit, bool keepView);
    // Stacks the messages again and keeps the view where it was.
    void relayoutKeepingView(bool refit);
    // Frees a slot's window: hidden, at the top, without height.
    void freeWindow(CGameMultiLine& window);
    void placeWindow(CGameMultiLine& window, float top, float height);
    void resetLifeTimer() { m_fRemainingLife = m_fMsgLife; }
    void applyFont(CGameMultiLine& window);
    void clearNow();
    // Hides and frees the windows of slots from `from` on.
    void dropSlotsFrom(uint32_t from);
    // Keeps a push or clear for after the operation running; false when
    // too many wait.
    bool defer(Deferred op);
    bool onMessageDestroyed(const CEGUI::EventArgs& args);
    // Slots oldest to newest: first index .. count - 1, then 0 .. first - 1.
    template <class Visit>
    void forEachSlotOldestFirst(Visit visit) const;

    uint32_t m_nCapacity = 0;
    uint32_t m_nFirstIndex = 0;
    uint32_t m_nCount = 0;
    CEGUI::Colour m_DefaultColour;
    int32_t m_nIndent1stLine = 0;
    int32_t m_nIndentRestLine = 0;
    float m_fRemainingLife = 0.0f;
    float m_fMsgLife = 0.0f;

    std::vector<Slot> m_Slots;
    CEGUI::Window* m_pContent;
    // The messages' width at the last stacking; -1 before any.
    float m_fStackedWidth = -1.0f;
    bool m_bBusy = false;
    // Set while the box stacks and scrolls its messages itself.
    bool m_bArranging = false;
    std::vector<Deferred> m_Deferred;
};
} // namespace QGUI
