// Messages to and from the game: the conversion of outgoing trees to the
// local code page, sending, querying and receiving.
#include <string>
#include <vector>

#include "KeyValues.h"
#include "codepage.h"
#include "core/QGUI.h"
#include "script/ScriptObjects.h"
#include "script/ScriptSystem.h"
#include "strtools.h"

namespace QGUI
{
bool CQGUI::convertKeyValToLocal(KeyValues* node)
{
    // Depth first over the sub-keys; the tree is walked with an explicit
    // stack so deep trees cannot exhaust the call stack.
    std::vector<KeyValues*> pending;
    if (node)
        pending.push_back(node);
    while (!pending.empty())
    {
        KeyValues* kv = pending.back();
        pending.pop_back();
        kv->SetName(std::string(Utf8ToAnsi(kv->GetName(), "")).c_str());
        if (kv->GetDataType() == KeyValues::TYPE_STRING)
            kv->SetString(nullptr, std::string(Utf8ToAnsi(kv->GetString(), "")).c_str());
        std::vector<KeyValues*> children;
        for (KeyValues* sub = kv->GetFirstSubKey(); sub; sub = sub->GetNextKey())
            children.push_back(sub);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return true;
}

bool CQGUI::SendKeyVal(KeyValues* message)
{
    QGUI_OPEN_CALL_SCOPE(false);
    if (!message)
        return false;
    convertKeyValToLocal(message);
    if (m_pEngineClient)
    {
        // The engine client frees what it takes with code of its own: the
        // scripts' references to the tree die when it is taken.
        ScriptObjects::TreeHandOver handOver(message);
        const bool taken = m_pEngineClient->RecvKeyVal(message);
        if (taken)
            handOver.Taken();
        return taken;
    }
    return RecvKeyVal(message);
}

bool CQGUI::QueryKeyVal(KeyValues* request, KeyValues* reply)
{
    QGUI_OPEN_CALL_SCOPE(false);
    if (!request || !reply || !m_pEngineClient)
        return false;
    convertKeyValToLocal(request);
    return m_pEngineClient->QueryKeyVal(request, reply);
}

// True exactly when the message was taken (and so destroyed with its
// parser): a false answer always leaves the message with its caller.
bool CQGUI::RecvKeyVal(KeyValues* message)
{
    QGUI_OPEN_CALL_SCOPE(false);
    if (!message || !m_pScriptSystem)
        return false;
    bool taken = false;
    const bool handled = m_pScriptSystem->DispatchKeyVal(message, &taken);
    return handled || taken;
}
} // namespace QGUI
