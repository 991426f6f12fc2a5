// The module's calls and the script handlers of events mark the time the GUI
// library may be delivering an event: a window that a handler destroys then
// sits in the library's dead pool while the library still walks its event.
// A script's request to empty the dead pool meanwhile waits until the
// outermost call ends (and the library's own emptying after each frame's
// drawing takes it otherwise); outside it empties the pool at once.
#pragma once

namespace QGUI
{
class CDispatchScope
{
public:
    enum Kind
    {
        // A call into the module; the outermost one empties a waiting pool
        // when it ends.
        Call,
        // A script handler run for an event: the event goes on after it.
        Handler
    };

    explicit CDispatchScope(Kind kind) : m_Kind(kind) { ++s_Depth; }
    ~CDispatchScope();
    CDispatchScope(const CDispatchScope&) = delete;
    CDispatchScope& operator=(const CDispatchScope&) = delete;

    // Empties the GUI library's dead pool now, or when the outermost call
    // ends. A failure to empty it now reaches the caller.
    static void RequestDeadPoolClean();
    // Empties a pool that waits, when no call or handler runs.
    static void CleanWaitingDeadPool();

private:
    Kind m_Kind;
    static int s_Depth;
    static bool s_CleanWaiting;
};
} // namespace QGUI
