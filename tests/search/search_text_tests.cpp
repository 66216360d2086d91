// Number-to-text, the text join, the query address and the page steps.

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

#include "search/number_text.h"
#include "search/paging.h"
#include "search/query_address.h"

namespace pricelookup::search {
namespace {

constexpr std::int32_t int_min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t int_max = std::numeric_limits<std::int32_t>::max();

// What the C library writes, as the reference.
std::string printf_d(std::int32_t value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}
std::string printf_13g(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.13g", value);
    return buffer;
}

TEST(NumberText, IntegersAreWrittenAsPercentD) {
    for (const std::int32_t value : {0, 1, -1, 9, 10, 20, 2000, -2147483647, int_min, int_max}) {
        EXPECT_EQ(integer_text(value), printf_d(value)) << value;
    }
    EXPECT_EQ(integer_text(-5), "-5");
}

TEST(NumberText, DoublesAreWrittenAsPercentPoint13G) {
    const double values[] = {0.0,           1.0, 2.0,  -1.0,  2147483648.0,    -2147483649.0,
                             -2147483648.0, 0.5, 1e15, -1e-5, 1234567890123.0, 12345678901234.0,
                             123.456};
    for (const double value : values) {
        EXPECT_EQ(double_text(value), printf_13g(value)) << value;
    }
    EXPECT_EQ(double_text(2147483648.0), "2147483648");
    EXPECT_EQ(double_text(-1.0), "-1");
}

TEST(NumberText, JoinPutsThePiecesOneAfterAnother) {
    EXPECT_EQ(join_text({"第", "2", "页"}), "第2页");
    EXPECT_EQ(join_text({"", "", ""}), "");
    EXPECT_EQ(join_text({"a"}), "a");
    // Bytes are bytes: a zero inside a piece is kept, nothing is converted.
    EXPECT_EQ(join_text({std::string_view("a\0b", 3), "\xB0\xA1"}), std::string("a\0b\xB0\xA1", 5));
}

TEST(QueryAddress, PrefixNamesTheCatalogueHost) {
    EXPECT_EQ(query_prefix("127.0.0.1:8080"),
              "http://127.0.0.1:8080/index.php?c=SearchList&keyword=");
    EXPECT_EQ(query_prefix(""), "http:///index.php?c=SearchList&keyword=");
}

TEST(QueryAddress, TheKeywordGoesInByteForByte) {
    const std::string prefix = query_prefix("h");
    const std::string keywords[] = {"",          " tv ",     "a\"b'c", "x&y=z", "50%25 off",
                                    "彩电 42寸", "a&page=9", "a#b",    "Nokia"};
    for (const std::string& keyword : keywords) {
        EXPECT_EQ(query_address(prefix, keyword, "1"), prefix + keyword + "&page=1") << keyword;
    }
    EXPECT_EQ(query_address(prefix, "", "-1"), "http://h/index.php?c=SearchList&keyword=&page=-1");
}

TEST(PageStep, StepsWrapAsThirtyTwoBitNumbers) {
    struct Case {
        std::int32_t page, after, before;
    };
    const Case cases[] = {
        {0, 1, -1},
        {1, 2, 0},
        {-1, 0, -2},
        {5, 6, 4},
        {int_max, int_min, int_max - 1},
        {int_min, int_min + 1, int_max},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(page_after(c.page), c.after) << c.page;
        EXPECT_EQ(page_before(c.page), c.before) << c.page;
    }
}

TEST(PageStep, TheStatusTextOfAStepDoesNotWrap) {
    EXPECT_EQ(stepped_page_text(static_cast<double>(int_max) + 1.0), "第2147483648页");
    EXPECT_EQ(stepped_page_text(static_cast<double>(int_min) - 1.0), "第-2147483649页");
    EXPECT_EQ(stepped_page_text(0.0), "第0页");
}

}  // namespace
}  // namespace pricelookup::search
