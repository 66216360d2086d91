#include "search/page_fetch.h"

#include "search/page_text.h"

namespace pricelookup::search {

std::string fetch_page(std::string_view address, const FetchLimits& limits) {
    return remove_line_breaks(bytes_to_text(http_read(address, limits)));
}

}  // namespace pricelookup::search
