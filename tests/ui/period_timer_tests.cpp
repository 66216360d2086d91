#include "ui/period_timer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <thread>
#include <vector>

namespace pricelookup::ui {
namespace {

// Records when each tick arrives, in ms since the test began.
class TickLog {
public:
    explicit TickLog(PeriodTimer& timer) {
        m_clock.start();
        QObject::connect(&timer, &PeriodTimer::ticked, [this] { m_ticks.push_back(m_clock.elapsed()); });
    }
    const std::vector<qint64>& ticks() const { return m_ticks; }
    qint64 now() const { return m_clock.elapsed(); }

private:
    QElapsedTimer m_clock;
    std::vector<qint64> m_ticks;
};

// Keeps the thread busy without handling events, as a blocking search does.
void block_thread(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

TEST(PeriodTimer, SettingTheSamePeriodAgainDoesNotRestartTheCountdown) {
    // Three keystrokes 300 ms apart arm the auto-search: one tick, 1000 ms after the first.
    PeriodTimer timer;
    TickLog log(timer);
    timer.set_period(1000);
    QTest::qWait(300);
    timer.set_period(1000);
    QTest::qWait(300);
    timer.set_period(1000);
    QTest::qWait(700);
    ASSERT_EQ(log.ticks().size(), 1U);
    EXPECT_GE(log.ticks()[0], 990);
    EXPECT_LT(log.ticks()[0], 1400) << "a restarted countdown would have ticked at 1600";
}

TEST(PeriodTimer, AnotherPeriodRestartsTheCountdown) {
    PeriodTimer timer;
    TickLog log(timer);
    timer.set_period(1000);
    QTest::qWait(200);
    timer.set_period(600);  // next tick 600 ms from here: at 800, before the old 1000
    QTest::qWait(450);
    EXPECT_TRUE(log.ticks().empty());
    QTest::qWait(300);
    ASSERT_EQ(log.ticks().size(), 1U) << "a countdown that was not restarted would tick at 1000";
    EXPECT_GE(log.ticks()[0], 790);
    EXPECT_EQ(timer.period(), 600);
}

TEST(PeriodTimer, ZeroOrANegativePeriodStopsIt) {
    for (const std::int32_t stop : {0, -5}) {
        PeriodTimer timer;
        TickLog log(timer);
        timer.set_period(100);
        timer.set_period(stop);
        EXPECT_EQ(timer.period(), 0) << stop;
        EXPECT_FALSE(timer.is_running()) << stop;
        QTest::qWait(250);
        EXPECT_TRUE(log.ticks().empty()) << stop;
    }
}

TEST(PeriodTimer, StoppingDropsATickThatCameDueWhileTheThreadWasBusy) {
    PeriodTimer timer;
    TickLog log(timer);
    timer.set_period(50);
    block_thread(200);
    timer.set_period(0);
    QTest::qWait(150);
    EXPECT_TRUE(log.ticks().empty());
}

TEST(PeriodTimer, TicksMissedWhileTheThreadWasBlockedArriveAsOne) {
    PeriodTimer timer;
    TickLog log(timer);
    timer.set_period(300);
    block_thread(1000);
    QTest::qWait(100);
    EXPECT_EQ(log.ticks().size(), 1U) << "three periods elapsed, one tick";
    QTest::qWait(350);
    EXPECT_EQ(log.ticks().size(), 2U) << "and then it goes on with its period";
}

TEST(PeriodTimer, StartsStoppedAndNeverTicksWithoutAPeriod) {
    PeriodTimer timer;
    TickLog log(timer);
    EXPECT_EQ(timer.period(), 0);
    timer.set_period(0);
    QTest::qWait(50);
    EXPECT_FALSE(timer.is_running());
    EXPECT_TRUE(log.ticks().empty());
}

}  // namespace
}  // namespace pricelookup::ui
