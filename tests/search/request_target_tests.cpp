#include "search/request_target.h"

#include <gtest/gtest.h>

namespace pricelookup::search {
namespace {

using namespace std::string_literals;

struct EscapeCase {
    const char* name;
    std::string object;
    std::string target;
};

class EscapeRequestTarget : public testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeRequestTarget, WritesOnlyUnsafeBytesAsPercentHex) {
    EXPECT_EQ(escape_request_target(GetParam().object), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EscapeRequestTarget,
    testing::Values(
        EscapeCase{"plain_query_unchanged", "/index.php?c=SearchList&keyword=ab&page=1",
                   "/index.php?c=SearchList&keyword=ab&page=1"},
        EscapeCase{"gbk_bytes", "/?k=\xC4\xE3\xBA\xC3", "/?k=%C4%E3%BA%C3"},
        EscapeCase{"highest_and_lowest_byte", "\xFF\x80", "%FF%80"},
        EscapeCase{"space_and_controls", " \t\r\n\x01\x7F"s + '\0', "%20%09%0D%0A%01%7F%00"},
        EscapeCase{"percent_is_never_touched", "/a%41%zz%", "/a%41%zz%"},
        EscapeCase{"printables_a_target_may_not_hold", "\"<>\\^`{|}[]#", "%22%3C%3E%5C%5E%60%7B%7C%7D%5B%5D%23"},
        EscapeCase{"sub_delims_and_path_characters", "/-._~!$&'()*+,;=:@?/",
                   "/-._~!$&'()*+,;=:@?/"},
        EscapeCase{"empty", "", ""}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

}  // namespace
}  // namespace pricelookup::search
