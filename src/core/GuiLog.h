// The GUI log the module starts when the host started none: the GUI
// library's own log file, less the library's complaint that the process's
// locale is not "C", made for every file it parses. The module parses in
// the "C" number locale whatever the process's (CNumberTextScope), so the
// complaint is dropped while that locale holds; elsewhere it stands.
#pragma once

#include <CEGUI/DefaultLogger.h>

namespace QGUI
{
class CGuiLog : public CEGUI::DefaultLogger
{
public:
    void logEvent(const CEGUI::String& message, CEGUI::LoggingLevel level) override;

    // Starts the log in the file unless a log exists already.
    static void StartUnlessStarted(const CEGUI::String& fileName);
};
} // namespace QGUI
