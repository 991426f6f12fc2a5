// A logger that keeps every line, installed before the GUI system starts.
#pragma once

#include <CEGUI/Logger.h>

#include <string>
#include <utility>
#include <vector>

struct RecordingLogger : CEGUI::Logger
{
    std::vector<std::pair<std::string, CEGUI::LoggingLevel>> lines;

    void logEvent(const CEGUI::String& message, CEGUI::LoggingLevel level) override
    {
        lines.emplace_back(message.c_str(), level);
    }
    void setLogFilename(const CEGUI::String&, bool) override {}

    bool has(const std::string& text, CEGUI::LoggingLevel level) const
    {
        for (const auto& l : lines)
            if (l.first == text && l.second == level)
                return true;
        return false;
    }
    bool hasPrefix(const std::string& prefix) const
    {
        for (const auto& l : lines)
            if (l.first.compare(0, prefix.size(), prefix) == 0)
                return true;
        return false;
    }
};
