#include "core/Panel.h"

#include <CEGUI/Window.h>

#include <new>

#include "script/ScriptObjects.h"

namespace QGUI
{
CPanel::CPanel() {}

CPanel::~CPanel()
{
    if (m_DestroyConnection.isValid())
        m_DestroyConnection->disconnect();
}

void CPanel::SetWindow(CEGUI::Window* window)
{
    if (m_DestroyConnection.isValid())
        m_DestroyConnection->disconnect();
    m_pWindow = window;
    if (!window)
        return;
    m_WindowName = window->getName().c_str();
    m_DestroyConnection = window->subscribeEvent(
        CEGUI::Window::EventDestructionStarted,
        CEGUI::Event::Subscriber(&CPanel::onWindowDestroyed, this));
}

bool CPanel::onWindowDestroyed(const CEGUI::EventArgs&)
{
    m_pWindow = nullptr;
    return false;
}

uint32_t& PanelHandlePool::SerialCounter()
{
    static uint32_t counter = 0;
    return counter;
}

PanelHandlePool::~PanelHandlePool()
{
    for (size_t i = 0; i < m_Objects.size(); ++i)
    {
        if (m_Serials[i] != 0)
            static_cast<CPanel*>(m_Objects[i])->~CPanel();
        ModulePoolFree(m_Objects[i]);
    }
}

CPanel* PanelHandlePool::allocate(HandleBase& handle)
{
    uint32_t index;
    if (!m_FreeIndices.empty())
    {
        index = m_FreeIndices.back();
        m_FreeIndices.pop_back();
    }
    else
    {
        if (m_Objects.size() >= kMaxSlots)
            return nullptr;
        index = static_cast<uint32_t>(m_Objects.size());
        m_Objects.push_back(ModulePoolAlloc(sizeof(CPanel)));
        m_Serials.push_back(0);
    }
    CPanel* panel = new (m_Objects[index]) CPanel();
    uint32_t& serial = SerialCounter();
    serial += 1;
    if (serial > 65535)
        serial = 1;
    handle.value = (serial << 16) | index;
    m_Serials[index] = serial;
    return panel;
}

void PanelHandlePool::release(const HandleBase& handle)
{
    if (!isValid(handle))
        return;
    const uint32_t index = handle.value & 0xFFFF;
    CPanel* panel = static_cast<CPanel*>(m_Objects[index]);
    // The slot's memory serves the next panel: the scripts' references to
    // this one die here.
    ScriptObjects::Forget(static_cast<IPanel*>(panel));
    panel->~CPanel();
    m_Serials[index] = 0;
    m_FreeIndices.push_back(index);
}

bool PanelHandlePool::isValid(const HandleBase& handle) const
{
    // Serial 0 marks a free slot: no handle with it names a panel.
    if ((handle.value >> 16) == 0)
        return false;
    const uint32_t index = handle.value & 0xFFFF;
    if (index >= m_Objects.size())
        return false;
    return m_Serials[index] == (handle.value >> 16);
}

CPanel* PanelHandlePool::get(const HandleBase& handle) const
{
    if (!isValid(handle))
        return nullptr;
    return static_cast<CPanel*>(m_Objects[handle.value & 0xFFFF]);
}

bool PanelHandlePool::handleOf(const IPanel* panel, HandleBase& handle) const
{
    for (size_t i = 0; i < m_Objects.size(); ++i)
    {
        if (m_Serials[i] != 0 && static_cast<const IPanel*>(static_cast<CPanel*>(m_Objects[i])) == panel)
        {
            handle.value = (m_Serials[i] << 16) | static_cast<uint32_t>(i);
            return true;
        }
    }
    return false;
}

size_t PanelHandlePool::liveCount() const
{
    size_t live = 0;
    for (uint32_t s : m_Serials)
        live += s != 0;
    return live;
}
} // namespace QGUI
