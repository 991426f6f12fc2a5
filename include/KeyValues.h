// KeyValues: a tree of named nodes, each holding sub-keys or one typed value,
// with a text format ("name" { "key" "value" ... }, "//" comments, optional
// backslash escapes and "#include").
//
// Key names are symbols of the platform's key-values system, so look-ups
// compare integers. Nodes come from the key-values system's node memory and
// value strings from g_pMemAlloc.
//
// The class lives in the platform library, so a tree made on one side of
// the module boundary is read and destroyed on the other.
#pragma once

#include <cstddef>
#include <cstdint>

#include "IBaseFileSystem.h"
#include "platform_api.h"

class CUtlBuffer;
template <typename T>
class GrowableArray;

class QPLATFORM_API KeyValues
{
public:
    enum types_t
    {
        TYPE_NONE = 0, // no value; the node holds sub-keys (or nothing)
        TYPE_STRING,
        TYPE_INT,
        TYPE_FLOAT,
        TYPE_PTR,
        TYPE_WSTRING,
        TYPE_COLOR, // four bytes; copied by MakeCopy, skipped by the writers
        TYPE_NUMTYPES
    };

    // Limits of the text reader.
    static constexpr int MAX_TOKEN_LENGTH = 1023;  // longer tokens are cut
    static constexpr int MAX_NESTING_DEPTH = 1000; // a deeper block ends the parse
    static constexpr int MAX_INCLUDE_DEPTH = 32;   // nested "#include" files
    static constexpr int MAX_INCLUDES_PER_LOAD = 256; // "#include" files one load reads, nested ones too
    static constexpr int INCLUDE_PATH_SIZE = 512;  // longer include paths (511 bytes and more) are refused

    explicit KeyValues(const char* name);
    KeyValues(const char* name, const char* firstKey, const char* firstValue);
    KeyValues(const char* name, const char* firstKey, const char16_t* firstValue);
    KeyValues(const char* name, const char* firstKey, int firstValue);
    KeyValues(const char* name, const char* firstKey, const char* firstValue, const char* secondKey,
              const char* secondValue);
    KeyValues(const char* name, const char* firstKey, int firstValue, const char* secondKey, int secondValue);
    // Destroys the sub-keys and every following peer too.
    ~KeyValues();
    KeyValues(const KeyValues&) = delete;
    KeyValues& operator=(const KeyValues&) = delete;

    // Node memory comes from the key-values system.
    static void* operator new(size_t size);
    static void operator delete(void* memory);

    // Destroys this node, its sub-keys and its following peers.
    void deleteThis();

    // One process-wide observer, told about each node just before it is
    // destroyed (null for none): the script package follows the nodes its
    // scripts hold through it.
    typedef void (*DestroyObserver)(KeyValues* node);
    static void SetDestroyObserver(DestroyObserver observer);

    const char* GetName() const;
    void SetName(const char* name);
    int GetNameSymbol() const { return m_iKeyName; }

    // Whether the text reader decodes backslash escapes in quoted tokens of
    // this node's text.
    void UsesEscapeSequences(bool state) { m_bHasEscapeSequences = state; }
    // A tree consulted by FindKey when a name is missing here (not owned).
    void ChainKeyValue(KeyValues* chain) { m_pChain = chain; }

    // The first sub-key with that symbol, else null.
    KeyValues* FindKey(int keySymbol) const;
    // Resolves a '/'-separated path; null or "" is this node. With create,
    // missing keys are appended on the way.
    KeyValues* FindKey(const char* keyName, bool create = false);
    // Appends a sub-key named one more than the largest numeric sub-key name.
    KeyValues* CreateNewKey();
    // Appends a sub-key of that name (duplicates allowed).
    KeyValues* CreateKey(const char* keyName);
    // Unlinks a sub-key; the caller owns it afterwards.
    void RemoveSubKey(KeyValues* subKey);

    KeyValues* GetFirstSubKey() { return m_pSub; }
    KeyValues* GetNextKey() { return m_pPeer; }
    // Sets the next peer; the old one is neither freed nor relinked.
    void SetNextKey(KeyValues* peer) { m_pPeer = peer; }

