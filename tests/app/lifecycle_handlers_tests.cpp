#include "app/lifecycle_handlers.h"

#include <gtest/gtest.h>

#include "tests/support/fake_shell.h"

namespace pricelookup::app {
namespace {

using testing::FakeShell;

TEST(RefreshCommand, EndsThisInstanceEvenWhenTheNewOneCannotStart) {
    FakeShell shell;
    shell.start_succeeds = false;
    refresh_command(shell);
    EXPECT_EQ(shell.started.size(), 1U);
    EXPECT_EQ(shell.destroy_requests, 1);
}

TEST(RefreshCommand, RestartsAProgramThatLivesInTheRoot) {
    FakeShell shell;
    shell.directory = "";
    refresh_command(shell);
    ASSERT_EQ(shell.started.size(), 1U);
    EXPECT_EQ(shell.started[0], "/pricelookup");
}

TEST(CanBeClosedHandler, DoesNotReturn) {
    FakeShell shell;
    EXPECT_THROW(can_be_closed_handler(shell), ProgramEnd);
    EXPECT_EQ(shell.ended_with, exit_normal);
}

}  // namespace
}  // namespace pricelookup::app
