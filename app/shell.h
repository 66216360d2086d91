#pragma once

// What the handlers may ask of the program as a whole: where its file is, starting a
// new instance, destroying the main window and ending the program.

#include <cstdint>
#include <string>
#include <string_view>

namespace pricelookup::app {

// Exit codes of the three ways the program ends.
inline constexpr std::int32_t exit_normal = 0;
inline constexpr std::int32_t exit_fatal = -1;

class Shell {
public:
    virtual ~Shell() = default;

    virtual std::string program_directory() const = 0;
    virtual std::string program_file_name() const = 0;

    // Starts the program file at `path` as a new, independent process; true when it
    // started.
    virtual bool start_program(const std::string& path) = 0;

    // Asks for the main window to be destroyed once the current handler has returned.
    virtual void destroy_window() = 0;

    // Runs the shutdown sequence and ends the program with `exit_code`. Does not
    // return: it throws ProgramEnd to leave the calling handler.
    [[noreturn]] virtual void end_program(std::int32_t exit_code) = 0;

    // Shows the run-time error box and ends the program with exit code -1, without the
    // exit clean-up. Does not return: it throws ProgramEnd.
    [[noreturn]] virtual void report_fatal_error(std::int32_t code, std::string_view message) = 0;

    // True once the program has begun to end by either road.
    virtual bool has_ended() const = 0;
};

}  // namespace pricelookup::app
