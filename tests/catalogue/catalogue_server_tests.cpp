// The sample catalogue as a program: started on port 0 as a child process, asked
// over loopback like the program asks a catalogue, every page read back with the
// program's own page fetch and listing parser and checked against the data file.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/product_file.h"
#include "search/listing_parser.h"
#include "search/page_fetch.h"
#include "search/page_text.h"
#include "tests/catalogue/catalogue_process.h"
#include "tests/catalogue/raw_http.h"
#include "tests/search/support/loopback_server.h"
#include "ui/gbk_codec.h"

namespace pricelookup::catalogue {
namespace {

using test::CatalogueProcess;
using test::raw_get;

constexpr std::size_t per_page = 20;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return std::move(text).str();
}

const std::vector<Product>& data_file_products() {
    static const std::vector<Product> products = [] {
        ProductFile file = parse_product_file(read_file(CATALOGUE_DATA_FILE), "products.tsv");
        EXPECT_EQ(file.error, "");
        return std::move(file.products);
    }();
    return products;
}

std::string ascii_lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// What a search for `keyword_utf8` should find, worked out on the UTF-8 texts of the
// data file, where a substring can only start and end on character boundaries.
std::vector<const Product*> expected_matches(const std::vector<Product>& products,
                                             const std::string& keyword_utf8) {
    const std::string needle = ascii_lower(keyword_utf8);
    std::vector<const Product*> found;
    for (const Product& p : products) {
        if (ascii_lower(p.utf8.name).find(needle) != std::string::npos ||
            ascii_lower(p.utf8.specification).find(needle) != std::string::npos) {
            found.push_back(&p);
        }
    }
    return found;
}

struct Row {
    std::string name, specification, label, price, date, picture;
};

// The rows the program's own parser finds in a page text.
std::vector<Row> parse_rows(const std::string& page_text) {
    const search::ListingPattern pattern;
    const search::MatchList matches = search::find_listing_matches(pattern, page_text);
    EXPECT_FALSE(matches.ended_by_engine_error);
    std::vector<Row> rows;
    for (const search::MatchRecord& record : matches.records) {
        const auto g = [&](int group) { return search::group_text(record, page_text, group); };
        rows.push_back({g(1), g(2), g(3), g(4), g(5), g(6)});
    }
    return rows;
}

void expect_row_is(const Row& row, const Product& product, const std::string& host) {
    EXPECT_EQ(row.name, product.gbk.name) << product.id;
    EXPECT_EQ(row.specification, product.gbk.specification) << product.id;
    EXPECT_EQ(row.label, product.gbk.label) << product.id;
    EXPECT_EQ(row.price, product.gbk.price) << product.id;
    EXPECT_EQ(row.date, product.gbk.date) << product.id;
    EXPECT_EQ(row.picture, "http://" + host + "/images/" + product.id + ".svg") << product.id;
}

std::string header(const test::RawResponse& response, const std::string& name) {
    const auto found = response.headers.find(name);
    return found == response.headers.end() ? "" : found->second;
}

std::string search_address(const CatalogueProcess& server, const std::string& keyword_gbk,
                           long long page) {
    // The keyword goes in as its bytes, as the program builds its addresses; the
    // fetch writes them as %XX on the request line.
    return server.url("/index.php?c=SearchList&keyword=" + keyword_gbk +
                      "&page=" + std::to_string(page));
}

class Catalogue : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        test::clear_proxy_environment();
        s_server = new CatalogueProcess({"--listen", "127.0.0.1:0"});
        ASSERT_TRUE(s_server->ready()) << s_server->wait().stderr_text;
    }
    static void TearDownTestSuite() {
        delete s_server;
        s_server = nullptr;
    }
    static CatalogueProcess* s_server;
};

CatalogueProcess* Catalogue::s_server = nullptr;

