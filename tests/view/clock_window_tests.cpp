// The clock in status part 2 of the real window: its start text, its first tick, and
// how it stands still while a search blocks the window and catches up after it.

#include <QLabel>
#include <QSignalSpy>
#include <chrono>
#include <vector>

#include "search/page_source.h"
#include "tests/search/support/loopback_server.h"
#include "tests/view/support/picture_server.h"
#include "tests/view/window_under_test.h"
#include "ui/period_timer.h"
#include "view/date_time.h"

namespace pricelookup::testing {
namespace {

using namespace std::chrono;

// The clock's text for now, and for the second before (a tick may have come just
// before a second boundary).
bool shows_the_current_time(const std::string& text) {
    const auto now = system_clock::now();
    return text == view::date_time_text(view::local_time_of(now)) ||
           text == view::date_time_text(view::local_time_of(now - seconds{1}));
}

using ClockWindow = WindowUnderTest;

TEST_F(ClockWindow, PartTwoReadsItsStartTextUntilTheFirstTickThenTheTime) {
    EXPECT_EQ(part_text(2), "时间");
    QSignalSpy ticks(window->timer(ui::Timer::clock), &ui::PeriodTimer::ticked);
    ASSERT_TRUE(ticks.wait(5000));
    EXPECT_TRUE(shows_the_current_time(part_text(2))) << part_text(2);
    EXPECT_EQ(part_text(0), "启动成功,请输入搜索电器名称!") << "the clock writes part 2 only";
    EXPECT_EQ(part_text(1), "空页");
}

// The real page fetch, watched: what the clock showed while the search's fetch held
// the window.
class WatchedPageSource final : public search::PageSource {
  public:
    std::string fetch(std::string_view address) override {
        const qsizetype ticks_before = clock_ticks->count();
        clock_at_start = ui::to_gbk(clock_part->text());
        page = m_network.fetch(address);
        clock_at_end = ui::to_gbk(clock_part->text());
        ticks_during = clock_ticks->count() - ticks_before;
        ended = steady_clock::now();
        return page;
    }

    const QLabel* clock_part = nullptr;
    QSignalSpy* clock_ticks = nullptr;
    std::string clock_at_start;
    std::string clock_at_end;
    qsizetype ticks_during = -1;
    steady_clock::time_point ended;
    std::string page;

  private:
    search::NetworkPageSource m_network;
};

// The search command of the search button, against a catalogue that answers late.
class ClockDuringASlowSearch : public WindowUnderTest {
  protected:
    void SetUp() override {
        test::clear_proxy_environment();
        page_source = &slow_search;
        query_prefix = server.url("/index.php?c=SearchList&keyword=");
        WindowUnderTest::SetUp();
    }

    PictureServer server{"text/html", "<html>late</html>", milliseconds{3000}};
    WatchedPageSource slow_search;
};

TEST_F(ClockDuringASlowSearch, StandsStillDuringTheSearchAndShowsTheCurrentTimeRightAfter) {
    QSignalSpy ticks(window->timer(ui::Timer::clock), &ui::PeriodTimer::ticked);
    slow_search.clock_ticks = &ticks;
    slow_search.clock_part = window->status_part(2);
    ASSERT_TRUE(ticks.wait(5000)) << "the clock runs before the search";
    const std::string before = part_text(2);

    // When each tick after the search came, and what the first one wrote.
    std::vector<steady_clock::time_point> tick_times;
    std::string clock_after_first_tick;
    bool first_tick_showed_its_time = false;
    QObject::connect(window->timer(ui::Timer::clock), &ui::PeriodTimer::ticked, window.get(), [&] {
        if (slow_search.ended == steady_clock::time_point{}) return;
        tick_times.push_back(steady_clock::now());
        // The clock handler, connected first, has written part 2 by now.
        if (tick_times.size() == 1) {
            clock_after_first_tick = part_text(2);
            first_tick_showed_its_time = shows_the_current_time(clock_after_first_tick);
        }
    });
    const QPoint button =
        window->search_button()->mapTo(window.get(), window->search_button()->rect().center());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, button);
    EXPECT_EQ(part_text(0), "没搜到资源！是否已连网?") << "the search command ran to its end";
    ASSERT_EQ(slow_search.page, "<html>late</html>") << "the search fetched its page";
    EXPECT_EQ(slow_search.ticks_during, 0) << "no tick while the search held the window";
    EXPECT_EQ(slow_search.clock_at_start, slow_search.clock_at_end) << "the clock stood still";

    // The three periods missed come as one tick as soon as the window is free, and the
    // next one a whole period after it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return tick_times.size() >= 2; }, 5000));
    EXPECT_LT(tick_times[0] - slow_search.ended, milliseconds{900}) << "a tick is due at once";
    EXPECT_GT(tick_times[1] - tick_times[0], milliseconds{500}) << "one tick, not three";
    EXPECT_NE(clock_after_first_tick, before);
    EXPECT_TRUE(first_tick_showed_its_time)
        << "the time of the tick, not of the search's start: " << clock_after_first_tick;
}

}  // namespace
}  // namespace pricelookup::testing
