// The host's render interface of the module tests, counting the quads it is
// handed instead of drawing them: the stubbed host drawing of the widget
// benchmarks.
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
