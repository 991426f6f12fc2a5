// Names a warning was already logged for, so that each is logged once. The
// names come from scripts, the game or files, so the set is bounded: at most
// a given number of names is kept, each cut to a given length; once full,
// no further name is reported.
#pragma once

#include <CEGUI/Logger.h>
#include <CEGUI/String.h>

#include <cstddef>
#include <set>

namespace QGUI
{
class ReportedNames
{
public:
    // `later` names what goes unreported once the set is full ("unknown
    // tags"); the line that fills the set says so.
    ReportedNames(size_t maxNames, size_t maxNameLength, const char* later)
        : m_MaxNames(maxNames), m_MaxNameLength(maxNameLength), m_Later(later)
    {
    }

    // Logs line(name as shown) at the warnings level the first time the name
    // is met while the set has room. A name longer than the length limit is
    // kept and shown cut, with "..." after it.
    template <class Line>
    void WarnOnce(const CEGUI::String& name, Line line)
    {
        if (m_Names.size() >= m_MaxNames)
            return;
        const CEGUI::String shown = Shown(name);
        if (!m_Names.insert(shown).second)
            return;
        CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr();
        if (!logger)
            return;
        CEGUI::String text = line(shown);
        if (m_Names.size() >= m_MaxNames)
            text += CEGUI::String(" Further ") + m_Later + " are not reported.";
        logger->logEvent(text, CEGUI::Warnings);
    }

    // The name as lines show it: cut to the length limit, with "..." after.
    CEGUI::String Shown(const CEGUI::String& name) const
    {
        return name.length() <= m_MaxNameLength ? name : name.substr(0, m_MaxNameLength) + "...";
    }

private:
    size_t m_MaxNames;
    size_t m_MaxNameLength;
    const char* m_Later;
    std::set<CEGUI::String> m_Names;
};
} // namespace QGUI
