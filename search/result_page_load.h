#pragma once

// Loading one result page into the result list: fetch, match the product entries,
// one numbered row per entry, and the count (or that nothing was found) in status
// part 0. It touches nothing else: not the search state, not status part 1.

#include <string_view>

#include "search/search_context.h"

namespace pricelookup::search {

// Fetches `address` and fills the list. After every row status part 0 reads the
// total, never a running count.
//   page with 2 entries -> rows "1" and "2" with their six cells, "当前页共搜到2条结果"
//   empty page          -> no row, "没搜到资源！是否已连网?"
void load_result_page(ui::Controls& controls, PageSource& pages, std::string_view address);

// Loads the stored first-page address; the empty address when none is stored.
//   first_page_address "http://h/...&page=1" -> that page
void stored_address_load(const SearchContext& context);

// Loads a fresh query address of the keyword box's text and the page number as they
// are now; stores nothing.
//   keyword "tv", page number 3 -> prefix + "tv&page=3"
void fresh_address_load(const SearchContext& context);

}  // namespace pricelookup::search
