// The KeyValues text format: the reader and its include handling.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "GrowableArray.h"
#include "KeyValues.h"
#include "KeyValuesInternal.h"
#include "keyvaluessystem.h"
#include "strtools.h"
#include "tier0.h"

namespace
{

// The process-wide token buffer: each token is copied out (as a symbol or a
// value copy) before the next one is read.
char s_token[KeyValues::MAX_TOKEN_LENGTH + 1];

// Byte classes of the tokenizer, one table lookup per byte.
enum : uint8_t
{
    ENDS_BARE = 1,       // NUL, white space (1 to 32), the double quote, the braces
    ENDS_QUOTED = 2,     // NUL and the double quote
    ENDS_ESCAPED = 4,    // NUL, the double quote and the backslash
};

struct ByteClasses
{
    uint8_t of[256];
    constexpr ByteClasses() : of()
    {
        for (int c = 0; c <= ' '; ++c)
            of[c] |= ENDS_BARE;
        for (unsigned char c : {'"', '{', '}'})
            of[c] |= ENDS_BARE;
        for (unsigned char c : {'\0', '"'})
            of[c] |= ENDS_QUOTED | ENDS_ESCAPED;
        of[static_cast<unsigned char>('\\')] |= ENDS_ESCAPED;
    }
};
constexpr ByteClasses s_bytes;

// Appends [from, to) to the token, keeping at most MAX_TOKEN_LENGTH bytes.
inline void KeepTokenBytes(const unsigned char* from, const unsigned char* to, size_t& length)
{
    const size_t room = KeyValues::MAX_TOKEN_LENGTH - length;
    size_t n = static_cast<size_t>(to - from);
    if (n > room)
        n = room;
    std::memcpy(s_token + length, from, n);
    length += n;
}

// One token as read: its bytes (at most MAX_TOKEN_LENGTH) in the text itself
// or, when escapes were decoded, in s_token; not terminated.
struct TokenView
{
    const char* text;
    size_t length;
    bool quoted;
};

// Reads one token. Returns false at the end of the text (also inside a
// quoted token or a comment). Bytes 1 to 32 are white space.
bool ReadTokenView(const char*& cursor, bool escapes, TokenView& token)
{
    token.quoted = false;
    token.length = 0;
    if (!cursor)
        return false;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(cursor);
    for (;;)
    {
        while (*p && *p <= ' ')
            ++p;
        if (!*p)
        {
            cursor = reinterpret_cast<const char*>(p);
            return false;
        }
        if (p[0] != '/' || p[1] != '/')
            break;
        while (*p && *p != '\n')
            ++p;
        if (!*p)
        {
            cursor = reinterpret_cast<const char*>(p);
            return false;
        }
        ++p;
    }

    const size_t limit = KeyValues::MAX_TOKEN_LENGTH;
    const unsigned char* run = p;
    if (*p == '"')
    {
        token.quoted = true;
        run = ++p;
        const uint8_t stop = escapes ? ENDS_ESCAPED : ENDS_QUOTED;
        while (!(s_bytes.of[*p] & stop))
            ++p;
        if (*p == '"')
        {
            token.text = reinterpret_cast<const char*>(run);
            token.length = std::min(static_cast<size_t>(p - run), limit);
            cursor = reinterpret_cast<const char*>(p + 1);
            return true;
        }
        // A backslash (escapes on) or the end of the text: the token is
        // decoded into s_token.
        size_t length = 0;
        for (;;)
        {
            KeepTokenBytes(run, p, length);
            const unsigned char c = *p;
            if (!c)
            {
                cursor = reinterpret_cast<const char*>(p);
                return false;
            }
            ++p;
            if (c == '"')
                break;
            const unsigned char next = *p;
            if (!next)
            {
                cursor = reinterpret_cast<const char*>(p);
                return false;
            }
            ++p;
            const unsigned char decoded = next == 'n' ? '\n' : next == 't' ? '\t' : next;
            KeepTokenBytes(&decoded, &decoded + 1, length);
            run = p;
            while (!(s_bytes.of[*p] & stop))
                ++p;
        }
        token.text = s_token;
        token.length = length;
        cursor = reinterpret_cast<const char*>(p);
        return true;
    }
    if (*p == '{' || *p == '}')
        ++p;
    else
        while (!(s_bytes.of[*p] & ENDS_BARE))
            ++p;
    token.text = reinterpret_cast<const char*>(run);
    token.length = std::min(static_cast<size_t>(p - run), limit);
    cursor = reinterpret_cast<const char*>(p);
    return true;
}

// Reads one token into s_token, terminated.
bool ReadTokenRaw(const char*& cursor, bool escapes, bool& quoted, size_t& length)
{
    TokenView token;
    const bool read = ReadTokenView(cursor, escapes, token);
    quoted = token.quoted;
    length = token.length;
    if (read && token.text != s_token)
        std::memcpy(s_token, token.text, length);
    s_token[length] = '\0';
    return read;
}

// The symbols of recently read key names, so that a name met again is not
// looked up in the key-values system. Symbols are never taken back, so an
// entry stays right for the life of the process.
class SymbolCache
{
public:
    static const size_t ENTRIES = 512;
    static const size_t NAME_BYTES = 28;  // longer names are looked up every time

