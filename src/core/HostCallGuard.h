// The guard of the main object's host calls: an exception that a call's
// body throws is logged under the call's name and the call answers its
// failure value, so no exception reaches the host.
#pragma once

#include <CEGUI/Exceptions.h>

#include <exception>
#include <utility>

#include "core/QGUI.h"

namespace QGUI
{
template <class Result, class Body>
Result CQGUI::guardHostCall(const char* operation, Result failure, Body&& body) const
{
    try
    {
        return std::forward<Body>(body)();
    }
    catch (const CEGUI::Exception& e)
    {
        logHostException(operation, e.getMessage().c_str());
    }
    catch (const std::exception& e)
    {
        logHostException(operation, e.what());
    }
    catch (...)
    {
        logHostException(operation, nullptr);
    }
    return failure;
}

template <class Body>
void CQGUI::guardHostCall(const char* operation, Body&& body) const
{
    guardHostCall(operation, false, [&body] {
        std::forward<Body>(body)();
        return true;
    });
}
} // namespace QGUI
