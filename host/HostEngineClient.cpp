#include "HostEngineClient.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "HostRender.h"
#include "KeyValues.h"
#include "codepage.h"

namespace QHost
{
namespace
{
// Stands for the game window: only its address is handed out.
char s_gameWindow;

// UTF-16 to UTF-8; invalid units become U+FFFD.
std::string Utf8Of(const char16_t* wide)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string out(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &out[0], bytes, nullptr, nullptr);
    out.resize(size_t(bytes) - 1);
    return out;
}

// Text of the local code page to UTF-8; bytes that do not convert become
// U+FFFD.
std::string Utf8OfLocal(const char* text)
{
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0)
        return std::string();
    std::u16string wide(size_t(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], units);
    return Utf8Of(wide.c_str());
}

// A quoted string: quote, backslash and control characters escaped.
void AppendQuoted(std::string& out, const std::string& text)
{
    out += '"';
    for (unsigned char c : text)
    {
        if (c == '"' || c == '\\')
        {
            out += '\\';
            out += char(c);
        }
        else if (c < 0x20 || c == 0x7F)
        {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
        else
            out += char(c);
    }
    out += '"';
}

void AppendNode(std::string& out, KeyValues* node, int depth);

// A value of the game data as its text writes it. The text reader keeps a
// number as a number, and its text form would be "0.800000" for "0.8":
// a number is given back as the shortest text that reads back to it.
std::string WrittenText(KeyValues* key)
{
    char number[64];
    if (key->GetDataType() == KeyValues::TYPE_FLOAT)
    {
        const auto done = std::to_chars(number, number + sizeof number, key->GetFloat(), std::chars_format::fixed);
        if (done.ec == std::errc())
            return std::string(number, done.ptr);
    }
    return key->GetString();
}

// The sub-keys of a node in braces; deep trees are cut with "...".
void AppendSubKeys(std::string& out, KeyValues* node, int depth)
{
    out += '{';
    if (depth >= 32)
        out += "...";
    else
    {
        bool first = true;
        for (KeyValues* sub = node->GetFirstSubKey(); sub; sub = sub->GetNextKey())
        {
            if (!first)
                out += ' ';
            first = false;
            AppendNode(out, sub, depth + 1);
        }
    }
    out += '}';
}

void AppendNode(std::string& out, KeyValues* node, int depth)
{
    out += Utf8OfLocal(node->GetName());
    char number[64];
    switch (node->GetDataType())
    {
    case KeyValues::TYPE_STRING:
        out += '=';
        AppendQuoted(out, Utf8OfLocal(node->GetString()));
        break;
    case KeyValues::TYPE_WSTRING:
        out += '=';
        AppendQuoted(out, Utf8Of(node->GetWString()));
        break;
    case KeyValues::TYPE_INT:
        std::snprintf(number, sizeof number, "=%d", node->GetInt());
        out += number;
        break;
    case KeyValues::TYPE_FLOAT:
        std::snprintf(number, sizeof number, "=%g", double(node->GetFloat()));
        out += number;
        break;
    case KeyValues::TYPE_PTR:
        std::snprintf(number, sizeof number, "=%p", node->GetPtr());
        out += number;
        break;
    case KeyValues::TYPE_COLOR:
        out += "=<colour>";
        break;
    default:
        out += ' ';
        AppendSubKeys(out, node, depth);
        break;
    }
}
} // namespace

std::string HostEngineClient::Describe(KeyValues* message)
{
    std::string out;
    if (message)
        AppendNode(out, message, 0);
    return out;
}

HostEngineClient::HostEngineClient(HostRender* render) : d_render(render)
{
    d_mainWindow.hwnd = &s_gameWindow;
}

HostEngineClient::~HostEngineClient()
{
    freeMessages();
    if (d_gameData)
        d_gameData->deleteThis();
}

void HostEngineClient::freeMessages()
{
    for (KeyValues* message : messages)
        message->deleteThis();
    messages.clear();
    for (KeyValues* message : toInterface)
        message->deleteThis();
    toInterface.clear();
}

std::vector<KeyValues*> HostEngineClient::takeToInterface()
{
    std::vector<KeyValues*> taken;
    taken.swap(toInterface);
    return taken;
}

