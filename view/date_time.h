#pragma once

// The local calendar date and time of day to the whole second, and its text for the
// clock in the status bar.

#include <chrono>
#include <string>

namespace pricelookup::view {

struct DateTime {
    int year = 0;
    int month = 0;   // 1 to 12
    int day = 0;     // 1 to 31
    int hour = 0;    // 0 to 23
    int minute = 0;  // 0 to 59
    int second = 0;  // 0 to 59 (60 on a leap second where the system has one)

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// The given instant in the local time zone (TZ, daylight saving time included where
// it applies), its fraction of a second cut off, never rounded up.
//   2024-03-05T01:07:05.999Z with TZ=Asia/Shanghai -> {2024, 3, 5, 9, 7, 5}
DateTime local_time_of(std::chrono::system_clock::time_point instant);

// The system's current time, as local_time_of gives it.
//   at 09:07:05.7 local time on 2024-03-05 -> {2024, 3, 5, 9, 7, 5}
DateTime read_local_time();

// The clock's text, GBK: the date as "Y年M月D日" without leading zeros, then the time
// of day with its trailing zero fields left out; nothing at all at midnight.
//   {2024, 3, 5, 9, 7, 5} -> "2024年3月5日9时7分5秒"
//   {2024, 3, 5, 9, 0, 0} -> "2024年3月5日9时"
//   {2024, 3, 5, 0, 0, 0} -> "2024年3月5日"
std::string date_time_text(const DateTime& value);

}  // namespace pricelookup::view
