#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// An allocator for the large arrays of a run (brightness planes of millions of pixels): blocks
// of a megabyte or more are aligned to 2 MB and offered to the kernel as huge pages, so that
// touching them costs a few page faults instead of one per 4 KB page, which on some virtual
// machines is a large part of a short run. Smaller blocks come from the usual heap.
// Elements that resize() adds are left uninitialised, as for new T: the arrays are written
// whole before they are read, and zeroing them first would touch every page twice.
template <typename T>
class LargePageAllocator {
public:
    using value_type = T;

    LargePageAllocator() = default;
    template <typename U>
    LargePageAllocator(const LargePageAllocator<U>&) {}

    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < largeBlock)
            return std::allocator<T>().allocate(n);
        const std::size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
        void* block = std::aligned_alloc(hugePage, rounded);
        if (block == nullptr)
            throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
        madvise(block, rounded, MADV_HUGEPAGE);
#endif
        return static_cast<T*>(block);
    }

    void deallocate(T* p, std::size_t n) {
        if (n * sizeof(T) < largeBlock)
            std::allocator<T>().deallocate(p, n);
        else
            std::free(p);
    }

    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    template <typename U>
    bool operator==(const LargePageAllocator<U>&) const {
        return true;
    }
    template <typename U>
    bool operator!=(const LargePageAllocator<U>&) const {
        return false;
    }

private:
    static constexpr std::size_t hugePage = std::size_t{2} << 20;
    static constexpr std::size_t largeBlock = std::size_t{1} << 20;
};
