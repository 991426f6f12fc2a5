// A harness for tests of the game widgets: the main object started over a
// recording render interface and a fake game, a test style whose imageries
// draw quads of colours unique to them, and a driver for frames and input.
//
// Use (one GUI system per process: ctest runs each test in a process of its
// own):
//
//   struct MyTest : harness::WidgetHarness
//   {
//       void addLooks(harness::Style& style) override
//       {
//           style.look("H/Thing", "QXGame/Thing", "QXGame/ThingRenderer",
//                      {{"Normal", 0xFF112233}}, {{"TextArea", "0,0,10,10"}});
//       }
//   };
//   TEST_F(MyTest, Something)
//   {
//       game.answer("ProviderName", [](const harness::Record& request, KeyValues& reply) {
//           reply.SetInt("CellId", 7);
//           return true;
//       });
//       CEGUI::Window* w = create("H/Thing", "t", 10, 10, 40, 40);
//       frame();                                   // draws: the widget refreshes
//       EXPECT_EQ(game.queriesNamed("ProviderName"), 1u);
//       EXPECT_EQ(quadsOfColour(0xFF112233).size(), 1u);
//       click(w, harness::Left);
//   }
//
// What is there:
// - game: the fake engine client. It records every message posted to it and
//   every query (name and keys, see Record), answers queries by request name
//   from handlers the test sets (no handler: refused), and records every
//   RenderObjectQuad call.
// - render: the module tests' fake host render interface; quads() gives
//   what was drawn in the last frame in screen terms, glyphs() the quads of
//   the test font.
// - The style: imageset "H" (texture "H.tga", 64 x 32 texels; image
//   "H/White" 8 x 8), the font "HFont" (font 0 of the main object): a pixmap
//   font whose every printable character is one 8 x 12 quad, 8 pixels apart,
//   12 pixels line spacing, from the imageset "HFont" (texture "HGlyphs.tga").
//   Looks are added by addLooks; each named state imagery draws "H/White"
//   over the whole window in its own colour. The GUI library's own window
//   renderers ("Core/...") are there for looks of stock base classes.
// - Everything of the module tests' GuiFixture: run() runs script text on
//   the module's state, text() and number() read globals, fs serves files
//   (addStyleFiles adds more before the start), logger keeps the log.
#pragma once

#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "GuiFixture.h"
#include "KeyValues.h"
#include "render/QXRenderer.h"
#include "render/QXTexture.h"
#include "winapi.h"

namespace harness
{
// One KeyValues tree as recorded: its name and its first-level keys, each
// as its value text (strings as they are, ints in decimal, "<sub>" for a
// block) and its type.
struct Record
{
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
    std::vector<int> types;

    bool has(const std::string& key) const
    {
        for (const auto& k : keys)
            if (k.first == key)
                return true;
        return false;
    }
    std::string value(const std::string& key) const
    {
        for (const auto& k : keys)
            if (k.first == key)
                return k.second;
        return std::string();
    }
    int type(const std::string& key) const
    {
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i].first == key)
                return types[i];
        return -1;
    }
    std::vector<std::string> keyNames() const
    {
        std::vector<std::string> names;
        for (const auto& k : keys)
            names.push_back(k.first);
        return names;
    }
};

inline Record Describe(KeyValues* kv)
{
    Record r;
    r.name = kv->GetName();
    for (KeyValues* k = kv->GetFirstSubKey(); k; k = k->GetNextKey())
    {
        std::string text;
        switch (k->GetDataType())
        {
        case KeyValues::TYPE_STRING:
            text = k->GetString();
            break;
        case KeyValues::TYPE_INT:
            text = std::to_string(k->GetInt());
            break;
        case KeyValues::TYPE_FLOAT:
            text = std::to_string(k->GetFloat());
            break;
        default:
            text = "<sub>";
        }
        r.keys.emplace_back(k->GetName(), text);
        r.types.push_back(k->GetDataType());
    }
    return r;
}

// The fake engine client: the module tests' one, recording what it gets as
// Records and answering queries by request name.
struct Game : fake::Engine
{
    typedef std::function<bool(const Record& request, KeyValues& reply)> Answer;

    std::vector<Record> messages;
    std::vector<Record> queries;
    std::vector<fake::ObjectQuad> objectQuads;
    std::map<std::string, Answer> answers;
    bool acceptMessages = true;

