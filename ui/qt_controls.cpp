#include "ui/qt_controls.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <limits>

#include "app/fatal_error_message.h"
#include "app/program_end.h"
#include "ui/period_timer.h"
#include "ui/qt_text.h"
#include "ui/result_list.h"
#include "ui/window_definition.h"

namespace pricelookup::ui {
namespace {

bool is_cell(std::int32_t row, std::int32_t column, const ResultList& list) {
    return row >= 0 && row < list.rowCount() && column >= 0 && column < list.columnCount();
}

}  // namespace

QtControls::QtControls(MainWindow& window, app::Shell& shell) : m_window(&window), m_shell(shell) {}

MainWindow& QtControls::window() {
    // A handler still running when the program ends (one that was suspended in a
    // message box, say) stops at its next operation instead of going on.
    if (m_shell.has_ended()) throw app::ProgramEnd{app::exit_normal};
    if (m_window.isNull()) m_shell.report_fatal_error(0, app::control_window_missing);
    return *m_window;
}

std::string QtControls::read_text() { return to_gbk(window().keyword_box()->text()); }

void QtControls::set_focus() { window().keyword_box()->setFocus(Qt::OtherFocusReason); }

void QtControls::set_item_visible(MenuItem item, bool visible) {
    window().set_menu_item_hidden(item, !visible);
}

void QtControls::set_period(Timer timer, std::int32_t period_ms) {
    window().timer(timer)->set_period(period_ms);
}

void QtControls::set_part_text(std::int32_t part, std::string_view text) {
    if (QLabel* label = window().status_part(part)) label->setText(to_qstring(text));
}

void QtControls::clear_rows() {
    ResultList& list = *window().result_list();
    list.clearContents();
    list.setRowCount(0);
}

std::int32_t QtControls::append_row(std::string_view caption) {
    ResultList& list = *window().result_list();
    const int row = list.rowCount();
    if (row == std::numeric_limits<int>::max()) return no_row;
    list.insertRow(row);
    if (list.rowCount() != row + 1) return no_row;
    for (int column = 0; column < list.columnCount(); ++column) {
        list.set_cell_bytes(row, column, column == 0 ? caption : std::string_view());
    }
    return row;
}

void QtControls::set_cell_text(std::int32_t row, std::int32_t column, std::string_view text) {
    ResultList& list = *window().result_list();
    if (is_cell(row, column, list)) list.set_cell_bytes(row, column, text);
}

std::string QtControls::get_cell_text(std::int32_t row, std::int32_t column) {
    const ResultList& list = *window().result_list();
    return is_cell(row, column, list) ? list.cell_bytes(row, column) : std::string();
}

std::int32_t QtControls::selected_row() {
    const QModelIndexList rows = window().result_list()->selectionModel()->selectedRows();
    return rows.isEmpty() ? no_row : rows.first().row();
}

void QtControls::show_message(std::string_view text, std::int32_t flags) {
    window();
    // No owner window; application-modal, so every window of the program is disabled
    // while the box runs its own event loop and the timers go on ticking.
    const QMessageBox::Icon icon = (flags & message_information) != 0 ? QMessageBox::Information
                                   : (flags & message_question) != 0  ? QMessageBox::Question
                                                                      : QMessageBox::NoIcon;
    QMessageBox box(icon, to_qstring(definition::message_caption), to_qstring(text),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    window();  // the program may have ended while the box was open
}

}  // namespace pricelookup::ui
