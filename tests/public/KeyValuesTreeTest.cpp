#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "GrowableArray.h"
#include "KeyValues.h"
#include "PublicTestSupport.h"
#include "utlbuffer.h"

using kvtest::LiveNodes;
using kvtest::TreePtr;

namespace
{

class KeyValuesTree : public ::testing::Test
{
protected:
    void SetUp() override { m_liveAtStart = LiveNodes(); }
    void TearDown() override { EXPECT_EQ(LiveNodes(), m_liveAtStart) << "nodes leaked or freed twice"; }

private:
    uint64_t m_liveAtStart = 0;
};

TEST_F(KeyValuesTree, GettersDoNotCreateSettersDo)
{
    TreePtr kv(new KeyValues("root"));
    EXPECT_EQ(kv->GetInt("a/b", 5), 5);
    EXPECT_EQ(kv->GetFirstSubKey(), nullptr);

    kv->SetInt("a/b", 7);
    KeyValues* a = kv->FindKey("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetDataType(), KeyValues::TYPE_NONE);
    EXPECT_EQ(kv->GetInt("a/b"), 7);
    EXPECT_EQ(kv->GetDataType("a/b"), KeyValues::TYPE_INT);
    // A trailing '/' addresses the key before it.
    EXPECT_EQ(kv->FindKey("a/"), a);
}

TEST_F(KeyValuesTree, DuplicateNamesAndSymbols)
{
    TreePtr kv(new KeyValues("root"));
    KeyValues* first = kv->CreateKey("dup");
    KeyValues* second = kv->CreateKey("dup");
    EXPECT_NE(first, second);
    EXPECT_EQ(kv->FindKey("dup"), first);
    EXPECT_EQ(kv->FindKey(first->GetNameSymbol()), first);
    EXPECT_EQ(first->GetNextKey(), second);
    // Symbols are case-sensitive.
    EXPECT_EQ(kv->FindKey("DUP"), nullptr);
    EXPECT_NE(KeyValuesSystem()->SymbolForName("Dup"), KeyValuesSystem()->SymbolForName("dup"));
    EXPECT_STREQ(KeyValuesSystem()->NameForSymbol(-1), "");
}

TEST_F(KeyValuesTree, ConversionsAreStoredBack)
{
    TreePtr kv(new KeyValues("root"));
    kv->SetInt("i", -12);
    EXPECT_STREQ(kv->GetString("i"), "-12");
    EXPECT_EQ(kv->GetDataType("i"), KeyValues::TYPE_STRING);

    kv->SetFloat("f", 1.5f);
    EXPECT_STREQ(kv->GetString("f"), "1.500000");

    kv->SetString("s", "42abc");
    EXPECT_EQ(kv->GetInt("s"), 42);
    kv->SetString("s", "abc");
    EXPECT_EQ(kv->GetInt("s"), 0);
    kv->SetString("s", "99999999999");
    EXPECT_EQ(kv->GetInt("s"), INT_MAX);
    kv->SetString("s", " -2.5e1x");
    EXPECT_FLOAT_EQ(kv->GetFloat("s"), -25.0f);
    kv->SetString("s", "0x10");
    EXPECT_FLOAT_EQ(kv->GetFloat("s"), 0.0f); // decimal only

    kv->SetWString("w", u"77中");
    EXPECT_EQ(kv->GetInt("w"), 77);
    EXPECT_FLOAT_EQ(kv->GetFloat("w"), 0.0f);
    EXPECT_STREQ(kv->GetString("w"), "77\xE4\xB8\xAD");
    EXPECT_EQ(kv->GetDataType("w"), KeyValues::TYPE_STRING);
    EXPECT_EQ(std::u16string(kv->GetWString("w")), u"77中");
    EXPECT_EQ(kv->GetDataType("w"), KeyValues::TYPE_WSTRING);

    kv->SetInt("n", 5);
    EXPECT_EQ(std::u16string(kv->GetWString("n")), u"5");
}

TEST_F(KeyValuesTree, FloatToIntSaturates)
{
    TreePtr kv(new KeyValues("root"));
    kv->SetFloat("big", 1e10f);
    EXPECT_EQ(kv->GetInt("big"), INT_MAX);
    kv->SetFloat("neg", -3.9f);
    EXPECT_EQ(kv->GetInt("neg"), -3);
    kv->SetFloat("nan", std::nanf(""));
    EXPECT_EQ(kv->GetInt("nan"), 0);
}

TEST_F(KeyValuesTree, PointersKeepAllTheirBits)
{
    TreePtr kv(new KeyValues("root"));
    void* p = reinterpret_cast<void*>(uintptr_t(0x123456789A));
    kv->SetPtr("p", p);
    EXPECT_EQ(kv->GetPtr("p"), p);
    EXPECT_EQ(kv->GetPtr("missing", p), p);
    kv->SetInt("i", 3);
    EXPECT_EQ(kv->GetPtr("i", p), nullptr); // present but not a pointer
    EXPECT_STREQ(kv->GetString("p"), "78187493530");
}

TEST_F(KeyValuesTree, WideConversionLimits)
{
    TreePtr kv(new KeyValues("root"));
    std::u16string longWide(300, u'中'); // 900 bytes of UTF-8
    kv->SetWString("w", longWide.c_str());
    EXPECT_STREQ(kv->GetString("w", "dflt"), "dflt");
    EXPECT_EQ(kv->GetDataType("w"), KeyValues::TYPE_WSTRING);
    EXPECT_EQ(std::u16string(kv->GetWString("w")), longWide);

    kv->SetString("s", std::string(600, 'x').c_str());
    const char16_t* fallback = u"fb";
    EXPECT_EQ(kv->GetWString("s", fallback), fallback);
    EXPECT_EQ(kv->GetDataType("s"), KeyValues::TYPE_STRING);
}

TEST_F(KeyValuesTree, SettingAKeyFromItsOwnText)
{
    TreePtr kv(new KeyValues("root"));
    kv->SetString("s", "same text");
    kv->SetString("s", kv->GetString("s"));
    EXPECT_STREQ(kv->GetString("s"), "same text");
    kv->SetWString("w", u"wide");
    kv->SetWString("w", kv->GetWString("w"));
    EXPECT_EQ(std::u16string(kv->GetWString("w")), u"wide");
    kv->SetString("null", nullptr);
    EXPECT_STREQ(kv->GetString("null", "x"), "");
}

TEST_F(KeyValuesTree, CreateNewKeyNumbersAfterTheLargest)
{
    TreePtr kv(new KeyValues("root"));
    EXPECT_STREQ(kv->CreateNewKey()->GetName(), "1");
    TreePtr other(new KeyValues("other"));
    other->CreateKey("3");
    other->CreateKey("x");
    other->CreateKey("10");
    EXPECT_STREQ(other->CreateNewKey()->GetName(), "11");
}

TEST_F(KeyValuesTree, DeleteThisFreesEveryFollowingPeer)
{
    KeyValues* first = new KeyValues("a");
    KeyValues* second = new KeyValues("b");
    KeyValues* third = new KeyValues("c");
    first->SetNextKey(second);
    second->SetNextKey(third);
    third->SetInt("x/y", 1);
    first->deleteThis(); // TearDown checks that all nodes went exactly once
}

TEST_F(KeyValuesTree, LongChainsAndDeepTreesAreDestroyedWithoutRecursion)
{
    KeyValues* head = new KeyValues("peer");
    KeyValues* tail = head;
    for (int i = 0; i < 200000; ++i)
    {
        KeyValues* next = new KeyValues("peer");
        tail->SetNextKey(next);
        tail = next;
    }
    std::string path = "d";
    for (int i = 0; i < 100000; ++i)
        path += "/d";
    head->SetInt(path.c_str(), 1); // 100,001 levels below the head
    EXPECT_EQ(head->GetInt(path.c_str()), 1);
    // Copied as deep, in order, without recursion either.
    head->SetInt("d/second", 2);
    TreePtr copy(head->MakeCopy());
    EXPECT_EQ(copy->GetInt(path.c_str()), 1);
    EXPECT_STREQ(copy->GetFirstSubKey()->GetFirstSubKey()->GetNextKey()->GetName(), "second");
    EXPECT_EQ(copy->GetNextKey(), nullptr);
    head->deleteThis();
}

TEST_F(KeyValuesTree, IsEmptyAndClear)
{
    TreePtr kv(new KeyValues("root"));
    EXPECT_TRUE(kv->IsEmpty("missing"));
    kv->FindKey("block", true)->SetInt("x", 1);
    EXPECT_FALSE(kv->IsEmpty("block"));
    kv->FindKey("empty", true);
    EXPECT_TRUE(kv->IsEmpty("empty"));
    kv->SetString("s", "v");
    kv->Clear();
    EXPECT_EQ(kv->GetFirstSubKey(), nullptr);
    EXPECT_EQ(kv->GetDataType(), KeyValues::TYPE_NONE);
}

TEST_F(KeyValuesTree, RemoveSubKeyLeavesForeignListsAlone)
{
    TreePtr kv(new KeyValues("root"));
    KeyValues* a = kv->CreateKey("a");
    KeyValues* b = kv->CreateKey("b");
    KeyValues* c = kv->CreateKey("c");
    TreePtr other(new KeyValues("other"));
    KeyValues* x = other->CreateKey("x");
    KeyValues* y = other->CreateKey("y");

    kv->RemoveSubKey(nullptr);
    kv->RemoveSubKey(x); // not a sub-key here: its list stays intact
    EXPECT_EQ(x->GetNextKey(), y);

    kv->RemoveSubKey(b);
    EXPECT_EQ(a->GetNextKey(), c);
    EXPECT_EQ(b->GetNextKey(), nullptr);
    b->deleteThis();
    kv->RemoveSubKey(a);
    EXPECT_EQ(kv->GetFirstSubKey(), c);
    a->deleteThis();
}

TEST_F(KeyValuesTree, ChainedTreesAnswerMissingNamesWithoutLooping)
{
    TreePtr kv(new KeyValues("root"));
    TreePtr defaults(new KeyValues("defaults"));
    defaults->SetInt("size", 12);
    defaults->SetString("font/name", "sans");
    kv->ChainKeyValue(defaults.get());
    EXPECT_EQ(kv->GetInt("size"), 12);
    EXPECT_STREQ(kv->GetString("font/name"), "sans");
    EXPECT_EQ(kv->GetInt("font/size", -1), -1);

    // Trees chained to themselves or to each other end the look-up.
    defaults->ChainKeyValue(kv.get());
    EXPECT_EQ(kv->FindKey("nowhere"), nullptr);
    kv->ChainKeyValue(kv.get());
    EXPECT_EQ(kv->FindKey("nowhere/else"), nullptr);
}

TEST_F(KeyValuesTree, LongPathComponentsAreNotCut)
{
    TreePtr kv(new KeyValues("root"));
    std::string longName(300, 'k');
    kv->SetInt(longName.c_str(), 1);
    kv->SetInt(longName.substr(0, 255).c_str(), 2);
    EXPECT_EQ(kv->GetInt(longName.c_str()), 1);
    EXPECT_STREQ(kv->GetFirstSubKey()->GetName(), longName.c_str());
}

TEST_F(KeyValuesTree, MakeCopyIsDeepAndStandsAlone)
{
    TreePtr kv(new KeyValues("root"));
    kv->SetString("s", "text");
    kv->SetWString("w", u"wide");
    kv->SetFloat("block/f", 2.5f);
    kv->SetPtr("block/p", kv.get());
    KeyValues peer("peer");
    kv->SetNextKey(&peer);

    TreePtr copy(kv->MakeCopy());
    kv->SetNextKey(nullptr);
    EXPECT_EQ(copy->GetNextKey(), nullptr);
    EXPECT_STREQ(copy->GetName(), "root");
    EXPECT_NE(copy->FindKey("s"), kv->FindKey("s"));
    EXPECT_STREQ(copy->GetString("s"), "text");
    EXPECT_EQ(std::u16string(copy->GetWString("w")), u"wide");
    EXPECT_FLOAT_EQ(copy->GetFloat("block/f"), 2.5f);
    EXPECT_EQ(copy->GetPtr("block/p"), kv.get());
    kv->SetString("s", "changed");
    EXPECT_STREQ(copy->GetString("s"), "text");
}

TEST_F(KeyValuesTree, ConstructorsAddTheirKeys)
{
    TreePtr a(new KeyValues("msg", "k", "v"));
    EXPECT_STREQ(a->GetString("k"), "v");
    TreePtr b(new KeyValues("msg", "k", u"w"));
    EXPECT_EQ(std::u16string(b->GetWString("k")), u"w");
    TreePtr c(new KeyValues("msg", "k", 3));
    EXPECT_EQ(c->GetInt("k"), 3);
    TreePtr d(new KeyValues("msg", "k1", "v1", "k2", "v2"));
    EXPECT_STREQ(d->GetString("k2"), "v2");
    TreePtr e(new KeyValues("msg", "k1", 1, "k2", 2));
    EXPECT_EQ(e->GetInt("k1") + e->GetInt("k2"), 3);
    TreePtr unnamed(new KeyValues(static_cast<const char*>(nullptr)));
    EXPECT_EQ(unnamed->GetNameSymbol(), -1);
    EXPECT_STREQ(unnamed->GetName(), "");
}

TEST(GrowableArrayTest, GrowthAndForeignMemory)
{
    GrowableArray<KeyValues*> doubling(0, 0);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(doubling.AddToTail(nullptr), i);
    EXPECT_EQ(doubling.Count(), 9);
    EXPECT_EQ(doubling.InsertBefore(11, nullptr), -1);

    int order[3] = {0, 0, 0};
    GrowableArray<int> fixed(order, 3);
    EXPECT_EQ(fixed.AddToTail(1), 0);
    EXPECT_EQ(fixed.AddToTail(3), 1);
    EXPECT_EQ(fixed.InsertBefore(1, 2), 1);
    EXPECT_EQ(fixed.AddToTail(4), -1); // full and not owned: refused, not written past
    EXPECT_EQ(order[0] * 100 + order[1] * 10 + order[2], 123);
}

TEST(CUtlBufferTest, GrowsAndStopsOnForeignMemory)
{
    CUtlBuffer grow;
    grow.Put("x", 1);
    EXPECT_EQ(grow.Size(), 32);
    grow.Put(std::string(40, 'y').data(), 40);
    EXPECT_EQ(grow.Size(), 64);
    CUtlBuffer stepped(100, 0, 0);
    stepped.Put(std::string(150, 'z').data(), 150);
    EXPECT_EQ(stepped.Size(), 200);

    char memory[8];
    CUtlBuffer fixed(memory, sizeof(memory), CUtlBuffer::TEXT_BUFFER);
    fixed.Printf("%s", "abcd");
    fixed.Printf("%s", "efghi"); // does not fit: error set, nothing written
    EXPECT_EQ(fixed.TellPut(), 4);
    EXPECT_FALSE(fixed.IsValid());
    fixed.Printf("%s", "x"); // later writes are refused too
    EXPECT_EQ(fixed.TellPut(), 4);
}

TEST(CUtlBufferTest, PrintfWritesLongTextWhole)
{
    CUtlBuffer text(0, 0, CUtlBuffer::TEXT_BUFFER);
    std::string value(5000, 'v');
    text.Printf("<%s>", value.c_str());
    ASSERT_EQ(text.TellPut(), 5002);
    EXPECT_EQ(std::string(static_cast<const char*>(text.Base()), 5002), "<" + value + ">");

    CUtlBuffer binary;
    binary.Printf("ab");
    binary.Printf("c");
    ASSERT_EQ(binary.TellPut(), 5);
    EXPECT_EQ(std::string(static_cast<const char*>(binary.Base()), 5), std::string("ab\0c\0", 5));
}

} // namespace
