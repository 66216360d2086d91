// The page fetch against a scripted HTTP server on 127.0.0.1: the exact request
// bytes it sends and the body bytes it keeps in every kind of ending.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "tests/search/support/loopback_server.h"
#include "search/page_fetch.h"

namespace pricelookup::search {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using test::http_response;
using test::LoopbackServer;
using test::Reply;

constexpr std::string_view user_agent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

std::string expected_request(std::string_view target, std::string_view host) {
    return "GET " + std::string(target) + " HTTP/1.0\r\nHost: " + std::string(host) +
           "\r\nUser-Agent: " + std::string(user_agent) + "\r\nAccept: */*\r\n\r\n";
}

Reply ok(std::string_view body, std::vector<std::string> headers = {}) {
    return {http_response("HTTP/1.0 200 OK", headers, body), Reply::Ending::close};
}

// Proxy variables of the machine running the tests must not divert loopback requests.
class HttpRead : public testing::Test {
protected:
    void SetUp() override {
        test::clear_proxy_environment();
    }
    static std::string host_of(const LoopbackServer& server) {
        return "127.0.0.1:" + std::to_string(server.port());
    }
    // Short limits keep the failure tests fast; the defaults are checked separately.
    static FetchLimits short_limits() {
        FetchLimits limits;
        limits.connect_timeout = 300ms;
        limits.total_timeout = 500ms;
        return limits;
    }
};

TEST_F(HttpRead, SendsExactlyTheRequestLineAndThreeHeaders) {
    LoopbackServer server({ok("<html>page</html>")});
    const std::string body =
        http_read(server.url("/index.php?c=SearchList&keyword=abc&page=1#top"));
    EXPECT_EQ(body, "<html>page</html>");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0],
              expected_request("/index.php?c=SearchList&keyword=abc&page=1", host_of(server)));
}

TEST_F(HttpRead, DotSegmentsOfTheObjectAreSentAsWritten) {
    for (const std::string object : {"/a/../index.php?c=1", "/./s/./../x", "/s/..%2F?k=/../"}) {
        LoopbackServer server({ok("x")});
        http_read(server.url(object));
        ASSERT_EQ(server.requests().size(), 1u) << object;
        EXPECT_EQ(server.requests()[0], expected_request(object, host_of(server)));
    }
}

TEST_F(HttpRead, KeywordBytesReachTheServerWithTheirValues) {
    LoopbackServer server({ok("x")});
    http_read(server.url("/s?keyword=\xC4\xE3\xBA\xC3%41 \"x\"&page=1"));
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0],
              expected_request("/s?keyword=%C4%E3%BA%C3%41%20%22x%22&page=1", host_of(server)));
}

TEST_F(HttpRead, LineBreaksInTheKeywordCannotAddHeadersOrRequests) {
    LoopbackServer server({ok("x"), ok("y")});
    http_read(server.url("/s?keyword=a\r\nX-Injected: 1\r\n\r\nGET /evil HTTP/1.0\r\n\r\n&page=1"));
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0],
              expected_request("/s?keyword=a%0D%0AX-Injected:%201%0D%0A%0D%0AGET%20/evil%20HTTP/"
                               "1.0%0D%0A%0D%0A&page=1",
                               host_of(server)));
}

