#include "search/content_length.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pricelookup::search {
namespace {

TEST(AnnouncedBodyLength, OnlyPlainDigitsAboveZeroAnnounceALength) {
    struct Case {
        std::optional<std::string> value;
        std::optional<std::size_t> length;
    };
    const Case cases[] = {
        {"500", 500},
        {" 500\t", 500},
        {"1", 1},
        {"18446744073709551615", 18446744073709551615U},
        {std::nullopt, std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"0", std::nullopt},
        {"-5", std::nullopt},
        {"+20", std::nullopt},
        {" +20", std::nullopt},
        {"12ab34", std::nullopt},
        {"abc", std::nullopt},
        {"5 5", std::nullopt},
        {"18446744073709551616", std::nullopt},
        {std::string(40, '7'), std::nullopt},
    };
    for (const Case& c : cases) {
        const auto value = c.value ? std::optional<std::string_view>(*c.value) : std::nullopt;
        EXPECT_EQ(announced_body_length(value), c.length) << c.value.value_or("(missing)");
    }
}

TEST(ConnectionStaysOpen, FollowsTheVersionAndTheConnectionHeader) {
    struct Case {
        int version;
        std::optional<std::string> connection;
        bool stays_open;
    };
    const Case cases[] = {
        {11, std::nullopt, true},  {11, "close", false},     {11, "Close", false},
        {11, "foo, close", false}, {11, "keep-alive", true}, {11, "closed", true},
        {10, std::nullopt, false}, {10, "close", false},     {10, "Keep-Alive", true},
        {10, " keep-alive ", true}, {20, std::nullopt, true},
    };
    for (const Case& c : cases) {
        const auto value = c.connection ? std::optional<std::string_view>(*c.connection) : std::nullopt;
        EXPECT_EQ(connection_stays_open(c.version, value), c.stays_open)
            << c.version << " " << c.connection.value_or("(missing)");
    }
}

}  // namespace
}  // namespace pricelookup::search
