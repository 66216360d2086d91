#pragma once

#include <string>

namespace pricelookup::app {

// Starts the program file at `path` as a new, independent process: no arguments,
// this process's environment and working directory, a session of its own (ending
// this process or its process group leaves it running), standard input, output and
// error on /dev/null and no other open file shared.
// Returns true once the new program is running, false when it could not be started
// (missing or not executable file, no resources). Nobody waits for the new process.
bool start_program(const std::string& path);

}  // namespace pricelookup::app