TEST_F(HttpRead, SendsNothingForAddressesItMayNotRequest) {
    LoopbackServer server({ok("x")});
    const std::string base = server.url();
    for (const std::string& address :
         {""s, base + std::string(2047, 'o'), base + std::string(2040, 'o') + "#fragment",
          "http://" + std::string(128, 'u') + "@" + host_of(server) + "/",
          "http://127.0.0.1 :" + std::to_string(server.port()) + "/",
          "ftp://" + host_of(server) + "/", host_of(server) + "/"}) {
        EXPECT_EQ(http_read(address), "") << address.substr(0, 40);
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(HttpRead, ReturnsTheBodyWhateverTheStatus) {
    LoopbackServer server({{http_response("HTTP/1.0 404 Not Found", {"Content-Type: text/html"},
                                          "<h1>gone</h1>")},
                           {http_response("HTTP/1.1 500 Oops", {}, "err")}});
    EXPECT_EQ(http_read(server.url("/a")), "<h1>gone</h1>");
    EXPECT_EQ(http_read(server.url("/b")), "err");
}

class HttpReadContentLength : public HttpRead,
                              public testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(HttpReadContentLength, WholeBodyArrivesWhateverTheAnnouncedLength) {
    std::string body;
    for (int i = 0; body.size() < 250'000; ++i) body += "<li>" + std::to_string(i) + "</li>\n";
    std::vector<std::string> headers;
    if (GetParam()) headers.push_back("Content-Length: " + *GetParam());
    LoopbackServer server({ok(body, headers)});
    EXPECT_EQ(http_read(server.url()), body);
}

INSTANTIATE_TEST_SUITE_P(Values, HttpReadContentLength,
                         testing::Values(std::nullopt, "0", "500", "102400", "250000000",
                                         "-5", " +20", "abc", std::string(40, '7')));

// A server that keeps the connection open after a body of the announced length: the
// read ends with that body instead of waiting for the time limit, whether the server
// says it keeps the connection (where the bytes after the body are not part of it) or
// not (where the read ends once the connection stays quiet).
TEST_F(HttpRead, AServerKeepingTheConnectionOpenAfterTheAnnouncedLengthDoesNotHoldTheRead) {
    struct Case {
        std::string status_line;
        std::vector<std::string> headers;
        std::string sent;
        std::string body;
    };
    const std::string page = "<html>" + std::string(3000, 'p') + "</html>";
    const std::string length = "Content-Length: " + std::to_string(page.size());
    const Case cases[] = {
        {"HTTP/1.1 200 OK", {length}, page, page},
        {"HTTP/1.1 200 OK", {length, "Connection: keep-alive"}, page + "HTTP/1.1 200 OK\r\n", page},
        {"HTTP/1.0 200 OK", {length, "Connection: Keep-Alive"}, page, page},
        {"HTTP/1.0 200 OK", {length}, page, page},
        {"HTTP/1.1 200 OK", {length, "Connection: close"}, page, page},
        {"HTTP/1.0 200 OK", {"Content-Length: 10"}, page, page},
    };
    for (const Case& c : cases) {
        LoopbackServer server({{http_response(c.status_line, c.headers, c.sent), Reply::Ending::stall}});
        FetchLimits limits;
        limits.total_timeout = 20s;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(http_read(server.url(), limits), c.body) << c.status_line << " " << c.headers.back();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 10s)
            << c.status_line << " " << c.headers.back() << ": the read waited for the time limit";
    }
}

TEST_F(HttpRead, PageFetchCutsAtZeroByteAndRemovesCrLfPairs) {
    const std::string body = "a\r\nb\rc\nd\r\n\xB0\r\n\r\r\ne\0after"s;
    LoopbackServer server({ok(body), ok(body)});
    EXPECT_EQ(http_read(server.url()), body);
    EXPECT_EQ(fetch_page(server.url()), "ab\rc\nd\xB0\r\n\re");
}

TEST_F(HttpRead, ConnectionCutMidBodyKeepsWhatArrived) {
    LoopbackServer server(
        {{http_response("HTTP/1.0 200 OK", {"Content-Length: 1000"}, std::string(400, 'p'))}});
    // The cut, not a time-out, must end this read: the default limits.
    EXPECT_EQ(http_read(server.url()), std::string(400, 'p'));
}

TEST_F(HttpRead, StalledBodyEndsAtTheTimeLimitKeepingWhatArrived) {
    LoopbackServer server({{http_response("HTTP/1.0 200 OK", {}, "part of the pa"),
                            Reply::Ending::stall}});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(http_read(server.url(), short_limits()), "part of the pa");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST_F(HttpRead, ServerThatNeverAnswersGivesNothingAtTheTimeLimit) {
    LoopbackServer server({{"", Reply::Ending::stall}});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(http_read(server.url(), short_limits()), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(server.requests_once(1, 5s).size(), 1u);
}

TEST_F(HttpRead, ConnectThatNeverCompletesEndsAtTheConnectLimit) {
    const test::UnansweredPort port;
    FetchLimits limits;
    limits.connect_timeout = 200ms;
    limits.total_timeout = 30s;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(http_read("http://127.0.0.1:" + std::to_string(port.port()) + "/", limits), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST_F(HttpRead, EndlessBodyStopsAtTheCap) {
    LoopbackServer server({{http_response("HTTP/1.0 200 OK", {}, "head"), Reply::Ending::endless}});
    FetchLimits limits = short_limits();
    limits.total_timeout = 10s;
    limits.max_body_bytes = 300'000;
    const std::string body = http_read(server.url(), limits);
    EXPECT_EQ(body, "head" + std::string(300'000 - 4, 'z'));
}

// Peak resident memory of the process so far, in bytes.
std::size_t peak_resident_bytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

// The cap bounds memory, not just the body: an announced length of 1 gives the
// smallest read chunk, and the endless body behind it must still cost about the cap.
TEST_F(HttpRead, TinyAnnouncedLengthDoesNotMultiplyTheMemoryOfTheCap) {
    LoopbackServer server({{http_response("HTTP/1.0 200 OK", {"Content-Length: 1"}, "h"),
                            Reply::Ending::endless}});
    FetchLimits limits = short_limits();
    limits.total_timeout = 10s;
    limits.max_body_bytes = 8u * 1024 * 1024;
    const std::size_t peak_before = peak_resident_bytes();
    const std::string body = http_read(server.url(), limits);
    EXPECT_EQ(body.size(), limits.max_body_bytes);
    EXPECT_LT(peak_resident_bytes() - peak_before, 4 * limits.max_body_bytes);
}

TEST_F(HttpRead, DefaultLimitsAreTenSecondsFifteenSecondsSixteenMebibytesAndOneQuietSecond) {
    const FetchLimits limits;
    EXPECT_EQ(limits.connect_timeout, 10s);
    EXPECT_EQ(limits.total_timeout, 15s);
    EXPECT_EQ(limits.max_body_bytes, 16u * 1024 * 1024);
    EXPECT_EQ(limits.quiet_after_length, 1s);
}

TEST_F(HttpRead, FollowsRedirectsWithTheSameHeaders) {
    LoopbackServer server({{http_response("HTTP/1.0 302 Found", {"Location: /final?p=2"},
                                          "moved")},
                           ok("final page")});
    EXPECT_EQ(http_read(server.url("/start")), "final page");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1], expected_request("/final?p=2", host_of(server)));
}

// A server that keeps the connection after a redirection (its body chunked, so that
// the client could tell where it ends and send the next request on it) still gets the
// next request on a connection of its own: one connection, one request.
TEST_F(HttpRead, EveryRequestGoesOnAConnectionOfItsOwn) {
    LoopbackServer server({{http_response("HTTP/1.1 302 Found",
                                          {"Location: /final", "Transfer-Encoding: chunked"},
                                          "5\r\nmoved\r\n0\r\n\r\n"),
                            Reply::Ending::linger},
                           ok("final page")});
    FetchLimits limits = short_limits();
    limits.total_timeout = 5s;
    EXPECT_EQ(http_read(server.url("/start"), limits), "final page");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u) << "the second request went on the first connection";
    EXPECT_EQ(requests[0], expected_request("/start", host_of(server)));
    EXPECT_EQ(requests[1], expected_request("/final", host_of(server)));
}

// The body buffer is reserved once at the read chunk size that the announced length
// gives, so a body announced shorter than the largest chunk needs one allocation.
TEST_F(HttpRead, TheBodyBufferIsSizedByTheAnnouncedLength) {
    struct Case {
        std::optional<std::string> content_length;
        std::size_t body_size;
        std::size_t buffer_size;
    };
    const Case cases[] = {
        {std::nullopt, 700, 10240}, {"0", 700, 10240},         {"500", 500, 501},
        {"700", 700, 701},          {"5000000", 700, 102400}, {"-3", 700, 10240},
    };
    for (const Case& c : cases) {
        std::vector<std::string> headers;
        if (c.content_length) headers.push_back("Content-Length: " + *c.content_length);
        LoopbackServer server({ok(std::string(c.body_size, 'b'), headers)});
        const std::string body = http_read(server.url());
        EXPECT_EQ(body.size(), c.body_size) << c.content_length.value_or("(missing)");
        EXPECT_EQ(body.capacity(), c.buffer_size) << c.content_length.value_or("(missing)");
    }
}

TEST_F(HttpRead, RedirectLoopEnds) {
    const Reply loop{http_response("HTTP/1.0 302 Found", {"Location: /again"}, "loop")};
    LoopbackServer server(std::vector<Reply>(30, loop));
    // Eleven exchanges in a row: the count of redirections must end the read, not
    // the time limit of a busy machine.
    FetchLimits limits = short_limits();
    limits.total_timeout = 10s;
    const std::string body = http_read(server.url("/again"), limits);
    EXPECT_TRUE(body.empty() || body == "loop");
    EXPECT_EQ(server.requests().size(), 11u);  // the first request and ten redirections
}

TEST_F(HttpRead, CredentialsOfTheAddressAnswerAChallenge) {
    LoopbackServer server({{http_response("HTTP/1.0 401 Unauthorized",
                                          {"WWW-Authenticate: Basic realm=\"c\""}, "denied")},
                           ok("welcome")});
    EXPECT_EQ(http_read("http://user:pw@" + host_of(server) + "/"), "welcome");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], expected_request("/", host_of(server)));
    EXPECT_NE(requests[1].find("\r\nAuthorization: Basic dXNlcjpwdw==\r\n"), std::string::npos);
}

TEST_F(HttpRead, UsesTheProxyOfTheEnvironment) {
    LoopbackServer proxy({ok("via proxy")});
    ::setenv("http_proxy", ("http://" + host_of(proxy)).c_str(), 1);
    EXPECT_EQ(http_read("http://catalogue.invalid/s?k=1"), "via proxy");
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(proxy.requests()[0],
              expected_request("http://catalogue.invalid/s?k=1", "catalogue.invalid"));
}

TEST_F(HttpRead, HttpsSpeaksTls) {
    LoopbackServer server({{"", Reply::Ending::first_packet}});
    EXPECT_EQ(http_read("https://" + host_of(server) + "/", short_limits()), "");
    const auto requests = server.requests_once(1, 5s);
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_GE(requests[0].size(), 3u);
    EXPECT_EQ(requests[0][0], '\x16');  // a TLS handshake record: the ClientHello
    EXPECT_EQ(requests[0][1], '\x03');
}

}  // namespace
}  // namespace pricelookup::search
