#pragma once

// The static definition of the main window: frame, menu bar, controls, their places,
// sizes, texts and start state. The window is built from it once at start and its
// layout never changes afterwards. Places are pixels relative to the client area,
// below the menu bar. Texts are GBK (the sources are compiled with a GBK execution
// character set).

#include <array>
#include <cstdint>
#include <string_view>

#include "ui/controls.h"

namespace pricelookup::ui::definition {

struct Size {
    int width;
    int height;
};

struct Rect {
    int left;
    int top;
    int width;
    int height;
};

// The title bar's text.
inline constexpr std::string_view window_title = "电器市场价格查询";

// Outer size of the window, frame, title bar and menu bar included.
inline constexpr Size window_outer_size{756, 590};

// Menu bar: two top-level entries, each with its items, in this order.
struct MenuEntry {
    std::string_view caption;
    MenuItem item;
};
inline constexpr std::string_view page_menu_caption = "选择页数";
inline constexpr std::array page_menu_items{
    MenuEntry{"上一页", MenuItem::previous_page},
    MenuEntry{"下一页", MenuItem::next_page},
    MenuEntry{"首页", MenuItem::first_page},
};
inline constexpr std::string_view restart_menu_caption = "重启刷新";
inline constexpr std::array restart_menu_items{
    MenuEntry{"刷新", MenuItem::refresh},
};

// 透明标签1, the hint label: red, bold, 12 pixels high, transparent.
inline constexpr Rect hint_label_rect{0, 0, 360, 24};
inline constexpr std::string_view hint_label_text =
    " 请输入你想查询的器材名称,程序自动帮你完成搜索操作!";
inline constexpr int hint_label_pixel_size = 12;

// 编辑框1, the keyword box.
inline constexpr Rect keyword_box_rect{344, 0, 336, 24};

// 按钮1, the search button.
inline constexpr Rect search_button_rect{680, 0, 72, 24};
inline constexpr std::string_view search_button_caption = "搜索";

// 超级列表框1, the result list.
inline constexpr Rect result_list_rect{0, 24, 752, 300};
struct Column {
    std::string_view title;
    int width;
};
inline constexpr std::array result_columns{
    Column{"序号", 50},        Column{"器材名称", 250},  Column{"产器支持", 150},
    Column{"价格", 40},        Column{"人民币(元)", 80}, Column{"报价时间", 80},
    Column{"产品图片地址", 100},
};

// 超文本浏览框1, the preview pane.
inline constexpr Rect preview_pane_rect{0, 328, 752, 192};

// 状态条1, the status bar: docked to the bottom, three parts.
struct StatusPart {
    int width;
    std::string_view start_text;
};
inline constexpr std::array status_parts{
    StatusPart{300, "启动成功,请输入搜索电器名称!"},
    StatusPart{50, "空页"},
    StatusPart{400, "时间"},
};

// 时钟1 starts stopped; 时钟2 runs from the window's creation on.
inline constexpr std::int32_t auto_search_timer_start_period = 0;
inline constexpr std::int32_t clock_timer_start_period = 1000;

// Names that screen readers announce for the controls. The keyword box has no caption
// of its own: the hint label in front of it says what to type, so it is named by the
// hint (without the label's leading space). The list and the pane are named by what
// they hold; the label and the button by their captions.
inline constexpr std::string_view hint_label_accessible_name = hint_label_text.substr(1);
inline constexpr std::string_view keyword_box_accessible_name = hint_label_text.substr(1);
inline constexpr std::string_view search_button_accessible_name = search_button_caption;
inline constexpr std::string_view result_list_accessible_name = "搜索结果列表";
inline constexpr std::string_view preview_pane_accessible_name = "产品图片预览";
inline constexpr std::string_view status_bar_accessible_name = "状态条";

// Caption of every box that show_message opens.
inline constexpr std::string_view message_caption = "信息：";

}  // namespace pricelookup::ui::definition
