#include "search/page_source.h"

#include "search/page_fetch.h"

namespace pricelookup::search {

std::string NetworkPageSource::fetch(std::string_view address) {
    return fetch_page(address);
}

}  // namespace pricelookup::search
