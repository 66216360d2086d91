// The real program, driven from outside as a user would drive it. The test that
// starts it names what to do in PRICELOOKUP_DRIVER_ACTION and where to write what
// happened in PRICELOOKUP_DRIVER_REPORT (one line per fact, appended, so that an
// instance started by "刷新" reports into the same file).
//
// Actions: idle (nothing: the test types on the X server itself or sends a signal), close (the close
// box), escape (Esc in the focused control), refresh (the
// first instance chooses "刷新", the instance it starts closes), refresh-gone (the
// program file is deleted first), fatal (a run-time error with code 7), screenshot
// (PRICELOOKUP_DRIVER_SHOT gets a picture of the window in its frame, then close),
// steps (the steps of PRICELOOKUP_DRIVER_STEPS, one after another; see run_steps).
// PRICELOOKUP_DRIVER_CATALOGUE, when set, is the catalogue host searched.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/program.h"
#include "app/program_end.h"
#include "app/program_path.h"
#include "app/qt_shell.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/result_list.h"

namespace {

using namespace pricelookup;

// The keyword box, for the report of what it held when the program ended.
QPointer<QLineEdit> keyword_box;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void report(const std::string& line) {
    std::ofstream(environment("PRICELOOKUP_DRIVER_REPORT"), std::ios::app) << line << "\n";
}

int instances_reported() {
    std::ifstream in(environment("PRICELOOKUP_DRIVER_REPORT"));
    int count = 0;
    for (std::string line; std::getline(in, line);) count += line.rfind("started ", 0) == 0;
    return count;
}

std::string focus_name(const ui::MainWindow& window) {
    const QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr) return "none";
    if (focused == window.keyword_box()) return "keyword_box";
    return focused->metaObject()->className();
}

// Closes the next message box once it is open, reporting its caption, icon and text.
void answer_next_message_box() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        QTimer::singleShot(20, answer_next_message_box);
        return;
    }
    std::string text = ui::to_gbk(box->text());
    for (char& c : text) {
        if (c == '\n') c = '|';
    }
    report("box caption=" + ui::to_gbk(box->windowTitle()) + " critical=" +
           std::to_string(box->icon() == QMessageBox::Critical) + " text=" + text);
    box->button(QMessageBox::Ok)->click();
}

// One line with what the window shows: rows (their product names), status parts 0
// and 1 and whether "上一页" is in the menu.
void report_state(ui::MainWindow& window, const std::string& label) {
    const ui::ResultList& list = *window.result_list();
    std::string names;
    for (int row = 0; row < list.rowCount(); ++row) {
        names += (row == 0 ? "" : "|") + list.cell_bytes(row, 0) + "." + list.cell_bytes(row, 1);
    }
    report("state " + label + " rows=" + std::to_string(list.rowCount()) +
           " status0=" + ui::to_gbk(window.status_part(0)->text()) +
           " status1=" + ui::to_gbk(window.status_part(1)->text()) +
           " previous=" + (window.is_menu_item_hidden(ui::MenuItem::previous_page) ? "hidden" : "shown") +
           " names=" + names);
}

// Types `text` into `box` as a user does: ASCII as key presses, other characters as an
// input method commits them (Chinese is never a key of its own).
void type_into(QLineEdit* box, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(box, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(box, &commit);
        }
    }
}

void save_screenshot(const QWidget& window, const std::string& path) {
    const QRect frame = window.frameGeometry();
    QGuiApplication::primaryScreen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .save(QString::fromStdString(path));
}

// Every cell of every row, one line a row.
void report_cells(ui::MainWindow& window, const std::string& label) {
    const ui::ResultList& list = *window.result_list();
    for (int row = 0; row < list.rowCount(); ++row) {
        std::string line = "cells " + label + " " + std::to_string(row);
        for (int column = 0; column < list.columnCount(); ++column) {
            line += (column == 0 ? " " : "\t") + list.cell_bytes(row, column);
        }
        report(line);
    }
}

