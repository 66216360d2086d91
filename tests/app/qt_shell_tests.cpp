#include "app/qt_shell.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <vector>

#include "app/program_end.h"
#include "ui/qt_text.h"

namespace pricelookup::app {
namespace {

// What happened, in order, so that the tests can tell what came before what.
struct Log {
    std::vector<std::string> events;
    void add(std::string event) { events.push_back(std::move(event)); }
};

// Answers the next message box with OK, noting its caption and text.
void answer_next_box(Log& log) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        QTimer::singleShot(10, [&log] { answer_next_box(log); });
        return;
    }
    log.add("box " + ui::to_gbk(box->windowTitle()) + ": " + ui::to_gbk(box->text()));
    box->button(QMessageBox::Ok)->click();
}

class QtShellTest : public ::testing::Test {
protected:
    QtShellTest() : shell(ProgramPath{"/opt/app", "pricelookup"}) {
        shell.register_exit_cleanup([this] { log.add("cleanup"); });
    }

    Log log;
    QtShell shell;
};

TEST_F(QtShellTest, EndProgramRunsTheCleanUpOnceRaisesTheGateAndLeavesTheHandler) {
    EXPECT_FALSE(shell.gate().is_raised());
    EXPECT_THROW(shell.end_program(0), ProgramEnd);
    EXPECT_TRUE(shell.gate().is_raised());
    EXPECT_TRUE(shell.has_ended());
    EXPECT_THROW(shell.end_program(0), ProgramEnd);
    EXPECT_EQ(log.events, std::vector<std::string>{"cleanup"});
    EXPECT_EQ(shell.exit_code(), 0);
}

TEST_F(QtShellTest, AFatalErrorShowsItsBoxForgetsTheCleanUpAndEndsWithMinusOne) {
    QTimer::singleShot(0, [this] { answer_next_box(log); });
    EXPECT_THROW(shell.report_fatal_error(0, "载入启动窗口失败"), ProgramEnd);
    EXPECT_TRUE(shell.gate().is_raised());
    EXPECT_EQ(shell.exit_code(), -1);
    // Whatever comes after, the clean-up never runs and no second box opens.
    EXPECT_THROW(shell.report_fatal_error(3, "again"), ProgramEnd);
    EXPECT_THROW(shell.end_program(0), ProgramEnd);
    EXPECT_EQ(shell.exit_code(), -1);
    EXPECT_EQ(log.events, std::vector<std::string>{"box 错误: 运行时出错!\n\n错误信息：载入启动窗口失败\n"});
}

TEST_F(QtShellTest, DestroyingTheWindowEndsTheEventLoopThenTheCleanUpRuns) {
    auto* window = new QWidget;
    QObject::connect(window, &QObject::destroyed, [this] { log.add("window gone"); });
    window->show();
    shell.set_main_window(window);
    QTimer::singleShot(0, [this] { shell.destroy_window(); });
    EXPECT_EQ(shell.run_event_loop(), 0);
    EXPECT_EQ(log.events, (std::vector<std::string>{"window gone", "cleanup"}));
    EXPECT_TRUE(shell.gate().is_raised());
}

TEST_F(QtShellTest, AnEndAskedForBeforeTheEventLoopRunsSkipsTheLoop) {
    auto* window = new QWidget;
    shell.set_main_window(window);
    EXPECT_THROW(shell.end_program(0), ProgramEnd);
    EXPECT_EQ(shell.run_event_loop(), 0);  // returns at once instead of waiting forever
    EXPECT_EQ(log.events, std::vector<std::string>{"cleanup"});
    delete window;
}

}  // namespace
}  // namespace pricelookup::app
