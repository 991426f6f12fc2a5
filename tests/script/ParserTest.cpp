// The parser registry of the script system: a message that finds its parser
// is handled and destroyed with it; one that finds none is refused and
// stays with its caller.
#include <stdexcept>

#include "KeyValues.h"
#include "ScriptTestSupport.h"
#include "keyvaluessystem.h"

using qgui_test::ScriptSystemTest;

namespace
{
uint64_t LiveNodes()
{
    return KeyValuesSystem()->GetStats().liveNodes;
}

struct Calls
{
    int canHandle = 0;
    int handle = 0;
    int destroyed = 0;
};
Calls g_calls;

class RefusingParser : public IKeyValueParser,
                       public LazyCreator<IKeyValueParser, RefusingParser, KeyValues*>
{
public:
    explicit RefusingParser(KeyValues* message) : IKeyValueParser(message) {}
    ~RefusingParser() override { ++g_calls.destroyed; }
    bool CanHandle() override
    {
        ++g_calls.canHandle;
        return false;
    }
    bool Handle() override
    {
        ++g_calls.handle;
        return true;
    }
};

class ThrowingParser : public IKeyValueParser,
                       public LazyCreator<IKeyValueParser, ThrowingParser, KeyValues*>
{
public:
    explicit ThrowingParser(KeyValues* message) : IKeyValueParser(message) {}
    bool CanHandle() override { return true; }
    bool Handle() override { throw std::runtime_error("parser failed"); }
};

// Reads the message: proves it is still alive when Handle runs.
class ReadingParser : public IKeyValueParser,
                      public LazyCreator<IKeyValueParser, ReadingParser, KeyValues*>
{
public:
    explicit ReadingParser(KeyValues* message) : IKeyValueParser(message) {}
    bool CanHandle() override { return m_pMessage->GetInt("value") == 7; }
    bool Handle() override
    {
        ++g_calls.handle;
        return false; // not used: an accepted message counts as handled
    }
};

IKeyValueParser* CreateNothing(KeyValues*)
{
    return nullptr;
}

class Parsers : public ScriptSystemTest
{
protected:
    void SetUp() override
    {
        ScriptSystemTest::SetUp();
        g_calls = Calls();
        ASSERT_TRUE(scripts->Init(nullptr, 0));
    }
};

TEST_F(Parsers, UpdateTitleIsHandledAndDestroyed)
{
    const uint64_t before = LiveNodes();
    KeyValues* message = new KeyValues("_KeyVal_UpdateTitle");
    message->SetString("title", "text");
    ASSERT_GT(LiveNodes(), before);
    EXPECT_TRUE(scripts->DispatchKeyVal(message));
    EXPECT_EQ(LiveNodes(), before);

    KeyValues* empty = new KeyValues("_KeyVal_UpdateTitle");
    bool taken = false;
    EXPECT_TRUE(scripts->DispatchKeyVal(empty, &taken));
    EXPECT_TRUE(taken);
    EXPECT_EQ(LiveNodes(), before);

    EXPECT_TRUE(scripts->RecvKeyVal(new KeyValues("_KeyVal_UpdateTitle")));
    EXPECT_EQ(LiveNodes(), before);
}

TEST_F(Parsers, NamesThatDifferAreRefusedAndKept)
{
    for (const char* name : {"_keyval_updatetitle", "_KeyVal_UpdateTitleX", "_KeyVal_UpdateTitl",
                             ""})
    {
        KeyValues* message = new KeyValues(name);
        message->SetInt("kept", 5);
        const uint64_t before = LiveNodes();
        bool taken = true;
        EXPECT_FALSE(scripts->DispatchKeyVal(message, &taken)) << name;
        EXPECT_FALSE(taken);
        EXPECT_EQ(LiveNodes(), before);
        EXPECT_EQ(message->GetInt("kept"), 5);
        message->deleteThis();
    }
    EXPECT_FALSE(scripts->DispatchKeyVal(nullptr));
}

TEST_F(Parsers, RefusingParserStillDestroysTheMessage)
{
    IKeyValueParser* (*create)(KeyValues*) = &RefusingParser::Create;
    ASSERT_TRUE(scripts->RegisterParser("refused", {create, &RefusingParser::Destroy}));
    const uint64_t before = LiveNodes();
    bool taken = false;
    EXPECT_FALSE(scripts->DispatchKeyVal(new KeyValues("refused"), &taken));
    EXPECT_TRUE(taken);
    EXPECT_EQ(g_calls.canHandle, 1);
    EXPECT_EQ(g_calls.handle, 0);
    EXPECT_EQ(g_calls.destroyed, 1);
    EXPECT_EQ(LiveNodes(), before);
}

TEST_F(Parsers, HandleAnswerIsNotUsed)
{
    ASSERT_TRUE(scripts->RegisterParser("read", {&ReadingParser::Create, &ReadingParser::Destroy}));
    KeyValues* message = new KeyValues("read");
    message->SetInt("value", 7);
    EXPECT_TRUE(scripts->DispatchKeyVal(message));
    EXPECT_EQ(g_calls.handle, 1);
}

TEST_F(Parsers, SecondRegistrationKeepsTheFirst)
{
    EXPECT_FALSE(scripts->RegisterParser("_KeyVal_UpdateTitle",
                                         {&RefusingParser::Create, &RefusingParser::Destroy}));
    EXPECT_TRUE(scripts->DispatchKeyVal(new KeyValues("_KeyVal_UpdateTitle")));
    EXPECT_EQ(g_calls.canHandle, 0);
    EXPECT_FALSE(scripts->RegisterParser(nullptr, {&RefusingParser::Create, nullptr}));
}

TEST_F(Parsers, FailedCreationLeavesTheMessageWithTheCaller)
{
    ASSERT_TRUE(scripts->RegisterParser("noparser", {&CreateNothing, nullptr}));
    KeyValues* message = new KeyValues("noparser");
    const uint64_t before = LiveNodes();
    bool taken = true;
    EXPECT_FALSE(scripts->DispatchKeyVal(message, &taken));
    EXPECT_FALSE(taken);
    EXPECT_EQ(LiveNodes(), before);
    message->deleteThis();
}

TEST_F(Parsers, ThrowingParserDestroysTheMessageBeforeTheExceptionLeaves)
{
    ASSERT_TRUE(
        scripts->RegisterParser("throws", {&ThrowingParser::Create, &ThrowingParser::Destroy}));
    const uint64_t before = LiveNodes();
    bool taken = false;
    EXPECT_THROW(scripts->DispatchKeyVal(new KeyValues("throws"), &taken), std::runtime_error);
    EXPECT_TRUE(taken);
    EXPECT_EQ(LiveNodes(), before);
}

} // namespace
