// The main object's game-window registry: registration for a widget's life,
// provider names, object bindings both ways and the marked names.
#include "TestWidgets.h"
#include "WidgetHarness.h"

namespace
{
struct RegistryTest : harness::WidgetHarness
{
    void addLooks(harness::Style& s) override
    {
        s.look("H/Game", "T/Game", "T/GameRenderer", {{"Normal", 0xFF101010}});
    }
    void SetUp() override
    {
        WidgetHarness::SetUp();
        harness::AddTestWidgetFactories();
    }
    const QGUI::CWindowRegistry& registry() const { return gui->GetWindowRegistry(); }
    harness::GameWindow* gameWindow(const char* name)
    {
        return create<harness::GameWindow>("H/Game", name, 0, 0, 10, 10);
    }
    // Counts the redraw requests of a window.
    int* countRedraws(CEGUI::Window* w)
    {
        auto* count = new int(0);
        counters.emplace_back(count);
        w->subscribeEvent(CEGUI::Window::EventInvalidated, [count](const CEGUI::EventArgs&) {
            ++*count;
            return true;
        });
        return count;
    }
    std::vector<std::unique_ptr<int>> counters;
};

size_t Count(const std::vector<CEGUI::Window*>* list, CEGUI::Window* w)
{
    return list ? size_t(std::count(list->begin(), list->end(), w)) : 0;
}

TEST_F(RegistryTest, AGameWindowIsRegisteredForItsLifeUnderItsProvider)
{
    auto* icon = create("QXGame/ItemIcon", "icon", 0, 0, 10, 10);
    auto* plain = gameWindow("plain");
    EXPECT_TRUE(gui->IsGameWindowRegistered(icon));
    EXPECT_EQ(Count(registry().windowsNamed("GamePackageManagerProxy"), icon), 1u);
    // A type without a provider registers under the empty name.
    EXPECT_EQ(Count(registry().windowsNamed(""), plain), 1u);

    gui->BindWindowToObject(icon, 5);
    destroy(icon);
    CEGUI::WindowManager::getSingleton().cleanDeadPool();
    EXPECT_FALSE(gui->IsGameWindowRegistered(icon));
    EXPECT_EQ(registry().windowsNamed("GamePackageManagerProxy"), nullptr);
    EXPECT_EQ(registry().windowsOfObject(5), nullptr);
    EXPECT_EQ(registry().objectsOfWindow(icon), nullptr);
}

TEST_F(RegistryTest, AWindowBuiltWithoutTheMainObjectNeverRegisters)
{
    QGUI::QGUIExtraFacoryManager& providers = QGUI::QGUIExtraFacoryManager::Instance();
    providers.SetMainObject(nullptr);
    auto* early = gameWindow("early");
    providers.SetMainObject(gui);
    EXPECT_FALSE(gui->IsGameWindowRegistered(early));
    EXPECT_EQ(registry().liveWindowCount(), 0u);
    destroy(early);
    CEGUI::WindowManager::getSingleton().cleanDeadPool();
    EXPECT_EQ(registry().liveWindowCount(), 0u);
}

TEST_F(RegistryTest, BindingTwiceListsThePairTwiceAndOneUnbindRemovesBoth)
{
    auto* w = gameWindow("w");
    gui->BindWindowToObject(w, 7);
    gui->BindWindowToObject(w, 7);
    ASSERT_NE(registry().windowsOfObject(7), nullptr);
    EXPECT_EQ(registry().windowsOfObject(7)->size(), 2u);
    EXPECT_EQ(registry().objectsOfWindow(w)->size(), 2u);
    gui->UnbindWindowFromObject(w, 7);
    EXPECT_EQ(registry().windowsOfObject(7), nullptr);
    EXPECT_EQ(registry().objectsOfWindow(w), nullptr);
    // Ids 0 and -1 are ids like any other.
    gui->BindWindowToObject(w, -1);
    gui->BindWindowToObject(w, 0);
    EXPECT_EQ(Count(registry().windowsOfObject(-1), w), 1u);
    EXPECT_EQ(Count(registry().windowsOfObject(0), w), 1u);
}

TEST_F(RegistryTest, RefreshReachesOnlyLiveWindows)
{
    auto* a = gameWindow("a");
    auto* b = gameWindow("b");
    int* redrawsA = countRedraws(a);
    int* redrawsB = countRedraws(b);
    gui->BindWindowToObject(a, 3);
    gui->BindWindowToObject(b, 3);
    // A window that went without unbinding (here: never a live window) is
    // skipped, not touched.
    auto* gone = reinterpret_cast<CEGUI::Window*>(uintptr_t(0x10));
    gui->BindWindowToObject(gone, 3);
    gui->RegisterWindowByName(gone, "GamePackageManagerProxy");
    frame();
    a->refreshes = b->refreshes = 0;

    gui->RefreshObjectWindows(3);
    gui->RefreshObjectWindows(3);
    gui->RefreshWindowsByName("GamePackageManagerProxy");
    gui->RefreshObjectWindows(99);
    EXPECT_EQ(*redrawsA, 2);
    EXPECT_EQ(*redrawsB, 2);
    EXPECT_TRUE(a->isRefreshPending());
    frame();
    // Two invalidations, one refresh.
    EXPECT_EQ(a->refreshes, 1);
    EXPECT_EQ(b->refreshes, 1);
    gui->UnregisterWindowByName(gone, "GamePackageManagerProxy");
    gui->UnbindWindowFromObject(gone, 3);
}

TEST_F(RegistryTest, RebindMovesEveryWindowAndRefreshesTheNewIdPerMove)
{
    auto* a = gameWindow("a");
    auto* b = gameWindow("b");
    auto* c = gameWindow("c");
    gui->BindWindowToObject(a, 5);
    gui->BindWindowToObject(b, 5);
    gui->BindWindowToObject(c, 9);
    int* redrawsA = countRedraws(a);
    int* redrawsC = countRedraws(c);

    gui->RebindObjectWindows(5, 9);
    EXPECT_EQ(registry().windowsOfObject(5), nullptr);
    ASSERT_NE(registry().windowsOfObject(9), nullptr);
    EXPECT_EQ(registry().windowsOfObject(9)->size(), 3u);
    EXPECT_EQ(*registry().objectsOfWindow(a), std::vector<int>{9});
    // c sat on 9 for both moves, a only for the second.
    EXPECT_EQ(*redrawsC, 2);
    EXPECT_EQ(*redrawsA, 2);

    gui->RebindObjectWindows(42, 43); // nothing on 42: nothing happens
    EXPECT_EQ(registry().windowsOfObject(43), nullptr);
}

TEST_F(RegistryTest, NamesAndNullTexts)
{
    auto* w = gameWindow("w");
    gui->RegisterWindowByName(w, "P");
    gui->RegisterWindowByName(w, "P");
    EXPECT_EQ(Count(registry().windowsNamed("P"), w), 2u);
    gui->UnregisterWindowByName(w, "P");
    EXPECT_EQ(registry().windowsNamed("P"), nullptr);

    gui->RegisterWindowByName(w, nullptr);
    gui->UnregisterWindowByName(w, nullptr);
    gui->RefreshWindowsByName(nullptr);
    gui->RegisterGameWindow(nullptr);
    gui->BindWindowToObject(nullptr, 1);
    EXPECT_EQ(registry().windowsOfObject(1), nullptr);

    EXPECT_TRUE(gui->MarkWindowName("tip"));
    EXPECT_TRUE(gui->MarkWindowName("tip"));
    EXPECT_TRUE(gui->MarkWindowName(nullptr));
    EXPECT_TRUE(gui->UnmarkWindowName("tip"));
    EXPECT_FALSE(gui->UnmarkWindowName("tip"));
    EXPECT_FALSE(gui->UnmarkWindowName("never"));
    EXPECT_FALSE(gui->UnmarkWindowName(nullptr));
    gui->MarkWindowName("bar");
    gui->Deactivate();
    EXPECT_FALSE(gui->UnmarkWindowName("bar"));
}
} // namespace
