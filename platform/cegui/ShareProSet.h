// Shared property sets of the GUI library build: one static set per widget
// class holding that class's property objects in a fixed order. A widget
// adds its class's set to each of its windows, so the stateless property
// objects serve every window of the class by name, through the GUI library's
// own property look-up and XML writer.
#pragma once

#include <CEGUI/IteratorBase.h>
#include <CEGUI/Property.h>
#include <CEGUI/PropertySet.h>

#include <vector>

namespace CEGUI
{
class ShareProSet
{
public:
    typedef std::vector<Property*> PropertyList;
    typedef ConstVectorIterator<PropertyList> Iterator;

    ShareProSet() {}
    ShareProSet(std::initializer_list<Property*> properties)
    {
        for (Property* p : properties)
            addProperty(p);
    }
    ShareProSet(const ShareProSet&) = delete;
    ShareProSet& operator=(const ShareProSet&) = delete;

    // Appends a property; a null one or a second one of the same name is
    // ignored.
    void addProperty(Property* property)
    {
        if (property && !GetpProperty(property->getName()))
            d_properties.push_back(property);
    }
    // The property of that name, or null.
    Property* GetpProperty(const String& name) const
    {
        for (Property* p : d_properties)
            if (p->getName() == name)
                return p;
        return nullptr;
    }
    Iterator getIterator() const { return Iterator(d_properties.begin(), d_properties.end()); }
    const PropertyList& properties() const { return d_properties; }

    // Adds every property of the set to a window's property set, in order;
    // a property of the same name already there is replaced.
    void applyTo(PropertySet& target) const
    {
        for (Property* p : d_properties)
        {
            if (target.isPropertyPresent(p->getName()))
                target.removeProperty(p->getName());
            target.addProperty(p);
        }
    }

private:
    PropertyList d_properties;
};
} // namespace CEGUI
