#include "app/failed_allocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace pricelookup::app {
namespace {
std::atomic<std::size_t> failed_size{0};
}

std::size_t last_failed_allocation_size() { return failed_size.load(std::memory_order_relaxed); }

}  // namespace pricelookup::app

// The global allocation functions, replaced only to remember how much was asked for
// when an allocation fails. Every plain, array and nothrow form is replaced, not only
// the one the others forward to in the standard library: a run-time that supplies
// its own forms (a memory checker's) would otherwise free with one allocator what
// the other allocated.
namespace {

void* allocate(std::size_t size) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    pricelookup::app::failed_size.store(size, std::memory_order_relaxed);
    return nullptr;
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* block = allocate(size)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
