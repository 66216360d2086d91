#include "app/program.h"

#include <QApplication>

#include "app/desktop_id.h"
#include "app/fatal_error_message.h"
#include "app/program_end.h"
#include "app/program_path.h"
#include "app/qt_shell.h"
#include "app/termination_signals.h"
#include "search/catalogue_host.h"
#include "search/page_source.h"
#include "search/query_address.h"
#include "search/search_state.h"
#include "ui/drawn_page_source.h"
#include "ui/event_table.h"
#include "ui/event_wiring.h"
#include "ui/main_window.h"
#include "ui/qt_controls.h"

namespace pricelookup::app {

std::int32_t run_program(const ProgramHooks& hooks) {
    // The program directory becomes the working directory before anything else.
    const std::string full_path = running_program_path();
    const ProgramPath path = split_program_path(full_path);
    set_working_directory(path.directory);

    // The preview pane's web engine shares its GL contexts with the widgets; this has
    // to be said before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The program takes no command-line arguments: the toolkit sees none either.
    static std::string program_name = path.file_name;
    static char* argv[] = {program_name.data(), nullptr};
    static int argc = 1;
    QApplication application(argc, argv);
    // The program ends by its own rules, not when its last window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(desktop_id.data(), static_cast<qsizetype>(desktop_id.size())));

    QtShell shell(path);
    // The program's data starts as declared: page number 0, no first-page address.
    search::SearchState search_state;
    shell.register_exit_cleanup([&search_state, &hooks] {
        search_state.first_page_address.reset();
        if (hooks.after_exit_cleanup) hooks.after_exit_cleanup();
    });

    // Destroyed either by "刷新" during the event loop or here at the end.
    QPointer<ui::MainWindow> window;
    try {
        try {
            window = new ui::MainWindow;
        } catch (const std::exception&) {
            shell.report_fatal_error(0, main_window_not_created);
        }
    } catch (const ProgramEnd&) {
        return shell.exit_code();
    }
    shell.set_main_window(window);
    ui::QtControls controls(*window, shell);
    search::NetworkPageSource network;
    // What a search wrote before its fetch is drawn before the fetch blocks.
    ui::DrawnPageSource pages(*window, network);
    const std::string query_prefix =
        search::query_prefix(hooks.catalogue_host.value_or(std::string(search::catalogue_host)));
    ui::EventDispatcher events({controls, shell, search_state, pages, query_prefix}, shell.gate());
    ui::connect_events(*window, events);
    // SIGTERM and SIGINT close the window as its close box does: the can-be-closed
    // handler ends the program with exit code 0 after the clean-up.
    TerminationSignals termination([&window] {
        if (window) window->close();
    });

    window->place_on_screen();
    window->show();
    window->activateWindow();
    events.raise(ui::Event::window_created);
    events.raise(ui::Event::window_size_changed);
    if (hooks.before_event_loop) hooks.before_event_loop(*window, shell);

    shell.run_event_loop();
    delete window.data();
    return shell.exit_code();
}

}  // namespace pricelookup::app
