#pragma once

// The operations through which the program's handlers reach the controls of the
// main window. Nothing here depends on Qt: the search and viewing handlers use this
// interface alone, the window implements it (QtControls) and the tests fake it.
//
// Every text is GBK bytes. An operation copies the texts it is given and returns
// texts the caller owns. Operations fail silently at their edges: an index out of
// range changes nothing, a missing cell reads as the empty text.

#include <cstdint>
#include <string>
#include <string_view>

namespace pricelookup::ui {

// The items of the menu bar that run commands, in the order the menu shows them.
enum class MenuItem : std::uint8_t { previous_page, next_page, first_page, refresh };

// The window's two timers.
enum class Timer : std::uint8_t {
    auto_search,  // 时钟1: armed by typing, runs the search a second later
    clock,        // 时钟2: rewrites the clock in the status bar every second
};

// Flags of show_message: which icon the box carries. Both boxes have one OK button.
inline constexpr std::int32_t message_question = 32;
inline constexpr std::int32_t message_information = 64;

// Row index that stands for "no row".
inline constexpr std::int32_t no_row = -1;

class Controls {
public:
    virtual ~Controls() = default;

    // Keyword box 编辑框1.
    virtual std::string read_text() = 0;
    virtual void set_focus() = 0;

    // Shows or hides a menu item. The menu bar is rebuilt only when the item's
    // visibility really changes; a hidden item comes back in its own place.
    virtual void set_item_visible(MenuItem item, bool visible) = 0;

    // Sets a timer's period in milliseconds. The same period again leaves a running
    // countdown alone; 0 or a negative period stops the timer and drops a tick that
    // came due but was not delivered yet; any other period restarts the countdown.
    virtual void set_period(Timer timer, std::int32_t period_ms) = 0;

    // Status bar 状态条1: parts 0, 1 and 2. Other part indexes change nothing.
    virtual void set_part_text(std::int32_t part, std::string_view text) = 0;

    // Result list 超级列表框1.
    virtual void clear_rows() = 0;
    // Appends a row with `caption` in column 0 and empty cells elsewhere; gives its
    // index, or no_row when the list cannot take another row.
    virtual std::int32_t append_row(std::string_view caption) = 0;
    virtual void set_cell_text(std::int32_t row, std::int32_t column, std::string_view text) = 0;
    virtual std::string get_cell_text(std::int32_t row, std::int32_t column) = 0;
    virtual std::int32_t selected_row() = 0;

    // Shows a modal message box with the caption "信息：" and waits until the user
    // closes it. Timers keep running meanwhile; the main window takes no input.
    virtual void show_message(std::string_view text, std::int32_t flags) = 0;

    // Preview pane 超文本浏览框1: keeps `address` as its own and starts loading it
    // anew, even when it is the address already shown; returns at once. Only absolute
    // http and https addresses are loaded: any other (empty, relative, malformed,
    // file:, javascript:, data: ...) shows a blank page.
    virtual void show_address(std::string_view address) = 0;

    // Puts exactly `text` on the clipboard as plain text, nothing else offered; the
    // empty text leaves an empty text there. False when the clipboard did not take it.
    virtual bool copy_to_clipboard(std::string_view text) = 0;
};

}  // namespace pricelookup::ui
