// The real window, wired as the program wires it (window, control operations, event
// table, the page source that draws before it fetches over HTTP), searching scripted
// servers on 127.0.0.1 that fail or send hostile bytes. Each case checks what the user
// saw: the rows, the status bar and the preview pane, and that no entry was lost and
// nothing was let through. Each case is a ctest test of its own (see CMakeLists.txt).

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/program_path.h"
#include "app/qt_shell.h"
#include "search/page_fetch.h"
#include "search/page_source.h"
#include "search/query_address.h"
#include "search/search_state.h"
#include "tests/search/support/listing_pages.h"
#include "tests/search/support/loopback_server.h"
#include "tests/view/support/picture_server.h"
#include "ui/drawn_page_source.h"
#include "ui/event_table.h"
#include "ui/event_wiring.h"
#include "ui/main_window.h"
#include "ui/preview_pane.h"
#include "ui/qt_controls.h"
#include "ui/qt_text.h"
#include "ui/result_list.h"

namespace pricelookup::app {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::Entry;
using test::LoopbackServer;
using test::Reply;
using Rows = std::vector<std::vector<std::string>>;

const std::string no_result = "没搜到资源！是否已连网?";
// How long one fetch may block the window at most, with room for a busy machine.
const search::FetchLimits fetch_limits;
constexpr auto margin = 10s;

std::string count_message(std::size_t n) {
    return "当前页共搜到" + std::to_string(n) + "条结果";
}

std::string page_of(const std::vector<Entry>& entries) {
    std::string page = "<html><body><ul>\n";
    for (const Entry& e : entries) page += test::entry_markup(e);
    return page;
}

std::string ok_response(std::string_view body) {
    return test::http_response(
        "HTTP/1.0 200 OK",
        {"Content-Type: text/html; charset=gbk", "Content-Length: " + std::to_string(body.size())},
        body);
}

// Entries that differ in every field, so that a lost or shifted cell shows.
std::vector<Entry> entries(int count) {
    std::vector<Entry> result;
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        result.push_back({"\xB5\xE7\xCA\xD3 TV-" + n, "\xB9\xE6\xB8\xF1 " + n, "\xBC\xDB\xB8\xF1",
                          n + "999", "2024-01-0" + n, "http://127.0.0.1:9/p/" + n + ".jpg"});
    }
    return result;
}

// The rows a user should see for `listed`: ordinal and the six fields unchanged.
Rows rows_for(const std::vector<Entry>& listed) {
    Rows rows;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const Entry& e = listed[i];
        rows.push_back(
            {std::to_string(i + 1), e.name, e.spec, e.price_label, e.price, e.date, e.picture});
    }
    return rows;
}

// A port on 127.0.0.1 where nothing listens: bound for a moment, then let go.
std::uint16_t closed_port() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// The peak resident memory of this process so far, in KiB (VmHWM).
long peak_rss_kib() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

std::string host_of(const LoopbackServer& server) {
    return "127.0.0.1:" + std::to_string(server.port());
}

class FaultMatrix : public ::testing::Test {
  protected:
    void SetUp() override { test::clear_proxy_environment(); }
    void TearDown() override {
        events.reset();
        pages.reset();
        controls.reset();
        window.reset();
    }

