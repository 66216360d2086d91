// The HOST:PORT of the command line, and log lines that requests cannot forge.

#include <gtest/gtest.h>

#include <optional>

#include "catalogue/catalogue_server.h"
#include "catalogue/listen_address.h"
#include "catalogue/request_log.h"

namespace pricelookup::catalogue {
namespace {

TEST(ParseListenAddress, Cases) {
    const struct {
        std::string_view text;
        std::optional<ListenAddress> expected;
    } cases[] = {
        {"127.0.0.1:18080", ListenAddress{"127.0.0.1", 18080}},
        {"127.0.0.1:0", ListenAddress{"127.0.0.1", 0}},
        {"localhost", ListenAddress{"localhost", 80}},
        {"[::1]:8080", ListenAddress{"::1", 8080}},
        {"[::1]", ListenAddress{"::1", 80}},
        {"host:65535", ListenAddress{"host", 65535}},
        {"host:65536", std::nullopt},
        {"host:", std::nullopt},
        {"host:8o", std::nullopt},
        {"host:-1", std::nullopt},
        {":8080", std::nullopt},
        {"", std::nullopt},
        {"[::1", std::nullopt},
        {"[::1]8080", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse_listen_address(c.text), c.expected) << c.text;
    }
}

TEST(ListenAddressText, WritesIpv6InBrackets) {
    EXPECT_EQ(listen_address_text({"::1", 8080}), "[::1]:8080");
    EXPECT_EQ(listen_address_text({"127.0.0.1", 0}), "127.0.0.1:0");
}

TEST(RequestLogLine, BytesThatCouldEndOrFakeALineAreEscaped) {
    EXPECT_EQ(
        request_log_line("127.0.0.1", "GET", "/a\r\n127.0.0.1 \"GET /x\xB5", "HTTP/1.0", 200, 12),
        "127.0.0.1 \"GET /a%0D%0A127.0.0.1 %22GET /x%B5 HTTP/1.0\" 200 12");
}

TEST(PictureHost, TakesOnlyPlainHostsFromTheRequest) {
    const struct {
        std::string_view header;
        std::string_view expected;
    } cases[] = {
        {"127.0.0.1:5000", "127.0.0.1:5000"},
        {"catalogue.example:80", "catalogue.example:80"},
        {"[::1]:5000", "[::1]:5000"},
        {"", "own:1"},
        {"a\"><b alt=\"x", "own:1"},
        {"evil.example/path", "own:1"},
        {"a b", "own:1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(picture_host(c.header, "own:1"), c.expected) << c.header;
    }
}

}  // namespace
}  // namespace pricelookup::catalogue
