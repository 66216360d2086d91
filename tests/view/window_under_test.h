#pragma once

// The real main window with the control operations and the event table wired to it as
// the program does, for clicking result rows and watching the clock.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/event_gate.h"
#include "search/page_source.h"
#include "search/search_state.h"
#include "tests/support/fake_shell.h"
#include "ui/event_table.h"
#include "ui/event_wiring.h"
#include "ui/main_window.h"
#include "ui/qt_controls.h"
#include "ui/qt_text.h"
#include "ui/result_list.h"

namespace pricelookup::testing {

class WindowUnderTest : public ::testing::Test {
  protected:
    void SetUp() override { build(ui::event_table()); }
    void TearDown() override {
        events.reset();
        controls.reset();
        window.reset();
    }

    // Builds and shows the window with its events bound by `table`.
    void build(std::span<const ui::EventBinding> table) {
        window = std::make_unique<ui::MainWindow>();
        controls = std::make_unique<ui::QtControls>(*window, shell);
        events = std::make_unique<ui::EventDispatcher>(
            ui::HandlerContext{*controls, shell, search_state, *page_source, query_prefix}, gate,
            table);
        ui::connect_events(*window, *events);
        window->place_on_screen();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Fills the list through the control operations, as a search does.
    void fill(const std::vector<std::vector<std::string>>& rows) {
        for (const auto& row : rows) {
            const std::int32_t index = controls->append_row(row.at(0));
            for (std::size_t column = 1; column < row.size(); ++column) {
                controls->set_cell_text(index, static_cast<std::int32_t>(column), row[column]);
            }
        }
    }

    QPoint centre_of_row(int row) const {
        const ui::ResultList* list = window->result_list();
        return list->visualRect(list->model()->index(row, 1)).center();
    }
    QPoint below_the_rows() const { return {30, window->result_list()->viewport()->height() - 5}; }
    // A left click in the list's rows area through the window system's path, so that
    // a disabled window refuses it as it would refuse the user.
    void click_list_at(QPoint in_viewport) {
        QWidget* viewport = window->result_list()->viewport();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          viewport->mapTo(window.get(), in_viewport));
    }

    // Runs `inspect` once the next message box is open, then closes it with OK.
    void when_box_opens(std::function<void(QMessageBox&)> inspect) {
        QTimer::singleShot(0, [this, inspect] { poll_for_box(inspect); });
    }

    std::string part_text(int part) const { return ui::to_gbk(window->status_part(part)->text()); }
    static QString q(std::string_view gbk) { return ui::to_qstring(gbk); }

    FakeShell shell;
    app::EventGate gate;
    search::SearchState search_state;
    // Where searches get their pages and which catalogue they ask; a test that
    // searches points these at a server of its own before build().
    search::NetworkPageSource network_pages;
    search::PageSource* page_source = &network_pages;
    std::string query_prefix = "http://127.0.0.1:9/index.php?c=SearchList&keyword=";
    std::unique_ptr<ui::MainWindow> window;
    std::unique_ptr<ui::QtControls> controls;
    std::unique_ptr<ui::EventDispatcher> events;

  private:
    void poll_for_box(std::function<void(QMessageBox&)> inspect) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            QTimer::singleShot(10, [this, inspect] { poll_for_box(inspect); });
            return;
        }
        inspect(*box);
        box->button(QMessageBox::Ok)->click();
    }
};

}  // namespace pricelookup::testing