TEST_F(Catalogue, EveryPageHoldsExactlyTheProductsTheDataFileSays) {
    const CatalogueProcess& server = *s_server;
    for (const std::string keyword :
         {"电视", "冰箱", "hdr", "pRO", "英寸 4k", "", "没有这种产品"}) {
        SCOPED_TRACE("keyword " + keyword);
        const std::vector<const Product*> expected =
            expected_matches(data_file_products(), keyword);
        const std::size_t pages = (expected.size() + per_page - 1) / per_page;
        std::size_t seen = 0;
        for (std::size_t page = 1; page <= pages + 1; ++page) {
            SCOPED_TRACE("page " + std::to_string(page));
            const std::vector<Row> rows = parse_rows(search::fetch_page(
                search_address(server, ui::gbk_from_utf8(keyword), static_cast<long long>(page))));
            const std::size_t count = std::min(per_page, expected.size() - seen);
            ASSERT_EQ(rows.size(), count);
            for (std::size_t i = 0; i < rows.size(); ++i) {
                expect_row_is(rows[i], *expected[seen + i], server.host());
            }
            seen += rows.size();
        }
        EXPECT_EQ(seen, expected.size());
    }
}

TEST_F(Catalogue, SearchesThatShowLongListsAreReallyLong) {
    // The keywords above must cover paging: several full pages and a partial one.
    EXPECT_GT(expected_matches(data_file_products(), "电视").size(), 2 * per_page);
    EXPECT_NE(expected_matches(data_file_products(), "电视").size() % per_page, 0u);
    EXPECT_EQ(expected_matches(data_file_products(), "").size(), data_file_products().size());
}

TEST_F(Catalogue, RawAndPercentEncodedKeywordsGiveTheSamePage) {
    const int port = s_server->port();
    const std::string raw =
        raw_get(port, "/index.php?c=SearchList&keyword=\xB1\xF9\xCF\xE4&page=1").body;
    const std::string upper =
        raw_get(port, "/index.php?c=SearchList&keyword=%B1%F9%CF%E4&page=1").body;
    const std::string lower =
        raw_get(port, "/index.php?c=SearchList&keyword=%b1%f9%cf%e4&page=1").body;
    const std::string mixed =
        raw_get(port, "/index.php?c=SearchList&keyword=\xB1%F9%CF\xE4&page=1").body;
    EXPECT_EQ(parse_rows(search::remove_line_breaks(raw)).size(),
              std::min(per_page, expected_matches(data_file_products(), "冰箱").size()));
    EXPECT_GT(raw.size(), 0u);
    EXPECT_EQ(upper, raw);
    EXPECT_EQ(lower, raw);
    EXPECT_EQ(mixed, raw);
}

TEST_F(Catalogue, PagesOutsideTheResultsArePagesWithoutEntries) {
    const int port = s_server->port();
    const std::size_t pages =
        (expected_matches(data_file_products(), "电视").size() + per_page - 1) / per_page;
    const std::string tv = "%B5%E7%CA%D3";
    for (const std::string& page : {std::string("0"), std::string("-1"), std::string("-2147483648"),
                                    std::to_string(pages + 1), std::string("99999999999"),
                                    std::string("99999999999999999999"), std::string("x")}) {
        const test::RawResponse response =
            raw_get(port, "/index.php?c=SearchList&keyword=" + tv + "&page=" + page);
        EXPECT_EQ(response.status_line, "HTTP/1.1 200 OK") << page;
        EXPECT_NE(response.body.find("</html>"), std::string::npos) << page;
        EXPECT_EQ(parse_rows(search::remove_line_breaks(response.body)).size(), 0u) << page;
    }
}

TEST_F(Catalogue, AKeywordThatAddsAPageParameterGetsTheLastOne) {
    // The program puts "&page=" of a keyword into its address unchanged.
    const std::string tv = ui::gbk_from_utf8("电视");
    const std::vector<Row> rows =
        parse_rows(search::fetch_page(search_address(*s_server, tv + "&page=3", 1)));
    const std::vector<const Product*> expected = expected_matches(data_file_products(), "电视");
    ASSERT_EQ(rows.size(), per_page);
    expect_row_is(rows[0], *expected[0], s_server->host());
}

