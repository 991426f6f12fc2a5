// Loose text drawn by the main object for the host: the font table, the
// DrawText family (drawn at once, not queued with the interface, even while
// the engine client suppresses interface drawing) and text measuring.
#include <CEGUI/CEGUI.h>

#include <exception>
#include <string>

#include "core/HostCallGuard.h"
#include "core/QGUI.h"
#include "render/GuiString.h"
#include "render/QXRenderer.h"
#include "render/TextPlacement.h"
#include "strtools.h"

namespace QGUI
{
namespace
{
constexpr int kFontCount = 4;

void LogError(const CEGUI::String& text)
{
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent(text, CEGUI::Errors);
}

// Reads the name a font file gives its font, without making the font.
class FontNameReader : public CEGUI::XMLHandler
{
public:
    const CEGUI::String& getDefaultResourceGroup() const override
    {
        return CEGUI::Font::getDefaultResourceGroup();
    }
    void elementStart(const CEGUI::String& element, const CEGUI::XMLAttributes& attributes) override
    {
        if (!d_read && element == "Font")
            d_name = attributes.getValueAsString("name");
        d_read = true;
    }
    const CEGUI::String& name() const { return d_name; }

private:
    bool d_read = false;
    CEGUI::String d_name;
};

// Whether the font is still one the GUI system holds (fonts go with the
// schemes that loaded them).
bool IsLiveFont(const CEGUI::Font* font)
{
    CEGUI::FontManager* fonts = CEGUI::FontManager::getSingletonPtr();
    if (!font || !fonts)
        return false;
    for (CEGUI::FontManager::FontIterator it = fonts->getIterator(); !it.isAtEnd(); ++it)
        if (it.getCurrentValue() == font)
            return true;
    return false;
}

// Switches the renderer to immediate drawing that ignores the engine
// client's suppression, and back to what it was, whatever happens between.
class ImmediateDrawing
{
public:
    explicit ImmediateDrawing(QXUI::CQXRenerder& renderer)
        : d_renderer(renderer), d_queueing(renderer.isQueueingEnabled()),
          d_override(renderer.getImmediateOverride())
    {
        d_renderer.setQueueingEnabled(false);
        d_renderer.setImmediateOverride(true);
    }
    ~ImmediateDrawing()
    {
        d_renderer.setImmediateOverride(d_override);
        d_renderer.setQueueingEnabled(d_queueing);
    }

private:
    QXUI::CQXRenerder& d_renderer;
    bool d_queueing;
    bool d_override;
};

// The buffer text is drawn through; one per renderer, kept for reuse.
QXUI::CQXGeometryBuffer& TextBuffer(QXUI::CQXRenerder& renderer)
{
    static QXUI::CQXRenerder* owner = nullptr;
    static QXUI::CQXGeometryBuffer* buffer = nullptr;
    if (owner != &renderer)
    {
        owner = &renderer;
        buffer = static_cast<QXUI::CQXGeometryBuffer*>(&renderer.createGeometryBuffer());
    }
    return *buffer;
}
} // namespace

// The GUI library makes a font from its file before it looks whether the
// name is taken, and destroys the one it made when it is: a pixmap font
// takes its glyph images down with it, which the live font of that name
// still draws. So the file's font name is read first, and a font of that
// name that is loaded already is the answer.
CEGUI::Font& CQGUI::fontFromFile(const CEGUI::String& file)
{
    FontNameReader reader;
    reader.handleFile(file, "");
    CEGUI::FontManager& fonts = CEGUI::FontManager::getSingleton();
    if (!reader.name().empty() && fonts.isDefined(reader.name()))
        return fonts.get(reader.name());
    return fonts.createFromFile(file);
}

// The font of an entry, font 0 for an empty entry or an index outside the
// table; null when there is none.
CEGUI::Font* CQGUI::fontAt(int index) const
{
    CEGUI::Font* font = index >= 0 && index < kFontCount ? m_Fonts[index] : nullptr;
    if (!IsLiveFont(font))
        font = m_Fonts[0];
    return IsLiveFont(font) ? font : nullptr;
}

int CQGUI::drawTextImpl(const char* utf8Text, const QGUIRect* rect, const QGUIColours* colours,
                        const QGUIRect* clip, int format, int font, float xScale, float yScale)
{
    if (!m_pRenderer || !rect || !colours)
        return 0;
    CEGUI::Font* f = fontAt(font);
    const CEGUI::String text = StringFromUtf8(utf8Text);
    if (!f || text.empty())
        return 0;
    return guardHostCall("DrawText", 0, [&] {
        ImmediateDrawing immediate(*m_pRenderer);
        const CEGUI::Rectf area(float(rect->left), float(rect->top), float(rect->right),
                                float(rect->bottom));
        const CEGUI::Rectf clipArea = clip ? CEGUI::Rectf(float(clip->left), float(clip->top),
                                                          float(clip->right), float(clip->bottom))
                                           : m_pRenderer->getRect();
        TextStyle style;
        style.colours = CEGUI::ColourRect(CEGUI::Colour(colours->topLeft), CEGUI::Colour(colours->topRight),
                                          CEGUI::Colour(colours->bottomLeft),
                                          CEGUI::Colour(colours->bottomRight));
        style.xScale = xScale;
        style.yScale = yScale;
        style.clip = &clipArea;

        QXUI::CQXGeometryBuffer& buffer = TextBuffer(*m_pRenderer);
        buffer.reset();
        buffer.setTranslation(CEGUI::Vector3f(0, 0, 0));
        buffer.setClippingRegion(clipArea);
        const int lines = PlaceText(buffer, *f, text, area, format, style, TextBreaks::Tabs);
        buffer.draw();
        buffer.reset();
        return static_cast<int>(static_cast<float>(lines) * f->getLineSpacing(yScale));
    });
}

// The extra colour set has no meaning on this platform: it is taken and
// ignored.
int CQGUI::DrawText(const char* utf8Text, const QGUIRect* rect, const QGUIColours* colours,
                    const QGUIRect* clip, int format, int font, const QGUIScale* scale)
{
    QGUI_OPEN_CALL_SCOPE(0);
    return drawTextImpl(utf8Text, rect, colours, clip, format, font, scale ? scale->x : 1.0f,
                        scale ? scale->y : 1.0f);
}

int CQGUI::DrawTextEx(const char* utf8Text, const QGUIRect* rect, const QGUIColours* colours,
                      const QGUIRect* clip, int format, int font, const QGUIScale* scale,
                      const uint32_t*)
{
    return DrawText(utf8Text, rect, colours, clip, format, font, scale);
}

int CQGUI::DrawTextColour(const char* text, const QGUIRect* rect, uint32_t colour,
                          const QGUIRect* clip, int format, int font)
{
    QGUI_OPEN_CALL_SCOPE(0);
    // The conversion's buffer is copied before anything converts again.
    const std::string utf8 = AnsiToUtf8(text ? text : "", "");
    const QGUIColours colours{colour, colour, colour, colour};
    return drawTextImpl(utf8.c_str(), rect, &colours, clip, format, font, 1.0f, 1.0f);
}

int CQGUI::DrawTextColourEx(const char* text, const QGUIRect* rect, uint32_t colour,
                            const QGUIRect* clip, int format, int font, const uint32_t*)
{
    return DrawTextColour(text, rect, colour, clip, format, font);
}

// Loading a font that is already loaded gives that font.
bool CQGUI::LoadFont(int index, const char* fontName)
{
    QGUI_OPEN_CALL_SCOPE(false);
    if (index < 0 || index >= kFontCount || !fontName || !CEGUI::FontManager::getSingletonPtr())
        return false;
    try
    {
        m_Fonts[index] = &fontFromFile(StringFromUtf8(fontName) + ".font");
        return true;
    }
    catch (const CEGUI::Exception& e)
    {
        LogError(CEGUI::String("QGUI::CQGUI::LoadFont: the font '") + StringFromUtf8(fontName) +
                 "' did not load: " + e.getMessage());
    }
    catch (const std::exception& e)
    {
        logHostException("LoadFont", e.what());
    }
    return false;
}

// The name stays valid until the next call.
const char* CQGUI::GetFontName(int index)
{
    static std::string name;
    QGUI_OPEN_CALL_SCOPE(nullptr);
    if (index < 0 || index >= kFontCount || !IsLiveFont(m_Fonts[index]))
        return nullptr;
    name = m_Fonts[index]->getProperty("Name").c_str();
    return name.c_str();
}

QGUIRect* CQGUI::GetTextExtent(QGUIRect* out, int font, const char* text)
{
    if (!out)
        return nullptr;
    *out = QGUIRect{0, 0, 0, 0};
    QGUI_OPEN_CALL_SCOPE(out);
    const CEGUI::Font* f = fontAt(font);
    if (!f)
        return out;
    const std::string utf8 = AnsiToUtf8(text ? text : "", "");
    out->right = static_cast<int32_t>(f->getTextExtent(StringFromUtf8(utf8.c_str())));
    out->bottom = static_cast<int32_t>(f->getLineSpacing());
    return out;
}
} // namespace QGUI