    // Typed access; a null or empty key is this node. Getters never create
    // keys; setters do. GetString and GetWString store a conversion back.
    int GetDataType(const char* keyName = nullptr);
    bool IsEmpty(const char* keyName = nullptr);
    int GetInt(const char* keyName = nullptr, int defaultValue = 0);
    float GetFloat(const char* keyName = nullptr, float defaultValue = 0.0f);
    const char* GetString(const char* keyName = nullptr, const char* defaultValue = "");
    const char16_t* GetWString(const char* keyName = nullptr, const char16_t* defaultValue = u"");
    void* GetPtr(const char* keyName = nullptr, void* defaultValue = nullptr);

    void SetString(const char* keyName, const char* value);
    void SetWString(const char* keyName, const char16_t* value);
    void SetInt(const char* keyName, int value);
    void SetFloat(const char* keyName, float value);
    void SetPtr(const char* keyName, void* value);

    // A deep copy of this node and its sub-keys (not its peers, chain or
    // escape flag).
    KeyValues* MakeCopy() const;
    // Destroys the sub-keys; the type becomes TYPE_NONE.
    void Clear();

    // Text format. A file that is not read returns false and leaves the tree
    // as it was. Parsing reports no errors: a text that breaks off, or blocks
    // nested deeper than MAX_NESTING_DEPTH, end the parse with what was read
    // so far, and the load returns true.
    bool LoadFromFile(IBaseFileSystem* fileSystem, const char* resourceName, const char* pathId = nullptr);
    bool LoadFromBuffer(const char* resourceName, const char* buffer, IBaseFileSystem* fileSystem = nullptr,
                        const char* pathId = nullptr);
    // Creates missing directories when the file does not open; false when it
    // still does not open or a write falls short.
    bool SaveToFile(IBaseFileSystem* fileSystem, const char* resourceName, const char* pathId = nullptr);
    void RecursiveSaveToFile(CUtlBuffer& buffer, int indentLevel);
    bool RecursiveSaveToFile(IBaseFileSystem* fileSystem, FileHandle_t file, int indentLevel);

private:
    QPLATFORM_LOCAL void Init();
    QPLATFORM_LOCAL void RemoveEverything();
    QPLATFORM_LOCAL void FreeStrings();
    QPLATFORM_LOCAL KeyValues* FindKeyImpl(const char* keyName, bool create, int chainDepth);
    QPLATFORM_LOCAL void CopyValueTo(KeyValues* target) const;

    QPLATFORM_LOCAL const char* ReadToken(const char*& buffer, bool& wasQuoted);
    QPLATFORM_LOCAL bool RecursiveLoadFromBuffer(const char* resourceName, const char*& buffer);
    QPLATFORM_LOCAL void StoreValueText(const char* text, size_t length);
    QPLATFORM_LOCAL void ParseIncludedKeys(const char* resourceName, const char* includeName,
                                           IBaseFileSystem* fileSystem, const char* pathId,
                                           GrowableArray<KeyValues*>& includedKeys);
    QPLATFORM_LOCAL void AppendIncludedKeys(GrowableArray<KeyValues*>& includedKeys);

    QPLATFORM_LOCAL static bool WriteIndents(IBaseFileSystem* fileSystem, FileHandle_t file, int indentLevel);
    QPLATFORM_LOCAL static bool WriteConvertedString(IBaseFileSystem* fileSystem, FileHandle_t file, const char* text);
    QPLATFORM_LOCAL static void WriteIndents(CUtlBuffer& buffer, int indentLevel);

    int32_t m_iKeyName; // symbol of the name; -1 = no name
    char* m_sValue;
    char16_t* m_wsValue;
    union
    {
        int32_t m_iValue;
        float m_flValue;
        void* m_pValue;
        unsigned char m_Color[4];
    };
    int32_t m_iDataType;
    KeyValues* m_pPeer;
    KeyValues* m_pSub;
    KeyValues* m_pChain;
    bool m_bHasEscapeSequences;
};