TEST_F(Catalogue, AResultPageIsGbkHtmlWithCrLfAndLoneLineFeedsInEntries) {
    const test::RawResponse response =
        raw_get(s_server->port(), "/index.php?c=SearchList&keyword=%B5%E7%CA%D3&page=1");
    EXPECT_TRUE(response.complete);
    EXPECT_EQ(response.status_line, "HTTP/1.1 200 OK");
    EXPECT_EQ(header(response, "content-type"), "text/html; charset=gbk");
    EXPECT_EQ(header(response, "content-length"), std::to_string(response.body.size()));
    const std::string& body = response.body;
    EXPECT_TRUE(body.starts_with("<!DOCTYPE html>\r\n"));
    EXPECT_TRUE(body.ends_with("</html>\r\n"));
    // Every entry has line feeds without a carriage return before them; outside the
    // entries every line ends in CR LF.
    const std::string text = search::remove_line_breaks(body);
    const search::ListingPattern pattern;
    const search::MatchList matches = search::find_listing_matches(pattern, text);
    ASSERT_EQ(matches.records.size(), per_page);
    std::size_t outside_from = 0;
    for (const search::MatchRecord& record : matches.records) {
        const auto& whole = record.groups[0];
        const std::string entry = text.substr(static_cast<std::size_t>(whole.offset),
                                              static_cast<std::size_t>(whole.length));
        EXPECT_GE(std::count(entry.begin(), entry.end(), '\n'), 2);
        const std::string outside =
            text.substr(outside_from, static_cast<std::size_t>(whole.offset) - outside_from);
        EXPECT_EQ(outside.find('\n'), std::string::npos);
        outside_from = static_cast<std::size_t>(whole.offset + whole.length);
    }
    EXPECT_GT(std::count(body.begin(), body.end(), '\r'), 40);
    // The page is GBK: its visible texts are not UTF-8.
    EXPECT_NE(body.find(ui::gbk_from_utf8("报价时间")), std::string::npos);
}

TEST_F(Catalogue, TheConnectionClosesAfterEachHttp10Reply) {
    for (const std::string target :
         {"/", "/index.php?c=SearchList&keyword=&page=1", "/images/1001.svg", "/missing"}) {
        const test::RawResponse response = raw_get(s_server->port(), target);
        EXPECT_TRUE(response.complete) << target;
        EXPECT_EQ(header(response, "connection"), "close") << target;
    }
}

TEST_F(Catalogue, EveryProductHasASmallSvgPictureAtItsAddress) {
    const std::string tv = ui::gbk_from_utf8("电视");
    const std::vector<Row> rows = parse_rows(search::fetch_page(search_address(*s_server, tv, 1)));
    ASSERT_FALSE(rows.empty());
    for (const Row& row : rows) {
        const std::string object = row.picture.substr(("http://" + s_server->host()).size());
        const test::RawResponse response = raw_get(s_server->port(), object);
        EXPECT_EQ(response.status_line, "HTTP/1.1 200 OK") << object;
        EXPECT_EQ(header(response, "content-type"), "image/svg+xml") << object;
        const std::string& svg = response.body;
        const std::size_t root = svg.find("<svg ");
        ASSERT_NE(root, std::string::npos) << object;
        const std::size_t height = svg.find("height=\"", root);
        ASSERT_NE(height, std::string::npos) << object;
        EXPECT_LE(std::stoi(svg.substr(height + 8)), 180) << object;
        EXPECT_TRUE(svg.ends_with("</svg>\n")) << object;
        EXPECT_NE(svg.find(ui::utf8_from_gbk(row.price)), std::string::npos) << object;
    }
}

