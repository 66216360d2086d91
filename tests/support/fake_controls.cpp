#include "tests/support/fake_controls.h"

#include "ui/window_definition.h"

namespace pricelookup::testing {

FakeControls::FakeControls() {
    for (std::size_t i = 0; i < status_parts.size(); ++i) {
        status_parts[i] = std::string(ui::definition::status_parts[i].start_text);
    }
    // The clock runs from the window's creation, the auto-search timer starts stopped.
    set_period(ui::Timer::auto_search, ui::definition::auto_search_timer_start_period);
    set_period(ui::Timer::clock, ui::definition::clock_timer_start_period);
}

void FakeControls::set_item_visible(ui::MenuItem item, bool visible) {
    bool& hidden = item_hidden[static_cast<std::size_t>(item)];
    if (hidden == !visible) return;
    hidden = !visible;
    ++menu_bar_builds;
}

void FakeControls::set_period(ui::Timer timer, std::int32_t period_ms) {
    const std::int32_t period_value = period_ms < 0 ? 0 : period_ms;
    const auto index = static_cast<std::size_t>(timer);
    if (period_value == timer_period[index]) return;  // a running countdown goes on
    timer_period[index] = period_value;
    timer_running[index] = period_value > 0;
    if (period_value > 0) ++timer_starts[index];
}

void FakeControls::set_part_text(std::int32_t part, std::string_view text) {
    part_writes.push_back({part, std::string(text), rows.size()});
    if (part >= 0 && static_cast<std::size_t>(part) < status_parts.size()) {
        status_parts[static_cast<std::size_t>(part)] = std::string(text);
    }
}

void FakeControls::clear_rows() {
    rows.clear();
    selected = ui::no_row;
}

std::int32_t FakeControls::append_row(std::string_view caption) {
    if (rows.size() >= row_limit) return ui::no_row;
    Row row;
    row[0] = std::string(caption);
    rows.push_back(std::move(row));
    return static_cast<std::int32_t>(rows.size() - 1);
}

void FakeControls::set_cell_text(std::int32_t row, std::int32_t column, std::string_view text) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
    if (column < 0 || column >= column_count) return;
    rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::string(text);
}

std::string FakeControls::get_cell_text(std::int32_t row, std::int32_t column) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return {};
    if (column < 0 || column >= column_count) return {};
    return rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void FakeControls::show_message(std::string_view text, std::int32_t flags) {
    messages.emplace_back(std::string(text), flags);
    if (while_message_open) while_message_open();
}

bool FakeControls::copy_to_clipboard(std::string_view text) {
    if (!clipboard_free) return false;
    clipboard = std::string(text);
    return true;
}

}  // namespace pricelookup::testing
