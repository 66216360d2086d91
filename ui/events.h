#pragma once

#include <cstdint>

namespace pricelookup::ui {

// Every event that may call a handler.
enum class Event : std::uint8_t {
    window_created,           // main window: once, after all controls exist
    window_can_be_closed,     // main window: close box, system menu, Esc, session end
    window_size_changed,      // main window: once after created, then on every resize
    search_button_clicked,    // 按钮1
    keyword_changed,          // 编辑框1: every change of its text
    auto_search_tick,         // 时钟1
    clock_tick,               // 时钟2
    previous_page_selected,   // menu item "上一页"
    next_page_selected,       // menu item "下一页"
    first_page_selected,      // menu item "首页"
    refresh_selected,         // menu item "刷新"
    result_list_clicked,      // 超级列表框1: a left click in its rows area
};

}  // namespace pricelookup::ui
