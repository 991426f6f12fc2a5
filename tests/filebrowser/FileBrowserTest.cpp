#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "codepage.h"
#include "filesearch.h"
#include "script/FileBrowser.h"
#include "shellfolder.h"

namespace
{
namespace fs = std::filesystem;

// "中文" in UTF-8 and in the default local code page (GBK).
const std::string kChineseUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";
const std::string kChineseGbk = "\xD6\xD0\xCE\xC4";

struct Entry
{
    std::string name; // UTF-8
    bool folder;
};

struct FileBrowserTest : ::testing::Test
{
    fs::path root;
    SHELL::FileFolderMgr* mgr = &SHELL::FileFolderMgr::Instance();

    void SetUp() override
    {
        char pattern[] = "/tmp/qgui_browser_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        SetShellDriveRoots(nullptr, nullptr, 0);
        SetLocalCodePage(936);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(root, ec);
        SetShellDriveRoots(nullptr, nullptr, 0);
        SetLocalCodePage(936);
    }
    void file(const fs::path& path) { std::ofstream(root / path) << "x"; }
    void folder(const fs::path& path) { fs::create_directories(root / path); }

    std::vector<Entry> listed()
    {
        std::vector<Entry> entries;
        const SHELL::FileSet* set = mgr->getLastResult();
        for (int i = 0; i < set->getFileNum(); ++i)
        {
            const SHELL::FileInfo* info = set->getFileAt(static_cast<unsigned>(i));
            entries.push_back(Entry{info->getDspNameUtf8(), info->isFolder()});
        }
        return entries;
    }
    std::vector<Entry> drives()
    {
        mgr->InitSearch();
        return listed();
    }
};

bool operator==(const Entry& a, const Entry& b)
{
    return a.name == b.name && a.folder == b.folder;
}
void PrintTo(const Entry& e, std::ostream* os)
{
    *os << (e.folder ? "[" : "") << e.name << (e.folder ? "]" : "");
}

TEST_F(FileBrowserTest, NothingIsListedBeforeTheFirstSearch)
{
    EXPECT_EQ(mgr->getLastResult()->getFileNum(), 0);
    EXPECT_EQ(mgr->getLastResult()->getFileAt(0), nullptr);
}

TEST_F(FileBrowserTest, FoldersComeFirstThenNamesByteByByte)
{
    folder("Alpha");
    folder("alpha");
    file("beta.txt");
    file("Zeta");
    fs::create_directory_symlink(root / "alpha", root / "link");
    const std::string path = root.string();
    mgr->OpenPath(path.c_str());
    const std::vector<Entry> expected = {{".", true},      {"..", true},   {"Alpha", true},
                                         {"alpha", true},  {"link", true}, {"Zeta", false},
                                         {"beta.txt", false}};
    EXPECT_EQ(listed(), expected);
    const SHELL::FileSet* set = mgr->getLastResult();
    EXPECT_EQ(std::string(set->getFileAt(2)->getLocationUtf8()), path + "\\Alpha");
    EXPECT_EQ(set->getFileAt(6)->getLocation(), path + "\\beta.txt");
    // Beyond the set there is nothing, a wrapped negative index included.
    EXPECT_EQ(set->getFileAt(7), nullptr);
    EXPECT_EQ(set->getFileAt(static_cast<unsigned>(-1)), nullptr);

    // A location read back opens that folder; the set stays the same object.
    folder("Alpha/inner");
    const std::string location = set->getFileAt(2)->getLocation();
    mgr->OpenPath(location.c_str());
    EXPECT_EQ(mgr->getLastResult(), set);
    EXPECT_EQ(listed(), (std::vector<Entry>{{".", true}, {"..", true}, {"inner", true}}));
    EXPECT_EQ(set->getFileAt(2)->getLocation(), location + "\\inner");
}

TEST_F(FileBrowserTest, UnsearchablePathsListTheDrives)
{
    const std::vector<Entry> roots = drives();
    EXPECT_EQ(roots, (std::vector<Entry>{{"/", true}}));
    EXPECT_EQ(mgr->getLastResult()->getFileAt(0)->getLocation(), "/");
    file("plain.txt");
    const std::string missing = (root / "missing").string();
    const std::string plain = (root / "plain.txt").string();
    const std::string notText = root.string() + "\\\xFF\xFF";
    const std::string tooLong = root.string() + "\\" + std::string(5000, 'a');
    for (const std::string& path : {missing, plain, notText, tooLong})
    {
        SCOPED_TRACE(path.substr(0, 80));
        mgr->OpenPath(path.c_str());
        EXPECT_EQ(listed(), roots);
    }
    mgr->OpenPath(nullptr);
    EXPECT_EQ(listed(), roots);
}

TEST_F(FileBrowserTest, NamesArriveInTheLocalCodePageAndLeaveInUtf8)
{
    folder(kChineseUtf8);
    file(fs::path(kChineseUtf8) / (kChineseUtf8 + ".txt"));
    file(fs::path(kChineseUtf8) / "\xF0\x9F\x98\x80.txt"); // not in GBK
    // Paths come in the local code page.
    const std::string path = root.string() + "\\" + kChineseGbk;
    mgr->OpenPath(path.c_str());
    EXPECT_EQ(listed(), (std::vector<Entry>{{".", true},
                                            {"..", true},
                                            {"?.txt", false},
                                            {kChineseUtf8 + ".txt", false}}));
    const SHELL::FileInfo* info = mgr->getLastResult()->getFileAt(3);
    EXPECT_EQ(info->getDspName(), kChineseGbk + ".txt");
    EXPECT_EQ(info->getLocation(), path + "\\" + kChineseGbk + ".txt");
    EXPECT_EQ(std::string(info->getLocationUtf8()),
              root.string() + "\\" + kChineseUtf8 + "\\" + kChineseUtf8 + ".txt");

    // With UTF-8 as the local code page every name comes through as it is.
    SetLocalCodePage(CP_UTF8);
    const std::string utf8Path = root.string() + "/" + kChineseUtf8;
    mgr->OpenPath(utf8Path.c_str());
    EXPECT_EQ(listed()[3].name, "\xF0\x9F\x98\x80.txt");
}

TEST_F(FileBrowserTest, LongNamesAreConvertedWhole)
{
    // 85 characters of three bytes: the longest name the file system takes.
    std::string longName;
    for (int i = 0; i < 85; ++i)
        longName += kChineseUtf8.substr(0, 3);
    file(longName);
    mgr->OpenPath(root.string().c_str());
    ASSERT_EQ(mgr->getLastResult()->getFileNum(), 3);
    EXPECT_EQ(mgr->getLastResult()->getFileAt(2)->getDspName().size(), 170u);
    EXPECT_EQ(listed()[2].name, longName);

    // Drive names far beyond any fixed buffer.
    std::string longDrive;
    for (int i = 0; i < 300; ++i)
        longDrive += kChineseUtf8;
    const char* displays[] = {longDrive.c_str(), "B drive", "", "A drive"};
    const char* parsings[] = {"/mnt/long", "/b", "/empty", "/a"};
    SetShellDriveRoots(displays, parsings, 4);
    EXPECT_EQ(drives(), (std::vector<Entry>{
                            {"", true}, {"A drive", true}, {"B drive", true}, {longDrive, true}}));
    const SHELL::FileInfo* last = mgr->getLastResult()->getFileAt(3);
    EXPECT_EQ(last->getDspName().size(), 1200u);
    EXPECT_EQ(last->getLocation(), "/mnt/long");
}

TEST(NameRecordText, EveryKindOfRecord)
{
    // An item whose identifier holds narrow text at byte 4.
    unsigned char item[16] = {12, 0, 0, 0, 'C', ':', '\\', 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const auto* list = reinterpret_cast<const ITEMIDLIST*>(item);
    STRRET name;
    std::memset(&name, 0, sizeof(name));
    name.uType = STRRET_OFFSET;
    name.uOffset = 4;
    EXPECT_EQ(SHELL::NameRecordText(&name, list), "C:\\");
    // Text that would run past the identifier stops at its end.
    item[7] = 'x';
    item[8] = 'y';
    item[12] = 'z';
    EXPECT_EQ(SHELL::NameRecordText(&name, list), "C:\\xy");
    name.uOffset = 12;
    EXPECT_EQ(SHELL::NameRecordText(&name, list), "");
    EXPECT_EQ(SHELL::NameRecordText(&name, nullptr), "");

    name.uType = STRRET_CSTR;
    std::memset(name.cStr, 'n', sizeof(name.cStr));
    EXPECT_EQ(SHELL::NameRecordText(&name, list), std::string(STRRET_CSTR_SIZE, 'n'));

    name.uType = STRRET_WSTR;
    name.pOleStr = static_cast<char16_t*>(CoTaskMemAlloc(3 * sizeof(char16_t)));
    name.pOleStr[0] = u'\u4E2D';
    name.pOleStr[1] = u'\u6587';
    name.pOleStr[2] = 0;
    EXPECT_EQ(SHELL::NameRecordText(&name, list), kChineseGbk);
    EXPECT_EQ(name.pOleStr, nullptr);
    EXPECT_EQ(SHELL::NameRecordText(&name, list), "");

    name.uType = 7;
    EXPECT_EQ(SHELL::NameRecordText(&name, list), "");
    EXPECT_EQ(SHELL::NameRecordText(nullptr, list), "");
}

TEST(FindFile, PatternsAndHandles)
{
    char pattern[] = "/tmp/qgui_find_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path root = pattern;
    for (const char* name : {"a.TXT", "b.txt", "c.log", "noext"})
        std::ofstream(root / name) << "x";
    auto names = [&](const std::string& filter) {
        std::vector<std::string> found;
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA((root.string() + "\\" + filter).c_str(), &data);
        if (h == INVALID_HANDLE_VALUE)
            return found;
        do
            found.push_back(data.cFileName);
        while (FindNextFileA(h, &data));
        EXPECT_EQ(FindClose(h), 1);
        EXPECT_EQ(FindClose(h), 0);
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ(names("*.*"), (std::vector<std::string>{".", "..", "a.TXT", "b.txt", "c.log", "noext"}));
    EXPECT_EQ(names("*.txt"), (std::vector<std::string>{"a.TXT", "b.txt"}));
    EXPECT_EQ(names("?.LOG"), std::vector<std::string>{"c.log"});
    EXPECT_EQ(names("no*"), std::vector<std::string>{"noext"});
    EXPECT_TRUE(names("*.none").empty());

    WIN32_FIND_DATAA data;
    EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA((root.string() + "\\").c_str(), &data), INVALID_HANDLE_VALUE);
    int notASearch = 0;
    EXPECT_EQ(FindNextFileA(&notASearch, &data), 0);
    EXPECT_EQ(FindNextFileA(INVALID_HANDLE_VALUE, &data), 0);
    EXPECT_EQ(FindClose(nullptr), 0);
    fs::remove_all(root);
}
} // namespace
