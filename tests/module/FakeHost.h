// Recording stand-ins for the host interfaces, for the module's unit tests.
#pragma once

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "IBaseFileSystem.h"
#include "IQEngineClient.h"
#include "IQXRender.h"

namespace fake
{
struct Texture final : IQXHostTexture
{
    uint32_t w, h;
    int* releases;
    Texture(uint32_t w_, uint32_t h_, int* r) : w(w_), h(h_), releases(r) {}
    void Release() override
    {
        if (releases)
            ++*releases;
        delete this;
    }
    uint32_t GetWidth() override { return w; }
    uint32_t GetHeight() override { return h; }
};

struct DrawCall
{
    bool alpha;
    int x, y;
    IQXHostTexture* texture;
    float scale[2];
    float src[4];
    uint32_t colours[4];
    float z;
};

struct Render : IQXRender, IQXTextureManager, IQXDrawer, IQXDeviceEventSource
{
    QXViewport viewport{800, 600};
    uint32_t caps[2]{4096, 4096};
    std::vector<DrawCall> draws;
    std::vector<std::string> loaded;       // "tex:<path>" or "tga:<path>"
    std::vector<void*> removedListeners;
    int releases = 0;
    int updates = 0;
    bool failCreate = false;
    bool failLoad = false;
    uint32_t loadW = 64, loadH = 32;

    IQXTextureManager* GetTextureManager() override { return this; }
    IQXDrawer* GetDrawer() override { return this; }
    const uint32_t* GetDeviceCaps() override { return caps; }
    const QXViewport* GetViewport() override { return &viewport; }
    IQXDeviceEventSource* GetDeviceEventSource() override { return this; }
    void RemoveListener(void* l) override { removedListeners.push_back(l); }

    IQXHostTexture* LoadTexture(const char* path) override
    {
        loaded.push_back(std::string("tex:") + path);
        return failLoad ? nullptr : new Texture(loadW, loadH, &releases);
    }
    IQXHostTexture* LoadTextureEx(const char* path, int alpha) override
    {
        loaded.push_back(std::string("tga:") + path + (alpha == 1 ? "" : "!"));
        return failLoad ? nullptr : new Texture(loadW, loadH, &releases);
    }
    IQXHostTexture* GetPicture(uint32_t, uint32_t) override { return nullptr; }
    IQXHostTexture* CreateTexture(uint32_t w, uint32_t h, int) override
    {
        return failCreate ? nullptr : new Texture(w, h, &releases);
    }
    void UpdateTexture(IQXHostTexture*, int, int, const void*, uint32_t, uint32_t, int) override
    {
        ++updates;
    }
    void record(bool alpha, int x, int y, IQXHostTexture* t, const float* scale, const float* src,
                const uint32_t* colours, float z)
    {
        DrawCall c{alpha, x, y, t, {scale[0], scale[1]}, {src[0], src[1], src[2], src[3]},
                   {colours[0], colours[1], colours[2], colours[3]}, z};
        draws.push_back(c);
    }
    void DrawQuad(int x, int y, IQXHostTexture* t, const float* scale, const float*,
                  const float* src, const uint32_t* colours, float z) override
    {
        record(false, x, y, t, scale, src, colours, z);
    }
    void DrawQuadAlpha(int x, int y, IQXHostTexture* t, const float* scale, const float*,
                       const float* src, const uint32_t* colours, float z) override
    {
        record(true, x, y, t, scale, src, colours, z);
    }
};

struct ObjectQuad
{
    uint32_t id;
    int left, top, right, bottom;
    float z;
    uint32_t op;
    int tex[4];
};

struct Engine : IQEngineClient
{
    bool suppressed = false;
    bool hasWindow = true;
    QMainWindowRecord window{reinterpret_cast<void*>(0x1234)};
    QDisplayMode mode{};
    std::vector<ObjectQuad> objects;
    std::vector<KeyValues*> received;
    bool accept = true;
    std::function<bool(KeyValues*, KeyValues*)> answer;

