// Arbitrary bytes through the page pipeline: bytes to text, line-break removal and
// the listing parser, whose guarded and plain searches must give the same records.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "search/listing_parser.h"
#include "search/page_text.h"

namespace {

// Large enough for several entries, small enough for the plain search to finish
// quickly even where it backtracks badly.
constexpr std::size_t max_compared_size = 2048;

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pricelookup::search;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string text = bytes_to_text(bytes);
    check(text.size() <= bytes.size() && text.find('\0') == std::string::npos);
    check(bytes.substr(0, text.size()) == text);

    const std::string page = remove_line_breaks(text);
    check(page.size() <= text.size());

    static const ListingPattern pattern;
    const MatchList guarded = find_listing_matches(pattern, page);
    std::int64_t previous_end = 0;
    for (const MatchRecord& record : guarded.records) {
        const GroupSpan& whole = record.groups[0];
        check(whole.matched && whole.offset >= previous_end);
        check(static_cast<std::size_t>(whole.offset) + static_cast<std::size_t>(whole.length) <=
              page.size());
        for (int g = 1; g <= listing_group_count; ++g) {
            check(group_text(record, page, g).size() ==
                  static_cast<std::size_t>(record.groups[static_cast<std::size_t>(g)].length));
        }
        previous_end = whole.offset + whole.length;
    }
    if (page.size() <= max_compared_size) {
        const MatchList plain = find_listing_matches_unguarded(pattern, page);
        check(plain.records == guarded.records);
    }
    return 0;
}
