// The KeyValues text format: the writers, to a file and to a buffer.

#include <cstring>
#include <string>

#include "KeyValues.h"
#include "KeyValuesInternal.h"
#include "codepage.h"
#include "directory.h"
#include "strtools.h"
#include "utlbuffer.h"

namespace
{

using kvtext::IsAbsoluteName;
using kvtext::IsSeparator;

bool HasParentPiece(const std::string& path)
{
    size_t start = 0;
    while (start <= path.size())
    {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        if (path.compare(start, end - start, "..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// Creates the directories leading to a file, relative to the current
// directory. Absolute paths and paths with ".." pieces are left alone.
void CreateMissingDirectories(const char* resourceName)
{
    std::string path(resourceName);
    if (path.empty() || IsAbsoluteName(path.c_str()) || HasParentPiece(path))
        return;
    for (size_t i = 1; i < path.size(); ++i)
    {
        if (IsSeparator(path[i]) && !IsSeparator(path[i - 1]))
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

} // namespace

bool KeyValues::SaveToFile(IBaseFileSystem* fileSystem, const char* resourceName, const char* pathId)
{
    if (!fileSystem || !resourceName)
        return false;
    FileHandle_t file = fileSystem->Open(resourceName, "wb", pathId);
    if (!file)
    {
        CreateMissingDirectories(resourceName);
        file = fileSystem->Open(resourceName, "wb", pathId);
    }
    if (!file)
        return false;
    bool written = RecursiveSaveToFile(fileSystem, file, 0);
    fileSystem->Close(file);
    return written;
}

namespace
{

// One Write of a whole piece; false when it falls short.
bool WritePiece(IBaseFileSystem* fileSystem, FileHandle_t file, const char* text, size_t length)
{
    if (length > 0x7FFFFFFF)
        return false;
    return fileSystem->Write(text, static_cast<int>(length), file) == static_cast<int>(length);
}

bool WriteText(IBaseFileSystem* fileSystem, FileHandle_t file, const char* text)
{
    return WritePiece(fileSystem, file, text, std::strlen(text));
}

} // namespace

bool KeyValues::WriteIndents(IBaseFileSystem* fileSystem, FileHandle_t file, int indentLevel)
{
    bool ok = true;
    for (int i = 0; i < indentLevel; ++i)
        ok = WritePiece(fileSystem, file, "\t", 1) && ok;
    return ok;
}

bool KeyValues::WriteConvertedString(IBaseFileSystem* fileSystem, FileHandle_t file, const char* text)
{
    std::string escaped;
    escaped.reserve(std::strlen(text) + 8);
    for (const char* p = text; *p; ++p)
    {
        if (*p == '"')
            escaped += '\\';
        escaped += *p;
    }
    return WritePiece(fileSystem, file, escaped.data(), escaped.size());
}

bool KeyValues::RecursiveSaveToFile(IBaseFileSystem* fileSystem, FileHandle_t file, int indentLevel)
{
    bool ok = WriteIndents(fileSystem, file, indentLevel);
    ok = WriteText(fileSystem, file, "\"") && ok;
    ok = WriteText(fileSystem, file, GetName()) && ok;
    ok = WriteText(fileSystem, file, "\"\n") && ok;
    ok = WriteIndents(fileSystem, file, indentLevel) && ok;
    ok = WriteText(fileSystem, file, "{\n") && ok;

    for (KeyValues* sub = m_pSub; sub; sub = sub->m_pPeer)
    {
        if (sub->m_pSub)
        {
            ok = sub->RecursiveSaveToFile(fileSystem, file, indentLevel + 1) && ok;
            continue;
        }
        // The value as written: escaped text, or a number as it is.
        std::string value;
        bool escape = true;
        switch (sub->m_iDataType)
        {
        case TYPE_STRING:
            if (!sub->m_sValue || !*sub->m_sValue)
                continue;
            value = sub->m_sValue;
            break;
        case TYPE_WSTRING:
        {
            if (!sub->m_wsValue)
                continue;
            int size = WideCharToMultiByte(CP_UTF8, 0, sub->m_wsValue, -1, nullptr, 0, nullptr, nullptr);
            if (size <= 0)
                continue;
            value.resize(static_cast<size_t>(size));
            if (!WideCharToMultiByte(CP_UTF8, 0, sub->m_wsValue, -1, &value[0], size, nullptr, nullptr))
                continue;
            value.resize(static_cast<size_t>(size) - 1);
            break;
        }
        case TYPE_INT:
        {
            char number[32];
            StrSnprintf(number, sizeof(number), "%d", sub->m_iValue);
            value = number;
            escape = false;
            break;
        }
        case TYPE_FLOAT:
        {
            char number[64];
            StrSnprintf(number, sizeof(number), "%f", static_cast<double>(sub->m_flValue));
            value = number;
            escape = false;
            break;
        }
        default: // pointers, colours and empty keys are not written
            continue;
        }
        ok = WriteIndents(fileSystem, file, indentLevel + 1) && ok;
        ok = WriteText(fileSystem, file, "\"") && ok;
        ok = WriteText(fileSystem, file, sub->GetName()) && ok;
        ok = WriteText(fileSystem, file, "\"\t\t\"") && ok;
        if (escape)
            ok = WriteConvertedString(fileSystem, file, value.c_str()) && ok;
        else
            ok = WritePiece(fileSystem, file, value.data(), value.size()) && ok;
        ok = WriteText(fileSystem, file, "\"\n") && ok;
    }

    ok = WriteIndents(fileSystem, file, indentLevel) && ok;
    ok = WriteText(fileSystem, file, "}\n") && ok;
    return ok;
}

void KeyValues::WriteIndents(CUtlBuffer& buffer, int indentLevel)
{
    for (int i = 0; i < indentLevel; ++i)
        buffer.Printf("\t");
}

void KeyValues::RecursiveSaveToFile(CUtlBuffer& buffer, int indentLevel)
{
    WriteIndents(buffer, indentLevel);
    buffer.Printf("\"%s\"\n", GetName());
    WriteIndents(buffer, indentLevel);
    buffer.Printf("{\n");
    for (KeyValues* sub = m_pSub; sub; sub = sub->m_pPeer)
    {
        if (sub->m_pSub)
        {
            sub->RecursiveSaveToFile(buffer, indentLevel + 1);
        }
        else if (sub->m_sValue && *sub->m_sValue)
        {
            WriteIndents(buffer, indentLevel + 1);
            buffer.Printf("\"%s\"\t\t\"%s\"\n", sub->GetName(), sub->m_sValue);
        }
    }
    WriteIndents(buffer, indentLevel);
    buffer.Printf("}\n");
}
