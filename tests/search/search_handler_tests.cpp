// The search command, the result page load, paging and auto-search against the
// in-memory window and pages handed out from memory.

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "search/paging.h"
#include "search/query_address.h"
#include "search/result_page_load.h"
#include "search/search_command.h"
#include "tests/search/support/listing_pages.h"
#include "tests/support/fake_controls.h"
#include "tests/support/fake_page_source.h"

namespace pricelookup::search {
namespace {

using testing::FakeControls;
using testing::FakePageSource;

constexpr std::string_view searching = "请稍后，正在搜索相关数据... ...";
constexpr std::string_view nothing_found = "没搜到资源！是否已连网?";

std::string count_message(int n) {
    return "当前页共搜到" + std::to_string(n) + "条结果";
}

test::Entry numbered_entry(std::string_view tag, int i) {
    test::Entry entry;
    entry.name = std::string(tag) + " #" + std::to_string(i);
    entry.spec = "spec " + std::to_string(i);
    entry.price_label = "参考价：";
    entry.price = std::to_string(1000 + i);
    entry.date = "2008-05-" + std::to_string(10 + i % 20);
    entry.picture = "http://img.test/" + std::to_string(i) + ".jpg";
    return entry;
}

// A page of `entries` entries named "<tag> #1" to "<tag> #n", among filler markup.
std::string page_of(int entries, std::string_view tag = "item") {
    std::string page = "<html><body><div class=\"nav\">导航</div>\n";
    for (int i = 1; i <= entries; ++i) page += test::entry_markup(numbered_entry(tag, i));
    return page + "</body></html>";
}

FakeControls::Row row_of(std::string_view tag, int i) {
    const test::Entry e = numbered_entry(tag, i);
    return {std::to_string(i), e.name, e.spec, e.price_label, e.price, e.date, e.picture};
}

class SearchHandlers : public ::testing::Test {
  protected:
    SearchContext context() { return {controls, state, pages, prefix}; }
    std::string address(std::string_view keyword, std::string_view page) const {
        return prefix + std::string(keyword) + "&page=" + std::string(page);
    }
    std::int32_t& auto_search_period() {
        return controls.timer_period[static_cast<std::size_t>(ui::Timer::auto_search)];
    }
    bool& previous_hidden() {
        return controls.item_hidden[static_cast<std::size_t>(ui::MenuItem::previous_page)];
    }