    // Answers every request of that name with one int reply key.
    void answerInt(const std::string& request, const std::string& replyKey, int value)
    {
        answers[request] = [replyKey, value](const Record&, KeyValues& reply) {
            reply.SetInt(replyKey.c_str(), value);
            return true;
        };
    }
    void answer(const std::string& request, Answer a) { answers[request] = std::move(a); }
    size_t queriesNamed(const std::string& name) const
    {
        size_t n = 0;
        for (const Record& q : queries)
            n += q.name == name;
        return n;
    }
    const Record* lastQuery(const std::string& name) const
    {
        for (auto it = queries.rbegin(); it != queries.rend(); ++it)
            if (it->name == name)
                return &*it;
        return nullptr;
    }
    void clear()
    {
        messages.clear();
        queries.clear();
        objectQuads.clear();
    }

    bool RecvKeyVal(KeyValues* m) override
    {
        if (!m)
            return false;
        messages.push_back(Describe(m));
        if (!acceptMessages)
            return false;
        m->deleteThis();
        return true;
    }
    bool QueryKeyVal(KeyValues* request, KeyValues* reply) override
    {
        queries.push_back(Describe(request));
        auto it = answers.find(request->GetName());
        return it != answers.end() && it->second(queries.back(), *reply);
    }
    void RenderObjectQuad(uint32_t id, int l, int t, int r, int b, float z, uint32_t op,
                          const int* tex) override
    {
        objectQuads.push_back(fake::ObjectQuad{id, l, t, r, b, z, op, {tex[0], tex[1], tex[2], tex[3]}});
    }
};

// A drawn quad in screen terms.
struct Quad
{
    int x, y;
    float width, height;
    uint32_t colour; // top-left corner
    IQXHostTexture* texture;
    float z;
};

// The test style: looks and mappings gathered before the start.
struct Style
{
    std::string looks;
    std::string mappings;

    // A look for a window type mapped onto target with a renderer; each
    // state imagery draws the whole window in its colour. Named areas are
    // "left,top,right,bottom" in window pixels; properties are initial
    // property values of the look.
    void look(const std::string& type, const std::string& target, const std::string& renderer,
              const std::vector<std::pair<std::string, uint32_t>>& states,
              const std::vector<std::pair<std::string, std::string>>& areas = {},
              const std::vector<std::pair<std::string, std::string>>& properties = {},
              const std::string& extra = "")
    {
        std::string xml = "<WidgetLook name=\"" + type + "\">" + extra;
        for (const auto& p : properties)
            xml += "<Property name=\"" + p.first + "\" value=\"" + p.second + "\" />";
        for (const auto& a : areas)
        {
            float l = 0, t = 0, r = 0, b = 0;
            std::sscanf(a.second.c_str(), "%f,%f,%f,%f", &l, &t, &r, &b);
            xml += "<NamedArea name=\"" + a.first + "\"><Area>" + dim("LeftEdge", l) + dim("TopEdge", t) +
                   dim("RightEdge", r) + dim("BottomEdge", b) + "</Area></NamedArea>";
        }
        for (const auto& s : states)
        {
            char colour[16];
            std::snprintf(colour, sizeof colour, "%08X", s.second);
            const std::string c(colour);
            xml += "<ImagerySection name=\"" + s.first +
                   "_section\"><ImageryComponent><Area>"
                   "<Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                   "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                   "<Dim type=\"Width\"><UnifiedDim scale=\"1\" type=\"Width\" /></Dim>"
                   "<Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim>"
                   "</Area><Image name=\"H/White\" />"
                   "<Colours topLeft=\"" + c + "\" topRight=\"" + c + "\" bottomLeft=\"" + c +
                   "\" bottomRight=\"" + c + "\" />"
                   "<VertFormat type=\"Stretched\" /><HorzFormat type=\"Stretched\" />"
                   "</ImageryComponent></ImagerySection>";
        }
        for (const auto& s : states)
            xml += "<StateImagery name=\"" + s.first + "\"><Layer><Section section=\"" + s.first +
                   "_section\" /></Layer></StateImagery>";
        looks += xml + "</WidgetLook>";
        mappings += "<FalagardMapping windowType=\"" + type + "\" targetType=\"" + target +
                    "\" renderer=\"" + renderer + "\" lookNFeel=\"" + type + "\" />";
    }

