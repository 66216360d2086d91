#pragma once

// The program from start to end: start-up, the event loop and shutdown.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace pricelookup::ui {
class MainWindow;
}

namespace pricelookup::app {

class QtShell;

// Ways to watch and drive a running program from the outside; the program itself
// passes none. The tests use them to act as a user would and to see how it ends.
struct ProgramHooks {
    // After the created and size-changed events, right before the event loop.
    std::function<void(ui::MainWindow&, QtShell&)> before_event_loop;
    // Right after the exit clean-up routine has run.
    std::function<void()> after_exit_cleanup;
    // Searches this host ("127.0.0.1:port") instead of the one the build names, so
    // that tests can point the program at a catalogue of their own.
    std::optional<std::string> catalogue_host;
};

// Runs the program and gives its exit code: 0 after the window was closed or after
// "刷新", -1 after a fatal error.
std::int32_t run_program(const ProgramHooks& hooks = {});

}  // namespace pricelookup::app
