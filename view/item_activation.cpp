#include "view/item_activation.h"

#include <string>

namespace pricelookup::view {

namespace {
constexpr std::int32_t name_column = 1;
constexpr std::int32_t picture_column = 6;
}  // namespace

void item_activation_handler(ui::Controls& controls) {
    const std::int32_t row = controls.selected_row();
    controls.show_address(controls.get_cell_text(row, picture_column));
    // Whether the clipboard took the name or not, the user is told the same.
    static_cast<void>(controls.copy_to_clipboard(controls.get_cell_text(row, name_column)));
    controls.show_message(copied_message, ui::message_information);
}

}  // namespace pricelookup::view
