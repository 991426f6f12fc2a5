// The module tests' fake host render interface with its drawing stubbed:
// it counts the quads it is asked to draw instead of keeping them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "FakeHost.h"

struct CountingRender : fake::Render
{
    size_t quads = 0;
    void DrawQuad(int, int, IQXHostTexture*, const float*, const float*, const float*, const uint32_t*,
                  float) override
    {
        ++quads;
    }
    void DrawQuadAlpha(int, int, IQXHostTexture*, const float*, const float*, const float*, const uint32_t*,
                       float) override
    {
        ++quads;
    }
};
