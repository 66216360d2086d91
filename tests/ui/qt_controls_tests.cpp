#include "ui/qt_controls.h"

#include <QAction>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/program_end.h"
#include "tests/support/controls_contract.h"
#include "tests/support/fake_controls.h"
#include "tests/support/fake_shell.h"
#include "tests/ui/window_fixture.h"
#include "ui/period_timer.h"
#include "ui/preview_pane.h"
#include "ui/result_list.h"
#include "ui/window_definition.h"

namespace pricelookup::testing {

// The control operations on a real, shown window.
class QtControlsHarness {
public:
    QtControlsHarness() : m_window(std::make_unique<ui::MainWindow>()), m_controls(*m_window, m_shell) {
        m_window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }
    ui::Controls& controls() { return m_controls; }
    std::string part_text(int part) { return ui::to_gbk(m_window->status_part(part)->text()); }
    void select_row(int row) { m_window->result_list()->selectRow(row); }
    // Chinese is typed through an input method, which commits the composed text.
    void type_keyword(std::string_view gbk) {
        m_window->keyword_box()->setFocus();
        QInputMethodEvent typed;
        typed.setCommitString(ui::to_qstring(gbk));
        QCoreApplication::sendEvent(m_window->keyword_box(), &typed);
    }
    std::string pane_address() { return m_window->preview_pane()->address(); }
    int pane_navigations() { return m_window->preview_pane()->navigations(); }
    std::string clipboard_text() { return ui::to_gbk(QGuiApplication::clipboard()->text()); }
    std::int32_t period(ui::Timer timer) { return m_window->timer(timer)->period(); }
    bool running(ui::Timer timer) { return m_window->timer(timer)->is_running(); }
    int countdown_starts(ui::Timer timer) { return m_window->timer(timer)->countdown_starts(); }
    std::vector<ui::MenuItem> page_menu_items() {
        std::vector<ui::MenuItem> items;
        for (const QAction* action : m_window->menuBar()->actions().at(0)->menu()->actions()) {
            for (const ui::MenuItem item : {ui::MenuItem::previous_page, ui::MenuItem::next_page,
                                            ui::MenuItem::first_page, ui::MenuItem::refresh}) {
                if (m_window->menu_action(item) == action) items.push_back(item);
            }
        }
        return items;
    }
    int menu_bar_builds() { return m_window->menu_bar_builds(); }
    bool keyword_box_focused() { return QApplication::focusWidget() == m_window->keyword_box(); }
    void focus_elsewhere() {
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        m_window->search_button()->setFocus();
    }
    void answer_messages() { QTimer::singleShot(0, [this] { answer_next_box(); }); }
    std::vector<std::pair<std::string, std::int32_t>> shown_messages() { return m_shown; }

private:
    // Notes the text and icon of each box as it opens and closes it with OK, until
    // the harness is gone.
    void answer_next_box() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            const std::int32_t flags = box->icon() == QMessageBox::Information ? ui::message_information
                                       : box->icon() == QMessageBox::Question  ? ui::message_question
                                                                                : 0;
            EXPECT_EQ(ui::to_gbk(box->windowTitle()), "信息：");
            m_shown.emplace_back(ui::to_gbk(box->text()), flags);
            box->button(QMessageBox::Ok)->click();
        }
        QTimer::singleShot(10, m_window.get(), [this] { answer_next_box(); });
    }

    std::vector<std::pair<std::string, std::int32_t>> m_shown;
    FakeShell m_shell;
    std::unique_ptr<ui::MainWindow> m_window;
    ui::QtControls m_controls;
};

// The in-memory fake, held to the same contract.
class FakeControlsHarness {
public:
    ui::Controls& controls() { return m_controls; }
    std::string part_text(int part) { return m_controls.status_parts[static_cast<std::size_t>(part)]; }
    void select_row(int row) { m_controls.selected = row; }
    void type_keyword(std::string_view gbk) { m_controls.keyword = std::string(gbk); }
    std::string pane_address() {
        return m_controls.addresses_shown.empty() ? std::string() : m_controls.addresses_shown.back();
    }
    int pane_navigations() { return static_cast<int>(m_controls.addresses_shown.size()); }
    std::string clipboard_text() { return m_controls.clipboard; }
    std::int32_t period(ui::Timer timer) { return m_controls.timer_period[index(timer)]; }
    bool running(ui::Timer timer) { return m_controls.timer_running[index(timer)]; }
    int countdown_starts(ui::Timer timer) { return m_controls.timer_starts[index(timer)]; }
    std::vector<ui::MenuItem> page_menu_items() {
        std::vector<ui::MenuItem> items;
        for (const auto& entry : ui::definition::page_menu_items) {
            if (!m_controls.item_hidden[static_cast<std::size_t>(entry.item)]) items.push_back(entry.item);
        }
        return items;
    }
    int menu_bar_builds() { return m_controls.menu_bar_builds; }
    bool keyword_box_focused() { return m_controls.keyword_box_focused; }
    void focus_elsewhere() { m_controls.keyword_box_focused = false; }
    void answer_messages() {}
    std::vector<std::pair<std::string, std::int32_t>> shown_messages() { return m_controls.messages; }

private:
    static std::size_t index(ui::Timer timer) { return static_cast<std::size_t>(timer); }
    FakeControls m_controls;
};

