// A demonstration scene built by the host with the GUI library's own calls,
// for as long as scripts cannot yet build an interface (qhost --demo-scene).
#pragma once

#include <string>

namespace QHost
{
// Where the demo puts its windows, in screen pixels.
struct DemoSceneLayout
{
    int frameLeft = 64, frameTop = 48, frameWidth = 360, frameHeight = 180;
    int iconLeft = 24, iconTop = 24;        // within the frame, 32 x 32
    int textLeft = 72, textTop = 28;        // within the frame
    int buttonLeft = 24, buttonTop = 120;   // within the frame, 96 x 28
};

// Loads the sample scheme "QXLook.scheme" (imageset, font "QX", looks),
// makes "QX" the default font and "QXLook/MouseArrow" the default mouse
// cursor, and adds to the GUI context's root window a frame holding an
// icon, a line of text and a button. Needs the GUI system that the module's
// Init created. Returns false with a message when something is missing.
bool BuildDemoScene(std::string* error, const DemoSceneLayout& layout = DemoSceneLayout());
} // namespace QHost
