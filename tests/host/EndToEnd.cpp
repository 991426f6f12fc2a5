// The built module loaded by the stand-in host: Init over the host's
// factories, the demo scene, frames rendered by the module through the
// host's rasteriser, ShutDown. One GUI system per process, so one test.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "HostFileSystem.h"
#include "HostSession.h"
#include "SampleArt.h"
#include "demo_scene.h"

using namespace QHost;

namespace
{
int Channel(uint32_t v, int shift) { return int((v >> shift) & 0xFF); }
} // namespace

TEST(EndToEndTest, ModuleRendersTheSampleStyleIntoTheHostFrame)
{
    HostFileSystem files(QHOST_ROOT_DIR);
    HostSession session(&files, 640, 480);
    std::string error;
    ASSERT_TRUE(session.loadModule(QHOST_MODULE_PATH, &error)) << error;
    ASSERT_TRUE(session.init(&error)) << error;
    // The module found "Beging.dat" through the file system.
    EXPECT_GE(files.LoadedModuleCount(), 1u);

    const DemoSceneLayout layout;
    ASSERT_TRUE(BuildDemoScene(&error, layout)) << error;
    session.frame();
    session.frame();

    // The imageset's texture came through the texture manager, by the
    // directory registered for "imagesets", with alpha.
    const auto& loads = session.render.loads;
    auto tga = std::find_if(loads.begin(), loads.end(), [](const HostRender::LoadCall& l) {
        return l.path == "resource\\UI\\imagesets\\QXLook.tga";
    });
    ASSERT_NE(tga, loads.end());
    EXPECT_TRUE(tga->ex);
    EXPECT_EQ(tga->alpha, 1);
    EXPECT_TRUE(tga->loaded);
    // Glyphs: a memory texture filled with UpdateTexture, alpha on.
    ASSERT_FALSE(session.render.createCalls.empty());
    ASSERT_FALSE(session.render.updateCalls.empty());
    EXPECT_EQ(session.render.updateCalls.front().alpha, 1);
    EXPECT_GT(session.render.drawQuadAlphaCount, 0u);
    EXPECT_EQ(session.render.invalidTextureDraws, 0u);

    const HostRender& r = session.render;
    // Queued quads are shifted by half a pixel up and left and truncated, so
    // the frame's outline starts one pixel before its position.
    const int left = layout.frameLeft - 1;
    const int top = layout.frameTop - 1;
    EXPECT_EQ(r.pixel(left, top), SampleArt::kFrameOutline);
    EXPECT_EQ(r.pixel(left + 1, top + 1), SampleArt::kFrameGold);
    EXPECT_EQ(r.pixel(left - 1, top), HostRender::kDefaultBackground);
    // The plain background inside the frame, away from the children.
    EXPECT_EQ(r.pixel(left + layout.frameWidth - 30, top + layout.frameHeight - 30),
              SampleArt::kFrameBackground);
    // The icon's centre: warm, opaque.
    const uint32_t icon = r.pixel(left + layout.iconLeft + 16, top + layout.iconTop + 16);
    EXPECT_GT(Channel(icon, 16), 0xC0);
    EXPECT_LT(Channel(icon, 0), 0x80);
    // The line of text: white glyph pixels over the frame background.
    int bright = 0;
    for (int y = top + layout.textTop; y < top + layout.textTop + 24; ++y)
        for (int x = left + layout.textLeft; x < left + layout.textLeft + 200; ++x)
            bright += Channel(r.pixel(x, y), 8) > 0xC0;
    EXPECT_GT(bright, 50);

    session.shutDown();
}
