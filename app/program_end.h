#pragma once

// Thrown by the operations that end the program (end_program, report_fatal_error)
// once the end is under way, so that the handler that called them stops where it is.
// The event dispatcher and the start-up routine catch it; the process then ends by
// leaving the event loop and returning from main. Deliberately not a std::exception,
// so that no handler's catch-all for errors swallows it.

#include <cstdint>

namespace pricelookup::app {

struct ProgramEnd {
    std::int32_t exit_code;
};

}  // namespace pricelookup::app