    bool RecvKeyVal(KeyValues* m) override
    {
        received.push_back(m);
        return accept;
    }
    bool QueryKeyVal(KeyValues* request, KeyValues* reply) override
    {
        return answer ? answer(request, reply) : false;
    }
    void RenderObjectQuad(uint32_t id, int l, int t, int r, int b, float z, uint32_t op,
                          const int* tex) override
    {
        objects.push_back(ObjectQuad{id, l, t, r, b, z, op, {tex[0], tex[1], tex[2], tex[3]}});
    }
    bool IsGuiRenderSuppressed() override { return suppressed; }
    const QDisplayMode* GetDisplayMode() override { return &mode; }
    const QMainWindowRecord* GetMainWindow() override { return hasWindow ? &window : nullptr; }
};

// Files held in memory, by path as the module passes it; a file opened with
// "wb" starts empty and keeps what is written.
struct FileSystem : IBaseFileSystem
{
    struct Open_
    {
        std::string data;
        size_t pos;
        std::string path;
        bool writing;
    };
    std::map<std::string, std::string> files;
    std::vector<std::string> opened;       // every path asked for
    std::map<std::string, int> sizeOverride;
    std::map<std::string, int> shortRead;  // bytes Read answers for a path
    std::vector<std::string> modulesAsked;

    FileHandle_t Open(const char* path, const char* mode, const char*) override
    {
        opened.push_back(path);
        if (std::strcmp(mode, "wb") == 0)
        {
            files[path].clear();
            return new Open_{std::string(), 0, path, true};
        }
        if (std::strcmp(mode, "rb") != 0)
            return nullptr;
        auto it = files.find(path);
        if (it == files.end())
            return nullptr;
        return new Open_{it->second, 0, path, false};
    }
    void Close(FileHandle_t f) override { delete static_cast<Open_*>(f); }
    int Read(void* out, int size, FileHandle_t f) override
    {
        Open_* o = static_cast<Open_*>(f);
        size_t n = std::min(static_cast<size_t>(size), o->data.size() - o->pos);
        auto sr = shortRead.find(o->path);
        if (sr != shortRead.end())
            n = std::min(n, static_cast<size_t>(sr->second));
        std::memcpy(out, o->data.data() + o->pos, n);
        o->pos += n;
        return static_cast<int>(n);
    }
    int Write(const void* in, int size, FileHandle_t f) override
    {
        Open_* o = static_cast<Open_*>(f);
        if (!o->writing || size < 0)
            return 0;
        files[o->path].append(static_cast<const char*>(in), static_cast<size_t>(size));
        return size;
    }
    // Serves a file of the machine under the given path.
    bool addDiskFile(const std::string& path, const std::string& diskPath)
    {
        std::ifstream in(diskPath, std::ios::binary);
        if (!in)
            return false;
        std::ostringstream data;
        data << in.rdbuf();
        files[path] = data.str();
        return true;
    }
    int Size(FileHandle_t f) override
    {
        Open_* o = static_cast<Open_*>(f);
        auto it = sizeOverride.find(o->path);
        return it != sizeOverride.end() ? it->second : static_cast<int>(o->data.size());
    }
    CSysModule LoadModule(const char* name, const char*) override
    {
        modulesAsked.push_back(name);
        return nullptr;
    }
    void UnloadModule(CSysModule) override {}
};

// A factory list over whichever of the three stand-ins a test gives.
struct Factories
{
    static inline Render* render = nullptr;
    static inline Engine* engine = nullptr;
    static inline FileSystem* fileSystem = nullptr;

    static void* Serve(const char* name, int32_t* rc)
    {
        void* found = nullptr;
        if (render && std::strcmp(name, QXRENDER_INTERFACE_VERSION) == 0)
            found = static_cast<IQXRender*>(render);
        else if (engine && std::strcmp(name, QENGINECLIENT_INTERFACE_VERSION) == 0)
            found = static_cast<IQEngineClient*>(engine);
        else if (fileSystem && std::strcmp(name, FILESYSTEM_INTERFACE_VERSION) == 0)
            found = static_cast<IBaseFileSystem*>(fileSystem);
        if (rc)
            *rc = found ? 0 : 1;
        return found;
    }
};
} // namespace fake
