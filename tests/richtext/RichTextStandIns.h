// Stand-ins for the rich-text engine's tests, fuzz target and benchmarks:
// a fixed-width font, a window, a main object that records what the engine
// asks of the game and the scripts, a texture manager with a table of
// picture sizes, a picture sink and a geometry buffer that keeps nothing.
#pragma once

#include <CEGUI/GeometryBuffer.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "IQGUI.h"
#include "IQXRender.h"
#include "KeyValues.h"
#include "richtext/RichTextServices.h"
#include "richtext/RichTextWindow.h"
#include "richtext/TextMetrics.h"

namespace richtext_test
{
// Every code point advances 10 px and covers 10 px; lines are 20 px high.
struct FixedFont final : QGUI::ITextFont
{
    static constexpr float kAdvance = 10.0f;
    static constexpr float kLineSpacing = 20.0f;
    struct Drawn
    {
        std::string text;
        CEGUI::Vector2f position;
        CEGUI::Rectf clip;
        uint32_t colour;
    };
    mutable std::vector<Drawn> drawn;
    mutable size_t measured = 0; // characters looked at

    float GetLineSpacing() const override { return kLineSpacing; }
    float GetTextExtent(const CEGUI::String& text, size_t start, size_t count, float offset,
                        float limit) const override
    {
        count = start < text.length() ? std::min(count, text.length() - start) : 0;
        float width = 0.0f;
        for (size_t i = 0; i < count; ++i)
        {
            ++measured;
            width += kAdvance;
            if (offset + width > limit)
                break;
        }
        return width;
    }
    size_t GetCharsThatFit(const CEGUI::String& text, size_t start, size_t count,
                           float width) const override
    {
        count = start < text.length() ? std::min(count, text.length() - start) : 0;
        if (width <= 0.0f)
            return 0;
        const size_t fit = static_cast<size_t>(width / kAdvance);
        measured += std::min(fit, count);
        return std::min(fit, count);
    }
    void DrawText(CEGUI::GeometryBuffer&, const CEGUI::String& text, size_t start, size_t count,
                  const CEGUI::Vector2f& position, const CEGUI::Rectf& clip,
                  uint32_t colour) const override
    {
        drawn.push_back(Drawn{text.substr(start, count).c_str(), position, clip, colour});
    }
};

struct TestWindow final : QGUI::IRichTextWindow
{
    CEGUI::String text;
    CEGUI::String name = "chat";
    uint32_t colour = 0xFF00FF00u;
    int indent1st = 0;
    int indentRest = 0;
    const QGUI::ITextFont* font = nullptr;
    const QGUI::ITextFont* cmdFont = nullptr;
    const CEGUI::Image* brush = nullptr;
    bool underMouse = true;
    int redraws = 0;
    std::function<void()> onRedraw;

    const CEGUI::String& GetRichText() const override { return text; }
    const CEGUI::String& GetWindowName() const override { return name; }
    uint32_t GetDefaultTextColour() const override { return colour; }
    int GetIndent1stLine() const override { return indent1st; }
    int GetIndentRestLine() const override { return indentRest; }
    const QGUI::ITextFont* GetTextFont() const override { return font; }
    const QGUI::ITextFont* GetCmdTextFont() const override { return cmdFont; }
    const CEGUI::Image* GetSelectionBrush() const override { return brush; }
    bool IsUnderMouse() const override { return underMouse; }
    void RequestRedraw() override
    {
        ++redraws;
        if (onRedraw)
            onRedraw();
    }
};

// A main object that answers nothing by itself; the operations the engine
// uses are recorded, and tests can hook them.
struct FakeMain final : QGUI::IQGUI
{
    struct ScriptCall
    {
        std::string name;
        int number;
        std::string text;
    };
    struct GuideRecord
    {
        std::string command, window;
        int opcode, x, y;
    };
    bool accept = true;                      // SendKeyVal's answer
    std::vector<KeyValues*> sent;            // accepted messages (owned)
    int refused = 0;
    std::function<void(KeyValues*)> onSend;  // runs before the answer
    std::function<bool(KeyValues*, KeyValues*)> answer;
    int queries = 0;
    std::vector<ScriptCall> calls;
    std::function<void(const ScriptCall&)> onCall;
    std::function<uint32_t(const char*, int)> itemColour;
    std::vector<GuideRecord> guides;
    std::vector<std::pair<int, int>> statuses;

