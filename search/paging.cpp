#include "search/paging.h"

#include "search/number_text.h"
#include "search/result_page_load.h"
#include "search/search_command.h"
#include "search/search_texts.h"

namespace pricelookup::search {
namespace {

constexpr std::int32_t auto_search_delay_ms = 1000;

}  // namespace

std::int32_t page_after(std::int32_t page) {
    // Unsigned arithmetic wraps; the conversion back is modular since C++20.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(page) + 1U);
}

std::int32_t page_before(std::int32_t page) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(page) - 1U);
}

std::string stepped_page_text(double page) {
    return join_text({texts::page_before, double_text(page), texts::page_after});
}

void next_page_command(const SearchContext& context) {
    ui::Controls& controls = context.controls;
    const std::int32_t page = context.state.page_number;
    controls.clear_rows();
    if (page == 1) controls.set_item_visible(ui::MenuItem::previous_page, true);
    controls.set_part_text(1, stepped_page_text(static_cast<double>(page) + 1.0));
    context.state.page_number = page_after(page);
    fresh_address_load(context);
}

void previous_page_command(const SearchContext& context) {
    ui::Controls& controls = context.controls;
    const std::int32_t page = context.state.page_number;
    controls.clear_rows();
    if (page == 1) {
        // Timer handlers run while the box is open; an auto-search among them stores
        // a new first-page address, and that is the one loaded afterwards. Its rows
        // are cleared first, or the list would hold that page twice.
        controls.show_message(texts::on_first_page, ui::message_question);
        controls.clear_rows();
        stored_address_load(context);
        return;
    }
    controls.set_part_text(1, stepped_page_text(static_cast<double>(page) - 1.0));
    context.state.page_number = page_before(page);
    fresh_address_load(context);
}

void first_page_command(const SearchContext& context) {
    search_command(context);
    context.controls.set_item_visible(ui::MenuItem::previous_page, false);
}

void keyword_change_handler(ui::Controls& controls) {
    controls.set_period(ui::Timer::auto_search, auto_search_delay_ms);
}

void auto_search_tick(const SearchContext& context) {
    search_command(context);
    context.controls.set_period(ui::Timer::auto_search, 0);
}

}  // namespace pricelookup::search
