// The real program with one result row, clicked as a user would: its product name,
// GBK bytes from PRICELOOKUP_CLIPBOARD_NAME, goes on the clipboard; the box is closed
// with OK and the window with its close box, and the program ends as it does for a
// user.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <string>

#include "app/program.h"
#include "ui/main_window.h"
#include "ui/result_list.h"

namespace {

using namespace pricelookup;

void close_box_when_open(ui::MainWindow& window) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        QTimer::singleShot(20, &window, [&window] { close_box_when_open(window); });
        return;
    }
    box->button(QMessageBox::Ok)->click();
}

}  // namespace

int main() {
    const char* name = std::getenv("PRICELOOKUP_CLIPBOARD_NAME");
    const std::string product = name != nullptr ? name : "";
    app::ProgramHooks hooks;
    hooks.before_event_loop = [product](ui::MainWindow& window, app::QtShell&) {
        if (!QTest::qWaitForWindowActive(&window, 10000)) return;
        ui::ResultList& list = *window.result_list();
        list.insertRow(0);
        const std::string cells[] = {"1", product, "", "", "", "", ""};
        for (int column = 0; column < 7; ++column) list.set_cell_bytes(0, column, cells[column]);
        QTimer::singleShot(0, &window, [&window, &list] {
            close_box_when_open(window);
            const QPoint row = list.visualRect(list.model()->index(0, 1)).center();
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                              list.viewport()->mapTo(&window, row));
            window.close();
        });
    };
    return app::run_program(hooks);
}
