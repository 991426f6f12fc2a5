// Host stand-ins that keep every draw call the renderer hands to the host,
// textured quads and game-object quads alike, in one sequence of text lines;
// and a helper that appends an image to a geometry buffer the way the GUI
// library does.
#pragma once

#include <CEGUI/GeometryBuffer.h>
#include <CEGUI/Vertex.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "FakeHost.h"

namespace fake
{
// The draw calls of a run, one line each:
//   "Q x y tN sx sy | l t r b | c0 c1 c2 c3 | z"  DrawQuad ("A" for DrawQuadAlpha)
//   "O id l t r b z op | t0 t1 t2 t3"              RenderObjectQuad
// Host textures are named tN in the order they first appear.
struct DrawLog
{
    std::vector<std::string> lines;
    std::map<const void*, int> textureNames;

    std::string textureName(const void* texture)
    {
        auto it = textureNames.emplace(texture, static_cast<int>(textureNames.size())).first;
        return "t" + std::to_string(it->second);
    }
    void quad(bool alpha, int x, int y, IQXHostTexture* t, const float* scale, const float* src,
              const uint32_t* colours, float z)
    {
        char line[256];
        std::snprintf(line, sizeof(line),
                      "%c %d %d %s %.9g %.9g | %.9g %.9g %.9g %.9g | %08X %08X %08X %08X | %.9g",
                      alpha ? 'A' : 'Q', x, y, textureName(t).c_str(), scale[0], scale[1], src[0],
                      src[1], src[2], src[3], colours[0], colours[1], colours[2], colours[3], z);
        lines.push_back(line);
    }
    void object(uint32_t id, int l, int t, int r, int b, float z, uint32_t op, const int* tex)
    {
        char line[160];
        std::snprintf(line, sizeof(line), "O %u %d %d %d %d %.9g %u | %d %d %d %d", id, l, t, r, b,
                      z, op, tex[0], tex[1], tex[2], tex[3]);
        lines.push_back(line);
    }
    // The lines recorded so far; the log starts empty again.
    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(lines);
        return taken;
    }
};

struct LoggingRender : Render
{
    DrawLog* log = nullptr;
    void DrawQuad(int x, int y, IQXHostTexture* t, const float* scale, const float* zero,
                  const float* src, const uint32_t* colours, float z) override
    {
        Render::DrawQuad(x, y, t, scale, zero, src, colours, z);
        log->quad(false, x, y, t, scale, src, colours, z);
    }
    void DrawQuadAlpha(int x, int y, IQXHostTexture* t, const float* scale, const float* zero,
                       const float* src, const uint32_t* colours, float z) override
    {
        Render::DrawQuadAlpha(x, y, t, scale, zero, src, colours, z);
        log->quad(true, x, y, t, scale, src, colours, z);
    }
};

struct LoggingEngine : Engine
{
    DrawLog* log = nullptr;
    void RenderObjectQuad(uint32_t id, int l, int t, int r, int b, float z, uint32_t op,
                          const int* tex) override
    {
        Engine::RenderObjectQuad(id, l, t, r, b, z, op, tex);
        log->object(id, l, t, r, b, z, op, tex);
    }
};

// One image as the GUI library hands it over: two triangles, top-left,
// bottom-left, bottom-right, top-right, top-left, bottom-right; corner
// colours 0xFF000001 (top-left), 2 (top-right), 3 (bottom-left), 4
// (bottom-right).
inline void AppendImage(CEGUI::GeometryBuffer& gb, float l, float t, float r, float b,
                        float tl = 0, float tt = 0, float tr = 1, float tb = 1)
{
    CEGUI::Vertex v[6];
    auto set = [](CEGUI::Vertex& vx, float x, float y, float u, float w, CEGUI::argb_t c) {
        vx.position = CEGUI::Vector3f(x, y, 0);
        vx.tex_coords = CEGUI::Vector2f(u, w);
        vx.colour_val = CEGUI::Colour(c);
    };
    set(v[0], l, t, tl, tt, 0xFF000001);
    set(v[1], l, b, tl, tb, 0xFF000003);
    set(v[2], r, b, tr, tb, 0xFF000004);
    set(v[3], r, t, tr, tt, 0xFF000002);
    v[4] = v[0];
    v[5] = v[2];
    gb.appendGeometry(v, 6);
}
} // namespace fake
