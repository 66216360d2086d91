#pragma once

// The texts of the run-time error box.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pricelookup::app {

inline constexpr std::string_view fatal_error_caption = "错误";

// Fatal errors the program itself reports, all with error code 0.
inline constexpr std::string_view window_definition_unreadable = "载入窗口模板数据段出错!";
inline constexpr std::string_view main_window_not_created = "载入启动窗口失败";
inline constexpr std::string_view control_window_missing = "指定窗口或窗口组件不存在或尚未载入";

// "运行时出错!" and two CR LF, then "错误代码：" + code + two CR LF when the code is
// not 0, then "错误信息：" + message + one CR LF when there is a message.
//   (0, "载入启动窗口失败") → "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"
//   (7, "") → "运行时出错!\r\n\r\n错误代码：7\r\n\r\n"
std::string fatal_error_message(std::int32_t code, std::string_view message);

// "分配 N 字节内存失败!", the message for memory that could not be had.
std::string allocation_failure_message(std::size_t bytes);

}  // namespace pricelookup::app
