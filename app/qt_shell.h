#pragma once

// The program's life cycle on the toolkit: the event gate, the exit clean-up routine,
// the event loop and the three ways the program ends.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "app/event_gate.h"
#include "app/program_path.h"
#include "app/shell.h"

namespace pricelookup::app {

class QtShell final : public Shell {
public:
    explicit QtShell(ProgramPath path);

    std::string program_directory() const override { return m_path.directory; }
    std::string program_file_name() const override { return m_path.file_name; }
    bool start_program(const std::string& path) override;
    void destroy_window() override;
    [[noreturn]] void end_program(std::int32_t exit_code) override;
    [[noreturn]] void report_fatal_error(std::int32_t code, std::string_view message) override;
    bool has_ended() const override { return m_ended; }

    const EventGate& gate() const { return m_gate; }

    // The routine the shutdown sequence runs once; a fatal error forgets it unrun.
    void register_exit_cleanup(std::function<void()> routine);

    // The main window. Once the event loop runs, its destruction ends the loop.
    void set_main_window(QWidget* window);

    // Runs the event loop while the main window exists, then the shutdown sequence
    // unless the program has already ended; gives the exit code.
    std::int32_t run_event_loop();

    std::int32_t exit_code() const { return m_exit_code; }

private:
    void shut_down(std::int32_t exit_code);
    void leave_event_loop();

    ProgramPath m_path;
    EventGate m_gate;
    std::function<void()> m_exit_cleanup;
    QPointer<QWidget> m_window;
    bool m_event_loop_running = false;
    bool m_ended = false;
    std::int32_t m_exit_code = exit_normal;
};

}  // namespace pricelookup::app