    // Extra look XML: the imagery section "label", the window's text over
    // the whole window, drawn by the state imagery of that name.
    static std::string textImagery(const std::string& state)
    {
        return "<ImagerySection name=\"label\"><TextComponent><Area>"
               "<Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
               "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim>"
               "<Dim type=\"Width\"><UnifiedDim scale=\"1\" type=\"Width\" /></Dim>"
               "<Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim>"
               "</Area></TextComponent></ImagerySection><StateImagery name=\"" +
               state + "\"><Layer><Section section=\"label\" /></Layer></StateImagery>";
    }

    static std::string dim(const char* edge, float v)
    {
        return std::string("<Dim type=\"") + edge + "\"><AbsoluteDim value=\"" + std::to_string(v) +
               "\" /></Dim>";
    }
};

enum Button
{
    Left,
    Right,
    Middle
};

struct WidgetHarness : GuiFixture
{
    Game game;
    CEGUI::Window* root = nullptr;

    static constexpr float kGlyphWidth = 8.0f;
    static constexpr float kLineSpacing = 12.0f;

    // Looks of the suite, added before the start.
    virtual void addLooks(Style&) {}
    // More files to serve before the start.
    virtual void addStyleFiles() {}

    fake::Engine* engineClient() override { return &game; }
    void addFiles() override
    {
        serveStyle();
        addStyleFiles();
    }
    void SetUp() override
    {
        GuiFixture::SetUp();
        if (HasFatalFailure())
            return;
        CEGUI::SchemeManager::getSingleton().createFromFile("H.scheme");
        ASSERT_TRUE(gui->LoadFont(0, "HFont"));
        root = gui->GetRootWindow();
        ASSERT_NE(root, nullptr);
        // Every click is a click of its own, however fast the next follows.
        CEGUI::System::getSingleton().getDefaultGUIContext().setMouseButtonMultiClickTolerance(
            CEGUI::Sizef(0, 0));
    }

    // --- driving ---

    // One host frame: time moves on, then Update (time pulse and drawing).
    // The records of the render interface are the frame's alone.
    void frame()
    {
        render.draws.clear();
        game.objectQuads.clear();
        host.curtime += host.frametime;
        gui->Update();
    }
    template <class W = CEGUI::Window>
    W* create(const std::string& type, const std::string& name, float x, float y, float w, float h,
              CEGUI::Window* parent = nullptr)
    {
        CEGUI::Window* win = CEGUI::WindowManager::getSingleton().createWindow(type, name);
        win->setArea(CEGUI::URect(CEGUI::UDim(0, x), CEGUI::UDim(0, y), CEGUI::UDim(0, x + w),
                                  CEGUI::UDim(0, y + h)));
        (parent ? parent : root)->addChild(win);
        return dynamic_cast<W*>(win);
    }
    void destroy(CEGUI::Window* w) { CEGUI::WindowManager::getSingleton().destroyWindow(w); }
    // Writes a window out as a layout, destroys it and loads the layout
    // again: the copy (not attached), or null when it does not load.
    CEGUI::Window* saveAndReload(CEGUI::Window* w)
    {
        std::ostringstream out;
        CEGUI::XMLSerializer xml(out);
        w->writeXMLToStream(xml);
        destroy(w);
        return CEGUI::WindowManager::getSingleton().loadLayoutFromString(out.str());
    }
    // Sets the properties, saves and reloads the window, and expects the
    // copy to read each value back.
    void expectLayoutKeeps(CEGUI::Window* w, const std::vector<std::pair<std::string, std::string>>& values)
    {
        for (const auto& v : values)
            w->setProperty(v.first, v.second);
        CEGUI::Window* copy = saveAndReload(w);
        ASSERT_NE(copy, nullptr);
        for (const auto& v : values)
            EXPECT_EQ(copy->getProperty(v.first), v.second) << v.first;
        destroy(copy);
    }

