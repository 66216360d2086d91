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
// when an allocation fails. The array and nothrow forms of the library forward here.
void* operator new(std::size_t size) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    pricelookup::app::failed_size.store(size, std::memory_order_relaxed);
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