    // The symbol of a token's text.
    HKeySymbol symbolFor(const TokenView& token)
    {
        const char* name = token.text;
        const size_t length = token.length;
        if (length >= NAME_BYTES)
            return lookUp(token);
        const uint32_t hash = Hash(name, length);
        Entry& e = m_entries[hash & (ENTRIES - 1)];
        if (e.symbol != INVALID_KEY_SYMBOL && e.hash == hash && e.length == length &&
            std::memcmp(e.name, name, length) == 0)
            return e.symbol;
        const HKeySymbol symbol = lookUp(token);
        e.hash = hash;
        e.length = static_cast<uint32_t>(length);
        e.symbol = symbol;
        std::memcpy(e.name, name, length);
        return symbol;
    }

private:
    // A hash of a short name from a few word loads inside it: the first and
    // last eight bytes (four, or single bytes, for shorter names) and, for
    // names longer than 16 bytes, the eight after the first.
    static uint32_t Hash(const char* name, size_t length)
    {
        uint64_t a = 0;
        uint64_t b = 0;
        if (length >= 8)
        {
            std::memcpy(&a, name, 8);
            std::memcpy(&b, name + length - 8, 8);
            if (length > 16)
            {
                uint64_t middle;
                std::memcpy(&middle, name + 8, 8);
                a ^= (middle << 29) | (middle >> 35);
            }
        }
        else if (length >= 4)
        {
            uint32_t first, last;
            std::memcpy(&first, name, 4);
            std::memcpy(&last, name + length - 4, 4);
            a = first;
            b = last;
        }
        else if (length > 0)
        {
            a = static_cast<unsigned char>(name[0]) | static_cast<unsigned char>(name[length / 2]) << 8 |
                static_cast<unsigned char>(name[length - 1]) << 16;
        }
        uint64_t h = (a * 0x9E3779B97F4A7C15ull) ^ (b * 0xC2B2AE3D27D4EB4Full) ^ length;
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        return static_cast<uint32_t>(h >> 32);
    }

    static HKeySymbol lookUp(const TokenView& token)
    {
        if (token.text != s_token)
            std::memcpy(s_token, token.text, token.length);
        s_token[token.length] = '\0';
        return KeyValuesSystem()->SymbolForName(s_token);
    }

    struct Entry
    {
        uint32_t hash = 0;
        uint32_t length = 0;
        HKeySymbol symbol = INVALID_KEY_SYMBOL;
        char name[NAME_BYTES];
    };
    Entry m_entries[ENTRIES];
};

SymbolCache& NameSymbols()
{
    static SymbolCache* cache = new SymbolCache;
    return *cache;
}

bool IsBrace(const TokenView& token, char brace)
{
    return !token.quoted && token.length == 1 && token.text[0] == brace;
}

bool EqualsIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
    {
        char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a + 32) : *a;
        char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b + 32) : *b;
        if (ca != cb)
            return false;
    }
    return *a == *b;
}

using kvtext::IsAbsoluteName;
using kvtext::IsSeparator;

// A resource name with '\' and '/' alike, "." pieces dropped and ".." pieces
// folded, for telling whether a file is already being loaded.
std::string NormalizedName(const char* name)
{
    std::vector<std::string> pieces;
    std::string piece;
    for (const char* p = name;; ++p)
    {
        if (*p && !IsSeparator(*p))
        {
            piece += *p;
            continue;
        }
        if (piece == "..")
        {
            if (!pieces.empty() && pieces.back() != "..")
                pieces.pop_back();
            else
                pieces.push_back(piece);
        }
        else if (!piece.empty() && piece != ".")
        {
            pieces.push_back(piece);
        }
        piece.clear();
        if (!*p)
            break;
    }
    std::string result;
    for (const std::string& p : pieces)
    {
        if (!result.empty())
            result += '/';
        result += p;
    }
    return result;
}

// The resources being loaded, outermost first. An include of one of them
// would load it again without end and is refused.
std::vector<std::string>& LoadingResources()
{
    static std::vector<std::string>* loading = new std::vector<std::string>;
    return *loading;
}

// The loads under way (an include nests a load in the one reading it) and
// the "#include" files read since the outermost one began.
struct LoadCount
{
    int nested = 0;
    int includes = 0;
};

LoadCount& CurrentLoad()
{
    static LoadCount count;
    return count;
}

