// The module's property classes: text forms of property values as the
// module reads and writes them ("True"/"False" for booleans), and one
// template that makes a property class from its name, help text, default
// text and the getter and setter of the widget or window renderer it
// belongs to.
//
// A property class is declared with one line:
//
//   QGUI_PROPERTY(PackageId, CItemIcon, UintText, "PackageId",
//                 "Property to get/set ...", "0",
//                 &CItemIcon::getPackageId, &CItemIcon::setPackageId);
//
// It reads and writes the window it is asked on when that window is (or
// derives from) the owner class, or the window's renderer when the owner is
// a window renderer. On any other window it reads its default text and
// ignores writes. A null setter makes a property whose writes are ignored.
#pragma once

#include <CEGUI/Colour.h>
#include <CEGUI/Image.h>
#include <CEGUI/Property.h>
#include <CEGUI/UDim.h>
#include <CEGUI/Window.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "ShareProSet.h"

namespace QGUI
{
// --- text forms of values ---

// "True" / "False"; reads "True" and "true" as true, anything else false.
struct BoolText
{
    typedef bool Value;
    typedef bool Param;
    static const char* dataType() { return "bool"; }
    static CEGUI::String toString(bool v) { return v ? "True" : "False"; }
    static bool fromString(const CEGUI::String& s) { return s == "True" || s == "true"; }
};

// The GUI library's own form, for properties that stand in for its own:
// "true" / "false"; reads "True" and "true" as true, anything else false.
struct GuiBoolText
{
    typedef bool Value;
    typedef bool Param;
    static const char* dataType() { return "bool"; }
    static CEGUI::String toString(bool v) { return v ? "true" : "false"; }
    static bool fromString(const CEGUI::String& s) { return BoolText::fromString(s); }
};

// Unsigned decimal; text that does not start with a number reads 0, and a
// leading "-" wraps as unsigned arithmetic does ("-1" is 4294967295).
struct UintText
{
    typedef uint32_t Value;
    typedef uint32_t Param;
    static const char* dataType() { return "uint"; }
    static CEGUI::String toString(uint32_t v);
    static uint32_t fromString(const CEGUI::String& s);
};

// Signed decimal; text that does not start with a number reads 0.
struct IntText
{
    typedef int32_t Value;
    typedef int32_t Param;
    static const char* dataType() { return "int"; }
    static CEGUI::String toString(int32_t v);
    static int32_t fromString(const CEGUI::String& s);
};

// A float as "%g" writes it; text that does not start with a number reads
// 0 (text such as "nan" or "inf" reads as what it names: callers that need
// a finite value check).
struct FloatText
{
    typedef float Value;
    typedef float Param;
    static const char* dataType() { return "float"; }
    static CEGUI::String toString(float v);
    static float fromString(const CEGUI::String& s);
};

struct StringText
{
    typedef CEGUI::String Value;
    typedef const CEGUI::String& Param;
    static const char* dataType() { return "String"; }
    static const CEGUI::String& toString(const CEGUI::String& v) { return v; }
    static const CEGUI::String& fromString(const CEGUI::String& s) { return s; }
};

// "AARRGGBB" in hex; text that does not read as one is opaque black.
struct ColourText
{
    typedef CEGUI::Colour Value;
    typedef const CEGUI::Colour& Param;
    static const char* dataType() { return "Colour"; }
    static CEGUI::String toString(const CEGUI::Colour& v);
    static CEGUI::Colour fromString(const CEGUI::String& s);
};

// "{{xs,xo},{ys,yo}}".
struct UVector2Text
{
    typedef CEGUI::UVector2 Value;
    typedef const CEGUI::UVector2& Param;
    static const char* dataType() { return "UVector2"; }
    static CEGUI::String toString(const CEGUI::UVector2& v);
    static CEGUI::UVector2 fromString(const CEGUI::String& s);
};

// A value with its name, for properties that read and write values by
// name.
struct NamedValue
{
    const char* name;
    uint32_t value;
};
// The name of a value in a table; empty when the table has none.
template <size_t N>
CEGUI::String NameOfValue(const NamedValue (&table)[N], uint32_t value)
{
    for (const NamedValue& n : table)
        if (n.value == value)
            return n.name;
    return CEGUI::String();
}
// The value a name stands for in a table; fallback for any other name.
template <size_t N>
uint32_t ValueOfName(const NamedValue (&table)[N], const CEGUI::String& name, uint32_t fallback)
{
    for (const NamedValue& n : table)
        if (name == n.name)
            return n.value;
    return fallback;
}

// Stores a new value; false (nothing stored) when it equals the old one.
// Property setters use it to act only on a change.
template <class T>
bool ChangeValue(T& member, const T& value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

// Writes the properties of a shared property set that the window does not
// ban from XML and that are not at their default; count grows by one per
// property written.
void WriteSharedSet(const CEGUI::Window& window, const CEGUI::ShareProSet& set,
                    CEGUI::XMLSerializer& xml, int& count);

// The image a property text names: "Set/Image", or the older form
// "set:Set image:Image". Null for any other text or an unknown image.
const CEGUI::Image* ImageFromPropertyText(const CEGUI::String& text);

// The object a property acts on: the window itself when it is a Target,
// else the window's renderer when that is a Target; null otherwise.
template <class Target>
Target* PropertyTarget(const CEGUI::PropertyReceiver* receiver)
{
    auto* window = dynamic_cast<const CEGUI::Window*>(receiver);
    if (!window)
        return nullptr;
    if (auto* target = dynamic_cast<const Target*>(window))
        return const_cast<Target*>(target);
    return dynamic_cast<Target*>(window->getWindowRenderer());
}

// Calls a property's setter; a property without one ignores writes.
template <class Target, class Setter, class Value>
void CallSetter(Target* target, Setter setter, const Value& value)
{
    if (setter)
        (target->*setter)(value);
}
template <class Target, class Value>
void CallSetter(Target*, std::nullptr_t, const Value&)
{
}

// The base of every property the module's classes add, which tells them
// apart from the GUI library's own properties and those a look defines.
class ModuleProperty : public CEGUI::Property
{
public:
    using CEGUI::Property::Property;
};

// A property of a widget or window-renderer class; Getter and Setter are
// member-function pointer types of Target (Setter may be std::nullptr_t).
template <class Target, class Text, class Getter, class Setter>
class WidgetProperty : public ModuleProperty
{
public:
    WidgetProperty(const char* name, const char* help, const char* defaultText, Getter getter,
                   Setter setter, const char* origin)
        : ModuleProperty(name, help, defaultText, true, Text::dataType(), origin),
          d_getter(getter), d_setter(setter)
    {
    }

    CEGUI::String get(const CEGUI::PropertyReceiver* receiver) const override
    {
        const Target* target = PropertyTarget<Target>(receiver);
        return target ? CEGUI::String(Text::toString((target->*d_getter)())) : d_default;
    }
    void set(CEGUI::PropertyReceiver* receiver, const CEGUI::String& value) override
    {
        if (Target* target = PropertyTarget<Target>(receiver))
            CallSetter(target, d_setter, Text::fromString(value));
    }
    CEGUI::Property* clone() const override { return new WidgetProperty(*this); }

private:
    Getter d_getter;
    Setter d_setter;
};
} // namespace QGUI

// Declares the property class Class (in the enclosing namespace) for a
// Target's getter and setter; see the top of this file.
#define QGUI_PROPERTY(Class, Target, Text, name, help, defaultText, getter, setter)       \
    class Class : public ::QGUI::WidgetProperty<Target, ::QGUI::Text, decltype(getter),     \
                                                decltype(setter)>                         \
    {                                                                                     \
    public:                                                                               \
        Class() : WidgetProperty(name, help, defaultText, getter, setter, #Target) {}     \
        CEGUI::Property* clone() const override { return new Class(*this); }             \
    }
