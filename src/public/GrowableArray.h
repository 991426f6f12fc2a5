// A vector of trivially copyable elements over the platform allocator.
#pragma once

#include <climits>
#include <cstdint>
#include <type_traits>

#include "tier0.h"

template <typename T>
class GrowableArray
{
    static_assert(std::is_trivially_copyable<T>::value, "GrowableArray moves its elements bytewise");

public:
    // growSize 0 doubles the memory as it grows (8 elements first); a
    // positive growSize rounds each growth up to a multiple of it.
    explicit GrowableArray(int growSize = 0, int initialAllocation = 0)
        : m_memory(nullptr), m_allocationCount(0), m_growSize(growSize < 0 ? 0 : growSize), m_count(0),
          m_elements(nullptr)
    {
        if (initialAllocation > 0)
            GrowTo(initialAllocation);
    }

    // An array over the caller's memory: never grown, reallocated or freed.
    GrowableArray(T* memory, int allocationCount)
        : m_memory(memory), m_allocationCount(memory && allocationCount > 0 ? allocationCount : 0), m_growSize(-1),
          m_count(0), m_elements(memory)
    {
    }

    ~GrowableArray() { Purge(); }
    GrowableArray(const GrowableArray&) = delete;
    GrowableArray& operator=(const GrowableArray&) = delete;

    int Count() const { return m_count; }
    T& operator[](int i) { return m_memory[i]; }
    const T& operator[](int i) const { return m_memory[i]; }

    // Inserts before index (0..Count()); returns the index, or -1 when the
    // index is out of range or the memory cannot hold one more element.
    int InsertBefore(int index, const T& element)
    {
        if (index < 0 || index > m_count)
            return -1;
        if (m_count >= m_allocationCount && !GrowTo(static_cast<int64_t>(m_count) + 1))
            return -1;
        for (int i = m_count; i > index; --i)
            m_memory[i] = m_memory[i - 1];
        m_memory[index] = element;
        ++m_count;
        return index;
    }

    int AddToTail(const T& element) { return InsertBefore(m_count, element); }

    void RemoveAll() { m_count = 0; }

    void Purge()
    {
        RemoveAll();
        if (m_growSize >= 0 && m_memory)
        {
            g_pMemAlloc->Free(m_memory, __FILE__, __LINE__);
            m_memory = nullptr;
            m_elements = nullptr;
            m_allocationCount = 0;
        }
    }

private:
    bool GrowTo(int64_t needed)
    {
        if (m_growSize < 0)
            return false;
        const int64_t limit = INT_MAX / static_cast<int64_t>(sizeof(T));
        if (needed > limit)
            return false;
        int64_t count;
        if (m_growSize > 0)
        {
            count = (needed + m_growSize - 1) / m_growSize * m_growSize;
        }
        else
        {
            count = m_allocationCount > 0 ? m_allocationCount : 8;
            while (count < needed)
                count *= 2;
        }
        if (count > limit)
            count = limit;
        void* memory = g_pMemAlloc->Realloc(m_memory, static_cast<size_t>(count) * sizeof(T), __FILE__, __LINE__);
        if (!memory)
            return false;
        m_memory = static_cast<T*>(memory);
        m_elements = m_memory;
        m_allocationCount = static_cast<int>(count);
        return true;
    }

    T* m_memory;
    int m_allocationCount;
    int m_growSize; // negative: the memory is not owned
    int m_count;
    T* m_elements; // equal to m_memory, for inspection in a debugger
};
