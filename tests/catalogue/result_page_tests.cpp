// Which matches a page shows, and client bytes made safe for the page markup.

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "catalogue/page_markup.h"
#include "catalogue/result_page.h"

namespace pricelookup::catalogue {
namespace {

TEST(PageSlice, TwentyAPageAndNoneOutsideThePages) {
    std::vector<Product> products(45);
    std::vector<const Product*> matches;
    for (const Product& product : products) matches.push_back(&product);
    const struct {
        std::optional<std::int64_t> page;
        std::size_t first;  // index of the first product shown
        std::size_t count;
    } cases[] = {
        {1, 0, 20}, {2, 20, 20},          {3, 40, 5},        {4, 0, 0},         {0, 0, 0},
        {-1, 0, 0}, {std::nullopt, 0, 0}, {INT64_MAX, 0, 0}, {INT64_MIN, 0, 0},
    };
    for (const auto& c : cases) {
        const std::vector<const Product*> shown = page_slice(matches, c.page);
        ASSERT_EQ(shown.size(), c.count) << c.page.value_or(-999);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i], matches[c.first + i]);
        }
    }
    EXPECT_TRUE(page_slice({}, 1).empty());
}

TEST(HtmlText, Cases) {
    const struct {
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"a<b>\"c\"&'d'", "a&lt;b&gt;&quot;c&quot;&amp;&#39;d&#39;"},
        {"\xB5\xE7\xCA\xD3", "\xB5\xE7\xCA\xD3"},
        {"\x81\x41", "\x81\x41"},
        {"\xB5\xE7\xB5", "\xB5\xE7?"},  // a first byte cut off at the end
        {"\xB5\"", "?&quot;"},          // a first byte without a second byte
        {"a\r\nb\x01\x7F\xFF\x80", "a??b????"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(html_text(c.in), c.out) << c.in;
    }
}

TEST(QueryComponent, EscapesEverythingButUnreservedBytes) {
    EXPECT_EQ(query_component("\xB5\xE7 a&b=c%d+-._~Z9"), "%B5%E7%20a%26b%3Dc%25d%2B-._~Z9");
}

}  // namespace
}  // namespace pricelookup::catalogue
