// The widget reference (docs/widgets.md) against the running module: each
// window type and window renderer of the module has a section whose property
// table lists exactly the module's own properties a window of that type (or a
// window that renderer draws) carries, with their types and what a new window
// reads. The GUI library's stock properties and a look's are not listed.
//
// With QGUI_PRINT_REFERENCE set in the environment the test also prints the
// tables as the module gives them, in the reference's markdown (a property
// the reference does not describe yet carries its help text), so that the
// tables can be regenerated:
//
//   QGUI_PRINT_REFERENCE=1 build/tests/widget_tests --gtest_filter='WidgetReference*'
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "ChatLooks.h"
#include "widgets/SharedProperties.h"
#include "widgets/WidgetFactories.h"

namespace
{
struct Entry
{
    std::string type;
    std::string value;
    std::string description;
};
// Section heading -> property name -> entry.
typedef std::map<std::string, std::map<std::string, Entry>> Tables;

std::string Trim(const std::string& s, const char* strip = " `")
{
    const size_t b = s.find_first_not_of(strip);
    return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(strip) - b + 1);
}

// The "| Property | Type | Default | ..." tables of each "## " section.
Tables ReadReference(const std::string& path)
{
    Tables tables;
    std::ifstream in(path);
    std::string line, section;
    bool inTable = false;
    while (std::getline(in, line))
    {
        if (line.rfind("## ", 0) == 0)
            tables[section = Trim(line.substr(3), " ")];
        if (line.rfind("| Property |", 0) == 0)
            inTable = true;
        else if (line.empty() || line[0] != '|')
            inTable = false;
        else if (inTable && line.rfind("| `", 0) == 0)
        {
            std::vector<std::string> cells;
            std::stringstream row(line.substr(1));
            for (std::string cell; std::getline(row, cell, '|');)
                cells.push_back(Trim(cell, " "));
            cells.resize(4);
            const std::string value = Trim(cells[2]);
            tables[section][Trim(cells[0])] = Entry{cells[1], value == "(empty)" ? "" : value, cells[3]};
        }
    }
    return tables;
}

// The module's own properties of a window, with what the window reads.
std::map<std::string, Entry> ModuleProperties(const CEGUI::Window& w)
{
    std::map<std::string, Entry> out;
    for (CEGUI::PropertySet::PropertyIterator it = w.getPropertyIterator(); !it.isAtEnd(); ++it)
        if (const auto* p = dynamic_cast<const QGUI::ModuleProperty*>(it.getCurrentValue()))
            out[p->getName().c_str()] = Entry{p->getDataType().c_str(), p->get(&w).c_str(),
                                              p->getHelp().c_str()};
    return out;
}

struct WidgetReferenceTest : richwindow::RichWindowTest
{
    void addLooks(harness::Style& s) override
    {
        richwindow::RichWindowTest::addLooks(s);
        chatlooks::ChatBox(s);
    }
};

TEST_F(WidgetReferenceTest, ThePropertyTablesListTheModulesOwnPropertiesOfEveryWindowTypeAndRenderer)
{
    Tables module;
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    for (unsigned int i = 0; i < QGUI::WindowFactoryCount(); ++i)
    {
        // The GUI library's scrollable pane cannot be destroyed without the
        // bars a look gives it: the chat box is made with a look of its own.
        const std::string type = QGUI::WindowFactoryType(i);
        CEGUI::Window* w = windows.createWindow(type == "QXGame/GameChatBox" ? "H/ChatBox" : type, "w");
        module[type] = ModuleProperties(*w);
        windows.destroyWindow(w);
    }
    // A renderer's own properties are those a window gains with it; it is
    // tried on the window type it is made for.
    std::vector<std::string> renderers{"QXGame/TooltipRenderer"};
    for (unsigned int i = 0; i < QGUI::RendererFactoryCount(); ++i)
        renderers.push_back(QGUI::RendererFactoryType(i));
    for (const std::string& r : renderers)
    {
        std::string type = r == "QGUI/MultiColumnList" ? "CEGUI/MultiColumnList" : r;
        if (type.size() > 8 && type.compare(type.size() - 8, 8, "Renderer") == 0)
            type.resize(type.size() - 8);
        CEGUI::Window* w = windows.createWindow(type, "r");
        const std::map<std::string, Entry> before = ModuleProperties(*w);
        w->setWindowRenderer(r);
        std::map<std::string, Entry> added = ModuleProperties(*w);
        for (const auto& p : before)
            added.erase(p.first);
        module["Renderer " + r] = added;
        windows.destroyWindow(w);
    }

    const std::string path = std::string(QGUI_SOURCE_DIR) + "/docs/widgets.md";
    const Tables reference = ReadReference(path);
    const bool print = std::getenv("QGUI_PRINT_REFERENCE") != nullptr;
    for (const auto& section : module)
    {
        auto doc = reference.find(section.first);
        const std::map<std::string, Entry> none;
        const std::map<std::string, Entry>& rows = doc == reference.end() ? none : doc->second;
        if (print && !section.second.empty())
            std::cout << "\n## " << section.first << "\n\n| Property | Type | Default | What it does |\n"
                      << "|---|---|---|---|\n";
        for (const auto& p : section.second)
        {
            auto row = rows.find(p.first);
            if (print)
                std::cout << "| `" << p.first << "` | " << p.second.type << " | "
                          << (p.second.value.empty() ? "(empty)" : "`" + p.second.value + "`") << " | "
                          << (row == rows.end() ? p.second.description : row->second.description) << " |\n";
            if (row == rows.end())
            {
                if (doc != reference.end())
                    ADD_FAILURE() << path << ", " << section.first << ": the module's property \"" << p.first
                                  << "\" (" << p.second.type << ", default \"" << p.second.value
                                  << "\") is missing from the table";
                continue;
            }
            EXPECT_TRUE(row->second.type == p.second.type && row->second.value == p.second.value)
                << path << ", " << section.first << ": \"" << p.first << "\" is listed as " << row->second.type
                << " \"" << row->second.value << "\"; the module has " << p.second.type << " \""
                << p.second.value << "\"";
        }
        EXPECT_TRUE(doc != reference.end()) << path << " has no section \"## " << section.first << "\"";
        for (const auto& row : rows)
            EXPECT_TRUE(section.second.count(row.first))
                << path << ", " << section.first << ": the table lists \"" << row.first
                << "\", which the module's window does not have";
    }
}
} // namespace
