#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "HostFileSystem.h"
#include "KeyValues.h"
#include "PublicTestSupport.h"
#include "utlbuffer.h"

using kvtest::Load;
using kvtest::LiveNodes;
using kvtest::MemoryFileSystem;
using kvtest::TempDir;
using kvtest::TreePtr;
using kvtest::TreesEqual;

namespace
{

class KeyValuesText : public ::testing::Test
{
protected:
    void SetUp() override { m_liveAtStart = LiveNodes(); }
    void TearDown() override { EXPECT_EQ(LiveNodes(), m_liveAtStart) << "nodes leaked or freed twice"; }

private:
    uint64_t m_liveAtStart = 0;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// --- Reader ----------------------------------------------------------------

TEST_F(KeyValuesText, BareTokensAndTypes)
{
    TreePtr kv = Load("a { b 1 c 2.5 d x e \"\" }");
    EXPECT_STREQ(kv->GetName(), "a");
    EXPECT_EQ(kv->GetDataType("b"), KeyValues::TYPE_INT);
    EXPECT_EQ(kv->GetInt("b"), 1);
    EXPECT_EQ(kv->GetDataType("c"), KeyValues::TYPE_FLOAT);
    EXPECT_FLOAT_EQ(kv->GetFloat("c"), 2.5f);
    EXPECT_EQ(kv->GetDataType("d"), KeyValues::TYPE_STRING);
    EXPECT_STREQ(kv->GetString("d"), "x");
    EXPECT_EQ(kv->GetDataType("e"), KeyValues::TYPE_STRING);
    EXPECT_STREQ(kv->GetString("e", "default"), "");
}

struct TypingCase
{
    const char* text;
    int type;
    double number;
};

TEST_F(KeyValuesText, ValueTyping)
{
    const TypingCase cases[] = {
        {"1", KeyValues::TYPE_INT, 1},
        {"1.5", KeyValues::TYPE_FLOAT, 1.5},
        {"1.", KeyValues::TYPE_FLOAT, 1},
        {".5", KeyValues::TYPE_FLOAT, 0.5},
        {"-0", KeyValues::TYPE_INT, 0},
        {"+5", KeyValues::TYPE_INT, 5},
        {"-7", KeyValues::TYPE_INT, -7},
        {"1e3", KeyValues::TYPE_FLOAT, 1000},
        {"1e5", KeyValues::TYPE_FLOAT, 100000},
        {"-2.5E-1", KeyValues::TYPE_FLOAT, -0.25},
        {"abc", KeyValues::TYPE_STRING, 0},
        {"", KeyValues::TYPE_STRING, 0},
        {"12abc", KeyValues::TYPE_STRING, 0},
        {"1e", KeyValues::TYPE_STRING, 0},
        {"1 ", KeyValues::TYPE_STRING, 0},
        {"-", KeyValues::TYPE_STRING, 0},
        {"0x10", KeyValues::TYPE_STRING, 0}, // no hexadecimal floats
        {"inf", KeyValues::TYPE_STRING, 0},
        {"nan", KeyValues::TYPE_STRING, 0},
        {"2147483647", KeyValues::TYPE_INT, 2147483647.0},
        {"-2147483648", KeyValues::TYPE_INT, -2147483648.0},
        {"12345678901", KeyValues::TYPE_STRING, 0}, // beyond 32 bits: kept as text
        {"1e39", KeyValues::TYPE_STRING, 0},        // beyond the float range: kept as text
    };
    for (const TypingCase& c : cases)
    {
        SCOPED_TRACE(c.text);
        TreePtr kv = Load(std::string("r { v \"") + c.text + "\" }");
        EXPECT_EQ(kv->GetDataType("v"), c.type);
        if (c.type == KeyValues::TYPE_INT)
        {
            EXPECT_EQ(kv->GetInt("v"), static_cast<int>(c.number));
        }
        if (c.type == KeyValues::TYPE_FLOAT)
        {
            EXPECT_FLOAT_EQ(kv->GetFloat("v"), static_cast<float>(c.number));
        }
    }
    // A long id keeps its digits through a read and a conversion.
    TreePtr kv = Load("r { id 12345678901 }");
    EXPECT_STREQ(kv->GetString("id"), "12345678901");
}

TEST_F(KeyValuesText, ReaderKeepsNumberTextForTheBufferWriter)
{
    TreePtr kv = Load("r { f 2.50 }");
    CUtlBuffer out(0, 0, CUtlBuffer::TEXT_BUFFER);
    kv->RecursiveSaveToFile(out, 0);
    EXPECT_EQ(std::string(static_cast<const char*>(out.Base()), out.TellPut()),
              "\"r\"\n{\n\t\"f\"\t\t\"2.50\"\n}\n");
}

TEST_F(KeyValuesText, QuotedBracesAreText)
{
    TreePtr kv = Load("r { k \"{\" n \"}\" \"{\" v }");
    EXPECT_STREQ(kv->GetString("k"), "{");
    EXPECT_STREQ(kv->GetString("n"), "}");
    EXPECT_STREQ(kv->GetString("{"), "v");
    EXPECT_EQ(kv->FindKey("k")->GetFirstSubKey(), nullptr);
}

TEST_F(KeyValuesText, Comments)
{
    TreePtr kv = Load("// head \xC4\xE3\xBA\xC3 } {\nr { a 1 // \xFF\xFE\"{ tail\n b 2 } // last line");
    EXPECT_EQ(kv->GetInt("a"), 1);
    EXPECT_EQ(kv->GetInt("b"), 2);
    EXPECT_EQ(kv->GetNextKey(), nullptr);

    TreePtr slash = Load("r { path /usr/x a/b c }");
    EXPECT_STREQ(slash->GetString("path"), "/usr/x");
    EXPECT_STREQ(slash->GetString("a/b", "missing"), "missing"); // '/' in a name is a path separator
    EXPECT_STREQ(slash->GetFirstSubKey()->GetNextKey()->GetName(), "a/b");
}

TEST_F(KeyValuesText, HighBytesAreTokenBytes)
{
    TreePtr kv = Load("r { \xD6\xD0 \xCE\xC4\xA0x }");
    EXPECT_STREQ(kv->GetString("\xD6\xD0"), "\xCE\xC4\xA0x");
}

TEST_F(KeyValuesText, EscapesFollowTheFlag)
{
    const std::string text = "r { k \"a\\\"b\" m \"1\\n2\\t3\\\\4\\q\" }";
    TreePtr plain = Load(text, false);
    EXPECT_STREQ(plain->GetString("k"), "a\\");

    TreePtr escaped = Load(text, true);
    EXPECT_STREQ(escaped->GetString("k"), "a\"b");
    EXPECT_STREQ(escaped->GetString("m"), "1\n2\t3\\4q");

    // A backslash at the very end of the text gives no token.
    TreePtr cut = Load("r { k \"abc\\", true);
    EXPECT_EQ(cut->FindKey("k")->GetDataType(), KeyValues::TYPE_NONE);
}

TEST_F(KeyValuesText, EscapeFlagPassesToReadNodesButNotToCopies)
{
    TreePtr kv = Load("first { a { b \"x\\\"y\" } } second { c \"p\\\"q\" }", true);
    EXPECT_STREQ(kv->GetString("a/b"), "x\"y");
    ASSERT_NE(kv->GetNextKey(), nullptr);
    EXPECT_STREQ(kv->GetNextKey()->GetString("c"), "p\"q");

    // A sub-key read from text reads with the flag too; one made by FindKey does not.
    KeyValues* read = kv->FindKey("a");
    EXPECT_TRUE(read->LoadFromBuffer(nullptr, "a { z \"1\\\"2\" }"));
    EXPECT_STREQ(read->GetString("z"), "1\"2");
    KeyValues* made = kv->FindKey("made", true);
    EXPECT_TRUE(made->LoadFromBuffer(nullptr, "made { z \"1\\\"2\" }"));
    EXPECT_STREQ(made->GetString("z"), "1\\");

    TreePtr copy(kv->MakeCopy());
    EXPECT_TRUE(copy->LoadFromBuffer(nullptr, "first { z \"1\\\"2\" }"));
    EXPECT_STREQ(copy->GetString("z"), "1\\");
}

TEST_F(KeyValuesText, TokensAreCutAt1023Bytes)
{
    std::string longToken(2000, 'x');
    longToken[1022] = 'E';
    longToken[1023] = 'D';
    TreePtr kv = Load("r { k \"" + longToken + "\" next 1 " + longToken + " 2 }");
    std::string value = kv->GetString("k");
    EXPECT_EQ(value.size(), 1023u);
    EXPECT_EQ(value.back(), 'E');
    EXPECT_EQ(kv->GetInt("next"), 1);
    EXPECT_EQ(std::string(kv->FindKey("next")->GetNextKey()->GetName()).size(), 1023u);
}

TEST_F(KeyValuesText, TopLevelBlocksBecomePeers)
{
    TreePtr kv = Load("one { a 1 } two { b 2 } three notablock four { c 3 }");
    EXPECT_STREQ(kv->GetName(), "one");
    KeyValues* two = kv->GetNextKey();
    ASSERT_NE(two, nullptr);
    EXPECT_STREQ(two->GetName(), "two");
    KeyValues* three = two->GetNextKey();
    ASSERT_NE(three, nullptr);
    EXPECT_STREQ(three->GetName(), "three");
    EXPECT_EQ(three->GetDataType(), KeyValues::TYPE_NONE); // "notablock" was consumed
    EXPECT_EQ(three->GetFirstSubKey(), nullptr);
    EXPECT_EQ(three->GetNextKey()->GetInt("c"), 3);
}

TEST_F(KeyValuesText, LoadingKeepsPeersTheNodeHad)
{
    TreePtr kv(new KeyValues("root"));
    KeyValues* old = new KeyValues("old");
    kv->SetNextKey(old);
    EXPECT_TRUE(kv->LoadFromBuffer(nullptr, "a { x 1 } b { y 2 }"));
    EXPECT_STREQ(kv->GetNextKey()->GetName(), "b");
    EXPECT_EQ(kv->GetNextKey()->GetNextKey(), old);
}

TEST_F(KeyValuesText, UnfinishedTextEndsQuietly)
{
    TreePtr kv = Load("r { a 1 b { c \"unterminated");
    EXPECT_EQ(kv->GetInt("a"), 1);
    EXPECT_NE(kv->FindKey("b/c"), nullptr);
    TreePtr empty = Load("");
    EXPECT_STREQ(empty->GetName(), "root");
    // An empty name ends its block: b belongs to r, and r ends before c.
    TreePtr nested = Load("r { a { \"\" b 1 } c 2 }");
    EXPECT_EQ(nested->GetInt("b"), 1);
    EXPECT_EQ(nested->FindKey("a")->GetFirstSubKey(), nullptr);
    ASSERT_NE(nested->GetNextKey(), nullptr);
    EXPECT_STREQ(nested->GetNextKey()->GetName(), "c");
}

std::string Nested(int depth)
{
    std::string text = "r ";
    for (int i = 0; i < depth; ++i)
        text += "{ k ";
    text += "v";
    for (int i = 0; i < depth; ++i)
        text += " }";
    return text;
}

TEST_F(KeyValuesText, NestingTooDeepEndsTheParseWithWhatWasRead)
{
    TreePtr ok(new KeyValues("x"));
    EXPECT_TRUE(ok->LoadFromBuffer(nullptr, Nested(KeyValues::MAX_NESTING_DEPTH).c_str()));

    // The block that would open one level too deep ends the parse: the keys
    // read so far stay, the key that opened it keeps no value, and nothing
    // after it is read.
    TreePtr kv(new KeyValues("keep"));
    kv->SetInt("old", 1);
    const std::string deep = "p1 { a 1 } " + Nested(KeyValues::MAX_NESTING_DEPTH + 1) + " after { b 2 }";
    EXPECT_TRUE(kv->LoadFromBuffer(nullptr, deep.c_str()));
    EXPECT_STREQ(kv->GetName(), "p1");
    EXPECT_EQ(kv->GetInt("old"), 1);
    EXPECT_EQ(kv->GetInt("a"), 1);
    KeyValues* r = kv->GetNextKey();
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->GetName(), "r");
    EXPECT_EQ(r->GetNextKey(), nullptr);
    int depth = 0;
    KeyValues* last = r;
    while (KeyValues* k = last->FindKey("k"))
    {
        last = k;
        ++depth;
    }
    EXPECT_EQ(depth, KeyValues::MAX_NESTING_DEPTH);
    EXPECT_EQ(last->GetDataType(), KeyValues::TYPE_NONE);