using Implementations = ::testing::Types<QtControlsHarness, FakeControlsHarness>;
INSTANTIATE_TYPED_TEST_SUITE_P(Both, ControlsContract, Implementations);

namespace {

class QtControlsTest : public ShownWindow {
protected:
    void SetUp() override {
        ShownWindow::SetUp();
        controls = std::make_unique<ui::QtControls>(*window, shell);
    }
    void TearDown() override {
        controls.reset();
        ShownWindow::TearDown();
    }

    // Runs `inspect` on the message box once it is open, then closes it with OK.
    void when_box_opens(std::function<void(QMessageBox&)> inspect) {
        QTimer::singleShot(0, [this, inspect] { poll_for_box(inspect); });
    }

    FakeShell shell;
    std::unique_ptr<ui::QtControls> controls;

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

TEST_F(QtControlsTest, SetFocusPutsTheFocusIntoTheKeywordBox) {
    window->search_button()->setFocus();
    controls->set_focus();
    EXPECT_EQ(QApplication::focusWidget(), window->keyword_box());
}

TEST_F(QtControlsTest, SetItemVisibleChangesTheMenuOnlyOnARealChange) {
    controls->set_item_visible(ui::MenuItem::previous_page, true);
    EXPECT_EQ(window->menu_bar_builds(), 1);
    controls->set_item_visible(ui::MenuItem::previous_page, false);
    EXPECT_EQ(window->menu_bar_builds(), 2);
    EXPECT_FALSE(window->menuBar()->actions().at(0)->menu()->actions().contains(
        window->menu_action(ui::MenuItem::previous_page)));
    controls->set_item_visible(ui::MenuItem::previous_page, true);
    EXPECT_EQ(window->menuBar()->actions().at(0)->menu()->actions().at(0),
              window->menu_action(ui::MenuItem::previous_page));
}

TEST_F(QtControlsTest, SetPeriodDrivesTheWindowsTimers) {
    controls->set_period(ui::Timer::auto_search, 1000);
    EXPECT_EQ(window->timer(ui::Timer::auto_search)->period(), 1000);
    EXPECT_TRUE(window->timer(ui::Timer::auto_search)->is_running());
    controls->set_period(ui::Timer::auto_search, -5);
    EXPECT_FALSE(window->timer(ui::Timer::auto_search)->is_running());
    EXPECT_EQ(window->timer(ui::Timer::clock)->period(), 1000) << "the other timer is left alone";
}

TEST_F(QtControlsTest, ShowMessageOpensAModalInformationOrQuestionBoxWithOneOkButton) {
    struct Case {
        std::int32_t flags;
        QMessageBox::Icon icon;
    };
    for (const Case c : {Case{64, QMessageBox::Information}, Case{32, QMessageBox::Question}}) {
        bool inspected = false;
        when_box_opens([&](QMessageBox& box) {
            inspected = true;
            EXPECT_EQ(box.windowTitle(), q("信息："));
            EXPECT_EQ(box.text(), q("产品信息已复制,请粘贴到文本上即可查看!"));
            EXPECT_EQ(box.icon(), c.icon);
            EXPECT_EQ(box.buttons().size(), 1);
            EXPECT_NE(box.button(QMessageBox::Ok), nullptr);
            EXPECT_EQ(box.parentWidget(), nullptr) << "the box has no owner window";
            EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
        });
        controls->show_message("产品信息已复制,请粘贴到文本上即可查看!", c.flags);
        EXPECT_TRUE(inspected) << c.flags;
    }
}

TEST_F(QtControlsTest, TimersKeepTickingAndTheWindowTakesNoInputWhileAMessageIsOpen) {
    QSignalSpy clock_ticks(window->timer(ui::Timer::clock), &ui::PeriodTimer::ticked);
    QSignalSpy clicks(window->search_button(), &QPushButton::clicked);
    when_box_opens([&](QMessageBox&) {
        // A real click on the search button, through the window system's path.
        const QPoint centre = window->search_button()->mapTo(window.get(), window->search_button()->rect().center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centre);
        QTest::qWait(2200);
    });
    controls->show_message("已经是最后一页", ui::message_question);
    EXPECT_GE(clock_ticks.count(), 2) << "the clock kept running inside the box";
    EXPECT_EQ(clicks.count(), 0) << "the main window took no input while the box was open";

    const QPoint centre = window->search_button()->mapTo(window.get(), window->search_button()->rect().center());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(clicks.count(), 1) << "and takes it again once the box is closed";
}

TEST_F(QtControlsTest, AnOperationOnAWindowThatIsGoneIsAFatalError) {
    window.reset();
    EXPECT_THROW(controls->set_part_text(0, "x"), app::ProgramEnd);
    ASSERT_EQ(shell.fatal_errors.size(), 1U);
    EXPECT_EQ(shell.fatal_errors[0].first, 0);
    EXPECT_EQ(shell.fatal_errors[0].second, "指定窗口或窗口组件不存在或尚未载入");
}

TEST_F(QtControlsTest, AHandlerStillRunningWhenTheProgramEndsStopsAtItsNextOperation) {
    when_box_opens([&](QMessageBox&) { shell.ended_with = 0; });
    EXPECT_THROW(controls->show_message("已经是最后一页", ui::message_question), app::ProgramEnd);
    EXPECT_THROW(controls->append_row("1"), app::ProgramEnd);
    EXPECT_EQ(window->result_list()->rowCount(), 0);
}

}  // namespace
}  // namespace pricelookup::testing
