// A page on which the plain Boost.Regex search gives up after k good entries: the
// work limit is a real error of the engine, and the k records found before it stay.

#include <gtest/gtest.h>

#include "tests/search/support/listing_pages.h"
#include "search/listing_parser.h"

namespace pricelookup::search {
namespace {

TEST(ListingEngineError, RecordsFoundBeforeTheEngineGivesUpAreKept) {
    constexpr std::size_t good_entries = 3;
    std::string page;
    for (std::size_t i = 0; i < good_entries; ++i) page += test::entry_markup(test::Entry{});
    page += test::hostile_page(4 * 1024);

    const ListingPattern pattern;
    const MatchList plain = find_listing_matches_unguarded(pattern, page);
    EXPECT_TRUE(plain.ended_by_engine_error);
    ASSERT_EQ(plain.records.size(), good_entries);
    EXPECT_EQ(group_text(plain.records[2], page, 1), test::Entry{}.name);

    // The guard sees that no later entry can complete and never starts that search.
    const MatchList guarded = find_listing_matches(pattern, page);
    EXPECT_FALSE(guarded.ended_by_engine_error);
    EXPECT_EQ(guarded.records, plain.records);
}

}  // namespace
}  // namespace pricelookup::search