    // The window, shown and ready, searching the catalogue at `host`.
    void open_window(const std::string& host) {
        window = std::make_unique<ui::MainWindow>();
        shell.set_main_window(window.get());
        controls = std::make_unique<ui::QtControls>(*window, shell);
        pages = std::make_unique<ui::DrawnPageSource>(*window, network);
        query_prefix = search::query_prefix(host);
        events = std::make_unique<ui::EventDispatcher>(
            ui::HandlerContext{*controls, shell, search_state, *pages, query_prefix}, shell.gate());
        ui::connect_events(*window, *events);
        window->place_on_screen();
        window->show();
        window->activateWindow();
        events->raise(ui::Event::window_created);
        events->raise(ui::Event::window_size_changed);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The search button clicked with the keyword box untouched: one search of the
    // empty keyword, run to its end inside the click. Gives how long it blocked.
    Clock::duration search() {
        const auto start = Clock::now();
        window->search_button()->click();
        return Clock::now() - start;
    }

    Rows rows() const {
        Rows result;
        for (int row = 0; row < window->result_list()->rowCount(); ++row) {
            std::vector<std::string> cells;
            for (int column = 0; column < 7; ++column) {
                cells.push_back(controls->get_cell_text(row, column));
            }
            result.push_back(cells);
        }
        return result;
    }

    std::string part_text(int part) const { return ui::to_gbk(window->status_part(part)->text()); }

    // What a failed search shows: no rows, the no-result text, page 1.
    void expect_no_result() const {
        EXPECT_EQ(window->result_list()->rowCount(), 0);
        EXPECT_EQ(part_text(0), no_result);
        EXPECT_EQ(part_text(1), "第1页");
    }
    void expect_listed(const std::vector<Entry>& listed) const {
        EXPECT_EQ(rows(), rows_for(listed));
        EXPECT_EQ(part_text(0), count_message(listed.size()));
        EXPECT_EQ(part_text(1), "第1页");
    }

    // A left click on the centre of `row`, through the window system's path; the
    // confirmation box it opens is closed with OK before the click returns.
    void click_row(int row) {
        m_boxes_closed = 0;
        QTimer::singleShot(0, [this] { close_box_when_open(); });
        const ui::ResultList* list = window->result_list();
        const QPoint centre = list->visualRect(list->model()->index(row, 1)).center();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          list->viewport()->mapTo(window.get(), centre));
        EXPECT_EQ(m_boxes_closed, 1) << "the click on row " << row << " confirmed with a box";
    }

    QtShell shell{ProgramPath{"/tmp", "pricelookup"}};
    search::SearchState search_state;
    search::NetworkPageSource network;
    std::string query_prefix;
    std::unique_ptr<ui::MainWindow> window;
    std::unique_ptr<ui::QtControls> controls;
    std::unique_ptr<ui::DrawnPageSource> pages;
    std::unique_ptr<ui::EventDispatcher> events;

  private:
    void close_box_when_open() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            QTimer::singleShot(10, [this] { close_box_when_open(); });
            return;
        }
        box->button(QMessageBox::Ok)->click();
        ++m_boxes_closed;
    }

    int m_boxes_closed = 0;
};

// ---- Catalogues that cannot be reached ----

struct Unreachable {
    const char* name;
    std::function<std::string()> host;
};

class UnreachableCatalogue : public FaultMatrix,
                             public ::testing::WithParamInterface<Unreachable> {};

TEST_P(UnreachableCatalogue, ShowsTheNoResultTextWithinTheConnectBound) {
    open_window(GetParam().host());
    const auto blocked = search();
    expect_no_result();
    EXPECT_LT(blocked, fetch_limits.connect_timeout + margin);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnreachableCatalogue,
    ::testing::Values(Unreachable{"connection_refused",
                                  [] { return "127.0.0.1:" + std::to_string(closed_port()); }},
                      Unreachable{"host_does_not_resolve",
                                  [] { return std::string("catalogue.pricelookup.invalid"); }}),
    [](const ::testing::TestParamInfo<Unreachable>& param) {
        return std::string(param.param.name);
    });

// ---- Servers that misbehave ----

TEST_F(FaultMatrix, SilentServerFreezesTheWindowNoLongerThanTheFetchBound) {
    const std::vector<Entry> listed = entries(2);
    LoopbackServer server({Reply{"", Reply::Ending::stall}, Reply{ok_response(page_of(listed))}});
    open_window(host_of(server));
    const auto blocked = search();
    expect_no_result();
    EXPECT_LT(blocked, fetch_limits.total_timeout + margin);
    EXPECT_EQ(server.requests().size(), 1U);
    // Once the server answers again, the next search lists its page.
    search();
    expect_listed(listed);
}

TEST_F(FaultMatrix, BodyCutMidEntryListsTheCompleteEntries) {
    const std::vector<Entry> all = entries(4);
    const std::vector<Entry> complete(all.begin(), all.begin() + 3);
    const std::string full = page_of(all);
    const std::string fourth = test::entry_markup(all[3]);
    // Cut in the middle of the fourth entry, after its price; the header promised all.
    const std::string body = full.substr(0, full.size() - fourth.size() / 2);
    LoopbackServer server(
        {Reply{test::http_response("HTTP/1.0 200 OK",
                                   {"Content-Length: " + std::to_string(full.size())}, body),
               Reply::Ending::close}});
    open_window(host_of(server));
    search();
    expect_listed(complete);
}

