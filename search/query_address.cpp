#include "search/query_address.h"

#include "search/number_text.h"

namespace pricelookup::search {

std::string query_prefix(std::string_view catalogue_host) {
    return join_text({"http://", catalogue_host, "/index.php?c=SearchList&keyword="});
}

std::string query_address(std::string_view prefix, std::string_view keyword,
                          std::string_view page_text) {
    return join_text({prefix, keyword, "&page=", page_text});
}

}  // namespace pricelookup::search
