// Panels and the pool that hands out their handles.
#pragma once

#include <CEGUI/Event.h>

#include <cstdint>
#include <string>
#include <vector>

#include "IQGUI.h"
#include "core/ModuleMemory.h"

namespace CEGUI
{
class EventArgs;
class Window;
} // namespace CEGUI

namespace QGUI
{
class CPanel : public IPanel
{
public:
    CPanel();
    ~CPanel() override;

    const char* GetName() override { return m_Name.c_str(); }

    // The panel's root window while it lives; null once the library
    // destroyed it (with its parent, for instance) or before it was made.
    CEGUI::Window* GetWindow() const { return m_pWindow; }
    const std::string& GetWindowName() const { return m_WindowName; }
    void SetWindow(CEGUI::Window* window);

private:
    bool onWindowDestroyed(const CEGUI::EventArgs& args);

    std::string m_Name;
    std::string m_WindowName;
    CEGUI::Window* m_pWindow = nullptr;
    CEGUI::Event::Connection m_DestroyConnection;
};

// Slots of panels addressed by handle: low 16 bits the slot, high 16 bits
// the serial of the allocation (1 to 65535, then 1 again).
class PanelHandlePool
{
public:
    static constexpr uint32_t kMaxSlots = 65536;

    PanelHandlePool() = default;
    ~PanelHandlePool();

    // Takes a slot and writes the handle; null (and the handle left as it
    // was) when every slot is live.
    CPanel* allocate(HandleBase& handle);
    void release(const HandleBase& handle);
    bool isValid(const HandleBase& handle) const;
    CPanel* get(const HandleBase& handle) const;
    // The handle of a live panel of the pool; false for any other object.
    bool handleOf(const IPanel* panel, HandleBase& handle) const;

    size_t slotCount() const { return m_Objects.size(); }
    size_t liveCount() const;

    // The serial counter, process-wide; exposed for tests of the wrap.
    static uint32_t& SerialCounter();

private:
    PanelHandlePool(const PanelHandlePool&) = delete;
    PanelHandlePool& operator=(const PanelHandlePool&) = delete;

    std::vector<void*> m_Objects;        // raw memory of each slot's panel
    std::vector<uint32_t> m_Serials;     // 0 for a free slot
    std::vector<uint32_t> m_FreeIndices; // most recently released last
};
} // namespace QGUI
