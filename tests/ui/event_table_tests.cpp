#include "ui/event_table.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "app/event_gate.h"
#include "tests/support/fake_controls.h"
#include "tests/support/fake_shell.h"

namespace pricelookup::ui {
namespace {

using testing::FakeControls;
using testing::FakeShell;

constexpr Event all_events[] = {
    Event::window_created,         Event::window_can_be_closed,   Event::window_size_changed,
    Event::search_button_clicked,  Event::keyword_changed,        Event::auto_search_tick,
    Event::clock_tick,             Event::previous_page_selected, Event::next_page_selected,
    Event::first_page_selected,    Event::refresh_selected,       Event::result_list_clicked,
};

class EventTableTest : public ::testing::Test {
protected:
    FakeControls controls;
    FakeShell shell;
    app::EventGate gate;
    EventDispatcher dispatcher{{controls, shell}, gate};
};

TEST_F(EventTableTest, BindsEveryEventToExactlyOneHandler) {
    std::map<Event, int> bindings;
    for (const EventBinding& binding : event_table()) {
        ++bindings[binding.event];
        EXPECT_NE(binding.handler, nullptr);
    }
    for (const Event event : all_events) {
        EXPECT_EQ(bindings[event], 1) << "event " << static_cast<int>(event);
    }
    EXPECT_EQ(bindings.size(), std::size(all_events));
}

TEST_F(EventTableTest, CreatedPutsTheFocusIntoTheKeywordBox) {
    dispatcher.raise(Event::window_created);
    EXPECT_TRUE(controls.keyword_box_focused);
}

TEST_F(EventTableTest, CanBeClosedEndsTheProgramWithZero) {
    dispatcher.raise(Event::window_can_be_closed);
    EXPECT_EQ(shell.ended_with, 0);
}

TEST_F(EventTableTest, RefreshStartsTheProgramFileAgainAndDestroysTheWindow) {
    shell.directory = "/opt/价格 查询";
    dispatcher.raise(Event::refresh_selected);
    ASSERT_EQ(shell.started.size(), 1U);
    EXPECT_EQ(shell.started[0], "/opt/价格 查询/pricelookup");
    EXPECT_EQ(shell.destroy_requests, 1);
    EXPECT_FALSE(shell.ended_with.has_value()) << "the event loop ends it, once the window is gone";
}

TEST_F(EventTableTest, SizeChangedAndTheEventsOfLaterHandlersChangeNothingYet) {
    const FakeControls before = controls;
    for (const Event event : {Event::window_size_changed, Event::search_button_clicked,
                              Event::keyword_changed, Event::auto_search_tick, Event::clock_tick,
                              Event::previous_page_selected, Event::next_page_selected,
                              Event::first_page_selected, Event::result_list_clicked}) {
        dispatcher.raise(event);
    }
    EXPECT_EQ(controls.status_parts, before.status_parts);
    EXPECT_EQ(controls.rows, before.rows);
    EXPECT_EQ(controls.messages, before.messages);
    EXPECT_FALSE(shell.ended_with.has_value());
}

TEST_F(EventTableTest, NoHandlerRunsWhileTheGateIsRaised) {
    gate.raise();
    for (const Event event : all_events) dispatcher.raise(event);
    EXPECT_FALSE(controls.keyword_box_focused);
    EXPECT_FALSE(shell.ended_with.has_value());
    EXPECT_TRUE(shell.started.empty());
}

// A dispatcher over a table of the test's own, for what it does around a handler.
class DispatchTest : public ::testing::Test {
protected:
    FakeControls controls;
    FakeShell shell;
    app::EventGate gate;
};

TEST_F(DispatchTest, AHandlerThatRunsOutOfMemoryEndsTheProgramWithTheSizeItAskedFor) {
    static constexpr EventBinding table[] = {
        {Event::clock_tick,
         [](HandlerContext&) {
             // More than any machine has: operator new fails and says how much was asked.
             // The block is kept where the compiler must assume it is used.
             static volatile std::size_t huge = std::size_t{1} << 60;
             static char* volatile kept = nullptr;
             kept = new char[huge];
             delete[] kept;
         }},
    };
    EventDispatcher dispatcher({controls, shell}, gate, table);
    dispatcher.raise(Event::clock_tick);
    ASSERT_EQ(shell.fatal_errors.size(), 1U);
    EXPECT_EQ(shell.fatal_errors[0].first, 0);
    EXPECT_EQ(shell.fatal_errors[0].second, "分配 1152921504606846976 字节内存失败!");
}

// What the standard library throws for a string longer than it can hold.
void overlong_string() { std::string().reserve(std::string().max_size() + 1); }
std::string length_error_text() {
    try {
        overlong_string();
    } catch (const std::length_error& error) {
        return error.what();
    }
    return "no length_error";
}

TEST_F(DispatchTest, AnyOtherExceptionFromAHandlerIsAFatalErrorWithItsText) {
    struct Case {
        const char* name;
        Handler handler;
        std::string message;
    };
    const Case cases[] = {
        {"length_error", [](HandlerContext&) { overlong_string(); }, length_error_text()},
        {"runtime_error",
         [](HandlerContext&) { throw std::runtime_error("iconv cannot convert between GBK and UTF-8"); },
         "iconv cannot convert between GBK and UTF-8"},
        {"not_a_std_exception", [](HandlerContext&) { throw 42; }, ""},
    };
    for (const Case& c : cases) {
        FakeShell case_shell;
        const EventBinding table[] = {{Event::search_button_clicked, c.handler}};
        EventDispatcher dispatcher({controls, case_shell}, gate, table);
        EXPECT_NO_THROW(dispatcher.raise(Event::search_button_clicked)) << c.name;
        ASSERT_EQ(case_shell.fatal_errors.size(), 1U) << c.name;
        EXPECT_EQ(case_shell.fatal_errors[0].first, 0) << c.name;
        EXPECT_EQ(case_shell.fatal_errors[0].second, c.message) << c.name;
        EXPECT_EQ(case_shell.ended_with, app::exit_fatal) << c.name;
    }
}

TEST_F(DispatchTest, AHandlerThatEndsTheProgramIsNotAFatalError) {
    static constexpr EventBinding table[] = {
        {Event::window_can_be_closed, [](HandlerContext& c) { c.shell.end_program(0); }},
    };
    EventDispatcher dispatcher({controls, shell}, gate, table);
    EXPECT_NO_THROW(dispatcher.raise(Event::window_can_be_closed));
    EXPECT_TRUE(shell.fatal_errors.empty());
    EXPECT_EQ(shell.ended_with, 0);
}

TEST_F(DispatchTest, AnEventWithoutBindingCallsNothing) {
    static constexpr EventBinding table[] = {
        {Event::clock_tick, [](HandlerContext& c) { c.controls.set_part_text(2, "tick"); }},
    };
    EventDispatcher dispatcher({controls, shell}, gate, table);
    dispatcher.raise(Event::search_button_clicked);
    EXPECT_EQ(controls.status_parts[2], "时间");
    dispatcher.raise(Event::clock_tick);
    EXPECT_EQ(controls.status_parts[2], "tick");
}

}  // namespace
}  // namespace pricelookup::ui
