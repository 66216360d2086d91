#include "search/listing_chain.h"

#include <gtest/gtest.h>

#include "search/listing_parser.h"

namespace pricelookup::search::detail {
namespace {

constexpr auto npos = std::string_view::npos;

TEST(ListingChain, PatternSplitsIntoTheElevenMarkupLiterals) {
    EXPECT_EQ(listing_pattern_text.size(), 140u);
    const std::vector<std::string> expected = {
        "alt=\"", "\" id=", "title=''>", "</li><li", "<span class=\"price\">", "<b class='f20'>",
        "</b></span>", "date\">", "</b>", "img src=\"", "\" alt="};
    EXPECT_EQ(chain_literals(listing_pattern_text), expected);
}

struct ChainCase {
    const char* name;
    std::vector<std::string> literals;
    std::string text;
    std::size_t latest_start;
};

class LatestChainStart : public testing::TestWithParam<ChainCase> {};

TEST_P(LatestChainStart, FindsTheLastStartThatCompletes) {
    const ChainCase& c = GetParam();
    EXPECT_EQ(latest_chain_start(c.text, c.literals), c.latest_start);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LatestChainStart,
    testing::Values(
        ChainCase{"single_literal_last_of_several", {"ab"}, "xabyabz", 4},
        ChainCase{"later_starts_lack_a_successor", {"a", "b"}, "xAyaBbaa", 3},
        ChainCase{"order_matters", {"a", "b"}, "bxa", npos},
        ChainCase{"pieces_may_not_overlap", {"aba", "ab"}, "abab", npos},
        ChainCase{"adjacent_pieces", {"aba", "ab"}, "ababab", 0},
        ChainCase{"repeated_bytes_in_literal", {"aab"}, "aaaab", 2},
        ChainCase{"literal_at_both_ends", {"<b>", "</b>"}, "<B>x</B>", 0},
        ChainCase{"literal_longer_than_text", {"abcdef"}, "abc", npos},
        ChainCase{"only_letters_fold", {"[@"}, "{`", npos},
        ChainCase{"empty_text", {"a"}, "", npos}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

}  // namespace
}  // namespace pricelookup::search::detail