class LoadingScope
{
public:
    explicit LoadingScope(const char* resourceName) : m_pushed(resourceName != nullptr)
    {
        if (CurrentLoad().nested++ == 0)
            CurrentLoad().includes = 0;
        if (m_pushed)
            LoadingResources().push_back(NormalizedName(resourceName));
    }
    ~LoadingScope()
    {
        --CurrentLoad().nested;
        if (m_pushed)
            LoadingResources().pop_back();
    }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    bool m_pushed;
};

bool IsBeingLoaded(const char* resourceName)
{
    std::string name = NormalizedName(resourceName);
    for (const std::string& loading : LoadingResources())
        if (loading == name)
            return true;
    return false;
}


} // namespace

// ---------------------------------------------------------------------------
// Reader

const char* KeyValues::ReadToken(const char*& buffer, bool& wasQuoted)
{
    size_t length;
    return ReadTokenRaw(buffer, m_bHasEscapeSequences, wasQuoted, length) ? s_token : nullptr;
}

void KeyValues::StoreValueText(const char* text, size_t length)
{
    char* copy = static_cast<char*>(g_pMemAlloc->Alloc(length + 1, __FILE__, __LINE__));
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    if (m_sValue || m_wsValue)
        FreeStrings();
    m_sValue = copy;
    int intValue = 0;
    float floatValue = 0.0f;
    // Only a text that starts with white space, a sign, a point or a digit
    // can be a number.
    const unsigned char first = static_cast<unsigned char>(copy[0]);
    const bool numeric = (first >= '0' && first <= '9') || first == '-' || first == '+' ||
                         first == '.' || first == ' ' || (first >= '\t' && first <= '\r');
    switch (numeric ? kvtext::ClassifyValue(copy, length, &intValue, &floatValue) : kvtext::VALUE_STRING)
    {
    case kvtext::VALUE_FLOAT:
        m_flValue = floatValue;
        m_iDataType = TYPE_FLOAT;
        break;
    case kvtext::VALUE_INT:
        m_iValue = intValue;
        m_iDataType = TYPE_INT;
        break;
    default:
        m_iDataType = TYPE_STRING;
        break;
    }
}

bool KeyValues::RecursiveLoadFromBuffer(const char* resourceName, const char*& buffer)
{
    (void)resourceName;
    // Blocks are read with an explicit stack of open nodes, so a hostile
    // nesting cannot exhaust the call stack. A block that would open beyond
    // MAX_NESTING_DEPTH ends the whole parse, as the end of the text would:
    // what was read stays, and false tells the caller to read no further.
    struct OpenBlock
    {
        KeyValues* node;
        KeyValues* lastSubKey;
    };
    std::vector<OpenBlock> open;
    open.reserve(16);
    KeyValues* last = m_pSub;
    while (last && last->m_pPeer)
        last = last->m_pPeer;
    open.push_back(OpenBlock{this, last});

    TokenView token;
    while (!open.empty())
    {
        KeyValues* node = open.back().node;
        if (!ReadTokenView(buffer, node->m_bHasEscapeSequences, token) || token.length == 0 ||
            IsBrace(token, '}'))
        {
            open.pop_back();
            continue;
        }

        // A new sub-key (duplicates allowed), appended after the last one.
        KeyValues* key = new KeyValues(static_cast<const char*>(nullptr));
        key->m_iKeyName = NameSymbols().symbolFor(token);
        key->m_bHasEscapeSequences = node->m_bHasEscapeSequences;
        if (open.back().lastSubKey)
            open.back().lastSubKey->m_pPeer = key;
        else
            node->m_pSub = key;
        open.back().lastSubKey = key;

        if (!ReadTokenView(buffer, node->m_bHasEscapeSequences, token) || IsBrace(token, '}'))
        {
            open.pop_back();
            continue;
        }
        if (IsBrace(token, '{'))
        {
            if (open.size() >= static_cast<size_t>(MAX_NESTING_DEPTH))
                return false; // the key that opened it keeps no value
            open.push_back(OpenBlock{key, nullptr});
            continue;
        }
        key->StoreValueText(token.text, token.length);
    }
    return true;
}

