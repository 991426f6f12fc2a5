#include "utlbuffer.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "strtools.h"
#include "tier0.h"

CUtlBuffer::CUtlBuffer(int growSize, int initSize, int flags)
    : m_memory(nullptr), m_allocated(0), m_growSize(growSize < 0 ? 0 : growSize), m_get(0), m_put(0),
      m_error(0), m_flags(static_cast<unsigned char>(flags))
{
    if (initSize > 0)
        Grow(initSize);
}

CUtlBuffer::CUtlBuffer(void* memory, int size, int flags)
    : m_memory(static_cast<unsigned char*>(memory)), m_allocated(memory && size > 0 ? size : 0), m_growSize(-1),
      m_get(0), m_put(0), m_error(0), m_flags(static_cast<unsigned char>(flags))
{
}

CUtlBuffer::~CUtlBuffer()
{
    Purge();
}

void CUtlBuffer::Clear()
{
    m_get = 0;
    m_put = 0;
    m_error = 0;
}

void CUtlBuffer::Purge()
{
    Clear();
    if (m_growSize >= 0 && m_memory)
    {
        g_pMemAlloc->Free(m_memory);
        m_memory = nullptr;
        m_allocated = 0;
    }
}

bool CUtlBuffer::Grow(int64_t needed)
{
    if (needed > INT_MAX)
        return false;
    int64_t size;
    if (m_growSize > 0)
    {
        size = (needed + m_growSize - 1) / m_growSize * m_growSize;
    }
    else
    {
        size = m_allocated > 0 ? m_allocated : 32;
        while (size < needed)
            size *= 2;
    }
    if (size > INT_MAX)
        size = INT_MAX;
    void* memory = g_pMemAlloc->Realloc(m_memory, static_cast<size_t>(size), __FILE__, __LINE__);
    if (!memory)
        return false;
    m_memory = static_cast<unsigned char*>(memory);
    m_allocated = static_cast<int32_t>(size);
    return true;
}

bool CUtlBuffer::CheckPut(int n)
{
    if (m_error)
        return false;
    if (n < 0)
        return false;
    int64_t needed = static_cast<int64_t>(m_put) + n;
    if (needed <= m_allocated)
        return true;
    if (m_growSize < 0)
    {
        m_error |= PUT_OVERFLOW;
        return false;
    }
    if (!Grow(needed))
    {
        m_error |= PUT_OVERFLOW;
        return false;
    }
    return true;
}

void CUtlBuffer::Put(const void* bytes, int n)
{
    if (n <= 0 || !CheckPut(n))
        return;
    std::memcpy(m_memory + m_put, bytes, static_cast<size_t>(n));
    m_put += n;
}

void CUtlBuffer::VaPrintf(const char* format, va_list args)
{
    // Short lines are formatted on the stack; a longer text is formatted
    // whole on the heap rather than cut. Numbers are written with '.' as the
    // decimal point whatever the process locale.
    CNumberTextScope numbers;
    char local[2048];
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(local, sizeof(local), format, copy);
    va_end(copy);
    if (length < 0)
        return;
    const int count = length + (IsText() ? 0 : 1);
    if (length < static_cast<int>(sizeof(local)))
    {
        Put(local, count);
        return;
    }
    if (length == INT_MAX)
        return;
    char* text = static_cast<char*>(g_pMemAlloc->Alloc(static_cast<size_t>(length) + 1, __FILE__, __LINE__));
    if (!text)
        return;
    std::vsnprintf(text, static_cast<size_t>(length) + 1, format, args);
    Put(text, count);
    g_pMemAlloc->Free(text, __FILE__, __LINE__);
}

void CUtlBuffer::Printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    VaPrintf(format, args);
    va_end(args);
}
