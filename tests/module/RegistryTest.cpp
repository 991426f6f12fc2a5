#include <gtest/gtest.h>

#include "IIMEBaseInterface.h"
#include "IQGUI.h"
#include "core/InterfaceRegistry.h"

namespace
{
TEST(InterfaceRegistry, ServesTheMainObjectAndTheInputMethod)
{
    int32_t rc = 7;
    void* first = CreateInterface("QGUI001", &rc);
    EXPECT_EQ(rc, 0);
    ASSERT_NE(first, nullptr);
    rc = 7;
    EXPECT_EQ(CreateInterface("QGUI001", &rc), first);
    EXPECT_EQ(rc, 0);

    void* ime = CreateInterface("QIME001", nullptr);
    ASSERT_NE(ime, nullptr);
    EXPECT_NE(ime, first);
    auto* input = static_cast<IIMEBaseInterface*>(ime);
    // Inert until the main object starts.
    EXPECT_EQ(input->EnableIme(-3), 0);
}

TEST(InterfaceRegistry, NamesMatchExactly)
{
    for (const char* name : {"qgui001", "QGUI001 ", "QGUI00", "", "QEngineClient001"})
    {
        int32_t rc = 0;
        EXPECT_EQ(CreateInterface(name, &rc), nullptr) << name;
        EXPECT_EQ(rc, 1) << name;
    }
    int32_t rc = 0;
    EXPECT_EQ(CreateInterface(nullptr, &rc), nullptr);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(CreateInterface("nothing", nullptr), nullptr);
}

void* s_later = reinterpret_cast<void*>(0x42);
void* LaterObject()
{
    return s_later;
}

TEST(InterfaceRegistry, LaterRegistrationWins)
{
    static InterfaceRegistration again(LaterObject, "QIME001");
    EXPECT_EQ(CreateInterface("QIME001", nullptr), s_later);
}

int32_t s_code;
void* s_answer;
void* Answering(const char*, int32_t* rc)
{
    if (rc)
        *rc = s_code;
    return s_answer;
}
void* Silent(const char*, int32_t*)
{
    return reinterpret_cast<void*>(0x99);
}
void* Found(const char*, int32_t* rc)
{
    *rc = 0;
    return reinterpret_cast<void*>(0x77);
}

TEST(HostInterfaceLookup, TakesOnlyAnswersWithCodeZero)
{
    s_answer = reinterpret_cast<void*>(0x10);
    s_code = 1;
    CreateInterfaceFn one[] = {Answering};
    EXPECT_EQ(QGUI::FindHostInterface(one, 1, "X"), nullptr);
    s_code = 0;
    EXPECT_EQ(QGUI::FindHostInterface(one, 1, "X"), s_answer);

    // A factory that writes no code is not taken; null entries are skipped.
    CreateInterfaceFn mixed[] = {Silent, nullptr, Found};
    EXPECT_EQ(QGUI::FindHostInterface(mixed, 3, "X"), reinterpret_cast<void*>(0x77));
    EXPECT_EQ(QGUI::FindHostInterface(mixed, 2, "X"), nullptr);
    EXPECT_EQ(QGUI::FindHostInterface(mixed, 0, "X"), nullptr);
    EXPECT_EQ(QGUI::FindHostInterface(nullptr, 3, "X"), nullptr);
}

TEST(HostInterfaceLookup, ForeignModuleWithoutHandle)
{
    EXPECT_EQ(QGUI::GetModuleFactory(nullptr), nullptr);
}
} // namespace
