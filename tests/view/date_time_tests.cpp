#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "view/date_time.h"

namespace pricelookup::view {
namespace {

using namespace std::chrono;

TEST(DateTimeText, WritesTheDateAndTheTimeUpToItsLastFieldThatIsNotZero) {
    struct Case {
        DateTime value;
        const char* text;
    };
    const Case cases[] = {
        {{2024, 3, 5, 9, 7, 5}, "2024年3月5日9时7分5秒"},
        {{2024, 3, 5, 9, 7, 0}, "2024年3月5日9时7分"},
        {{2024, 3, 5, 9, 0, 0}, "2024年3月5日9时"},
        {{2024, 3, 5, 0, 0, 0}, "2024年3月5日"},
        {{2024, 3, 5, 0, 0, 5}, "2024年3月5日0时0分5秒"},
        {{2024, 3, 5, 0, 5, 0}, "2024年3月5日0时5分"},
        {{2024, 3, 5, 10, 0, 5}, "2024年3月5日10时0分5秒"},
        {{2024, 12, 31, 23, 59, 59}, "2024年12月31日23时59分59秒"},
        // Midnight and the second after it; a whole hour and a whole minute.
        {{2025, 1, 1, 0, 0, 0}, "2025年1月1日"},
        {{2025, 1, 1, 0, 0, 1}, "2025年1月1日0时0分1秒"},
        {{2025, 1, 1, 23, 0, 0}, "2025年1月1日23时"},
        {{2025, 1, 1, 0, 1, 0}, "2025年1月1日0时1分"},
        {{2025, 1, 1, 12, 30, 0}, "2025年1月1日12时30分"},
    };
    for (const Case& c : cases) EXPECT_EQ(date_time_text(c.value), c.text) << c.text;
}

TEST(DateTimeText, TheLongestTextIsFourteenChineseCharactersAndFourteenDigits) {
    // 2024年12月31日23时59分59秒: each character two GBK bytes, each digit one.
    EXPECT_EQ(date_time_text({2024, 12, 31, 23, 59, 59}).size(), 6U * 2 + 14U);
}

// Runs the test body in a time zone of its own and puts the former one back.
class InTimeZone : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* former = std::getenv("TZ");
        if (former != nullptr) m_former = former;
    }
    void TearDown() override {
        if (m_former)
            ::setenv("TZ", m_former->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    static void use_zone(const char* zone) {
        ::setenv("TZ", zone, 1);
        ::tzset();
    }

  private:
    std::optional<std::string> m_former;
};

system_clock::time_point utc(int y, unsigned m, unsigned d, int h, int min, int s, int ms = 0) {
    return sys_days{year{y} / month{m} / day{d}} + hours{h} + minutes{min} + seconds{s} +
           milliseconds{ms};
}

TEST_F(InTimeZone, LocalTimeFollowsTheZoneAndItsDaylightSavingTime) {
    struct Case {
        const char* zone;
        system_clock::time_point instant;
        DateTime local;
    };
    // POSIX zone rules, so that the cases need no time zone database.
    const Case cases[] = {
        {"UTC0", utc(2024, 3, 5, 9, 7, 5), {2024, 3, 5, 9, 7, 5}},
        {"CST-8", utc(2024, 3, 5, 1, 7, 5), {2024, 3, 5, 9, 7, 5}},
        {"CST-8", utc(2024, 12, 31, 16, 0, 0), {2025, 1, 1, 0, 0, 0}},  // local midnight
        {"CET-1CEST,M3.5.0,M10.5.0/3", utc(2024, 1, 15, 12, 0, 0), {2024, 1, 15, 13, 0, 0}},
        {"CET-1CEST,M3.5.0,M10.5.0/3", utc(2024, 7, 15, 12, 0, 0), {2024, 7, 15, 14, 0, 0}},
        // The spring change: 00:59:59 UTC is 01:59:59 winter time, a second later 03:00:00.
        {"CET-1CEST,M3.5.0,M10.5.0/3", utc(2024, 3, 31, 0, 59, 59), {2024, 3, 31, 1, 59, 59}},
        {"CET-1CEST,M3.5.0,M10.5.0/3", utc(2024, 3, 31, 1, 0, 0), {2024, 3, 31, 3, 0, 0}},
    };
    for (const Case& c : cases) {
        use_zone(c.zone);
        EXPECT_EQ(local_time_of(c.instant), c.local) << c.zone << " " << date_time_text(c.local);
    }
}

TEST_F(InTimeZone, FractionsOfASecondAreCutNotRounded) {
    use_zone("UTC0");
    struct Case {
        system_clock::time_point instant;
        DateTime local;
    };
    const Case cases[] = {
        {utc(2024, 3, 5, 9, 7, 5, 999), {2024, 3, 5, 9, 7, 5}},
        {utc(2024, 3, 5, 23, 59, 59, 999), {2024, 3, 5, 23, 59, 59}},  // not the next day
        {utc(2024, 3, 5, 9, 7, 5, 500), {2024, 3, 5, 9, 7, 5}},
        {utc(1969, 12, 31, 23, 59, 59, 900), {1969, 12, 31, 23, 59, 59}},  // before 1970
    };
    for (const Case& c : cases)
        EXPECT_EQ(local_time_of(c.instant), c.local) << date_time_text(c.local);
}

TEST_F(InTimeZone, ReadLocalTimeIsTheCurrentTimeOfTheZone) {
    use_zone("CST-8");
    // The two readings around it bound it; a second boundary may fall between them.
    const auto before = floor<seconds>(system_clock::now());
    const DateTime now = read_local_time();
    const auto after = floor<seconds>(system_clock::now());
    EXPECT_TRUE(now == local_time_of(before) || now == local_time_of(after)) << date_time_text(now);
    use_zone("UTC0");
    const DateTime in_utc = read_local_time();
    EXPECT_NE(in_utc.hour, now.hour) << "a zone 8 hours away gives another hour";
}

}  // namespace
}  // namespace pricelookup::view