TEST_F(FaultMatrix, ErrorStatusPagesWithEntriesAreListed) {
    const char* const status_lines[] = {"HTTP/1.0 404 Not Found",
                                        "HTTP/1.0 500 Internal Server Error"};
    for (const char* status_line : status_lines) {
        SCOPED_TRACE(status_line);
        const std::vector<Entry> listed = entries(2);
        const std::string body = page_of(listed);
        LoopbackServer server({Reply{test::http_response(
            status_line, {"Content-Length: " + std::to_string(body.size())}, body)}});
        open_window(host_of(server));
        search();
        expect_listed(listed);
        TearDown();
    }
}

TEST_F(FaultMatrix, GigabyteBodyKeepsMemoryBoundedAndListsTheEntriesBeforeTheCap) {
    constexpr std::size_t gigabyte = std::size_t{1} << 30;
    const std::size_t cap = fetch_limits.max_body_bytes;
    const std::vector<Entry> all = entries(5);
    // Three entries at the start, one that ends right before the cap and one right
    // after it, then filler to the gigabyte.
    std::string body = page_of({all[0], all[1], all[2]});
    const std::string last_in = test::entry_markup(all[3]);
    body += std::string(cap - body.size() - last_in.size() - 100, 'z') + last_in;
    body += std::string(200, 'z') + test::entry_markup(all[4]);
    const std::vector<Entry> listed(all.begin(), all.begin() + 4);
    const std::string head =
        test::http_response("HTTP/1.0 200 OK", {"Content-Length: " + std::to_string(gigabyte)}, "");
    Reply reply{head + body, Reply::Ending::endless, gigabyte - body.size()};
    body = std::string();
    LoopbackServer server({reply});
    open_window(host_of(server));
    const long before = peak_rss_kib();
    ASSERT_GT(before, 0);
    const auto blocked = search();
    const long after = peak_rss_kib();
    RecordProperty("peak_rss_kib_before", static_cast<int>(before));
    RecordProperty("peak_rss_kib_after", static_cast<int>(after));
    expect_listed(listed);
    EXPECT_LT(blocked, fetch_limits.total_timeout + margin);
    // The body is capped far below its size: the peak grows by a small multiple of
    // the cap, never by anything near the gigabyte sent.
    EXPECT_LT(after - before, 256L * 1024) << "KiB before " << before << ", after " << after;
    EXPECT_LT(after, 512L * 1024) << "KiB";
}

TEST_F(FaultMatrix, RedirectLoopEndsAfterABoundedNumberOfRequests) {
    const std::string body = page_of(entries(2));
    std::vector<Reply> replies;
    for (int i = 0; i < 50; ++i) {
        replies.push_back({test::http_response("HTTP/1.0 302 Found",
                                               {"Location: /index.php?loop=" + std::to_string(i),
                                                "Content-Length: " + std::to_string(body.size())},
                                               body)});
    }
    LoopbackServer server(replies);
    open_window(host_of(server));
    const auto blocked = search();
    expect_no_result();
    EXPECT_LT(blocked, fetch_limits.total_timeout + margin);
    const std::size_t requests = server.requests().size();
    RecordProperty("requests", static_cast<int>(requests));
    EXPECT_GE(requests, 2U) << "the redirections were followed";
    EXPECT_LE(requests, 12U) << "the loop was cut off";
}

TEST_F(FaultMatrix, RedirectToALocalFileReadsNothingOfIt) {
    // A local file holding entries: had the redirection been followed, they would show.
    const fs::path local =
        fs::temp_directory_path() / ("pricelookup-faults-" + std::to_string(::getpid()) + ".html");
    std::ofstream(local) << page_of(entries(2));
    LoopbackServer server({Reply{test::http_response(
        "HTTP/1.0 302 Found", {"Location: file://" + local.string(), "Content-Length: 0"}, "")}});
    open_window(host_of(server));
    search();
    expect_no_result();
    EXPECT_EQ(server.requests().size(), 1U);
    fs::remove(local);
}

// ---- Hostile bytes in the page ----

