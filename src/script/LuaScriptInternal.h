// What the files of the Lua script module share: log lines that never throw,
// exception texts copied out before a Lua error is raised, the type name the
// event arguments reach a handler under, and the opener of the GUI library's
// binding.
#pragma once

#include <cstddef>
#include <cstdio>

#include <CEGUI/Logger.h>
#include <CEGUI/String.h>

struct lua_State;

namespace QGUI
{
// The type event arguments are pushed as, for handlers of both kinds.
inline constexpr const char* kEventArgsType = "const CEGUI::EventArgs";

// A line in the GUI library's log, when there is one; never throws.
inline void LogLine(const CEGUI::String& text, CEGUI::LoggingLevel level)
{
    try
    {
        if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
            logger->logEvent(text, level);
    }
    catch (...)
    {
    }
}

// An exception's text kept in a fixed buffer, so that the Lua error can be
// raised once every C++ object is gone.
inline void CopyText(char* buffer, size_t size, const char* text)
{
    std::snprintf(buffer, size, "%s", text ? text : "");
}

// Runs protected: CEGUI's binding, the module's connection type, and the
// module's subscribeEvent in place of the binding's.
int OpenGuiBinding(lua_State* L);
} // namespace QGUI
