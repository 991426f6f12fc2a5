#include "core/GuiLog.h"

#include "strtools.h"

namespace QGUI
{
namespace
{
// How the GUI library's complaint about the process's locale begins.
const char kLocaleComplaint[] = "The C locale for LC_NUMERIC and/or LC_ALL is not set";
} // namespace

void CGuiLog::logEvent(const CEGUI::String& message, CEGUI::LoggingLevel level)
{
    if (level == CEGUI::Errors && CNumberTextScope::IsHeld() &&
        message.compare(0, sizeof(kLocaleComplaint) - 1, kLocaleComplaint) == 0)
        return;
    CEGUI::DefaultLogger::logEvent(message, level);
}

void CGuiLog::StartUnlessStarted(const CEGUI::String& fileName)
{
    if (CEGUI::Logger::getSingletonPtr())
        return;
    // The GUI system keeps a log it did not make for as long as it lives.
    CGuiLog* log = new CGuiLog;
    log->setLogFilename(fileName, false);
}
} // namespace QGUI
