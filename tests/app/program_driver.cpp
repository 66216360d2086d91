// The real program, driven from outside as a user would drive it. The test that
// starts it names what to do in PRICELOOKUP_DRIVER_ACTION and where to write what
// happened in PRICELOOKUP_DRIVER_REPORT (one line per fact, appended, so that an
// instance started by "刷新" reports into the same file).
//
// Actions: idle (nothing: the test types on the X server itself or sends a signal), close (the close
// box), escape (Esc in the focused control), refresh (the
// first instance chooses "刷新", the instance it starts closes), refresh-gone (the
// program file is deleted first), fatal (a run-time error with code 7), screenshot
// (PRICELOOKUP_DRIVER_SHOT gets a picture of the window in its frame, then close).

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
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

#include "app/program.h"
#include "app/program_end.h"
#include "app/program_path.h"
#include "app/qt_shell.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

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
    } else if (action == "screenshot") {
        QTimer::singleShot(1500, [&window] {
            const QRect frame = window.frameGeometry();
            QGuiApplication::primaryScreen()
                ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                .save(QString::fromStdString(environment("PRICELOOKUP_DRIVER_SHOT")));
            window.close();
        });
    }
}

}  // namespace

int main() {
    app::ProgramHooks hooks;
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
