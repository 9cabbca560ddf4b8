// Replaces the global allocation functions of the executable: every form of
// new counts a block, every form of delete uncounts it.
#include "tests/support/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long long> live{0};
std::atomic<long long> made{0};

void* Allocate(std::size_t size) noexcept
{
    void* block = std::malloc(size ? size : 1);
    if (block) {
        ++live;
        ++made;
    }
    return block;
}

void Free(void* block) noexcept
{
    if (!block)
        return;
    --live;
    std::free(block);
}

} // namespace

long long LiveAllocations() { return live.load(); }
long long AllocationsMade() { return made.load(); }

void* operator new(std::size_t size)
{
    if (void* block = Allocate(size))
        return block;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { Free(block); }
void operator delete[](void* block) noexcept { Free(block); }
void operator delete(void* block, std::size_t) noexcept { Free(block); }
void operator delete[](void* block, std::size_t) noexcept { Free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Free(block); }
