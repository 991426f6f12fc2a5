#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "HostFileSystem.h"
#include "PublicTestSupport.h"

using kvtest::TempDir;

namespace
{

class HostFileSystemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_dir.path + "/resource/UI");
        std::ofstream(m_dir.path + "/resource/UI/a.txt") << "hello";
        std::ofstream(m_dir.path + "/top.txt") << "top";
    }

    TempDir m_dir;
};

TEST_F(HostFileSystemTest, PathsResolveBelowTheRoot)
{
    HostFileSystem fs(m_dir.path);
    FileHandle_t file = fs.Open("resource\\UI\\a.txt", "rb", "GAME");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(fs.Size(file), 5);
    char buffer[8] = {};
    EXPECT_EQ(fs.Read(buffer, sizeof(buffer), file), 5);
    EXPECT_STREQ(buffer, "hello");
    fs.Close(file);
    EXPECT_EQ(fs.OpenFileCount(), 0u);

    FileHandle_t viaNull = fs.Open("resource/UI/../../top.txt", "rb", nullptr);
    ASSERT_NE(viaNull, nullptr);
    fs.Close(viaNull);
    EXPECT_EQ(fs.OpenedPaths(), (std::vector<std::string>{"resource/UI/a.txt", "top.txt"}));
}

TEST_F(HostFileSystemTest, PathsLeavingTheRootAreRefused)
{
    HostFileSystem fs(m_dir.path);
    std::filesystem::create_symlink("/etc", m_dir.path + "/link");
    const char* refused[] = {"/etc/passwd", "\\etc\\passwd", "C:\\boot.ini", "../top.txt",
                             "resource/../../x.txt", "link/passwd", "", "resource"};
    for (const char* path : refused)
        EXPECT_EQ(fs.Open(path, "rb", "GAME"), nullptr) << path;
    EXPECT_EQ(fs.Open("top.txt", "rb", "MOD"), nullptr);
    EXPECT_EQ(fs.Open("top.txt", "xb", "GAME"), nullptr);
    ASSERT_EQ(fs.OpenLog().size(), 10u);
    EXPECT_EQ(fs.OpenLog()[0].path, "/etc/passwd");
    EXPECT_FALSE(fs.OpenLog()[0].opened);
    EXPECT_TRUE(fs.OpenedPaths().empty());
    fs.ClearOpenLog();
    EXPECT_TRUE(fs.OpenLog().empty());
}

TEST_F(HostFileSystemTest, WritesAndUnknownHandles)
{
    HostFileSystem fs(m_dir.path);
    FileHandle_t file = fs.Open("new.txt", "wb", "GAME");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(fs.Write("abc", 3, file), 3);
    EXPECT_EQ(fs.Size(file), 3);
    fs.Close(file);
    int stranger = 0;
    fs.Close(&stranger); // ignored
    EXPECT_EQ(fs.Size(&stranger), -1);
    EXPECT_EQ(fs.Read(&stranger, 1, &stranger), 0);
    EXPECT_EQ(fs.Write("x", 1, &stranger), 0);
    std::ifstream in(m_dir.path + "/new.txt");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "abc");
}

TEST_F(HostFileSystemTest, ModulesLoadByRegisteredPathOrBelowTheRoot)
{
    HostFileSystem fs(m_dir.path);
    EXPECT_EQ(fs.LoadModule("Beging.dat"), nullptr);

    fs.RegisterModulePath("Beging.dat", TEST_MODULE_PATH);
    CSysModule registered = fs.LoadModule("Beging.dat");
    ASSERT_NE(registered, nullptr);
    auto answer = reinterpret_cast<int (*)()>(dlsym(registered, "QHostFsTestModuleAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);

    std::filesystem::copy_file(TEST_MODULE_PATH, m_dir.path + "/plugin.dat");
    CSysModule below = fs.LoadModule("plugin.dat", "GAME");
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(fs.LoadedModuleCount(), 2u);
    fs.UnloadModule(below);
    fs.UnloadModule(registered);
    fs.UnloadModule(registered); // already unloaded: ignored
    EXPECT_EQ(fs.LoadedModuleCount(), 0u);
    EXPECT_EQ(fs.LoadModule("../plugin.dat"), nullptr);
}

} // namespace
