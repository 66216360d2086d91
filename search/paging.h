#pragma once

// Paging through the results with the menu "选择页数", and the search that starts by
// itself a second after the keyword box changed.

#include <cstdint>
#include <string>

#include "search/search_context.h"
#include "ui/controls.h"

namespace pricelookup::search {

// The page number one step on or back, wrapping as a 32-bit two's-complement number
// does, so that no step is ever undefined.
//   1 -> 2      2147483647 -> -2147483648
std::int32_t page_after(std::int32_t page);
//   1 -> 0      -2147483648 -> 2147483647
std::int32_t page_before(std::int32_t page);

// "第" + value as "%.13g" + "页": the status text of a page reached by a step, its
// number computed as a double so that it does not wrap.
//   2.0 -> "第2页"      2147483648.0 -> "第2147483648页"
std::string stepped_page_text(double page);

// "下一页": clears the list, shows "上一页" when leaving page 1, writes the next
// page's text into status part 1, steps the page number on and loads that page of
// the keyword box's text.
//   page 1, keyword "tv" -> "上一页" shown, "第2页", loads prefix + "tv&page=2"
void next_page_command(const SearchContext& context);

// "上一页": on page 1 shows the box "已经是最后一页" and then loads the stored
// address again (the one stored when the box closes) into an emptied list; elsewhere writes the
// previous page's text, steps the page number back and loads that page.
//   page 3, keyword "tv" -> "第2页", loads prefix + "tv&page=2"
void previous_page_command(const SearchContext& context);

// "首页": the search command, then "上一页" hidden.
void first_page_command(const SearchContext& context);

// The keyword box changed: the auto-search timer is set to 1000 ms. A countdown that
// is already running goes on.
void keyword_change_handler(ui::Controls& controls);

// The auto-search timer elapsed: the search command, then the timer stopped.
void auto_search_tick(const SearchContext& context);

}  // namespace pricelookup::search