bool HostEngineClient::RecvKeyVal(KeyValues* message)
{
    if (!message)
        return false;
    if (echo)
    {
        std::fprintf(echo, "engine received: %s\n", Describe(message).c_str());
        std::fflush(echo);
    }
    messages.push_back(message);
    if (std::strcmp(message->GetName(), "_KeyVal_Chat_Send") == 0)
    {
        KeyValues* chat = d_gameData ? d_gameData->FindKey("Chat") : nullptr;
        KeyValues* line = new KeyValues("_KeyVal_Chat_Recv");
        line->SetString("Channel", message->GetString("Channel", ""));
        line->SetString("Name", chat ? chat->GetString("PlayerName", "Player") : "Player");
        line->SetString("Text", message->GetString("Text", ""));
        toInterface.push_back(line);
    }
    return true;
}

bool HostEngineClient::LoadGameData(IBaseFileSystem* fileSystem, const char* path)
{
    KeyValues* data = new KeyValues("GameData");
    // Texts break their lines as "\n".
    data->UsesEscapeSequences(true);
    if (!data->LoadFromFile(fileSystem, path, "GAME"))
    {
        data->deleteThis();
        return false;
    }
    if (d_gameData)
        d_gameData->deleteThis();
    d_gameData = data;
    return true;
}

bool HostEngineClient::QueryKeyVal(KeyValues* request, KeyValues* reply)
{
    ++queryCount;
    if (!request || !reply || !d_gameData)
        return false;
    const std::string name = request->GetName();
    if (name == "GameObjectProperty" || name == "GameObjectTooltip" || name == "GameObjectCompare")
    {
        KeyValues* objects = d_gameData->FindKey("Objects");
        const std::string id = std::to_string(request->GetInt("ObjectId", -1));
        KeyValues* object = objects ? objects->FindKey(id.c_str()) : nullptr;
        if (!object)
            return false;
        if (name == "GameObjectProperty")
        {
            const char* property = request->GetString("WhichProperty", "");
            if (!*property || !object->FindKey(property))
                return false;
            reply->SetString("PropertyStringValue", WrittenText(object->FindKey(property)).c_str());
        }
        else if (name == "GameObjectTooltip")
        {
            if (!object->FindKey("Tooltip"))
                return false;
            reply->SetString("GameObjectTooltipValue", object->GetString("Tooltip"));
        }
        else
        {
            if (!object->FindKey("CompareId"))
                return false;
            reply->SetInt("GameObjectCompareId", object->GetInt("CompareId"));
        }
        return true;
    }
    // Creature providers answer by the name of the creature asked for.
    const char* which = request->GetString("WhichOne", "");
    KeyValues* creatures = d_gameData->FindKey("Creatures");
    if (*which && creatures && creatures->FindKey(which))
    {
        reply->SetInt("CreatureId", creatures->GetInt(which, -1));
        return true;
    }
    // Slot providers answer which object sits in a container slot.
    if (KeyValues* provider = d_gameData->FindKey(("Slots/" + name).c_str()))
    {
        const char* indexKey = "PackageIndex";
        for (const char* key : {"Spell_Index", "BuffIndex"})
            if (request->FindKey(key))
                indexKey = key;
        const char* container = request->GetString("PackageName", indexKey);
        const std::string index = std::to_string(request->GetInt(indexKey, -1));
        KeyValues* slots = provider->FindKey(container);
        if (!slots || !slots->FindKey(index.c_str()))
            return false;
        reply->SetInt("CellId", slots->GetInt(index.c_str(), -1));
        return true;
    }
    return false;
}

bool HostEngineClient::SetObjectProperty(int objectId, const char* property, const char* value)
{
    if (!d_gameData || !property || !*property || !value)
        return false;
    const std::string path = "Objects/" + std::to_string(objectId);
    d_gameData->FindKey(path.c_str(), true)->SetString(property, value);
    return true;
}

