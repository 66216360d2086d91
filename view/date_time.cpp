#include "view/date_time.h"

#include <ctime>

namespace pricelookup::view {

DateTime local_time_of(std::chrono::system_clock::time_point instant) {
    // floor, not a plain cast: before 1970 a cast would round the second up.
    const auto seconds = std::chrono::floor<std::chrono::seconds>(instant);
    const std::time_t whole = std::chrono::system_clock::to_time_t(seconds);
    std::tm local{};
    ::tzset();
    if (::localtime_r(&whole, &local) == nullptr) return {};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

DateTime read_local_time() {
    return local_time_of(std::chrono::system_clock::now());
}

std::string date_time_text(const DateTime& value) {
    const auto number = [](int n) { return std::to_string(n); };
    std::string text =
        number(value.year) + "年" + number(value.month) + "月" + number(value.day) + "日";
    // The time of day is written up to its last field that is not zero.
    if (value.second != 0) {
        text +=
            number(value.hour) + "时" + number(value.minute) + "分" + number(value.second) + "秒";
    } else if (value.minute != 0) {
        text += number(value.hour) + "时" + number(value.minute) + "分";
    } else if (value.hour != 0) {
        text += number(value.hour) + "时";
    }
    return text;
}

}  // namespace pricelookup::view
