#include "search/read_chunk_size.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pricelookup::search {
namespace {

struct ChunkCase {
    const char* name;
    std::optional<std::string> content_length;
    std::size_t chunk_size;
};

class ReadChunkSize : public testing::TestWithParam<ChunkCase> {};

TEST_P(ReadChunkSize, FollowsTheAnnouncedLength) {
    const auto& value = GetParam().content_length;
    EXPECT_EQ(read_chunk_size(value ? std::optional<std::string_view>(*value) : std::nullopt),
              GetParam().chunk_size);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadChunkSize,
    testing::Values(
        ChunkCase{"missing", std::nullopt, 10240},
        ChunkCase{"empty", "", 10240},
        ChunkCase{"zero", "0", 10240},
        ChunkCase{"one", "1", 2},
        ChunkCase{"five_hundred", "500", 501},
        ChunkCase{"just_below_the_maximum", "102398", 102399},
        ChunkCase{"one_less_than_the_maximum", "102399", 102400},
        ChunkCase{"the_maximum", "102400", 102400},
        ChunkCase{"far_above", "5000000", 102400},
        ChunkCase{"digits_beyond_any_integer", "99999999999999999999999999999", 102400},
        ChunkCase{"thirty_one_characters", std::string(27, ' ') + "1234", 1235},
        ChunkCase{"thirty_two_characters", std::string(28, ' ') + "1234", 10240},
        ChunkCase{"leading_white_space", " \t\n\v\f\r500", 501},
        ChunkCase{"plus_sign", "+500", 501},
        ChunkCase{"minus_sign", "-500", 10240},
        ChunkCase{"minus_zero", "-0", 10240},
        ChunkCase{"stops_at_first_non_digit", "12ab34", 13},
        ChunkCase{"space_after_sign", "+ 5", 10240},
        ChunkCase{"no_digits", "abc", 10240}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

}  // namespace
}  // namespace pricelookup::search
