#include "app/fatal_error_message.h"

namespace pricelookup::app {

std::string fatal_error_message(std::int32_t code, std::string_view message) {
    std::string text = "运行时出错!\r\n\r\n";
    if (code != 0) text.append("错误代码：").append(std::to_string(code)).append("\r\n\r\n");
    if (!message.empty()) text.append("错误信息：").append(message).append("\r\n");
    return text;
}

std::string allocation_failure_message(std::size_t bytes) {
    return "分配 " + std::to_string(bytes) + " 字节内存失败!";
}

}  // namespace pricelookup::app
