#include "search/page_address.h"

#include <gtest/gtest.h>

#include <optional>

namespace pricelookup::search::detail {
namespace {

struct AddressCase {
    const char* name;
    std::string address;
    std::optional<std::string> url;  // nothing: the address is not requested
    std::string host = {};
    int port = 0;
};

class ParsePageAddress : public testing::TestWithParam<AddressCase> {};

TEST_P(ParsePageAddress, SplitsAndChecksTheParts) {
    const AddressCase& c = GetParam();
    const std::optional<PageAddress> parsed = parse_page_address(c.address);
    ASSERT_EQ(parsed.has_value(), c.url.has_value());
    if (!parsed) return;
    EXPECT_EQ(parsed->url, *c.url);
    EXPECT_EQ(parsed->host, c.host);
    EXPECT_EQ(parsed->port, c.port);
}

std::string with_object_of(std::size_t length, std::string_view tail = "") {
    std::string object = "/" + std::string(length - 1 - tail.size(), 'o') + std::string(tail);
    return "http://h" + object;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParsePageAddress,
    testing::Values(
        AddressCase{"http_default_port", "http://cat.example/x?k=1", "http://cat.example/x?k=1",
                    "cat.example", 80},
        AddressCase{"https_default_port", "https://cat.example", "https://cat.example",
                    "cat.example", 443},
        AddressCase{"explicit_port", "http://127.0.0.1:8080/p", "http://127.0.0.1:8080/p",
                    "127.0.0.1", 8080},
        AddressCase{"fragment_cut", "http://h/p?k=a#b#c", "http://h/p?k=a", "h", 80},
        AddressCase{"query_without_path", "http://h?k=a", "http://h?k=a", "h", 80},
        AddressCase{"object_escaped_not_decoded", "http://h/?k=\xC4\xE3 %20", "http://h/?k=%C4%E3%20%20",
                    "h", 80},
        AddressCase{"dot_segments_kept", "http://h/a/../b", "http://h/a/../b", "h", 80},
        AddressCase{"no_scheme", "cat.example/x", std::nullopt},
        AddressCase{"no_host", "http://", std::nullopt},
        AddressCase{"space_in_host", "http://a b/x", std::nullopt},
        AddressCase{"host_of_255", "http://" + std::string(255, 'h') + "/",
                    "http://" + std::string(255, 'h') + "/", std::string(255, 'h'), 80},
        AddressCase{"host_of_256", "http://" + std::string(256, 'h') + "/", std::nullopt},
        AddressCase{"object_of_2047", with_object_of(2047), with_object_of(2047), "h", 80},
        AddressCase{"object_of_2048", with_object_of(2048), std::nullopt},
        AddressCase{"fragment_counts_towards_the_object", with_object_of(2048, "#f"), std::nullopt},
        AddressCase{"user_of_127", "http://" + std::string(127, 'u') + "@h/",
                    "http://" + std::string(127, 'u') + "@h/", "h", 80},
        AddressCase{"user_of_128", "http://" + std::string(128, 'u') + "@h/", std::nullopt},
        AddressCase{"password_of_128", "http://u:" + std::string(128, 'p') + "@h/", std::nullopt}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

}  // namespace
}  // namespace pricelookup::search::detail
