// A growable byte buffer with a write position, used as a text sink.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "platform_api.h"

class QPLATFORM_API CUtlBuffer
{
public:
    // Mode flags.
    enum
    {
        TEXT_BUFFER = 0x1 // printed text is put without its terminating NUL
    };
    // Error flags.
    enum
    {
        PUT_OVERFLOW = 0x1 // a write did not fit memory that is not owned
    };

    // An owned buffer: growSize 0 doubles the memory as it grows, a positive
    // growSize grows it in multiples of that size.
    explicit CUtlBuffer(int growSize = 0, int initSize = 0, int flags = 0);
    // A buffer over the caller's memory: never grown, reallocated or freed.
    CUtlBuffer(void* memory, int size, int flags = 0);
    ~CUtlBuffer();
    CUtlBuffer(const CUtlBuffer&) = delete;
    CUtlBuffer& operator=(const CUtlBuffer&) = delete;

    // True when n more bytes fit at the write position (growing owned memory).
    bool CheckPut(int n);
    // Copies n bytes at the write position when they fit; otherwise nothing.
    void Put(const void* bytes, int n);
    // Formatted text; its terminating NUL is put too unless TEXT_BUFFER is set.
    void VaPrintf(const char* format, va_list args);
    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    const void* Base() const { return m_memory; }
    int TellPut() const { return m_put; }
    int Size() const { return m_allocated; }
    bool IsValid() const { return m_error == 0; }
    bool IsText() const { return (m_flags & TEXT_BUFFER) != 0; }
    bool IsExternallyAllocated() const { return m_growSize < 0; }
    unsigned char GetErrorFlags() const { return m_error; }
    // Empties the buffer and clears the error flags (memory is kept).
    void Clear();
    // Empties the buffer and frees owned memory.
    void Purge();

private:
    bool Grow(int64_t needed);

    unsigned char* m_memory;
    int32_t m_allocated;
    int32_t m_growSize; // negative: the memory is not owned
    int32_t m_get;      // read position; the operations here do not use it
    int32_t m_put;
    unsigned char m_error;
    unsigned char m_flags;
};
