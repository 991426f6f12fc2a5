// Reads arbitrary bytes as KeyValues text, with includes served from memory,
// then reads every value through the getters, copies the tree and writes it
// with both writers, and reads the written file back.
//
// Input: one byte of options, then NUL-separated texts: the main text and
// the files "a.txt", "sub/b.txt" and "sub/c.txt" (in that order) that it
// may include.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "IBaseFileSystem.h"
#include "KeyValues.h"
#include "utlbuffer.h"

namespace
{

class MemoryFileSystem : public IBaseFileSystem
{
public:
    std::map<std::string, std::string> files;

    FileHandle_t Open(const char* path, const char* mode, const char*) override
    {
        std::string name(path);
        if (mode[0] == 'w')
            files[name].clear();
        else if (!files.count(name))
            return nullptr;
        handles.push_back(std::make_unique<Handle>(Handle{name, 0}));
        return handles.back().get();
    }
    void Close(FileHandle_t) override {}
    int Read(void* output, int size, FileHandle_t file) override
    {
        Handle* h = static_cast<Handle*>(file);
        const std::string& text = files[h->name];
        size_t n = text.size() - h->position;
        if (n > static_cast<size_t>(size))
            n = static_cast<size_t>(size);
        std::memcpy(output, text.data() + h->position, n);
        h->position += n;
        return static_cast<int>(n);
    }
    int Write(const void* input, int size, FileHandle_t file) override
    {
        files[static_cast<Handle*>(file)->name].append(static_cast<const char*>(input), static_cast<size_t>(size));
        return size;
    }
    int Size(FileHandle_t file) override { return static_cast<int>(files[static_cast<Handle*>(file)->name].size()); }
    CSysModule LoadModule(const char*, const char*) override { return nullptr; }
    void UnloadModule(CSysModule) override {}

private:
    struct Handle
    {
        std::string name;
        size_t position;
    };
    std::vector<std::unique_ptr<Handle>> handles;
};

void ReadEveryValue(KeyValues* root)
{
    std::vector<KeyValues*> pending;
    for (KeyValues* peer = root; peer; peer = peer->GetNextKey())
        pending.push_back(peer);
    while (!pending.empty())
    {
        KeyValues* node = pending.back();
        pending.pop_back();
        for (KeyValues* sub = node->GetFirstSubKey(); sub; sub = sub->GetNextKey())
            pending.push_back(sub);
        (void)node->GetInt();
        (void)node->GetFloat();
        (void)node->GetPtr();
        (void)node->IsEmpty();
        (void)node->GetString();
        (void)node->GetWString();
        (void)node->FindKey(node->GetName());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t options = data[0];
    std::vector<std::string> texts(1);
    for (size_t i = 1; i < size; ++i)
    {
        if (data[i] == 0)
            texts.emplace_back();
        else
            texts.back() += static_cast<char>(data[i]);
    }
    MemoryFileSystem fs;
    const char* names[] = {"dir/main.txt", "dir/a.txt", "dir/sub/b.txt", "dir/sub/c.txt"};
    for (size_t i = 0; i < texts.size() && i < 4; ++i)
        fs.files[names[i]] = texts[i];

    KeyValues* kv = new KeyValues("root");
    kv->UsesEscapeSequences(options & 1);
    bool loaded = (options & 2) ? kv->LoadFromFile(&fs, "dir/main.txt", "GAME")
                                : kv->LoadFromBuffer("dir/main.txt", texts[0].c_str(), &fs, "GAME");

    if (options & 4)
    {
        KeyValues* copy = kv->MakeCopy();
        copy->deleteThis();
    }
    CUtlBuffer buffer(0, 0, (options & 8) ? CUtlBuffer::TEXT_BUFFER : 0);
    kv->RecursiveSaveToFile(buffer, options >> 6);
    if (!kv->SaveToFile(&fs, "out.txt", "GAME"))
        __builtin_trap();

    // What was written reads back. (Names holding quotes or braces are
    // written as they are and may read back differently, so the result is
    // not compared.)
    KeyValues* back = new KeyValues("back");
    back->UsesEscapeSequences(options & 1);
    if (loaded)
        back->LoadFromFile(&fs, "out.txt", "GAME");
    ReadEveryValue(kv);
    back->deleteThis();
    kv->deleteThis();
    return 0;
}
