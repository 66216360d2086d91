#pragma once

// What the search handlers work with: the window's controls, the search state,
// where pages come from and the catalogue's query prefix.

#include <string_view>

#include "search/page_source.h"
#include "search/search_state.h"
#include "ui/controls.h"

namespace pricelookup::search {

struct SearchContext {
    ui::Controls& controls;
    SearchState& state;
    PageSource& pages;
    // "http://" + catalogue host + "/index.php?c=SearchList&keyword=" (query_prefix).
    std::string_view query_prefix;
};

}  // namespace pricelookup::search
