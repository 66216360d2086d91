#pragma once

// Which result page of which search the user is looking at.

#include <cstdint>
#include <optional>
#include <string>

namespace pricelookup::search {

struct SearchState {
    // Set to 1 by a new search and moved by paging; it has no bounds of its own.
    std::int32_t page_number = 0;
    // The query address of page 1 of the last search; absent before the first one.
    std::optional<std::string> first_page_address;
};

}  // namespace pricelookup::search
