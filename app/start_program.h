#pragma once

#include <string>

namespace pricelookup::app {

// Starts the program file at `path` as a new process: no arguments, this process's
// environment and working directory, no open files shared but the standard streams.
// Returns true once the new program is running, false when it could not be started
// (missing or not executable file, no resources). Nobody waits for the new process.
bool start_program(const std::string& path);

}  // namespace pricelookup::app
