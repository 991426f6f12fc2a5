// The stand-in host's interface factories and its clock record.
#pragma once

#include <cstdint>

#include "HostGlobals.h"
#include "IBaseFileSystem.h"
#include "IQEngineClient.h"
#include "IQXRender.h"
#include "interface.h"

namespace QHost
{
// The factory list handed to the module: "QXRender", "QEngineClient001" and
// "FileSystem001", one factory each, in that order. A factory answers only
// its own name, and only while an object is installed for it: then return
// code 0 and the object, otherwise return code 1 and null.
constexpr int32_t kFactoryCount = 3;
CreateInterfaceFn* HostFactories();

// Installs the objects the factories hand out (null withdraws one).
void InstallHostInterfaces(IQXRender* render, IQEngineClient* engine, IBaseFileSystem* fileSystem);

void* RenderFactory(const char* name, int32_t* returnCode);
void* EngineClientFactory(const char* name, int32_t* returnCode);
void* FileSystemFactory(const char* name, int32_t* returnCode);

// The host's clock: every frame advances the current time by a fixed step
// and reports that step as the frame time.
class HostClock
{
public:
    explicit HostClock(float step = 1.0f / 30.0f) : d_step(step) {}

    HostGlobals* globals() { return &d_globals; }
    void advance();
    void setPaused(bool paused) { d_globals.paused = paused ? 1 : 0; }
    bool paused() const { return d_globals.paused != 0; }
    float step() const { return d_step; }
    void setStep(float step) { d_step = step; }
    uint64_t frames() const { return d_frames; }

private:
    HostGlobals d_globals{};
    float d_step;
    double d_time = 0.0;
    uint64_t d_frames = 0;
};
} // namespace QHost