TEST_F(Catalogue, OtherAddressesGiveTheHomePageOrNotFound) {
    const struct {
        std::string target;
        std::string status;
        std::string content_type;
    } cases[] = {
        {"/", "HTTP/1.1 200 OK", "text/html; charset=gbk"},
        {"/index.php", "HTTP/1.1 200 OK", "text/html; charset=gbk"},
        {"/index.php?keyword=%B5%E7%CA%D3&page=1", "HTTP/1.1 200 OK", "text/html; charset=gbk"},
        {"/index.php?c=Other&keyword=%B5%E7%CA%D3", "HTTP/1.1 200 OK", "text/html; charset=gbk"},
        {"/search.php?c=SearchList&keyword=a&page=1", "HTTP/1.1 404 Not Found",
         "text/html; charset=gbk"},
        {"/images/1.svg", "HTTP/1.1 404 Not Found", "text/html; charset=gbk"},
        {"/images/01001.svg", "HTTP/1.1 404 Not Found", "text/html; charset=gbk"},
        {"/images/1001.png", "HTTP/1.1 404 Not Found", "text/html; charset=gbk"},
    };
    for (const auto& c : cases) {
        const test::RawResponse response = raw_get(s_server->port(), c.target);
        EXPECT_EQ(response.status_line, c.status) << c.target;
        EXPECT_EQ(header(response, "content-type"), c.content_type) << c.target;
        EXPECT_NE(response.body.find("</html>"), std::string::npos) << c.target;
        EXPECT_EQ(parse_rows(search::remove_line_breaks(response.body)).size(), 0u) << c.target;
    }
}

TEST_F(Catalogue, AHostileHostHeaderCannotChangeTheEntries) {
    const test::RawResponse response = test::raw_exchange(
        s_server->port(),
        "GET /index.php?c=SearchList&keyword=%B5%E7%CA%D3&page=1 HTTP/1.0\r\n"
        "Host: x\" alt=\"y\" id=1 title=''>z</li><li<span class=\"price\">\r\n\r\n");
    const std::vector<Row> rows = parse_rows(search::remove_line_breaks(response.body));
    const std::vector<const Product*> expected = expected_matches(data_file_products(), "电视");
    ASSERT_EQ(rows.size(), per_page);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        expect_row_is(rows[i], *expected[i], s_server->host());  // the listen address
    }
}

TEST_F(Catalogue, AKeywordShownInThePageCannotAddEntries) {
    // The keyword is shown in the page's title and summary; as markup it would
    // open an entry of its own.
    const std::string keyword =
        "alt=\"x\" id=1 title=''>s</li><li <span class=\"price\">l<b class='f20'>1</b></span> "
        "date\">d</b> img src=\"p\" alt=";
    const std::string page = search::fetch_page(search_address(*s_server, keyword, 1));
    EXPECT_NE(page.find("</html>"), std::string::npos);
    EXPECT_EQ(parse_rows(page).size(), 0u);
}

class CatalogueProgram : public testing::Test {
  protected:
    void SetUp() override { test::clear_proxy_environment(); }
    void TearDown() override {
        for (const std::string& path : m_files) ::unlink(path.c_str());
    }
    std::string data_file(const std::string& text) {
        char name[] = "/tmp/catalogue-data-XXXXXX";
        const int fd = ::mkstemp(name);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fd);
        m_files.push_back(name);
        return name;
    }
    std::vector<std::string> m_files;
};

TEST_F(CatalogueProgram, ServesTheProductsOfAnotherDataFile) {
    const std::string path = data_file(
        "# two products\n"
        "5\t青松 Z1 洗衣机\t10公斤 滚筒\t\t1999\t2026-01-05\n"
        "9\t青松 Z2 洗衣机\t8公斤 波轮\t商城价：\t999.50\t2026-01-06\n");
    CatalogueProcess server({"--listen", "127.0.0.1:0", "--data", path});
    ASSERT_TRUE(server.ready()) << server.wait().stderr_text;
    const std::vector<Row> rows =
        parse_rows(search::fetch_page(search_address(server, ui::gbk_from_utf8("洗衣机"), 1)));
    const ProductFile file = parse_product_file(read_file(path), path);
    ASSERT_EQ(rows.size(), 2u);
    expect_row_is(rows[0], file.products[0], server.host());
    expect_row_is(rows[1], file.products[1], server.host());
}