    FakeControls controls;
    SearchState state;
    FakePageSource pages;
    const std::string prefix = query_prefix("cat.test");
};

// --- result page load ------------------------------------------------------------

TEST_F(SearchHandlers, LoadGivesOneNumberedRowPerEntryAndTheTotalAfterEveryRow) {
    for (const int entries : {1, 3, 20}) {
        FakeControls window;
        pages.pages["p"] = page_of(entries);
        load_result_page(window, pages, "p");
        ASSERT_EQ(window.rows.size(), static_cast<std::size_t>(entries));
        for (int i = 1; i <= entries; ++i) {
            EXPECT_EQ(window.rows[static_cast<std::size_t>(i - 1)], row_of("item", i)) << i;
        }
        // Exactly one count message per row, written after that row, each with the total.
        ASSERT_EQ(window.part_writes.size(), static_cast<std::size_t>(entries));
        for (std::size_t w = 0; w < window.part_writes.size(); ++w) {
            EXPECT_EQ(window.part_writes[w].part, 0);
            EXPECT_EQ(window.part_writes[w].text, count_message(entries));
            EXPECT_EQ(window.part_writes[w].rows_then, w + 1);
        }
        EXPECT_EQ(window.status_parts[1], FakeControls().status_parts[1])
            << "part 1 is not the load's";
    }
}

TEST_F(SearchHandlers, LoadOfAPageWithoutEntriesOrWithoutAPageSaysNothingWasFound) {
    pages.pages["no entries"] = "<html><body>没有找到</body></html>";
    pages.pages["half an entry"] = page_of(1).substr(0, 150);
    for (const std::string address : {"no entries", "half an entry", "unknown", ""}) {
        FakeControls window;
        window.append_row("left by the caller");
        load_result_page(window, pages, address);
        EXPECT_EQ(window.rows.size(), 1U) << address << ": the list stays as it was";
        EXPECT_EQ(window.status_parts[0], nothing_found) << address;
        EXPECT_EQ(window.part_writes.size(), 1U) << address;
        EXPECT_EQ(window.status_parts[1], FakeControls().status_parts[1]) << address;
    }
}

TEST_F(SearchHandlers, LoadLeavesTheCellOfAnEmptyGroupEmpty) {
    test::Entry entry = numbered_entry("x", 1);
    entry.price_label.clear();
    pages.pages["p"] = test::entry_markup(entry);
    load_result_page(controls, pages, "p");
    ASSERT_EQ(controls.rows.size(), 1U);
    const FakeControls::Row expected{"1",         entry.name, entry.spec,   "",
                                     entry.price, entry.date, entry.picture};
    EXPECT_EQ(controls.rows[0], expected);
}

TEST_F(SearchHandlers, ARowTheListRefusesTakesNoCellsAndTheLoopGoesOn) {
    controls.row_limit = 2;
    pages.pages["p"] = page_of(4);
    load_result_page(controls, pages, "p");
    ASSERT_EQ(controls.rows.size(), 2U);
    EXPECT_EQ(controls.rows[1], row_of("item", 2));
    ASSERT_EQ(controls.part_writes.size(), 4U) << "the count message still follows each entry";
    for (const auto& write : controls.part_writes) EXPECT_EQ(write.text, count_message(4));
}

TEST_F(SearchHandlers, StoredAddressLoadFetchesTheStoredAddressOrTheEmptyOne) {
    stored_address_load(context());
    state.first_page_address = "stored";
    pages.pages["stored"] = page_of(2);
    controls.keyword = "ignored";
    stored_address_load(context());
    EXPECT_EQ(pages.addresses, (std::vector<std::string>{"", "stored"}));
    EXPECT_EQ(controls.rows.size(), 2U);
    EXPECT_EQ(state.first_page_address, "stored");
}

TEST_F(SearchHandlers, FreshAddressLoadBuildsFromTheKeywordBoxAndPageNumberAndStoresNothing) {
    controls.keyword = "彩电 & co";
    state.page_number = -3;
    fresh_address_load(context());
    EXPECT_EQ(pages.addresses, (std::vector<std::string>{address("彩电 & co", "-3")}));
    EXPECT_FALSE(state.first_page_address.has_value());
    EXPECT_EQ(state.page_number, -3);
}

// --- search command --------------------------------------------------------------

TEST_F(SearchHandlers, SearchCommandRunsItsStepsInOrder) {
    controls.keyword = "Nokia";
    controls.append_row("old");
    state.page_number = 3;
    state.first_page_address = address("old", "1");
    pages.pages[address("Nokia", "1")] = page_of(2, "Nokia");
    std::array<std::string, 3> status_at_fetch;
    std::size_t rows_at_fetch = 99;
    pages.while_fetching = [&] {
        status_at_fetch = controls.status_parts;
        rows_at_fetch = controls.rows.size();
        controls.keyword = "typed during the fetch";  // read once, before it
    };
    search_command(context());

    EXPECT_EQ(rows_at_fetch, 0U) << "the list is cleared first";
    EXPECT_EQ(status_at_fetch[0], searching) << "progress texts come before the fetch";
    EXPECT_EQ(status_at_fetch[1], "第1页");
    EXPECT_EQ(pages.addresses, (std::vector<std::string>{address("Nokia", "1")}));
    EXPECT_EQ(state.page_number, 1);
    EXPECT_EQ(state.first_page_address, address("Nokia", "1"));
    ASSERT_EQ(controls.rows.size(), 2U);
    EXPECT_EQ(controls.rows[0], row_of("Nokia", 1));
    EXPECT_EQ(controls.status_parts[0], count_message(2));
    EXPECT_EQ(controls.status_parts[1], "第1页");
    ASSERT_GE(controls.part_writes.size(), 2U);
    EXPECT_EQ(controls.part_writes[0].part, 0);
    EXPECT_EQ(controls.part_writes[1].part, 1);
}

TEST_F(SearchHandlers, SearchCommandLeavesTheTimerAndThePreviousPageItemAlone) {
    for (const bool hidden : {false, true}) {
        for (const std::int32_t period : {0, 1000}) {
            FakeControls window;
            window.item_hidden[static_cast<std::size_t>(ui::MenuItem::previous_page)] = hidden;
            window.timer_period[static_cast<std::size_t>(ui::Timer::auto_search)] = period;
            const int builds = window.menu_bar_builds;
            search_command({window, state, pages, prefix});
            EXPECT_EQ(window.item_hidden[static_cast<std::size_t>(ui::MenuItem::previous_page)],
                      hidden);
            EXPECT_EQ(window.menu_bar_builds, builds);
            EXPECT_EQ(window.timer_period[static_cast<std::size_t>(ui::Timer::auto_search)],
                      period);
        }
    }
}

TEST_F(SearchHandlers, SearchCommandWithNothingFoundStillStoresAndNumbersPageOne) {
    const std::string keywords[] = {"", "a#b", "x&page=7", "no such thing"};
    for (const std::string& keyword : keywords) {
        controls.keyword = keyword;
        search_command(context());
        EXPECT_EQ(state.first_page_address, prefix + keyword + "&page=1") << keyword;
        EXPECT_EQ(pages.addresses.back(), prefix + keyword + "&page=1") << keyword;
        EXPECT_EQ(state.page_number, 1);
        EXPECT_EQ(controls.status_parts[0], nothing_found);
        EXPECT_EQ(controls.status_parts[1], "第1页");
    }
}

// --- paging ----------------------------------------------------------------------

TEST_F(SearchHandlers, PagingCommandsMoveThePageNumberTheItemAndStatusAsTheirTableSays) {
    enum class Command { next, previous, first };
    struct Case {
        Command command;
        std::int32_t page;
        bool stored;         // a first-page address is stored before
        bool hidden_before;  // "上一页" hidden before
        std::int32_t page_after;
        std::string status1;  // "" = unchanged
        bool hidden_after;
        std::string loaded;  // the address fetched
        std::size_t messages;
    };
    const std::string kw = "tv";
    const std::string stored = address("old", "1");
    std::vector<Case> cases;
    for (const bool stored_before : {false, true}) {
        for (const bool hidden : {false, true}) {
            cases.push_back(
                {Command::next, 0, stored_before, hidden, 1, "第1页", hidden, address(kw, "1"), 0});
            cases.push_back(
                {Command::next, 1, stored_before, hidden, 2, "第2页", false, address(kw, "2"), 0});
            cases.push_back(
                {Command::next, 5, stored_before, hidden, 6, "第6页", hidden, address(kw, "6"), 0});
            cases.push_back({Command::next, -1, stored_before, hidden, 0, "第0页", hidden,
                             address(kw, "0"), 0});
            cases.push_back({Command::previous, 0, stored_before, hidden, -1, "第-1页", hidden,
                             address(kw, "-1"), 0});
            cases.push_back({Command::previous, 1, stored_before, hidden, 1, "", hidden,
                             stored_before ? stored : "", 1});
            cases.push_back({Command::previous, 5, stored_before, hidden, 4, "第4页", hidden,
                             address(kw, "4"), 0});
            cases.push_back({Command::previous, -1, stored_before, hidden, -2, "第-2页", hidden,
                             address(kw, "-2"), 0});
            for (const std::int32_t page : {0, 1, 5, -1}) {
                cases.push_back({Command::first, page, stored_before, hidden, 1, "第1页", true,
                                 address(kw, "1"), 0});
            }
        }
    }
    for (const Case& c : cases) {
        FakeControls window;
        SearchState search;
        FakePageSource source;
        window.keyword = kw;
        window.append_row("old row");
        window.item_hidden[static_cast<std::size_t>(ui::MenuItem::previous_page)] = c.hidden_before;
        search.page_number = c.page;
        if (c.stored) search.first_page_address = stored;
        const SearchContext ctx{window, search, source, prefix};
        switch (c.command) {
            case Command::next:
                next_page_command(ctx);
                break;
            case Command::previous:
                previous_page_command(ctx);
                break;
            case Command::first:
                first_page_command(ctx);
                break;
        }
        const std::string what = "command " + std::to_string(static_cast<int>(c.command)) +
                                 " page " + std::to_string(c.page) + " stored " +
                                 std::to_string(c.stored) + " hidden " +
                                 std::to_string(c.hidden_before);
        EXPECT_TRUE(window.rows.empty()) << what << ": the list is cleared";
        EXPECT_EQ(search.page_number, c.page_after) << what;
        EXPECT_EQ(window.status_parts[1],
                  c.status1.empty() ? FakeControls().status_parts[1] : c.status1)
            << what;
        EXPECT_EQ(window.item_hidden[static_cast<std::size_t>(ui::MenuItem::previous_page)],
                  c.hidden_after)
            << what;
        EXPECT_EQ(source.addresses, std::vector<std::string>{c.loaded}) << what;
        ASSERT_EQ(window.messages.size(), c.messages) << what;
        if (c.messages > 0) {
            EXPECT_EQ(window.messages[0].first, "已经是最后一页") << what;
            EXPECT_EQ(window.messages[0].second, ui::message_question) << what;
        }
        const std::optional<std::string> stored_after = c.command == Command::first
                                                            ? std::optional(address(kw, "1"))
                                                        : c.stored ? std::optional(stored)
                                                                   : std::nullopt;
        EXPECT_EQ(search.first_page_address, stored_after) << what << ": only a search stores";
        if (c.command != Command::first) {
            EXPECT_EQ(window.status_parts[0], nothing_found)
                << what << ": paging writes no progress text";
        }
    }
}

TEST_F(SearchHandlers, PagingAtTheEndsOfTheThirtyTwoBitRangeWrapsThePageButNotItsText) {
    constexpr std::int32_t int_max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t int_min = std::numeric_limits<std::int32_t>::min();
    controls.keyword = "k";
    state.page_number = int_max;
    next_page_command(context());
    EXPECT_EQ(controls.status_parts[1], "第2147483648页");
    EXPECT_EQ(state.page_number, int_min);
    EXPECT_EQ(pages.addresses.back(), address("k", "-2147483648"));
    previous_page_command(context());
    EXPECT_EQ(controls.status_parts[1], "第-2147483649页");
    EXPECT_EQ(state.page_number, int_max);
    EXPECT_EQ(pages.addresses.back(), address("k", "2147483647"));
}

TEST_F(SearchHandlers, PreviousPageOnPageOneReloadsTheLastSearchEvenAfterTheKeywordChanged) {
    controls.keyword = "first";
    pages.pages[address("first", "1")] = page_of(3, "first");
    search_command(context());
    controls.keyword = "changed";
    std::size_t rows_at_message = 99;
    controls.while_message_open = [&] { rows_at_message = controls.rows.size(); };
    previous_page_command(context());
    EXPECT_EQ(rows_at_message, 0U) << "the list is cleared before the box";
    EXPECT_EQ(pages.addresses,
              (std::vector<std::string>{address("first", "1"), address("first", "1")}));
    EXPECT_EQ(controls.rows.size(), 3U);
    EXPECT_EQ(state.page_number, 1);
}

TEST_F(SearchHandlers, AnAutoSearchInsideTheBoxIsWhatTheReloadAfterItLoads) {
    controls.keyword = "a";
    search_command(context());
    controls.keyword = "ab";
    keyword_change_handler(controls);
    // The countdown elapses while the box is open: its tick runs there.
    controls.while_message_open = [&] { auto_search_tick(context()); };
    pages.pages[address("ab", "1")] = page_of(2, "ab");
    previous_page_command(context());
    EXPECT_EQ(pages.addresses, (std::vector<std::string>{address("a", "1"), address("ab", "1"),
                                                         address("ab", "1")}));
    EXPECT_EQ(state.first_page_address, address("ab", "1"));
    ASSERT_EQ(controls.rows.size(), 2U) << "the page once, not the tick's rows and the reload's";
    EXPECT_EQ(controls.rows[0], row_of("ab", 1));
    EXPECT_EQ(auto_search_period(), 0);
}

TEST_F(SearchHandlers, NextPageBeforeAnySearchLoadsPageOneAndStoresNothing) {
    controls.keyword = "tv";
    next_page_command(context());
    EXPECT_EQ(state.page_number, 1);
    EXPECT_FALSE(state.first_page_address.has_value());
    previous_page_command(context());  // page 1 without a search: the box, then the empty address
    EXPECT_EQ(pages.addresses, (std::vector<std::string>{address("tv", "1"), ""}));
    EXPECT_EQ(controls.messages.size(), 1U);
    EXPECT_EQ(controls.status_parts[0], nothing_found);
}

TEST_F(SearchHandlers, FirstPageHidesThePreviousItemAfterTheLoadAndNextPageShowsItAgain) {
    controls.keyword = "tv";
    state.page_number = 5;
    bool hidden_at_fetch = true;
    pages.while_fetching = [&] { hidden_at_fetch = previous_hidden(); };
    first_page_command(context());
    EXPECT_FALSE(hidden_at_fetch) << "hidden after the load, not before";
    EXPECT_TRUE(previous_hidden());
    EXPECT_EQ(controls.status_parts[1], "第1页");
    EXPECT_EQ(controls.status_parts[0], nothing_found);
    pages.while_fetching = nullptr;
    next_page_command(context());
    EXPECT_FALSE(previous_hidden());
    EXPECT_EQ(controls.status_parts[1], "第2页");
}

// --- auto-search -----------------------------------------------------------------

TEST_F(SearchHandlers, KeywordChangeArmsTheTimerAndTheTickSearchesThenStopsIt) {
    keyword_change_handler(controls);
    EXPECT_EQ(auto_search_period(), 1000);
    EXPECT_TRUE(pages.addresses.empty()) << "a change alone does not search";
    controls.keyword = "abc";
    state.page_number = 4;
    std::int32_t period_at_fetch = -1;
    pages.while_fetching = [&] { period_at_fetch = auto_search_period(); };
    auto_search_tick(context());
    EXPECT_EQ(period_at_fetch, 1000) << "the search runs first";
    EXPECT_EQ(auto_search_period(), 0);
    EXPECT_EQ(pages.addresses, (std::vector<std::string>{address("abc", "1")}));
    EXPECT_EQ(state.first_page_address, address("abc", "1"));
    EXPECT_EQ(state.page_number, 1);
    EXPECT_EQ(controls.status_parts[1], "第1页");
}

}  // namespace
}  // namespace pricelookup::search