// Runs the steps from `index` on, each from the event loop, as a user's actions come:
//   type:TEXT      keys typed into the keyword box
//   click          the search button clicked
//   next, previous, first   the menu item chosen
//   wait:MS        nothing for MS milliseconds
//   answer:MS      the next message box is closed MS milliseconds from now
//   close-after:MS the window is closed MS milliseconds from now
//   report:LABEL   a "state LABEL ..." line
//   rows:LABEL     a "cells LABEL ROW ..." line per row, its seven cells separated by tabs
//   click-row:N    a left click on row N of the result list
//   shot:PATH      a picture of the window in its frame, as PNG
//   close          the window closed
void run_steps(ui::MainWindow& window, std::vector<std::string> steps, std::size_t index) {
    if (index >= steps.size()) return;
    const std::string step = steps[index];
    const std::size_t colon = step.find(':');
    const std::string name = step.substr(0, colon);
    const std::string argument = colon == std::string::npos ? "" : step.substr(colon + 1);
    int delay = 0;
    if (name == "type") {
        type_into(window.keyword_box(), ui::to_qstring(argument));
    } else if (name == "click") {
        window.search_button()->click();
    } else if (name == "next") {
        window.menu_action(ui::MenuItem::next_page)->trigger();
    } else if (name == "previous") {
        window.menu_action(ui::MenuItem::previous_page)->trigger();
    } else if (name == "first") {
        window.menu_action(ui::MenuItem::first_page)->trigger();
    } else if (name == "wait") {
        delay = std::stoi(argument);
    } else if (name == "answer") {
        QTimer::singleShot(std::stoi(argument), answer_next_message_box);
    } else if (name == "close-after") {
        QTimer::singleShot(std::stoi(argument), &window, [&window] { window.close(); });
    } else if (name == "report") {
        report_state(window, argument);
    } else if (name == "click-row") {
        ui::ResultList& list = *window.result_list();
        const QRect cell = list.visualRect(list.model()->index(std::stoi(argument), 1));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center());
    } else if (name == "shot") {
        save_screenshot(window, argument);
    } else if (name == "rows") {
        report_cells(window, argument);
    } else if (name == "close") {
        window.close();
        return;
    }
    QTimer::singleShot(delay, &window, [&window, steps = std::move(steps), index]() mutable {
        run_steps(window, std::move(steps), index + 1);
    });
}

std::vector<std::string> split_steps(const std::string& text) {
    std::vector<std::string> steps;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find(';', start);
        if (end != start) steps.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return steps;
}

void act(ui::MainWindow& window, app::QtShell& shell, const std::string& action) {
    if (action == "close") {
        window.close();
    } else if (action == "escape") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    } else if (action == "refresh" || action == "refresh-gone") {
        if (instances_reported() > 1) {
            window.close();  // the new instance: it started, its work is done
            return;
        }
        if (action == "refresh-gone") std::filesystem::remove(app::running_program_path());
        window.menu_action(ui::MenuItem::refresh)->trigger();
    } else if (action == "fatal") {
        QTimer::singleShot(0, answer_next_message_box);
        try {
            shell.report_fatal_error(7, "测试错误");
        } catch (const app::ProgramEnd&) {
        }
    } else if (action == "steps") {
        run_steps(window, split_steps(environment("PRICELOOKUP_DRIVER_STEPS")), 0);
    } else if (action == "screenshot") {
        QTimer::singleShot(1500, [&window] {
            save_screenshot(window, environment("PRICELOOKUP_DRIVER_SHOT"));
            window.close();
        });
    }
}

}  // namespace

int main() {
    app::ProgramHooks hooks;
    if (!environment("PRICELOOKUP_DRIVER_CATALOGUE").empty()) {
        hooks.catalogue_host = environment("PRICELOOKUP_DRIVER_CATALOGUE");
    }
    hooks.before_event_loop = [](ui::MainWindow& window, app::QtShell& shell) {
        keyword_box = window.keyword_box();
        // Wait until the window is active, as it is for a user, before acting.
        if (!QTest::qWaitForWindowActive(&window, 10000)) report("never active");
        // Where a window manager frames the window, wait for the frame to be known.
        for (int i = 0; i < 50 && window.frameGeometry() == window.geometry() &&
                        !environment("PRICELOOKUP_DRIVER_FRAMED").empty();
             ++i) {
            QTest::qWait(100);
        }
        QTest::qWait(200);
        const QRect frame = window.frameGeometry();
        const QRect client = window.geometry();
        std::ostringstream line;
        line << "started pid=" << getpid() << " focus=" << focus_name(window) << " frame=" << frame.x() << "," << frame.y() << ","
             << frame.width() << "x" << frame.height() << " client=" << client.width() << "x"
             << client.height() << " status0=" << ui::to_gbk(window.status_part(0)->text())
             << " exe=" << app::running_program_path()
             << " desktop=" << QGuiApplication::desktopFileName().toStdString()
             << " cwd=" << std::filesystem::current_path().string();  // last: it may hold spaces
        report(line.str());
        const std::string action = environment("PRICELOOKUP_DRIVER_ACTION");
        QTimer::singleShot(0, &window, [&window, &shell, action] { act(window, shell, action); });
    };
    hooks.after_exit_cleanup = [] {
        // Still there on the roads where the window is closed.
        if (keyword_box) report("cleanup keyword=" + ui::to_gbk(keyword_box->text()));
        else report("cleanup");
    };
    const int code = app::run_program(hooks);
    report("exit " + std::to_string(code));
    return code;
}