TEST_F(FaultMatrix, ZeroByteEndsThePageAndTheEntriesBeforeItAreListed) {
    const std::vector<Entry> all = entries(4);
    const std::vector<Entry> before(all.begin(), all.begin() + 2);
    const std::vector<Entry> after(all.begin() + 2, all.end());
    const std::string body = page_of(before) + std::string(1, '\0') + page_of(after);
    LoopbackServer server({Reply{ok_response(body)}});
    open_window(host_of(server));
    search();
    expect_listed(before);
}

TEST_F(FaultMatrix, InvalidGbkInEveryColumnIsKeptByteForByte) {
    // Lead bytes without a valid trail, bytes no GBK character starts with, a lead
    // byte right before the markup that ends its field.
    const std::vector<Entry> listed = {
        {"\xFF\xFE name", "\x81\x7F line", "\xA1", "\xFE\x30", "\xFF",
         "http://127.0.0.1:9/\xFE\xFF.jpg"},
        {"\x80\x81", "\x81\x20\x81", "\xFF\xFF\xFF", "1\x81", "2024\xA1\x0A", "\x81"},
    };
    LoopbackServer server({Reply{ok_response(page_of(listed))}});
    open_window(host_of(server));
    search();
    expect_listed(listed);
    for (std::size_t row = 0; row < listed.size(); ++row) {
        EXPECT_EQ(window->result_list()->cell_bytes(static_cast<int>(row), 1), listed[row].name)
            << "the list keeps the bytes";
    }
    // A click on such a row hands the bytes on: the pane keeps the address as given
    // (not one it may load), the clipboard holds the name as the list shows it.
    click_row(1);
    EXPECT_EQ(window->preview_pane()->address(), listed[1].picture);
    EXPECT_EQ(window->preview_pane()->view(), nullptr);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), ui::to_qstring(listed[1].name));
    EXPECT_EQ(rows(), rows_for(listed)) << "the click changed no cell";
}

TEST_F(FaultMatrix, HostileMarkupOfAMegabyteIsParsedWithinTheFetchBound) {
    const std::vector<Entry> listed = entries(2);
    const std::string body = page_of(listed) + test::hostile_page(std::size_t{1} << 20);
    LoopbackServer server({Reply{ok_response(body)}});
    open_window(host_of(server));
    const auto blocked = search();
    expect_listed(listed);
    // A plain backtracking search spends many seconds on this page before giving up.
    EXPECT_LT(blocked, fetch_limits.total_timeout)
        << "ms: " << std::chrono::duration_cast<std::chrono::milliseconds>(blocked).count();
}

// ---- A hostile keyword ----

// The bytes of a request target with the %XX escapes of bytes that may not stand on
// a request line undone; any other "%" stays as it came.
std::string undo_unsafe_escapes(std::string_view target) {
    const std::string unsafe_printable = "\"<>\\^`{|}[]#";
    std::string out;
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i] == '%' && i + 2 < target.size() &&
            std::isxdigit(static_cast<unsigned char>(target[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(target[i + 2]))) {
            const int value = std::stoi(std::string(target.substr(i + 1, 2)), nullptr, 16);
            const bool unsafe =
                value <= 0x20 || value >= 0x7F ||
                unsafe_printable.find(static_cast<char>(value)) != std::string::npos;
            if (unsafe) {
                out.push_back(static_cast<char>(value));
                i += 2;
                continue;
            }
        }
        out.push_back(target[i]);
    }
    return out;
}

