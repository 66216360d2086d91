#pragma once

// An in-memory window for testing handlers: it keeps what the control operations
// write, with the same edge behaviour as the real window (the shared contract tests
// check both), and lets a test set up what the user would have done.

#include <array>
#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls.h"

namespace pricelookup::testing {

class FakeControls final : public ui::Controls {
public:
    FakeControls();

    std::string read_text() override { return keyword; }
    void set_focus() override { keyword_box_focused = true; }
    void set_item_visible(ui::MenuItem item, bool visible) override;
    void set_period(ui::Timer timer, std::int32_t period_ms) override;
    void set_part_text(std::int32_t part, std::string_view text) override;
    void clear_rows() override;
    std::int32_t append_row(std::string_view caption) override;
    void set_cell_text(std::int32_t row, std::int32_t column, std::string_view text) override;
    std::string get_cell_text(std::int32_t row, std::int32_t column) override;
    std::int32_t selected_row() override { return selected; }
    void show_message(std::string_view text, std::int32_t flags) override;
    void show_address(std::string_view address) override { addresses_shown.emplace_back(address); }
    bool copy_to_clipboard(std::string_view text) override;

    static constexpr std::int32_t column_count = 7;
    using Row = std::array<std::string, column_count>;

    // What the user typed, clicked and selected.
    std::string keyword;
    std::int32_t selected = ui::no_row;
    bool keyword_box_focused = false;
    // False while another program holds the clipboard: copying fails and changes nothing.
    bool clipboard_free = true;
    // Rows beyond this many are refused (append_row gives no_row).
    std::size_t row_limit = std::numeric_limits<std::size_t>::max();
    // Runs while a message box is open, as timer handlers do in the real one.
    std::function<void()> while_message_open;

    // What the operations wrote.
    std::array<std::string, 3> status_parts;
    // Every set_part_text call in order, with the number of rows the list held then.
    struct PartWrite {
        std::int32_t part;
        std::string text;
        std::size_t rows_then;
    };
    std::vector<PartWrite> part_writes;
    std::vector<Row> rows;
    std::array<bool, 4> item_hidden{};
    int menu_bar_builds = 1;
    // Each timer as the real one keeps it: its period (0 while stopped), whether a
    // countdown runs, and how many countdowns were started, so that a test can tell
    // a restart from a period set again.
    std::array<std::int32_t, 2> timer_period{};
    std::array<bool, 2> timer_running{};
    std::array<int, 2> timer_starts{};
    std::vector<std::pair<std::string, std::int32_t>> messages;
    // Every address the preview pane was told, in order; the last one is the pane's.
    std::vector<std::string> addresses_shown;
    std::string clipboard = "former clipboard contents";
};

}  // namespace pricelookup::testing