bool KeyValues::LoadFromBuffer(const char* resourceName, const char* buffer, IBaseFileSystem* fileSystem,
                               const char* pathId)
{
    LoadingScope scope(resourceName);

    // The text is read into a staging node and joined to this tree at the
    // end.
    KeyValues* staged = new KeyValues(static_cast<const char*>(nullptr));
    staged->m_bHasEscapeSequences = m_bHasEscapeSequences;
    GrowableArray<KeyValues*> includedKeys(0, 0);
    KeyValues* current = staged;
    KeyValues* previous = nullptr;
    bool renamed = false;
    const char* cursor = buffer;
    bool quoted;
    for (;;)
    {
        const char* token = ReadToken(cursor, quoted);
        if (!token || !*token)
            break;
        if (EqualsIgnoringCase(token, "#include"))
        {
            token = ReadToken(cursor, quoted);
            if (token && *token)
                ParseIncludedKeys(resourceName, token, fileSystem, pathId, includedKeys);
            continue;
        }

        KeyValues* key;
        if (!current)
        {
            key = new KeyValues(token);
            key->m_bHasEscapeSequences = m_bHasEscapeSequences;
            previous->m_pPeer = key;
        }
        else
        {
            current->SetName(token);
            key = current;
            renamed = true;
        }
        token = ReadToken(cursor, quoted);
        const bool goOn =
            !(token && !quoted && token[0] == '{' && !token[1]) || key->RecursiveLoadFromBuffer(resourceName, cursor);
        previous = key;
        current = nullptr;
        if (!goOn)
            break; // nested too deep: the parse ends here, keeping what was read
    }

    if (renamed)
        m_iKeyName = staged->m_iKeyName;
    if (staged->m_pSub)
    {
        if (!m_pSub)
        {
            m_pSub = staged->m_pSub;
        }
        else
        {
            KeyValues* last = m_pSub;
            while (last->m_pPeer)
                last = last->m_pPeer;
            last->m_pPeer = staged->m_pSub;
        }
    }
    // New top-level peers go right after this node, ahead of any peers it
    // already had, which stay linked.
    if (KeyValues* peers = staged->m_pPeer)
    {
        KeyValues* last = peers;
        while (last->m_pPeer)
            last = last->m_pPeer;
        last->m_pPeer = m_pPeer;
        m_pPeer = peers;
    }
    staged->m_pSub = nullptr;
    staged->m_pPeer = nullptr;
    staged->deleteThis();

    AppendIncludedKeys(includedKeys);
    return true;
}

void KeyValues::ParseIncludedKeys(const char* resourceName, const char* includeName, IBaseFileSystem* fileSystem,
                                  const char* pathId, GrowableArray<KeyValues*>& includedKeys)
{
    if (!fileSystem || !includeName || !*includeName)
        return;
    // Included files are named relative to the including one; absolute
    // names are refused.
    if (IsAbsoluteName(includeName))
        return;

    std::string path(resourceName ? resourceName : "");
    const size_t directoryEnd = path.find_last_of("/\\");
    path.resize(directoryEnd == std::string::npos ? 0 : directoryEnd + 1);
    path += includeName;
    // A path that does not fit is refused: cut short, it could name another
    // file.
    if (path.size() >= static_cast<size_t>(INCLUDE_PATH_SIZE))
        return;

    // A file that is being loaded already (directly or through other
    // includes) is refused, as is a chain of includes nested too deep. One
    // load reads a bounded number of includes in all, so files that include
    // each other many times over cannot multiply the work.
    if (LoadingResources().size() >= static_cast<size_t>(MAX_INCLUDE_DEPTH) || IsBeingLoaded(path.c_str()) ||
        CurrentLoad().includes >= MAX_INCLUDES_PER_LOAD)
        return;
    ++CurrentLoad().includes;

    KeyValues* included = new KeyValues(path.c_str());
    included->m_bHasEscapeSequences = m_bHasEscapeSequences;
    if (included->LoadFromFile(fileSystem, path.c_str(), pathId) && includedKeys.AddToTail(included) >= 0)
        return;
    included->deleteThis();
}

void KeyValues::AppendIncludedKeys(GrowableArray<KeyValues*>& includedKeys)
{
    if (includedKeys.Count() == 0)
        return;
    KeyValues* last = this;
    for (int i = 0; i < includedKeys.Count(); ++i)
    {
        while (last->m_pPeer)
            last = last->m_pPeer;
        last->m_pPeer = includedKeys[i];
    }
}

bool KeyValues::LoadFromFile(IBaseFileSystem* fileSystem, const char* resourceName, const char* pathId)
{
    if (!fileSystem || !resourceName)
        return false;
    FileHandle_t file = fileSystem->Open(resourceName, "rb", pathId);
    if (!file)
        return false;
    int size = fileSystem->Size(file);
    if (size < 0)
    {
        fileSystem->Close(file);
        return false;
    }
    char* buffer = static_cast<char*>(TempBufferAlloc(static_cast<size_t>(size) + 1));
    if (!buffer)
    {
        fileSystem->Close(file);
        return false;
    }
    int read = size > 0 ? fileSystem->Read(buffer, size, file) : 0;
    if (read < 0)
        read = 0;
    if (read > size)
        read = size;
    // The text ends after the bytes actually read.
    buffer[read] = '\0';
    fileSystem->Close(file);

    bool result = LoadFromBuffer(resourceName, buffer, fileSystem, nullptr);
    TempBufferRelease();
    return result;
}