void HostEngineClient::RenderObjectQuad(uint32_t objectId, int left, int top, int right,
                                        int bottom, float z, uint32_t renderOp,
                                        const int* texRect)
{
    ObjectQuad quad{objectId, left, top, right, bottom, z, renderOp, {0, 0, 0, 0}, texRect != nullptr};
    if (texRect)
        std::copy(texRect, texRect + 4, quad.texRect);
    objectQuads.push_back(quad);
    if (!d_render)
        return;
    const uint32_t pictures = PictureCreatureId();
    if (pictures != 0 && objectId == pictures)
        drawGamePicture(renderOp, left, top, z);
    else
        drawPicture(objectId, left, top, right, bottom, renderOp);
}

uint32_t HostEngineClient::PictureCreatureId() const
{
    KeyValues* creatures = d_gameData ? d_gameData->FindKey("Creatures") : nullptr;
    return creatures && creatures->FindKey("Picture") ? uint32_t(creatures->GetInt("Picture")) : 0;
}

// The picture named by the render operation (group in the high 16 bits,
// number in the low), at its own size with its top-left at the anchor.
void HostEngineClient::drawGamePicture(uint32_t packed, int x, int y, float z)
{
    IQXHostTexture* picture = d_render->GetPicture(packed >> 16, packed & 0xFFFF);
    if (!picture)
        return;
    const float scale[2] = {1.0f, 1.0f};
    const float zero[3] = {0.0f, 0.0f, 0.0f};
    const float src[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    const uint32_t white[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    d_render->DrawQuadAlpha(x, y, picture, scale, zero, src, white, z);
}

uint32_t HostEngineClient::PictureColour(uint32_t objectId) const
{
    KeyValues* objects = d_gameData ? d_gameData->FindKey("Objects") : nullptr;
    const std::string id = std::to_string(objectId);
    KeyValues* object = objects ? objects->FindKey(id.c_str()) : nullptr;
    if (!object || !object->FindKey("Picture"))
        return 0;
    return uint32_t(std::strtoul(object->GetString("Picture"), nullptr, 16));
}

uint32_t HostEngineClient::Darkened(uint32_t argb)
{
    return (argb & 0xFF000000u) | ((argb >> 1) & 0x007F7F7Fu);
}

uint32_t HostEngineClient::Lightened(uint32_t argb)
{
    uint32_t out = argb & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const uint32_t c = (argb >> shift) & 0xFF;
        out |= std::min<uint32_t>(255, c + 0x50) << shift;
    }
    return out;
}

// The picture of an object: a square of its colour centred on the anchor,
// a dark outline and a lighter core; the dark render operations halve its
// colours. Objects without a picture draw nothing.
void HostEngineClient::drawPicture(uint32_t objectId, int anchorX, int anchorY, int width,
                                   int height, uint32_t renderOp)
{
    uint32_t colour = PictureColour(objectId);
    if (!colour || width <= 0 || height <= 0)
        return;
    if (renderOp & kDarkRenderOps)
        colour = Darkened(colour);
    const int side = std::min(width, height) - 2 * kPictureInset;
    if (side <= 2)
        return;
    const int x0 = anchorX - side / 2;
    const int y0 = anchorY - side / 2;
    d_render->fillRect(x0, y0, x0 + side, y0 + side, kPictureOutline);
    d_render->fillRect(x0 + 1, y0 + 1, x0 + side - 1, y0 + side - 1, colour);
    const int core = side / 3;
    d_render->fillRect(x0 + core, y0 + core, x0 + side - core, y0 + side - core, Lightened(colour));
}

bool HostEngineClient::IsGuiRenderSuppressed()
{
    ++suppressQueries;
    return guiRenderSuppressed;
}

const QDisplayMode* HostEngineClient::GetDisplayMode()
{
    // Screen and drawing surface are the same frame here.
    const QXViewport* viewport = d_render ? d_render->GetViewport() : nullptr;
    d_displayMode.width = viewport ? viewport->width : 0;
    d_displayMode.height = viewport ? viewport->height : 0;
    d_displayMode.unscaled = 1;
    d_displayMode.offsetEighth = 0;
    return &d_displayMode;
}

const QMainWindowRecord* HostEngineClient::GetMainWindow()
{
    return &d_mainWindow;
}
} // namespace QHost
