#include "HostSession.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "KeyValues.h"
#include "codepage.h"
#include "winservices.h"

namespace QHost
{
namespace
{
// An emote of the sample game: a yellow face, 16 x 16, smiling or not.
Image EmoteFace(bool smiling)
{
    const int side = 16;
    Image face;
    face.width = face.height = side;
    face.argb.assign(side * side, 0);
    for (int y = 0; y < side; ++y)
    {
        for (int x = 0; x < side; ++x)
        {
            const float dx = x - 7.5f;
            const float dy = y - 7.5f;
            const float r2 = dx * dx + dy * dy;
            uint32_t& p = face.argb[size_t(y) * side + x];
            if (r2 <= 56.0f)
                p = r2 >= 42.0f ? 0xFF604000 : 0xFFFFD030;
        }
    }
    for (int eye : {5, 10})
        face.argb[size_t(5) * side + eye] = face.argb[size_t(6) * side + eye] = 0xFF302000;
    // The mouth: a line, its ends raised for a smile.
    for (int x = 5; x <= 10; ++x)
    {
        const bool end = x == 5 || x == 10;
        face.argb[size_t(smiling && end ? 9 : 10) * side + x] = 0xFF302000;
    }
    return face;
}

// UTF-8 to the local code page; characters it lacks become '?'.
std::string LocalOfUtf8(const std::string& text)
{
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (units <= 0)
        return std::string();
    std::u16string wide(size_t(units), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], units);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string out(size_t(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    out.resize(size_t(bytes) - 1);
    return out;
}

// CallScriptFunction takes its arguments as C varargs, each of the type
// its format names: one instantiation per sequence of types (a number is
// an int, a text a const char*), chosen argument by argument.
template <size_t Depth, typename... Passed>
int CallWith(QGUI::IQGUI* gui, const char* global, const char* format,
             const std::vector<ScriptArgument>& arguments, const std::vector<std::string>& texts,
             Passed... passed)
{
    if constexpr (Depth == kMaxScriptArguments)
        return gui->CallScriptFunction(global, format, passed...);
    else
    {
        if (Depth == arguments.size())
            return gui->CallScriptFunction(global, format, passed...);
        if (arguments[Depth].number)
            return CallWith<Depth + 1>(gui, global, format, arguments, texts, passed...,
                                       arguments[Depth].value);
        return CallWith<Depth + 1>(gui, global, format, arguments, texts, passed...,
                                   texts[Depth].c_str());
    }
}
} // namespace

HostSession::HostSession(IBaseFileSystem* fileSystem, uint16_t width, uint16_t height)
    : render(width, height, fileSystem), engine(&render), webPages(fileSystem)
{
    InstallHostInterfaces(&render, &engine, fileSystem);
    // The game runs full screen: the screen is the frame.
    SetScreenSize(width, height);
    // The game's objects and creatures, when the root has them.
    if (fileSystem)
        engine.LoadGameData(fileSystem, "game\\objects.txt");
    // The game's first two emotes.
    render.setPicture(4, 14500, EmoteFace(false));
    render.setPicture(4, 14501, EmoteFace(true));
}

HostSession::~HostSession()
{
    shutDown();
    InstallHostInterfaces(nullptr, nullptr, nullptr);
}

bool HostSession::loadModule(const std::string& path, std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (d_gui)
        return fail("a module is already loaded");
    d_module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!d_module)
    {
        const char* why = dlerror();
        return fail("cannot load " + path + ": " + (why ? why : "unknown error"));
    }
    auto factory = reinterpret_cast<CreateInterfaceFn>(dlsym(d_module, "CreateInterface"));
    if (!factory)
        return fail(path + " exports no CreateInterface");
    int32_t rc = IFACE_FAILED;
    void* object = factory(QGUI_INTERFACE_VERSION, &rc);
    if (rc != IFACE_OK || !object)
        return fail(path + " does not serve " QGUI_INTERFACE_VERSION);
    d_gui = static_cast<QGUI::IQGUI*>(object);
    return true;
}

bool HostSession::init(std::string* error)
{
    if (!d_gui)
    {
        if (error)
            *error = "no module loaded";
        return false;
    }
    if (!d_gui->Init(HostFactories(), kFactoryCount, clock.globals()))
    {
        if (error)
            *error = "the module's Init failed";
        return false;
    }
    d_initialised = true;
    return true;
}

void HostSession::frame(const std::function<void()>& beforeUpdate)
{
    render.clearFrame();
    engine.objectQuads.clear();
    clock.advance();
    if (beforeUpdate)
        beforeUpdate();
    deliverGameMessages();
    if (d_initialised)
        d_gui->Update();
    webPages.draw(render);
}

// A message the interface does not take stays the game's, which drops it.
// The interface has no parser for chat lines: the game hands each one to the
// interface's script global "gFn_chat_recv" (channel, speaker, text, in the
// local code page) through the main object's script-call service.
void HostSession::deliverGameMessages()
{
    for (KeyValues* message : engine.takeToInterface())
    {
        if (engine.echo)
        {
            std::fprintf(engine.echo, "engine sent: %s\n", HostEngineClient::Describe(message).c_str());
            std::fflush(engine.echo);
        }
        if (d_initialised && std::strcmp(message->GetName(), "_KeyVal_Chat_Recv") == 0)
        {
            d_gui->CallScriptFunction("gFn_chat_recv", "%s%s%s", message->GetString("Channel", ""),
                                      message->GetString("Name", ""), message->GetString("Text", ""));
            message->deleteThis();
            continue;
        }
        if (!d_initialised || !d_gui->RecvKeyVal(message))
            message->deleteThis();
    }
}

bool HostSession::feed(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!d_initialised)
        return false;
    return d_gui->ProcessMessage(engine.GetMainWindow()->hwnd, message, wParam, lParam);
}

bool HostSession::changeGameObject(int objectId, const std::string& property, const std::string& value)
{
    if (!engine.SetObjectProperty(objectId, property.c_str(), value.c_str()))
        return false;
    if (d_initialised)
        d_gui->RefreshObjectWindows(objectId);
    return true;
}

int HostSession::callScript(const std::string& global, const std::vector<ScriptArgument>& arguments,
                            std::string* format)
{
    std::string formatText;
    std::vector<std::string> texts;
    for (const ScriptArgument& a : arguments)
    {
        formatText += a.number ? "%d" : "%s";
        texts.push_back(a.number ? std::string() : LocalOfUtf8(a.text));
    }
    if (format)
        *format = formatText;
    if (!d_initialised || arguments.size() > kMaxScriptArguments)
        return -1;
    return CallWith<0>(d_gui, global.c_str(), formatText.c_str(), arguments, texts);
}

void HostSession::shutDown()
{
    if (!d_initialised)
        return;
    d_gui->ShutDown();
    d_initialised = false;
}
} // namespace QHost
