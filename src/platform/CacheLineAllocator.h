#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <vector>

// An allocator for the memory a thread writes all the time while other threads run beside it:
// every block starts on a cache line and fills whole lines, so nothing else lies on its lines.
// A line that one thread writes and another reads (even another object, placed next to it by
// the heap) makes both wait for it at every access.
template <typename T>
class CacheLineAllocator {
public:
    using value_type = T;

    CacheLineAllocator() = default;
    template <typename U>
    CacheLineAllocator(const CacheLineAllocator<U>&) {}

    T* allocate(std::size_t n) {
        const std::size_t bytes = (n * sizeof(T) + line - 1) / line * line;
        void* block = std::aligned_alloc(line, bytes == 0 ? line : bytes);
        if (block == nullptr)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }

    void deallocate(T* p, std::size_t) { std::free(p); }

    template <typename U>
    bool operator==(const CacheLineAllocator<U>&) const {
        return true;
    }

private:
    static constexpr std::size_t line = 64;
};

// A thread's own working array, on cache lines of its own.
template <typename T>
using ThreadOwnVector = std::vector<T, CacheLineAllocator<T>>;