TEST_F(CatalogueProgram, EndsCleanlyOnSigintAndSigterm) {
    for (const int signal : {SIGINT, SIGTERM}) {
        CatalogueProcess server({"--listen", "127.0.0.1:0"});
        ASSERT_TRUE(server.ready());
        EXPECT_TRUE(raw_get(server.port(), "/").complete);
        const test::Exit exit = server.stop(signal);
        EXPECT_EQ(exit.signal, 0) << signal;
        EXPECT_EQ(exit.code, 0) << signal << exit.stderr_text;
    }
}

TEST_F(CatalogueProgram, PrintsOneReadyLineWithThePortItPicked) {
    CatalogueProcess server({"--listen", "127.0.0.1:0"});
    ASSERT_TRUE(server.ready());
    EXPECT_GT(server.port(), 0);
    EXPECT_EQ(server.stop(SIGTERM).stdout_text,
              "listening on 127.0.0.1:" + std::to_string(server.port()) + "\n");
}

TEST_F(CatalogueProgram, LogsEachRequestOnOneLine) {
    CatalogueProcess server({"--listen", "127.0.0.1:0"});
    ASSERT_TRUE(server.ready());
    const std::vector<std::string> targets = {
        "/index.php?c=SearchList&keyword=\xB5\xE7%CA%D3&page=2", "/images/1001.svg", "/missing"};
    for (const std::string& target : targets) raw_get(server.port(), target);
    const std::string log = server.stop(SIGTERM).stderr_text;
    const std::vector<std::string> expected = {
        "127.0.0.1 \"GET /index.php?c=SearchList&keyword=%B5%E7%CA%D3&page=2 HTTP/1.0\" 200 ",
        "127.0.0.1 \"GET /images/1001.svg HTTP/1.0\" 200 ",
        "127.0.0.1 \"GET /missing HTTP/1.0\" 404 "};
    std::vector<std::string> request_lines;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" \"GET ") != std::string::npos) request_lines.push_back(line);
    }
    ASSERT_EQ(request_lines.size(), expected.size()) << log;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(request_lines[i].starts_with(expected[i])) << request_lines[i];
    }
}

TEST_F(CatalogueProgram, ABadDataFileStopsItAtStartNamingTheLine) {
    const std::string path = data_file(
        "# header\n"
        "5\tTV\t55in\t\t1999\t2026-01-05\n"
        "6\tTV\t55in\t\tcheap\t2026-01-05\n");
    const test::Exit exit = test::run_catalogue({"--listen", "127.0.0.1:0", "--data", path});
    EXPECT_EQ(exit.code, 1);
    EXPECT_EQ(exit.stdout_text, "");
    EXPECT_NE(exit.stderr_text.find(path + ":3: price \"cheap\""), std::string::npos)
        << exit.stderr_text;
}

TEST_F(CatalogueProgram, CommandLinesItCannotServeStopItAtStart) {
    // A port that is taken: a listening socket of this test.
    const int taken = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(taken, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(taken, 1), 0);
    socklen_t length = sizeof address;
    ::getsockname(taken, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string taken_port = std::to_string(ntohs(address.sin_port));

    const struct {
        std::vector<std::string> arguments;
        int code;
        std::string message;
    } cases[] = {
        {{"--listen", "127.0.0.1:" + taken_port}, 1, "cannot listen on 127.0.0.1:" + taken_port},
        {{"--listen", "127.0.0.1:http"}, 2, "'127.0.0.1:http' is not HOST:PORT"},
        {{"--listen"}, 2, "unknown or incomplete option '--listen'"},
        {{"--port", "1"}, 2, "unknown or incomplete option '--port'"},
        {{"--listen", "127.0.0.1:0", "--data", "/nonexistent/products.tsv"},
         1,
         "/nonexistent/products.tsv: cannot read"},
    };
    for (const auto& c : cases) {
        const test::Exit exit = test::run_catalogue(c.arguments);
        EXPECT_EQ(exit.code, c.code) << c.message;
        EXPECT_EQ(exit.stdout_text, "") << c.message;
        EXPECT_NE(exit.stderr_text.find(c.message), std::string::npos) << exit.stderr_text;
    }
    ::close(taken);
}

}  // namespace
}  // namespace pricelookup::catalogue
