// The module's window types and window renderers as the GUI system knows
// them: one window factory per "QXGame/" window type and one
// window-renderer factory per renderer type, in two tables kept together in
// WidgetFactories.cpp.
#pragma once

#include <CEGUI/String.h>
#include <CEGUI/WindowFactory.h>
#include <CEGUI/WindowRenderer.h>

namespace QGUI
{
// Makes the widget class Widget for its window type.
template <class Widget>
class CWidgetFactory : public CEGUI::WindowFactory
{
public:
    explicit CWidgetFactory(const CEGUI::String& type) : CEGUI::WindowFactory(type) {}
    CEGUI::Window* createWindow(const CEGUI::String& name) override { return new Widget(d_type, name); }
    void destroyWindow(CEGUI::Window* window) override { delete window; }
};

// Makes the window renderer Renderer for its renderer type.
template <class Renderer>
class CRendererFactory : public CEGUI::WindowRendererFactory
{
public:
    explicit CRendererFactory(const CEGUI::String& type) : CEGUI::WindowRendererFactory(type) {}
    CEGUI::WindowRenderer* create() override { return new Renderer(d_factoryName); }
    void destroy(CEGUI::WindowRenderer* renderer) override { delete renderer; }
};

// Adds every window factory to the GUI system, in table order. A type the
// GUI system already knows is left to it (it logs the clash).
void AddWindowFactories();
// Adds every window-renderer factory the GUI system does not have yet (one
// already there is skipped with a log line); the number of table rows.
unsigned int AddAllRendererFactories();
// Adds the renderer factories the module's window classes need beside the
// table (the game tooltip's), each unless present.
void AddRenderersBesideTable();
// Adds the renderer factory of one type, of the table or beside it; false
// when the module has no renderer of that type.
bool AddRendererFactory(const CEGUI::String& type);
// Window types and renderer types in table order.
unsigned int WindowFactoryCount();
const char* WindowFactoryType(unsigned int row);
unsigned int RendererFactoryCount();
const char* RendererFactoryType(unsigned int row);
} // namespace QGUI