    TreePtr hostile(new KeyValues("h"));
    EXPECT_TRUE(hostile->LoadFromBuffer(nullptr, ("r " + std::string(1000000, '{')).c_str()));
    EXPECT_NE(hostile->GetFirstSubKey(), nullptr);
}

// --- Includes --------------------------------------------------------------

TEST_F(KeyValuesText, IncludesAreRelativeAndFollowThePeers)
{
    MemoryFileSystem fs;
    fs.Add("cfg/main.txt", "#INCLUDE \"inc.txt\"\nmain { a 1 } second { b 2 }\n#include sub/more.txt");
    fs.Add("cfg/inc.txt", "inc { c 3 }");
    fs.Add("cfg/sub/more.txt", "more { d 4 } more2 { e 5 }");
    TreePtr kv(new KeyValues("x"));
    ASSERT_TRUE(kv->LoadFromFile(&fs, "cfg/main.txt", "GAME"));

    std::vector<std::string> order;
    for (KeyValues* k = kv.get(); k; k = k->GetNextKey())
        order.push_back(k->GetName());
    EXPECT_EQ(order, (std::vector<std::string>{"main", "second", "inc", "more", "more2"}));
    EXPECT_EQ(kv->GetNextKey()->GetNextKey()->GetInt("c"), 3);

    // The file itself opens under the path id; its includes under none.
    ASSERT_EQ(fs.opens.size(), 3u);
    EXPECT_EQ(fs.opens[0].pathId, "GAME");
    EXPECT_TRUE(fs.opens[1].nullPathId);
    EXPECT_EQ(fs.opens[1].path, "cfg/inc.txt");
    EXPECT_EQ(fs.opens[2].path, "cfg/sub/more.txt");
}

TEST_F(KeyValuesText, IncludesFromABufferUseItsNameAndPathId)
{
    MemoryFileSystem fs;
    fs.Add("dir\\inc.txt", "inc { c 3 }");
    TreePtr kv(new KeyValues("x"));
    ASSERT_TRUE(kv->LoadFromBuffer("dir\\buffer.txt", "#include inc.txt top { a 1 }", &fs, "GAME"));
    ASSERT_NE(kv->GetNextKey(), nullptr);
    EXPECT_EQ(kv->GetNextKey()->GetInt("c"), 3);
    EXPECT_EQ(fs.opens[0].pathId, "GAME");

    // Without a file system an include loads nothing.
    TreePtr none(new KeyValues("x"));
    EXPECT_TRUE(none->LoadFromBuffer("dir\\buffer.txt", "#include inc.txt top { a 1 }"));
    EXPECT_EQ(none->GetNextKey(), nullptr);
}

TEST_F(KeyValuesText, FailingAndRepeatedIncludesAreDropped)
{
    MemoryFileSystem fs;
    fs.Add("self.txt", "#include self.txt\nself { a 1 }");
    fs.Add("a.txt", "#include b.txt\na { x 1 }");
    fs.Add("b.txt", "#include ./a.txt\n#include missing.txt\nb { y 2 }");
    fs.Add("deep.txt", "#include \"depth/../deep.txt\" deep { z 3 }");

    TreePtr self(new KeyValues("x"));
    ASSERT_TRUE(self->LoadFromFile(&fs, "self.txt"));
    EXPECT_EQ(self->GetInt("a"), 1);
    EXPECT_EQ(self->GetNextKey(), nullptr);

    TreePtr cycle(new KeyValues("x"));
    ASSERT_TRUE(cycle->LoadFromFile(&fs, "a.txt"));
    EXPECT_STREQ(cycle->GetName(), "a");
    ASSERT_NE(cycle->GetNextKey(), nullptr);
    EXPECT_STREQ(cycle->GetNextKey()->GetName(), "b");
    EXPECT_EQ(cycle->GetNextKey()->GetNextKey(), nullptr);

    TreePtr aliased(new KeyValues("x"));
    ASSERT_TRUE(aliased->LoadFromFile(&fs, "deep.txt"));
    EXPECT_EQ(aliased->GetNextKey(), nullptr);
}

TEST_F(KeyValuesText, AbsoluteAndOverlongIncludesAreRefused)
{
    MemoryFileSystem fs;
    // Paths of 511 bytes are read; from 512 on they are refused, never cut
    // (cut to 511 bytes, the second one would name the first file).
    const std::string fits = "d/" + std::string(KeyValues::INCLUDE_PATH_SIZE - 5, 'n');
    const std::string over = fits + "n";
    fs.Add("d/" + fits, "fits { a 1 }");
    fs.Add("d/main.txt", "#include /etc/passwd #include \"C:\\boot.ini\" #include \\x #include " + over +
                             " #include " + fits + " m { a 1 }");
    TreePtr kv(new KeyValues("x"));
    ASSERT_TRUE(kv->LoadFromFile(&fs, "d/main.txt"));
    ASSERT_EQ(fs.opens.size(), 2u);
    EXPECT_EQ(fs.opens[1].path.size(), static_cast<size_t>(KeyValues::INCLUDE_PATH_SIZE - 1));
    ASSERT_NE(kv->GetNextKey(), nullptr);
    EXPECT_STREQ(kv->GetNextKey()->GetName(), "fits");
    EXPECT_EQ(kv->GetNextKey()->GetNextKey(), nullptr);
}

TEST_F(KeyValuesText, IncludesThatFanOutAreBoundedPerLoad)
{
    // Each file includes the next twice: unbounded, 2^30 loads.
    MemoryFileSystem fs;
    const int files = 30;
    for (int i = 0; i < files; ++i)
        fs.Add("f" + std::to_string(i) + ".txt", "#include f" + std::to_string(i + 1) + ".txt\n#include f" +
                                                     std::to_string(i + 1) + ".txt\nk" + std::to_string(i) + " { }");
    for (int load = 0; load < 2; ++load)
    {
        fs.opens.clear();
        TreePtr kv(new KeyValues("x"));
        ASSERT_TRUE(kv->LoadFromFile(&fs, "f0.txt"));
        EXPECT_EQ(fs.opens.size(), static_cast<size_t>(KeyValues::MAX_INCLUDES_PER_LOAD) + 1);
        // The first includes of the chain are all there, the bound is per
        // load (the second load reads as many).
        EXPECT_STREQ(kv->GetNextKey()->GetName(), "k1");
    }
}

TEST_F(KeyValuesText, IncludeChainsStopAtTheirDepth)
{
    MemoryFileSystem fs;
    for (int i = 0; i < 100; ++i)
        fs.Add("f" + std::to_string(i) + ".txt",
               "#include f" + std::to_string(i + 1) + ".txt\nk" + std::to_string(i) + " { v " + std::to_string(i) + " }");
    TreePtr kv(new KeyValues("x"));
    ASSERT_TRUE(kv->LoadFromFile(&fs, "f0.txt"));
    int count = 0;
    for (KeyValues* k = kv.get(); k; k = k->GetNextKey())
        ++count;
    EXPECT_EQ(count, KeyValues::MAX_INCLUDE_DEPTH);
}

// --- Files -----------------------------------------------------------------

TEST_F(KeyValuesText, LoadFromFileFailuresLeaveTheTree)
{
    MemoryFileSystem fs;
    TreePtr kv(new KeyValues("keep"));
    kv->SetInt("k", 1);
    EXPECT_FALSE(kv->LoadFromFile(&fs, "missing.txt"));
    EXPECT_FALSE(kv->LoadFromFile(nullptr, "missing.txt"));

    fs.Add("bad.txt", "bad { x 1 }");
    fs.useSizeOverride = true;
    fs.sizeOverride = -1;
    EXPECT_FALSE(kv->LoadFromFile(&fs, "bad.txt"));
    EXPECT_EQ(fs.closes, 1);
    EXPECT_STREQ(kv->GetName(), "keep");
    EXPECT_EQ(kv->FindKey("x"), nullptr);
}

TEST_F(KeyValuesText, ShortReadEndsTheTextAtTheBytesRead)
{
    MemoryFileSystem fs;
    const std::string text = "r { a 1 b 2 }";
    fs.Add("short.txt", text);
    fs.readShortBy = static_cast<int>(text.size() - text.find(" b"));
    TreePtr kv(new KeyValues("x"));
    ASSERT_TRUE(kv->LoadFromFile(&fs, "short.txt"));
    EXPECT_EQ(kv->GetInt("a"), 1);
    EXPECT_EQ(kv->FindKey("b"), nullptr);
}

TreePtr SampleTree()
{
    TreePtr kv(new KeyValues("Root"));
    kv->SetString("text", "say \"hi\"\\n");
    kv->SetInt("count", -42);
    kv->SetFloat("scale", 1.5f);
    kv->SetWString("wide", u"中文");
    kv->SetPtr("pointer", kv.get());
    kv->SetString("empty", "");
    kv->FindKey("emptyblock", true);
    kv->SetString("block/inner", "v");
    kv->SetInt("block/deeper/n", 7);
    return kv;
}

const char kSampleText[] =
    "\"Root\"\n"
    "{\n"
    "\t\"text\"\t\t\"say \\\"hi\\\"\\n\"\n"
    "\t\"count\"\t\t\"-42\"\n"
    "\t\"scale\"\t\t\"1.500000\"\n"
    "\t\"wide\"\t\t\"\xE4\xB8\xAD\xE6\x96\x87\"\n"
    "\t\"block\"\n"
    "\t{\n"
    "\t\t\"inner\"\t\t\"v\"\n"
    "\t\t\"deeper\"\n"
    "\t\t{\n"
    "\t\t\t\"n\"\t\t\"7\"\n"
    "\t\t}\n"
    "\t}\n"
    "}\n";

TEST_F(KeyValuesText, FileWriterOutputByteForByte)
{
    MemoryFileSystem fs;
    TreePtr kv = SampleTree();
    KeyValues peer("peer"); // peers are not written
    kv->SetNextKey(&peer);
    ASSERT_TRUE(kv->SaveToFile(&fs, "out.txt", "GAME"));
    kv->SetNextKey(nullptr);
    EXPECT_EQ(fs.files["out.txt"], kSampleText);
    // Each piece of a line is one write.
    EXPECT_EQ(fs.writes[0], "\"");
    EXPECT_EQ(fs.writes[1], "Root");
    EXPECT_EQ(fs.writes[2], "\"\n");
    EXPECT_EQ(fs.writes[3], "{\n");
    EXPECT_EQ(fs.writes[4], "\t");

    MemoryFileSystem bare;
    TreePtr lonely(new KeyValues("lonely"));
    ASSERT_TRUE(lonely->SaveToFile(&bare, "x.txt"));
    EXPECT_EQ(bare.files["x.txt"], "\"lonely\"\n{\n}\n");
}

TEST_F(KeyValuesText, FileWriterWritesLongWideValuesWhole)
{
    MemoryFileSystem fs;
    TreePtr kv(new KeyValues("r"));
    std::u16string wide(1000, u'中'); // 3,000 bytes of UTF-8
    kv->SetWString("w", wide.c_str());
    ASSERT_TRUE(kv->SaveToFile(&fs, "w.txt"));
    TreePtr back(new KeyValues("x"));
    ASSERT_TRUE(back->LoadFromFile(&fs, "w.txt"));
    std::string utf8;
    for (int i = 0; i < 1000; ++i)
        utf8 += "\xE4\xB8\xAD";
    EXPECT_EQ(std::string(back->GetString("w")).substr(0, 30), utf8.substr(0, 30));
    EXPECT_EQ(std::string(back->GetString("w")).size(), size_t(KeyValues::MAX_TOKEN_LENGTH) / 3 * 3);
}

TEST_F(KeyValuesText, ShortWriteFailsTheSave)
{
    MemoryFileSystem fs;
    fs.writeLimit = 10;
    TreePtr kv = SampleTree();
    EXPECT_FALSE(kv->SaveToFile(&fs, "out.txt"));
    EXPECT_EQ(fs.closes, 1);
}

TEST_F(KeyValuesText, BufferWriterOutputByteForByte)
{
    TreePtr kv = SampleTree();
    kv->SetString("count", "stale");
    kv->SetInt("count", -42); // a number set over a text: the text is gone
    CUtlBuffer text(0, 0, CUtlBuffer::TEXT_BUFFER);
    kv->RecursiveSaveToFile(text, 1);
    EXPECT_EQ(std::string(static_cast<const char*>(text.Base()), text.TellPut()),
              "\t\"Root\"\n"
              "\t{\n"
              "\t\t\"text\"\t\t\"say \"hi\"\\n\"\n"
              "\t\t\"block\"\n"
              "\t\t{\n"
              "\t\t\t\"inner\"\t\t\"v\"\n"
              "\t\t\t\"deeper\"\n"
              "\t\t\t{\n"
              "\t\t\t}\n"
              "\t\t}\n"
              "\t}\n");

    // A buffer that is not a text buffer keeps each piece's terminating NUL.
    TreePtr small(new KeyValues("s"));
    CUtlBuffer binary;
    small->RecursiveSaveToFile(binary, 1);
    EXPECT_EQ(std::string(static_cast<const char*>(binary.Base()), binary.TellPut()),
              std::string("\t\0\"s\"\n\0\t\0{\n\0\t\0}\n\0", 17));
}

TEST_F(KeyValuesText, BufferWriterWritesLongValuesWhole)
{
    TreePtr kv(new KeyValues("r"));
    std::string value(5000, 'v');
    kv->SetString("long", value.c_str());
    CUtlBuffer text(0, 0, CUtlBuffer::TEXT_BUFFER);
    kv->RecursiveSaveToFile(text, 0);
    EXPECT_EQ(std::string(static_cast<const char*>(text.Base()), text.TellPut()),
              "\"r\"\n{\n\t\"long\"\t\t\"" + value + "\"\n}\n");
}

class HostFileSystemRoundTrip : public KeyValuesText
{
protected:
    TempDir m_dir;
};

TEST_F(HostFileSystemRoundTrip, SaveThenLoadGivesTheSameTree)
{
    HostFileSystem fs(m_dir.path);
    TreePtr kv(new KeyValues("Settings"));
    kv->UsesEscapeSequences(true);
    kv->SetString("title", "a \"quoted\" title");
    kv->SetInt("width", 1024);
    kv->SetInt("negative", -3);
    kv->SetFloat("alpha", 0.25f);
    kv->SetString("name", "\xE4\xB8\xAD\xE6\x96\x87");
    kv->SetString("window/caption", "main");
    kv->SetInt("window/pos/x", 10);
    kv->SetInt("window/pos/y", 20);
    std::filesystem::create_directories(m_dir.path + "/resource/UI");
    ASSERT_TRUE(kv->SaveToFile(&fs, "resource\\UI\\settings.txt", "GAME"));
    EXPECT_EQ(fs.OpenedPaths(), std::vector<std::string>{"resource/UI/settings.txt"});

    TreePtr back(new KeyValues("x"));
    back->UsesEscapeSequences(true);
    ASSERT_TRUE(back->LoadFromFile(&fs, "resource\\UI\\settings.txt", "GAME"));
    EXPECT_TRUE(TreesEqual(kv.get(), back.get()));

    // And a second round gives the same bytes.
    ASSERT_TRUE(back->SaveToFile(&fs, "again.txt"));
    ASSERT_TRUE(kv->SaveToFile(&fs, "first.txt"));
    EXPECT_EQ(ReadFile(m_dir.path + "/again.txt"), ReadFile(m_dir.path + "/first.txt"));
}

TEST_F(HostFileSystemRoundTrip, SaveCreatesMissingDirectories)
{
    HostFileSystem fs(m_dir.path);
    // Directories are made relative to the current directory: the host runs
    // with its resource root as the current directory.
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir(m_dir.path.c_str()), 0);
    TreePtr kv(new KeyValues("r"));
    kv->SetInt("a", 1);
    bool savedBackslash = kv->SaveToFile(&fs, "d1\\d2\\out.txt", "GAME");
    bool savedSlash = kv->SaveToFile(&fs, "s1/s2/out.txt", "GAME");
    bool escaped = kv->SaveToFile(&fs, "x/../../escape/out.txt", "GAME");
    ASSERT_EQ(chdir(previous), 0);

    EXPECT_TRUE(savedBackslash);
    EXPECT_TRUE(savedSlash);
    EXPECT_FALSE(escaped);
    EXPECT_EQ(ReadFile(m_dir.path + "/d1/d2/out.txt"), "\"r\"\n{\n\t\"a\"\t\t\"1\"\n}\n");
    EXPECT_TRUE(std::filesystem::exists(m_dir.path + "/s1/s2/out.txt"));
    EXPECT_FALSE(std::filesystem::exists(m_dir.path + "/x"));
}

} // namespace
