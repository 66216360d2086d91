#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/event_gate.h"
#include "search/search_state.h"
#include "tests/support/fake_controls.h"
#include "tests/support/fake_page_source.h"
#include "tests/support/fake_shell.h"
#include "ui/event_table.h"

namespace pricelookup::ui {
namespace {

using testing::FakeControls;
using testing::FakePageSource;
using testing::FakeShell;

constexpr std::string_view prefix = "http://cat.test/index.php?c=SearchList&keyword=";

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
    search::SearchState search_state;
    FakePageSource pages;
    app::EventGate gate;
    EventDispatcher dispatcher{{controls, shell, search_state, pages, prefix}, gate};
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

TEST_F(EventTableTest, SizeChangedChangesNothing) {
    const FakeControls before = controls;
    dispatcher.raise(Event::window_size_changed);
    EXPECT_EQ(controls.status_parts, before.status_parts);
    EXPECT_EQ(controls.rows, before.rows);
    EXPECT_EQ(controls.messages, before.messages);
    EXPECT_FALSE(shell.ended_with.has_value());
}

TEST_F(EventTableTest, TheClockTickWritesTheTimeIntoStatusPartTwoOnly) {
    dispatcher.raise(Event::clock_tick);
    EXPECT_EQ(controls.status_parts[0], "启动成功,请输入搜索电器名称!");
    EXPECT_EQ(controls.status_parts[1], "空页");
    EXPECT_NE(controls.status_parts[2], "时间");
    EXPECT_NE(controls.status_parts[2].find("年"), std::string::npos) << controls.status_parts[2];
}

TEST_F(EventTableTest, AClickInTheResultListActivatesTheSelectedRow) {
    controls.append_row("1");
    controls.set_cell_text(0, 1, "name");
    controls.set_cell_text(0, 6, "http://img/1.jpg");
    controls.selected = 0;
    dispatcher.raise(Event::result_list_clicked);
    EXPECT_EQ(controls.addresses_shown, std::vector<std::string>{"http://img/1.jpg"});
    EXPECT_EQ(controls.clipboard, "name");
    EXPECT_EQ(controls.messages.size(), 1U);
}

TEST_F(EventTableTest, TheSearchEventsReachTheirHandlersWithTheProgramsSearchState) {
    struct Case {
        Event event;
        std::int32_t page_before;
        std::vector<std::string> addresses;  // asked of the page source
        std::int32_t page_after;
        std::int32_t auto_search_period_after;
        bool previous_item_hidden_after;
    };
    const std::string page1 = std::string(prefix) + "tv&page=1";
    const Case cases[] = {
        {Event::search_button_clicked, 4, {page1}, 1, 1000, false},
        {Event::keyword_changed, 4, {}, 4, 1000, false},
        {Event::auto_search_tick, 4, {page1}, 1, 0, false},
        {Event::next_page_selected, 4, {std::string(prefix) + "tv&page=5"}, 5, 1000, false},
        {Event::previous_page_selected, 4, {std::string(prefix) + "tv&page=3"}, 3, 1000, false},
        {Event::first_page_selected, 4, {page1}, 1, 1000, true},
    };
    for (const Case& c : cases) {
        FakeControls window;
        FakeShell program;
        search::SearchState state;
        FakePageSource source;
        EventDispatcher events({window, program, state, source, prefix}, gate);
        window.keyword = "tv";
        window.timer_period[static_cast<std::size_t>(Timer::auto_search)] = 1000;
        state.page_number = c.page_before;
        events.raise(c.event);
        const auto event = static_cast<int>(c.event);
        EXPECT_EQ(source.addresses, c.addresses) << "event " << event;
        EXPECT_EQ(state.page_number, c.page_after) << "event " << event;
        EXPECT_EQ(window.timer_period[static_cast<std::size_t>(Timer::auto_search)],
                  c.auto_search_period_after)
            << "event " << event;
        EXPECT_EQ(window.item_hidden[static_cast<std::size_t>(MenuItem::previous_page)],
                  c.previous_item_hidden_after)
            << "event " << event;
    }
}

TEST_F(EventTableTest, NoHandlerRunsWhileTheGateIsRaised) {
    gate.raise();
    for (const Event event : all_events) dispatcher.raise(event);
    EXPECT_TRUE(pages.addresses.empty());
    EXPECT_EQ(search_state.page_number, 0);
    EXPECT_EQ(controls.timer_period[static_cast<std::size_t>(Timer::auto_search)], 0);
    EXPECT_FALSE(controls.keyword_box_focused);
    EXPECT_FALSE(shell.ended_with.has_value());
    EXPECT_TRUE(shell.started.empty());
    EXPECT_EQ(controls.status_parts[2], "时间");
    EXPECT_TRUE(controls.addresses_shown.empty());
    EXPECT_TRUE(controls.messages.empty());
}

// A dispatcher over a table of the test's own, for what it does around a handler.
class DispatchTest : public ::testing::Test {
protected:
    FakeControls controls;
    FakeShell shell;
    search::SearchState search_state;
    FakePageSource pages;
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
    EventDispatcher dispatcher({controls, shell, search_state, pages, prefix}, gate, table);
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
        EventDispatcher dispatcher({controls, case_shell, search_state, pages, prefix}, gate, table);
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
    EventDispatcher dispatcher({controls, shell, search_state, pages, prefix}, gate, table);
    EXPECT_NO_THROW(dispatcher.raise(Event::window_can_be_closed));
    EXPECT_TRUE(shell.fatal_errors.empty());
    EXPECT_EQ(shell.ended_with, 0);
}

TEST_F(DispatchTest, AnEventWithoutBindingCallsNothing) {
    static constexpr EventBinding table[] = {
        {Event::clock_tick, [](HandlerContext& c) { c.controls.set_part_text(2, "tick"); }},
    };
    EventDispatcher dispatcher({controls, shell, search_state, pages, prefix}, gate, table);
    dispatcher.raise(Event::search_button_clicked);
    EXPECT_EQ(controls.status_parts[2], "时间");
    dispatcher.raise(Event::clock_tick);
    EXPECT_EQ(controls.status_parts[2], "tick");
}

}  // namespace
}  // namespace pricelookup::ui