    ~FakeMain() override
    {
        for (KeyValues* m : sent)
            m->deleteThis();
    }

    bool SendKeyVal(KeyValues* message) override
    {
        if (onSend)
            onSend(message);
        if (!accept)
        {
            ++refused;
            return false;
        }
        sent.push_back(message);
        return true;
    }
    bool QueryKeyVal(KeyValues* request, KeyValues* reply) override
    {
        ++queries;
        return answer ? answer(request, reply) : false;
    }
    int CallScriptGlobalNumber(const char* name, int value) override
    {
        return record(ScriptCall{name, value, ""});
    }
    int CallScriptGlobalNumberString(const char* name, int value, const char* text) override
    {
        return record(ScriptCall{name, value, text ? text : "(null)"});
    }
    uint32_t FetchColourBySet(const char* key, int set) override
    {
        return itemColour ? itemColour(key, set) : 0;
    }
    // The item colour fetch of the rich-text services, answered here.
    QGUI::TextBlocks::ItemColourFetch ItemColours()
    {
        return [this](int id, uint32_t& colour) {
            colour = FetchColourBySet("item_color", id);
            return true;
        };
    }
    bool SetStatus(int32_t status, int32_t value) override
    {
        statuses.emplace_back(status, value);
        return true;
    }
    void QueueGuideCmdText(const char* first, const char* second, int a, int b, int c) override
    {
        guides.push_back(GuideRecord{first, second, a, b, c});
    }
    int record(const ScriptCall& call)
    {
        calls.push_back(call);
        if (onCall)
            onCall(call);
        return 0;
    }
    // Names of the script calls, in order.
    std::vector<std::string> callNames() const
    {
        std::vector<std::string> names;
        for (const ScriptCall& c : calls)
            names.push_back(c.name + "(" + std::to_string(c.number) + ")");
        return names;
    }

