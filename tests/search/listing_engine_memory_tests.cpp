// The regex engine running out of memory while it searches a page: an error of the
// engine like its work limit, which ends the search and keeps what was found. The
// allocation failures are real ones, made by this program's own operator new.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <optional>

#include "search/listing_parser.h"
#include "tests/search/support/listing_pages.h"

namespace {

// The n-th allocation after arm(n) fails, once; disarm() tells the size it asked for.
long allocations_to_failure = 0;
std::optional<std::size_t> failed_size;

void arm(long n) {
    failed_size.reset();
    allocations_to_failure = n;
}

std::optional<std::size_t> disarm() {
    allocations_to_failure = 0;
    return failed_size;
}

}  // namespace

void* operator new(std::size_t size) {
    if (allocations_to_failure > 0 && --allocations_to_failure == 0) {
        failed_size = size;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace pricelookup::search {
namespace {

// Fails each allocation of a search of three entries in turn, from the first until
// the search runs through without reaching the failure. A failure in the growth of
// the record list is the program's own shortage of memory and may leave the search
// (the event dispatcher reports it); every other failure happens inside the engine
// and must end the search quietly, with the records found before it. The plain
// search is the one driven here, because it allocates nothing else of its own; the
// guarded search runs the same search loop.
TEST(ListingEngineMemory, AnEngineOutOfMemoryEndsTheSearchKeepingTheRecordsFoundBefore) {
    std::string page;
    for (int i = 0; i < 3; ++i) page += test::entry_markup(test::Entry{});
    const ListingPattern pattern;
    const MatchList full = find_listing_matches_unguarded(pattern, page);
    ASSERT_EQ(full.records.size(), 3U);

    int engine_failures = 0;
    for (long n = 1;; ++n) {
        ASSERT_LT(n, 10'000) << "the search never got through";
        MatchList result;
        bool escaped = false;
        arm(n);
        try {
            result = find_listing_matches_unguarded(pattern, page);
        } catch (const std::bad_alloc&) {
            escaped = true;
        }
        const std::optional<std::size_t> failed = disarm();
        if (!failed) {
            EXPECT_FALSE(escaped);
            EXPECT_EQ(result.records, full.records);
            break;
        }
        if (escaped && *failed % sizeof(MatchRecord) == 0) continue;  // the record list's own
        ++engine_failures;
        EXPECT_FALSE(escaped) << "allocation " << n << " of " << *failed << " bytes";
        EXPECT_TRUE(result.ended_by_engine_error) << n;
        ASSERT_LE(result.records.size(), full.records.size()) << n;
        EXPECT_TRUE(std::equal(result.records.begin(), result.records.end(), full.records.begin()))
            << "the records before the failure are those of the whole search, " << n;
    }
    EXPECT_GT(engine_failures, 0) << "no allocation of the engine was made to fail";
}

}  // namespace
}  // namespace pricelookup::search
