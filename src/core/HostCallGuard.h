// The guard of the main object's host calls: an exception that a call's
// body throws is logged under the call's name and the call answers its
// failure value, so no exception reaches the host. While a call runs,
// numbers are read and written in the "C" locale whatever the host or a
// script set with setlocale: the GUI library reads the numbers of looks,
// layouts and properties through the C library, and Lua's own number texts
// follow the locale too.
#pragma once

#include <CEGUI/Exceptions.h>

#include <exception>
#include <utility>

#include "core/QGUI.h"
#include "strtools.h"

namespace QGUI
{
template <class Result, class Body>
Result CQGUI::guardHostCall(const char* operation, Result failure, Body&& body) const
{
    const CNumberTextScope numbers;
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
