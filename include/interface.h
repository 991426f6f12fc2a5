// Interfaces handed out by name between the host and its modules.
#pragma once

#include <cstdint>

#if defined(__GNUC__)
#define QGUI_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define QGUI_EXPORT extern "C"
#endif

// Return codes written by an interface factory.
enum
{
    IFACE_OK = 0,
    IFACE_FAILED = 1
};

// An interface factory: (name, return code or null) -> interface or null.
typedef void* (*CreateInterfaceFn)(const char* name, int32_t* returnCode);

// The root of every interface handed out by name.
class IBaseInterface
{
public:
    virtual ~IBaseInterface() {}
};

// Opaque handle of a module loaded by the host file system.
typedef void* CSysModule;
