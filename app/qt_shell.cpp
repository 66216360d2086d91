#include "app/qt_shell.h"

#include <QApplication>
#include <QMessageBox>

#include "app/fatal_error_message.h"
#include "app/program_end.h"
#include "app/start_program.h"
#include "ui/qt_text.h"

namespace pricelookup::app {

QtShell::QtShell(ProgramPath path) : m_path(std::move(path)) {}

bool QtShell::start_program(const std::string& path) { return app::start_program(path); }

void QtShell::destroy_window() {
    if (m_window) m_window->deleteLater();
}

void QtShell::register_exit_cleanup(std::function<void()> routine) {
    m_exit_cleanup = std::move(routine);
}

void QtShell::set_main_window(QWidget* window) {
    m_window = window;
    QObject::connect(window, &QObject::destroyed, [this] {
        // The last window is gone: the event loop ends, and with it the program.
        if (m_event_loop_running) QCoreApplication::exit(exit_normal);
    });
}

void QtShell::shut_down(std::int32_t exit_code) {
    m_gate.raise();
    if (m_exit_cleanup) {
        auto routine = std::move(m_exit_cleanup);
        m_exit_cleanup = nullptr;  // forgotten after its single run
        routine();
    }
    m_ended = true;
    m_exit_code = exit_code;
}

void QtShell::leave_event_loop() {
    // Only a running loop is told to end: the toolkit remembers an exit asked for
    // outside any loop and would cut short every loop after it, a message box's too.
    if (m_event_loop_running) QCoreApplication::exit(m_exit_code);
}

void QtShell::end_program(std::int32_t exit_code) {
    if (!m_ended) shut_down(exit_code);
    leave_event_loop();
    throw ProgramEnd{m_exit_code};
}

void QtShell::report_fatal_error(std::int32_t code, std::string_view message) {
    m_gate.raise();
    if (m_ended) throw ProgramEnd{m_exit_code};
    m_ended = true;

    // The text keeps its CR LF line ends; the toolkit breaks lines at LF alone.
    QString text = ui::to_qstring(fatal_error_message(code, message));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::Critical, ui::to_qstring(fatal_error_caption), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();  // the gate is raised: no handler runs meanwhile

    m_exit_cleanup = nullptr;  // forgotten without running
    m_exit_code = exit_fatal;
    leave_event_loop();
    throw ProgramEnd{exit_fatal};
}

std::int32_t QtShell::run_event_loop() {
    if (m_window && !m_ended) {
        m_event_loop_running = true;
        QApplication::exec();
        m_event_loop_running = false;
    }
    if (!m_ended) shut_down(exit_normal);
    return m_exit_code;
}

}  // namespace pricelookup::app
