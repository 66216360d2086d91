// Reading the search parameters of a request target as a catalogue's script does.

#include <gtest/gtest.h>

#include <optional>

#include "catalogue/search_query.h"

namespace pricelookup::catalogue {
namespace {

TEST(DecodeQueryComponent, Cases) {
    const struct {
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"%B5%e7", "\xB5\xE7"},
        {"\xB5\xE7", "\xB5\xE7"},  // raw GBK bytes pass unchanged
        {"a+b", "a b"},
        {"100%", "100%"},
        {"%zz%4", "%zz%4"},
        {"%2B%25", "+%"},
        {"%00x", std::string_view("\0x", 2)},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decode_query_component(c.in), c.out) << c.in;
    }
}

TEST(ParseSearchQuery, Cases) {
    const struct {
        std::string_view target;
        bool is_search;
        std::string_view keyword;
        std::optional<std::int64_t> page;
    } cases[] = {
        {"/index.php?c=SearchList&keyword=%CA%D3&page=2", true, "\xCA\xD3", 2},
        {"/index.php?c=SearchList&keyword=\xCA\xD3&page=2", true, "\xCA\xD3", 2},
        {"/index.php?c=SearchList&keyword=&page=1", true, "", 1},
        {"/index.php?c=SearchList&keyword=tv", true, "tv", 1},  // no page: the first
        {"/index.php?c=SearchList", true, "", 1},
        {"/index.php?c=SearchList&keyword=a&page=0", true, "a", 0},
        {"/index.php?c=SearchList&keyword=a&page=-3", true, "a", -3},
        {"/index.php?c=SearchList&keyword=a&page=x", true, "a", std::nullopt},
        {"/index.php?c=SearchList&keyword=a&page=", true, "a", std::nullopt},
        {"/index.php?c=SearchList&keyword=a&page=99999999999999999999", true, "a", std::nullopt},
        // A keyword that holds "&page=" adds a page parameter; the last one counts.
        {"/index.php?c=SearchList&keyword=tv&page=3&page=1", true, "tv", 1},
        {"/index.php?page=2&keyword=a&c=SearchList", true, "a", 2},
        {"/index.php?c=searchlist&keyword=a&page=1", false, "a", 1},
        {"/index.php?keyword=a&page=1", false, "a", 1},
        {"/index.php", false, "", 1},
        {"/", false, "", 1},
    };
    for (const auto& c : cases) {
        const SearchQuery query = parse_search_query(c.target);
        EXPECT_EQ(query.is_search, c.is_search) << c.target;
        EXPECT_EQ(query.keyword, c.keyword) << c.target;
        EXPECT_EQ(query.page, c.page) << c.target;
    }
}

}  // namespace
}  // namespace pricelookup::catalogue
