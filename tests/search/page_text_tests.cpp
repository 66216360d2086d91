#include "search/page_text.h"

#include <gtest/gtest.h>

namespace pricelookup::search {
namespace {

using namespace std::string_literals;

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

class BytesToText : public testing::TestWithParam<TextCase> {};

TEST_P(BytesToText, CutsAtTheFirstZeroByte) {
    EXPECT_EQ(bytes_to_text(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BytesToText,
    testing::Values(TextCase{"no_bytes", "", ""},
                    TextCase{"no_zero_byte", "ab\xC4\xE3", "ab\xC4\xE3"},
                    TextCase{"zero_in_the_middle", "ab\0cd\0e"s, "ab"},
                    TextCase{"zero_first", "\0abc"s, ""}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

class RemoveLineBreaks : public testing::TestWithParam<TextCase> {};

TEST_P(RemoveLineBreaks, DropsEachCrLfPairScanningDoubleByteCharacters) {
    EXPECT_EQ(remove_line_breaks(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemoveLineBreaks,
    testing::Values(
        TextCase{"empty", "", ""},
        TextCase{"pairs_go_lone_breaks_stay", "a\r\nb\rc\nd\r\n", "ab\rc\nd"},
        TextCase{"cr_cr_lf", "\r\r\n", "\r"},
        TextCase{"lf_cr_is_no_pair", "\n\r", "\n\r"},
        TextCase{"cr_after_lead_byte_is_its_trail", "\xB0\r\n", "\xB0\r\n"},
        TextCase{"pair_after_whole_character", "\xC4\xE3\r\nx", "\xC4\xE3x"},
        TextCase{"lead_byte_takes_a_lf", "\xC4\n\r\n", "\xC4\n"},
        TextCase{"lone_lead_byte_at_the_end", "x\r\n\xC4", "x\xC4"},
        TextCase{"single_cr", "\r", "\r"}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

}  // namespace
}  // namespace pricelookup::search
