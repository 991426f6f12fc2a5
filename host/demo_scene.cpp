// The demonstration scene. It is the only host code that talks to the GUI
// library directly; drop it once scripts build the interface.
#include "demo_scene.h"

#include <CEGUI/CEGUI.h>

namespace QHost
{
namespace
{
CEGUI::UVector2 Pixels(int x, int y)
{
    return CEGUI::UVector2(CEGUI::UDim(0, float(x)), CEGUI::UDim(0, float(y)));
}

CEGUI::USize Size(int w, int h)
{
    return CEGUI::USize(CEGUI::UDim(0, float(w)), CEGUI::UDim(0, float(h)));
}
} // namespace

bool BuildDemoScene(std::string* error, const DemoSceneLayout& layout)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    CEGUI::System* system = CEGUI::System::getSingletonPtr();
    if (!system)
        return fail("no GUI system: the module did not create one");
    try
    {
        CEGUI::SchemeManager::getSingleton().createFromFile("QXLook.scheme", "schemes");
        CEGUI::GUIContext& context = system->getDefaultGUIContext();
        CEGUI::Window* root = context.getRootWindow();
        if (!root)
            return fail("the GUI context has no root window");
        context.setDefaultFont("QX");
        context.getMouseCursor().setDefaultImage("QXLook/MouseArrow");
        context.getMouseCursor().setPosition(CEGUI::Vector2f(
            float(layout.frameLeft + layout.frameWidth + 40), float(layout.frameTop + 60)));

        CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
        CEGUI::Window* frame = windows.createWindow("QXLook/Frame", "DemoFrame");
        frame->setPosition(Pixels(layout.frameLeft, layout.frameTop));
        frame->setSize(Size(layout.frameWidth, layout.frameHeight));
        root->addChild(frame);

        CEGUI::Window* icon = windows.createWindow("QXLook/StaticImage", "DemoIcon");
        icon->setPosition(Pixels(layout.iconLeft, layout.iconTop));
        icon->setSize(Size(32, 32));
        icon->setProperty("Image", "QXLook/Icon");
        frame->addChild(icon);

        CEGUI::Window* text = windows.createWindow("QXLook/StaticText", "DemoText");
        text->setPosition(Pixels(layout.textLeft, layout.textTop));
        text->setSize(Size(layout.frameWidth - layout.textLeft - 16, 24));
        text->setText("Hello from the QX sample style");
        frame->addChild(text);

        CEGUI::Window* button = windows.createWindow("QXLook/Button", "DemoButton");
        button->setPosition(Pixels(layout.buttonLeft, layout.buttonTop));
        button->setSize(Size(96, 28));
        button->setText("OK");
        frame->addChild(button);
    }
    catch (const CEGUI::Exception& e)
    {
        return fail(std::string("GUI library: ") + e.getMessage().c_str());
    }
    catch (const std::exception& e)
    {
        return fail(e.what());
    }
    return true;
}
} // namespace QHost