    bool Init(CreateInterfaceFn* /*factories*/, int32_t /*count*/, HostGlobals* /*host*/) override { return false; }
    void ShutDown() override {}
    void Activate() override {}
    void Deactivate() override {}
    bool IsActive() override { return false; }
    void Update() override {}
    bool ProcessMessage(HWND /*window*/, UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) override { return false; }
    void SetHostFlag(bool /*flag*/) override {}
    QGUI::IPanel* CreatePanel(HandleBase* /*handle*/, const char* /*name*/) override { return nullptr; }
    QGUI::IPanel* QueryPanel(HandleBase* /*handle*/) override { return nullptr; }
    void ReleasePanel(HandleBase* /*handle*/) override {}
    QGUI::IPanel* CreateSheetPanel(HandleBase* /*handle*/, bool /*makeSheet*/) override { return nullptr; }
    bool SetPanelAsSheet(HandleBase* /*handle*/, int /*flag*/) override { return false; }
    void HidePanel(HandleBase* /*handle*/) override {}
    bool AddToChildPanel(HandleBase* /*parent*/, HandleBase* /*child*/) override { return false; }
    bool AddPanelToRoot(HandleBase* /*handle*/) override { return false; }
    bool LoadUIStyle(const char* /*style*/) override { return false; }
    bool RecvKeyVal(KeyValues* /*message*/) override { return false; }
    bool ExecuteScpritFile(const char* /*file*/) override { return false; }
    int ExecuteScriptGlobal(const char* /*name*/) override { return 0; }
    bool IsStatusOn(int32_t /*status*/) override { return false; }
    bool GetMousePosition(int32_t* /*x*/, int32_t* /*y*/) override { return false; }
    bool RedrawPanel(HandleBase* /*handle*/) override { return false; }
    bool EnablePanel(HandleBase* /*handle*/, bool /*enable*/) override { return false; }
    bool IsPanelActive(HandleBase* /*handle*/) override { return false; }
    bool ShowPanel(HandleBase* /*handle*/, bool /*show*/) override { return false; }
    bool IsPanelVisible(HandleBase* /*handle*/) override { return false; }
    bool IsPanelValid(HandleBase* /*handle*/) override { return false; }
    bool MovePanelToFront(HandleBase* /*handle*/, bool /*front*/) override { return false; }
    const char* GetPanelName(HandleBase* /*handle*/) override { return nullptr; }
    void FirePanelEvent(HandleBase* /*handle*/, const char* /*eventName*/) override {}
    void UpdateDisplaySize() override {}
    void RegisterGameWindow(CEGUI::Window* /*window*/) override {}
    void UnregisterGameWindow(CEGUI::Window* /*window*/) override {}
    bool IsGameWindowRegistered(CEGUI::Window* /*window*/) override { return false; }
    void OpenScriptPackage(ScriptPackageOpenFn /*open*/) override {}
    void RefreshWindowsByName(const char* /*key*/) override {}
    void RegisterWindowByName(CEGUI::Window* /*window*/, const char* /*key*/) override {}
    void UnregisterWindowByName(CEGUI::Window* /*window*/, const char* /*key*/) override {}
    void BindWindowToObject(CEGUI::Window* /*window*/, int /*objectId*/) override {}
    void UnbindWindowFromObject(CEGUI::Window* /*window*/, int /*objectId*/) override {}
    void RefreshObjectWindows(int /*objectId*/) override {}
    void RebindObjectWindows(int /*oldId*/, int /*newId*/) override {}
    const char* FetchString(const char* /*key*/) override { return nullptr; }
    const char* CallScriptGlobalNumberToString(const char* /*name*/, int /*value*/) override { return nullptr; }
    int DrawText(const char* /*utf8Text*/, const QGUIRect* /*rect*/, const QGUIColours* /*colours*/, const QGUIRect* /*clip*/, int /*format*/, int /*font*/, const QGUIScale* /*scale*/) override { return 0; }
    int DrawTextColour(const char* /*text*/, const QGUIRect* /*rect*/, uint32_t /*colour*/, const QGUIRect* /*clip*/, int /*format*/, int /*font*/) override { return 0; }
    bool LoadFont(int /*index*/, const char* /*fontName*/) override { return false; }
    const char* GetFontName(int /*index*/) override { return nullptr; }
    double FetchNumber(const char* /*key*/) override { return 0; }
    uint32_t FetchColour(const char* /*key*/) override { return 0; }
    const char* CallScriptGlobal2Strings(const char* /*name*/, const char* /*a*/, const char* /*b*/) override { return nullptr; }
    const char* CallScriptGlobal2Strings2Numbers(const char* /*name*/, const char* /*a*/, const char* /*b*/, int /*n1*/, int /*n2*/) override { return nullptr; }
    void ReloadStyleImageset(const char* /*style*/, const char* /*variant*/, const char* /*ext*/) override {}
    void OnDisplaySizeChanged() override {}
    void playSoundEffect(int32_t /*x*/, int32_t /*y*/, const char* /*name*/) override {}
    double CallScriptGlobalStringNumber(const char* /*name*/, const char* /*s*/, int /*value*/) override { return 0; }
    bool MarkWindowName(const char* /*name*/) override { return false; }
    bool UnmarkWindowName(const char* /*name*/) override { return false; }
    HostGlobals* GetHostGlobals() override { return nullptr; }
    int CallScriptGlobal2Strings4Numbers(const char* /*name*/, const char* /*a*/, const char* /*b*/, int /*n1*/, int /*n2*/, int /*n3*/, int /*n4*/) override { return 0; }
    QGUIRect* GetTextExtent(QGUIRect* /*out*/, int /*font*/, const char* /*text*/) override { return nullptr; }
    float GetStatusDuration(int32_t /*status*/) override { return 0; }
    int CallScriptFunction(const char* /*name*/, const char* /*format*/, ...) override { return 0; }
    CreateInterfaceFn GetInterfaceFactory(int /*index*/) override { return nullptr; }
    const void* GetMainWindow() override { return nullptr; }
    void ShowSystemCursor(bool /*show*/) override {}
    bool TransformScreenRect(QGUIRect* /*rect*/, bool /*inverse*/) override { return false; }
    void ManipulateHTMLWindow(int /*a*/, int /*b*/, int /*c*/) override {}
    bool HasHTMLWindow() override { return false; }
    int DrawTextEx(const char* /*utf8Text*/, const QGUIRect* /*rect*/, const QGUIColours* /*colours*/, const QGUIRect* /*clip*/, int /*format*/, int /*font*/, const QGUIScale* /*scale*/, const uint32_t* /*extraColour*/) override { return 0; }
    int DrawTextColourEx(const char* /*text*/, const QGUIRect* /*rect*/, uint32_t /*colour*/, const QGUIRect* /*clip*/, int /*format*/, int /*font*/, const uint32_t* /*extraColour*/) override { return 0; }
    bool IsWebCtrlMessage(uintptr_t /*message*/) override { return false; }
    int32_t GetUserValue() override { return 0; }
    void ReleaseRootPanel(HandleBase* /*handle*/) override {}};

// Game pictures by (group, number).
struct FakePictures final : IQXTextureManager
{
    struct Texture final : IQXHostTexture
    {
        uint32_t w, h;
        void Release() override {}
        uint32_t GetWidth() override { return w; }
        uint32_t GetHeight() override { return h; }
    };
    std::map<std::pair<uint32_t, uint32_t>, std::unique_ptr<Texture>> pictures;
    int asked = 0;

