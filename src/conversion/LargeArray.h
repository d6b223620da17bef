#pragma once

// An uninitialised array for the reader's big per-file storage (millions of events for a large
// song). Where the system offers huge pages they are asked for, so filling the array costs a
// fraction of the page faults; elsewhere it is plain heap memory.

#include <cstddef>
#include <memory>
#include <type_traits>

namespace korvana {

void* AllocateLarge(std::size_t bytes);  // nullptr when the memory is not there
void FreeLarge(void* memory);

template <class T>
class LargeArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    // Replaces the contents with count uninitialised elements; false when out of memory.
    bool Allocate(std::size_t count) {
        m_memory.reset(count ? static_cast<T*>(AllocateLarge(count * sizeof(T))) : nullptr);
        m_nSize = m_memory || !count ? count : 0;
        return m_nSize == count;
    }
    void Free() { Allocate(0); }
    T* Data() const { return m_memory.get(); }
    std::size_t Size() const { return m_nSize; }

private:
    struct Release {
        void operator()(T* memory) const { FreeLarge(memory); }
    };
    std::unique_ptr<T[], Release> m_memory;
    std::size_t m_nSize = 0;
};

}  // namespace korvana