TEST_F(FaultMatrix, HostileKeywordGoesOutAsOneRequestWithItsBytesUnchanged) {
    const std::vector<Entry> listed = entries(1);
    LoopbackServer server(
        {Reply{ok_response(page_of(listed))}, Reply{ok_response(page_of(listed))}});
    open_window(host_of(server));
    // Pasted, as a keyword with line breaks reaches a single-line box: CR LF with a
    // header and a second request after them, the query's own separators, percent
    // signs, quotes, Chinese, and characters GBK has no code for.
    const QString keyword = QString::fromUtf16(
        u"tv\r\nX-Injected: yes\r\n\r\nGET /second HTTP/1.0\r\nHost: evil\r\n\r\n"
        u"&page=9&c=Other 100% %41 \"double\" 'single' 电视 😀 한글 #fragment\r\nX-After: 1");
    window->keyword_box()->setText(keyword);
    const std::string typed = ui::to_gbk(window->keyword_box()->text());
    ASSERT_NE(typed.find("\r\n"), std::string::npos) << "the box holds the line breaks";
    // The search runs from the auto-search tick a second after the change.
    ASSERT_TRUE(QTest::qWaitFor([&] { return part_text(0) == count_message(1); }, 30000))
        << part_text(0);
    QTest::qWait(1500);  // time for a wrong second request to arrive
    const std::vector<std::string> requests = server.requests();
    ASSERT_EQ(requests.size(), 1U);
    const std::string& request = requests[0];

    // One head, ended once, and nothing after it.
    ASSERT_EQ(request.find("\r\n\r\n"), request.size() - 4) << request;
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < request.size() - 4;) {
        const std::size_t end = request.find("\r\n", start);
        lines.push_back(request.substr(start, end - start));
        start = end + 2;
    }
    ASSERT_FALSE(lines.empty());
    const std::string& request_line = lines[0];
    const std::string prefix = "GET /index.php?c=SearchList&keyword=";
    // The query address ends in "&page=1", but from the keyword's "#" on nothing is sent.
    const std::string suffix = " HTTP/1.0";
    ASSERT_GE(request_line.size(), prefix.size() + suffix.size());
    ASSERT_EQ(request_line.substr(request_line.size() - suffix.size()), suffix) << request_line;
    const std::string target_keyword =
        request_line.substr(prefix.size(), request_line.size() - prefix.size() - suffix.size());
    for (const char c : target_keyword) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_TRUE(byte > 0x20 && byte < 0x7F)
            << "raw byte " << int{byte} << " on the request line";
    }
    EXPECT_EQ(undo_unsafe_escapes(target_keyword), typed.substr(0, typed.find('#')));

    const std::set<std::string> allowed = {"Host", "User-Agent", "Accept"};
    std::set<std::string> names;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string name = lines[i].substr(0, lines[i].find(':'));
        EXPECT_TRUE(allowed.count(name)) << "header line: " << lines[i];
        EXPECT_TRUE(names.insert(name).second) << "twice: " << name;
    }
    EXPECT_EQ(names, allowed);
    expect_listed(listed);
}

// ---- Hostile picture addresses ----

TEST_F(FaultMatrix, PictureAddressesOfOtherSchemesLeaveThePaneBlank) {
    const fs::path local =
        fs::temp_directory_path() / ("pricelookup-faults-" + std::to_string(::getpid()) + ".html");
    std::ofstream(local) << "<html><head><title>injected</title></head><body>local</body></html>";
    pricelookup::testing::PictureServer pictures(
        "image/svg+xml", "<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'/>");
    const std::string picture = pictures.url("/pic/1.svg");

    std::vector<Entry> listed = entries(4);
    listed[0].picture = "file://" + local.string();
    listed[1].picture = "javascript:document.title='injected';void(0)";
    listed[2].picture = "data:text/html,<title>injected</title>";
    listed[3].picture = picture;
    LoopbackServer server({Reply{ok_response(page_of(listed))}});
    open_window(host_of(server));
    search();
    expect_listed(listed);

    // Before any picture: the pane stays a blank widget and starts no web engine.
    for (std::size_t row = 0; row < 3; ++row) {
        click_row(static_cast<int>(row));
        EXPECT_EQ(window->preview_pane()->address(), listed[row].picture);
        EXPECT_EQ(window->preview_pane()->view(), nullptr) << listed[row].picture;
    }
    // With a picture shown, each hostile address blanks the pane and runs nothing.
    click_row(3);
    ASSERT_NE(window->preview_pane()->view(), nullptr);
    QWebEngineView* view = window->preview_pane()->view();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return view->url() == QUrl(ui::to_qstring(picture)); }, 30000));
    for (std::size_t row = 0; row < 3; ++row) {
        click_row(static_cast<int>(row));
        EXPECT_TRUE(QTest::qWaitFor([&] { return view->url() == QUrl("about:blank"); }, 30000))
            << listed[row].picture << " -> " << view->url().toString().toStdString();
        QTest::qWait(300);
        EXPECT_NE(view->title(), "injected") << listed[row].picture;
        EXPECT_FALSE(view->title().contains("local")) << listed[row].picture;
    }
    for (const std::string& target : pictures.targets()) {
        EXPECT_TRUE(target == "/pic/1.svg" || target == "/favicon.ico") << target;
    }
    fs::remove(local);
}

}  // namespace
}  // namespace pricelookup::app