    void add(uint32_t group, uint32_t number, uint32_t w, uint32_t h)
    {
        pictures[{group, number}].reset(new Texture);
        pictures[{group, number}]->w = w;
        pictures[{group, number}]->h = h;
    }
    IQXHostTexture* GetPicture(uint32_t group, uint32_t number) override
    {
        ++asked;
        auto it = pictures.find({group, number});
        return it == pictures.end() ? nullptr : it->second.get();
    }
    IQXHostTexture* LoadTexture(const char*) override { return nullptr; }
    IQXHostTexture* LoadTextureEx(const char*, int) override { return nullptr; }
    IQXHostTexture* CreateTexture(uint32_t, uint32_t, int) override { return nullptr; }
    void UpdateTexture(IQXHostTexture*, int, int, const void*, uint32_t, uint32_t, int) override {}
};

struct RecordingSink final : QGUI::IPictureSink
{
    struct Request
    {
        uint32_t creature, picture;
        float x, y;
    };
    std::vector<Request> requests;
    std::vector<CEGUI::Rectf> clips;
    void AddPictureRequest(uint32_t creature, uint32_t picture, float x, float y) override
    {
        requests.push_back(Request{creature, picture, x, y});
    }
    void SetPictureClip(const CEGUI::Rectf* clip) override
    {
        clips.push_back(clip ? *clip : CEGUI::Rectf(-1, -1, -1, -1));
    }
};

// A geometry buffer that keeps nothing: the fixed-width font records texts.
struct NullBuffer final : CEGUI::GeometryBuffer
{
    void draw() const override {}
    void setTranslation(const CEGUI::Vector3f&) override {}
    void setRotation(const CEGUI::Quaternion&) override {}
    void setPivot(const CEGUI::Vector3f&) override {}
    void setClippingRegion(const CEGUI::Rectf&) override {}
    void appendVertex(const CEGUI::Vertex&) override {}
    void appendGeometry(const CEGUI::Vertex* const, CEGUI::uint) override {}
    void setActiveTexture(CEGUI::Texture*) override {}
    void reset() override {}
    CEGUI::Texture* getActiveTexture() const override { return nullptr; }
    CEGUI::uint getVertexCount() const override { return 0; }
    CEGUI::uint getBatchCount() const override { return 0; }
    void setRenderEffect(CEGUI::RenderEffect*) override {}
    CEGUI::RenderEffect* getRenderEffect() override { return nullptr; }
    void setClippingActive(const bool) override {}
    bool isClippingActive() const override { return true; }
};
} // namespace richtext_test