    bool send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return gui->ProcessMessage(reinterpret_cast<HWND>(0x1234), message, wParam, lParam);
    }
    // Moves the mouse to the window's centre and clicks it.
    void click(const CEGUI::Window* w, Button button = Left)
    {
        const CEGUI::Rectf r = w->getUnclippedOuterRect().get();
        const LPARAM at = MakeMouseLParam(int(r.left() + r.getWidth() / 2), int(r.top() + r.getHeight() / 2));
        send(WM_MOUSEMOVE, 0, at);
        const UINT down = button == Left ? WM_LBUTTONDOWN : button == Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
        send(down, 0, at);
        send(down + 1, 0, at);
    }

    // --- what was drawn ---

    std::vector<Quad> quads() const
    {
        std::vector<Quad> out;
        for (const fake::DrawCall& d : render.draws)
        {
            const float texW = float(d.texture->GetWidth()) * (d.src[2] - d.src[0]);
            const float texH = float(d.texture->GetHeight()) * (d.src[3] - d.src[1]);
            out.push_back(Quad{d.x, d.y, d.scale[0] * texW, d.scale[1] * texH, d.colours[0], d.texture, d.z});
        }
        return out;
    }
    std::vector<Quad> quadsOfColour(uint32_t colour) const
    {
        std::vector<Quad> out;
        for (const Quad& q : quads())
            if (q.colour == colour)
                out.push_back(q);
        return out;
    }
    // Which of the colours the last frame drew, in ascending order.
    template <class Colours>
    std::vector<uint32_t> coloursDrawn(const Colours& colours) const
    {
        std::vector<uint32_t> drawn;
        for (uint32_t colour : colours)
            if (!quadsOfColour(colour).empty())
                drawn.push_back(colour);
        std::sort(drawn.begin(), drawn.end());
        return drawn;
    }
    // Glyph quads of the test font, in drawing order.
    std::vector<Quad> glyphs() const
    {
        std::vector<Quad> out;
        const QXUI::CQXRenerder* renderer = gui->GetRenderer();
        if (!renderer->isTextureDefined("HFont"))
            return out;
        const IQXHostTexture* glyphPage =
            static_cast<const QXUI::CQXTexture&>(renderer->getTexture("HFont")).getHostTexture();
        for (const Quad& q : quads())
            if (q.texture == glyphPage)
                out.push_back(q);
        return out;
    }

protected:
    // A pixmap font of that name whose printable ASCII characters are each
    // one glyph, advance pixels wide and 12 high, from the picture HGlyphs.tga.
    void servePixmapFont(const std::string& name, const std::string& imageset, int advance)
    {
        const std::string width = std::to_string(advance);
        fs.files["resource\\UI\\imagesets\\" + imageset + ".imageset"] =
            "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"" + name +
            "\" imagefile=\"HGlyphs.tga\" autoScaled=\"false\"><Image name=\"g\" xPos=\"0\" yPos=\"0\" width=\"" +
            width + "\" height=\"12\" /></Imageset>";
        std::string font = "<?xml version=\"1.0\" ?><Font version=\"3\" name=\"" + name + "\" filename=\"" +
                           imageset + ".imageset\" type=\"Pixmap\" autoScaled=\"false\">";
        for (int c = 32; c < 127; ++c)
            font += "<Mapping codepoint=\"" + std::to_string(c) + "\" image=\"g\" horzAdvance=\"" + width + "\" />";
        fs.files["resource\\UI\\fonts\\" + name + ".font"] = font + "</Font>";
    }

private:
    void serveStyle()
    {
        Style style;
        addLooks(style);
        fs.files["resource\\UI\\imagesets\\H.imageset"] =
            "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"H\" imagefile=\"H.tga\" autoScaled=\"false\">"
            "<Image name=\"White\" xPos=\"0\" yPos=\"0\" width=\"8\" height=\"8\" /></Imageset>";
        servePixmapFont("HFont", "HGlyphs", 8);
        fs.files["resource\\UI\\looknfeel\\H.looknfeel"] =
            "<?xml version=\"1.0\" ?><Falagard version=\"7\">" + style.looks + "</Falagard>";
        fs.files["resource\\UI\\schemes\\H.scheme"] =
            "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"H\"><Imageset filename=\"H.imageset\" />"
            "<LookNFeel filename=\"H.looknfeel\" />"
            "<WindowRendererSet filename=\"CEGUICoreWindowRendererSet\" />" + style.mappings + "</GUIScheme>";
    }
};
} // namespace harness
