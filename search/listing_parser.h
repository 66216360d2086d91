#pragma once

// The listing parser: finds every product entry of a result page with one fixed
// regular expression and hands out the captured fields by offset and length.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pricelookup::search {

// The markup of one product entry, as the catalogue writes it. Ten lazy gaps
// ".*?", six of them capturing; every other character stands for itself.
inline constexpr std::string_view listing_pattern_text =
    R"listing(alt="(.*?)" id=.*?title=''>(.*?)</li><li.*?<span class="price">(.*?)<b class='f20'>(.*?)</b></span>.*?date">(.*?)</b>.*?img src="(.*?)" alt=)listing";

// Capturing groups of the listing pattern: 1 product name, 2 specification line,
// 3 price label, 4 price, 5 quote date, 6 picture address; 0 is the whole match.
inline constexpr int listing_group_count = 6;

struct GroupSpan {
    std::int32_t offset = 0;  // first byte, counted from the start of the page text
    std::int32_t length = 0;  // in bytes
    bool matched = false;     // whether the group took part in the match

    friend bool operator==(const GroupSpan&, const GroupSpan&) = default;
};

struct MatchRecord {
    std::array<GroupSpan, listing_group_count + 1> groups{};

    friend bool operator==(const MatchRecord&, const MatchRecord&) = default;
};

struct MatchList {
    std::vector<MatchRecord> records;  // in page order
    // True when the regex engine gave up (work, stack or memory limit) on the search after
    // the last record; the records found before stay valid.
    bool ended_by_engine_error = false;
};

// The listing pattern compiled with Perl syntax and case-insensitive matching, in
// the classic locale so that the user's locale never changes what matches.
class ListingPattern {
public:
    ListingPattern();
    ~ListingPattern();
    ListingPattern(ListingPattern&&) noexcept;
    ListingPattern& operator=(ListingPattern&&) noexcept;

    // False only if the engine refused the pattern; every search then finds nothing.
    bool compiled() const;

    struct Engine;
    const Engine& engine() const { return *m_engine; }

private:
    std::unique_ptr<Engine> m_engine;
};

// All successive matches of the listing pattern in page_text, which ends at its
// first zero byte; each search starts right after the previous match. Before each
// search it checks that the literal pieces of the pattern can still occur in order
// after the search start and stops when they cannot, so that pages whose entries
// lack some markup take linear time instead of the engine's exponential
// backtracking. The records are always those of find_listing_matches_unguarded.
//   two complete entries            -> 2 records, in page order
//   "<img alt=\"x\" id=1 title=''>" -> no record
MatchList find_listing_matches(const ListingPattern& pattern, std::string_view page_text);

// The same successive Boost.Regex searches without that check: the reference the
// guarded search is measured and tested against.
MatchList find_listing_matches_unguarded(const ListingPattern& pattern,
                                         std::string_view page_text);

// The bytes of group `group` (1 to 6) of `record`, cut from the very page text that
// was searched; empty when the group did not take part or the number is out of range.
//   record of "alt=\"Nokia\" id=..." , group 1 -> "Nokia"
std::string group_text(const MatchRecord& record, std::string_view page_text, int group);

}  // namespace pricelookup::search
