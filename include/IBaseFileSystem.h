// The host file system, "FileSystem001".
#pragma once

#include "interface.h"

#define FILESYSTEM_INTERFACE_VERSION "FileSystem001"

typedef void* FileHandle_t;

class IBaseFileSystem
{
public:
    // Opens path (mode "rb" or "wb") below the path id's root; null on failure.
    virtual FileHandle_t Open(const char* path, const char* mode, const char* pathId = 0) = 0;
    virtual void Close(FileHandle_t file) = 0;
    // Returns the bytes read.
    virtual int Read(void* output, int size, FileHandle_t file) = 0;
    // Returns the bytes written.
    virtual int Write(const void* input, int size, FileHandle_t file) = 0;
    // Host-side slots the module never calls.
    virtual void HostSlot4() {}
    virtual void HostSlot5() {}
    virtual void HostSlot6() {}
    // File size in bytes; negative on failure.
    virtual int Size(FileHandle_t file) = 0;
    // Loads a module of the host's (such as "Beging.dat"); null when it cannot.
    virtual CSysModule LoadModule(const char* name, const char* pathId = 0) = 0;
    virtual void UnloadModule(CSysModule module) = 0;

protected:
    ~IBaseFileSystem() {}
};
