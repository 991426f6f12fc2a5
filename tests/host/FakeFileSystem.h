// An in-memory host file system for the host's tests: files by exact path,
// every Open recorded, optionally reads that come back short.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "IBaseFileSystem.h"

class FakeFileSystem final : public IBaseFileSystem
{
public:
    struct File
    {
        std::vector<uint8_t> bytes;
        size_t pos = 0;
    };

    FileHandle_t Open(const char* path, const char* mode, const char* pathId) override
    {
        opens.push_back({path ? path : "", mode ? mode : "", pathId ? pathId : ""});
        auto it = files.find(path ? path : "");
        if (it == files.end())
            return nullptr;
        open.push_back(new File{it->second, 0});
        return open.back();
    }
    void Close(FileHandle_t file) override
    {
        auto it = std::find(open.begin(), open.end(), static_cast<File*>(file));
        if (it != open.end())
        {
            delete *it;
            open.erase(it);
        }
        ++closes;
    }
    int Read(void* output, int size, FileHandle_t handle) override
    {
        File* file = static_cast<File*>(handle);
        size_t n = std::min(size_t(size), file->bytes.size() - file->pos);
        if (shortReads && n > 0)
            --n;
        std::memcpy(output, file->bytes.data() + file->pos, n);
        file->pos += n;
        return int(n);
    }
    int Write(const void*, int, FileHandle_t) override { return 0; }
    int Size(FileHandle_t handle) override { return int(static_cast<File*>(handle)->bytes.size()); }
    CSysModule LoadModule(const char*, const char*) override { return nullptr; }
    void UnloadModule(CSysModule) override {}

    ~FakeFileSystem()
    {
        for (File* f : open)
            delete f;
    }

    struct OpenCall
    {
        std::string path, mode, pathId;
    };
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<OpenCall> opens;
    std::vector<File*> open;
    int closes = 0;
    bool shortReads = false;
};
