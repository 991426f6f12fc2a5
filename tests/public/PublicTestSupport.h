// Helpers of the KeyValues and code-page tests: an in-memory file system
// with fault injection, a temporary directory, tree comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "IBaseFileSystem.h"
#include "KeyValues.h"
#include "keyvaluessystem.h"

namespace kvtest
{

inline uint64_t LiveNodes()
{
    return KeyValuesSystem()->GetStats().liveNodes;
}

// Files kept in memory by name. Records each call; can be told to fail.
class MemoryFileSystem : public IBaseFileSystem
{
public:
    struct OpenCall
    {
        std::string path;
        std::string mode;
        bool nullPathId;
        std::string pathId;
    };

    std::map<std::string, std::string> files;
    std::vector<OpenCall> opens;
    std::vector<std::string> writes; // each Write call's bytes
    int closes = 0;
    int sizeOverride = 0;      // when nonzero, Size answers this
    bool useSizeOverride = false;
    int readShortBy = 0;       // Read fills the buffer but reports this many bytes fewer
    int writeLimit = -1;       // total bytes Write accepts; -1 = no limit

    void Add(const std::string& name, const std::string& text) { files[name] = text; }

    FileHandle_t Open(const char* path, const char* mode, const char* pathId) override
    {
        opens.push_back(OpenCall{path, mode, pathId == nullptr, pathId ? pathId : ""});
        std::string name(path);
        if (mode[0] == 'w')
        {
            files[name].clear();
        }
        else if (!files.count(name))
        {
            return nullptr;
        }
        auto handle = std::make_unique<Handle>(Handle{name, 0});
        Handle* raw = handle.get();
        handles.push_back(std::move(handle));
        return raw;
    }
    void Close(FileHandle_t) override { ++closes; }
    int Read(void* output, int size, FileHandle_t file) override
    {
        Handle* h = static_cast<Handle*>(file);
        const std::string& text = files[h->name];
        int n = static_cast<int>(text.size()) - h->position;
        if (n > size)
            n = size;
        std::memcpy(output, text.data() + h->position, static_cast<size_t>(n));
        h->position += n;
        return n - readShortBy;
    }
    int Write(const void* input, int size, FileHandle_t file) override
    {
        Handle* h = static_cast<Handle*>(file);
        int n = size;
        if (writeLimit >= 0)
        {
            if (n > writeLimit)
                n = writeLimit;
            writeLimit -= n;
        }
        files[h->name].append(static_cast<const char*>(input), static_cast<size_t>(n));
        writes.emplace_back(static_cast<const char*>(input), static_cast<size_t>(n));
        return n;
    }
    int Size(FileHandle_t file) override
    {
        if (useSizeOverride)
            return sizeOverride;
        return static_cast<int>(files[static_cast<Handle*>(file)->name].size());
    }
    CSysModule LoadModule(const char*, const char*) override { return nullptr; }
    void UnloadModule(CSysModule) override {}

private:
    struct Handle
    {
        std::string name;
        int position;
    };
    std::vector<std::unique_ptr<Handle>> handles;
};

// A fresh directory below the system's temporary directory, removed after.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qkv-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        char* made = mkdtemp(buffer.data());
        path = made ? made : "";
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string path;
};

// Deletes a tree at the end of a scope.
struct TreeDeleter
{
    void operator()(KeyValues* kv) const
    {
        if (kv)
            kv->deleteThis();
    }
};
using TreePtr = std::unique_ptr<KeyValues, TreeDeleter>;

inline TreePtr Load(const std::string& text, bool escapes = false)
{
    TreePtr kv(new KeyValues("root"));
    kv->UsesEscapeSequences(escapes);
    EXPECT_TRUE(kv->LoadFromBuffer("test.txt", text.c_str()));
    return kv;
}

// Compares names, types, texts and sub-keys; peers are not compared.
inline ::testing::AssertionResult TreesEqual(KeyValues* a, KeyValues* b, const std::string& where = "")
{
    std::string here = where + "/" + (a ? a->GetName() : "?");
    if (!a || !b)
        return a == b ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << here << ": one is null";
    if (std::strcmp(a->GetName(), b->GetName()) != 0)
        return ::testing::AssertionFailure() << here << ": name " << a->GetName() << " vs " << b->GetName();
    if (a->GetDataType() != b->GetDataType())
        return ::testing::AssertionFailure() << here << ": type " << a->GetDataType() << " vs " << b->GetDataType();
    if (a->GetDataType() != KeyValues::TYPE_NONE &&
        std::string(a->GetString()) != std::string(b->GetString()))
        return ::testing::AssertionFailure() << here << ": value " << a->GetString() << " vs " << b->GetString();
    KeyValues* sa = a->GetFirstSubKey();
    KeyValues* sb = b->GetFirstSubKey();
    for (; sa && sb; sa = sa->GetNextKey(), sb = sb->GetNextKey())
    {
        ::testing::AssertionResult r = TreesEqual(sa, sb, here);
        if (!r)
            return r;
    }
    if (sa || sb)
        return ::testing::AssertionFailure() << here << ": sub-key counts differ";
    return ::testing::AssertionSuccess();
}

} // namespace kvtest
