#include "search/search_command.h"

#include "search/number_text.h"
#include "search/query_address.h"
#include "search/result_page_load.h"
#include "search/search_texts.h"

namespace pricelookup::search {

void search_command(const SearchContext& context) {
    ui::Controls& controls = context.controls;
    controls.clear_rows();
    context.state.page_number = 1;
    const std::string page_text = integer_text(context.state.page_number);
    const std::string keyword = controls.read_text();
    context.state.first_page_address = query_address(context.query_prefix, keyword, page_text);
    controls.set_part_text(0, texts::searching);
    controls.set_part_text(
        1, join_text(
               {texts::page_before, integer_text(context.state.page_number), texts::page_after}));
    stored_address_load(context);
}

}  // namespace pricelookup::search
