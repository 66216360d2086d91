#include "search/result_page_load.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "search/listing_parser.h"
#include "search/number_text.h"
#include "search/query_address.h"
#include "search/search_texts.h"

namespace pricelookup::search {

void load_result_page(ui::Controls& controls, PageSource& pages, std::string_view address) {
    const std::string page = pages.fetch(address);
    const ListingPattern pattern;
    // An engine error ends the search; the matches found before it are shown.
    const MatchList matches = find_listing_matches(pattern, page);
    const auto count = static_cast<std::int32_t>(
        std::min<std::size_t>(matches.records.size(), std::numeric_limits<std::int32_t>::max()));
    if (count < 1) {
        controls.set_part_text(0, texts::nothing_found);
        return;
    }
    const std::string count_message =
        join_text({texts::count_before, integer_text(count), texts::count_after});
    for (std::int32_t i = 1; i <= count; ++i) {
        const MatchRecord& record = matches.records[static_cast<std::size_t>(i - 1)];
        // A row the list refuses (no_row) takes none of its cells; the loop goes on.
        const std::int32_t row = controls.append_row(integer_text(i));
        for (int group = 1; group <= listing_group_count; ++group) {
            controls.set_cell_text(row, group, group_text(record, page, group));
        }
        controls.set_part_text(0, count_message);
    }
}

void stored_address_load(const SearchContext& context) {
    // Copied: a handler run inside this load must not pull the address from under it.
    const std::string address = context.state.first_page_address.value_or(std::string());
    load_result_page(context.controls, context.pages, address);
}

void fresh_address_load(const SearchContext& context) {
    const std::string address = query_address(context.query_prefix, context.controls.read_text(),
                                              integer_text(context.state.page_number));
    load_result_page(context.controls, context.pages, address);
}

}  // namespace pricelookup::search
