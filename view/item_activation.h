#pragma once

// The item activation handler: run for every left click in the rows area of the
// result list 超级列表框1, after the click has changed the selection.

#include <string_view>

#include "ui/controls.h"

namespace pricelookup::view {

// The confirmation shown after every click, with the information icon.
inline constexpr std::string_view copied_message = "产品信息已复制,请粘贴到文本上即可查看!";

// Previews the selected row's picture address (column 6), puts its product name
// (column 1) on the clipboard and confirms with a message box. There is no test of
// the row: with none selected both cells read empty and all three steps run alike.
//   row 1 = {"2", "索尼 α7", ..., "http://img/2.jpg"} selected
//     -> show_address("http://img/2.jpg"), copy_to_clipboard("索尼 α7"),
//        show_message(copied_message, 64)
void item_activation_handler(ui::Controls& controls);

}  // namespace pricelookup::view
