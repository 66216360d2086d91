#pragma once

// The search command: a new search for the keyword box's text, from page 1.

#include "search/search_context.h"

namespace pricelookup::search {

// Clears the list, sets the page number to 1, stores the query address of page 1
// for the keyword box's text (read once), writes the progress text into status part
// 0 and 第1页 into part 1, then loads the stored address. It leaves the auto-search
// timer and the "上一页" item alone.
//   keyword "tv" -> first_page_address prefix + "tv&page=1", status 1 "第1页"
void search_command(const SearchContext& context);

}  // namespace pricelookup::search
