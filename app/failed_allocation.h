#pragma once

#include <cstddef>

namespace pricelookup::app {

// The size of the last allocation that could not be had, for the fatal-error report
// of a handler that ran out of memory. The program's operator new records it before
// it throws std::bad_alloc.
std::size_t last_failed_allocation_size();

}  // namespace pricelookup::app
