#pragma once

// A program shell that records what the handlers ask of it instead of starting
// processes or ending this one.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/program_end.h"
#include "app/shell.h"

namespace pricelookup::testing {

class FakeShell final : public app::Shell {
public:
    std::string program_directory() const override { return directory; }
    std::string program_file_name() const override { return file_name; }
    bool start_program(const std::string& path) override {
        started.push_back(path);
        return start_succeeds;
    }
    void destroy_window() override { ++destroy_requests; }
    [[noreturn]] void end_program(std::int32_t exit_code) override {
        ended_with = exit_code;
        throw app::ProgramEnd{exit_code};
    }
    [[noreturn]] void report_fatal_error(std::int32_t code, std::string_view message) override {
        fatal_errors.emplace_back(code, std::string(message));
        ended_with = app::exit_fatal;
        throw app::ProgramEnd{app::exit_fatal};
    }
    bool has_ended() const override { return ended_with.has_value(); }

    std::string directory = "/opt/pricelookup";
    std::string file_name = "pricelookup";
    bool start_succeeds = true;

    std::vector<std::string> started;
    int destroy_requests = 0;
    std::optional<std::int32_t> ended_with;
    std::vector<std::pair<std::int32_t, std::string>> fatal_errors;
};

}  // namespace pricelookup::testing
