#include "core/DispatchScope.h"

#include <CEGUI/Exceptions.h>
#include <CEGUI/Logger.h>
#include <CEGUI/WindowManager.h>

#include <exception>

namespace QGUI
{
int CDispatchScope::s_Depth = 0;
bool CDispatchScope::s_CleanWaiting = false;

namespace
{
void CleanDeadPool()
{
    if (CEGUI::WindowManager* windows = CEGUI::WindowManager::getSingletonPtr())
        windows->cleanDeadPool();
}
} // namespace

CDispatchScope::~CDispatchScope()
{
    --s_Depth;
    if (m_Kind == Call)
        CleanWaitingDeadPool();
}

void CDispatchScope::RequestDeadPoolClean()
{
    if (s_Depth > 0)
        s_CleanWaiting = true;
    else
        CleanDeadPool();
}

void CDispatchScope::CleanWaitingDeadPool()
{
    if (s_Depth > 0 || !s_CleanWaiting)
        return;
    s_CleanWaiting = false;
    try
    {
        CleanDeadPool();
    }
    catch (const CEGUI::Exception& e)
    {
        if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
            logger->logEvent("Emptying the dead window pool failed: " + e.getMessage(), CEGUI::Errors);
    }
    catch (const std::exception& e)
    {
        if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
            logger->logEvent(CEGUI::String("Emptying the dead window pool failed: ") + e.what(), CEGUI::Errors);
    }
}
} // namespace QGUI
