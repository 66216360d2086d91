// Searching in the real program: the driver build of it (program_driver.cpp) runs in
// a process of its own on the test's X server and searches a catalogue on loopback
// that this process serves. Times are compared in wide windows and only where they
// tell a right countdown from a wrong one.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/product_file.h"
#include "tests/catalogue/catalogue_process.h"
#include "tests/search/support/catalogue_server.h"
#include "tests/search/support/loopback_server.h"

extern char** environ;

namespace pricelookup::app {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::CatalogueServer;
using Clock = CatalogueServer::Clock;

std::string count_message(int n) {
    return "当前页共搜到" + std::to_string(n) + "条结果";
}

// The value of `key=` in a report line, up to the next space; names runs to the end.
std::string field(const std::string& line, const std::string& key) {
    const std::size_t at = line.find(" " + key + "=");
    if (at == std::string::npos) return {};
    const std::size_t start = at + key.size() + 2;
    if (key == "names") return line.substr(start);
    return line.substr(start, line.find(' ', start) - start);
}

// "1.<name 1>|2.<name 2>|..." for the rows of a catalogue page.
std::string page_names(std::string_view keyword, std::string_view page, int entries = 3) {
    std::string names;
    for (int i = 1; i <= entries; ++i) {
        names += (i == 1 ? "" : "|") + std::to_string(i) + "." +
                 CatalogueServer::entry_name(keyword, page, i);
    }
    return names;
}

std::vector<std::pair<std::string, std::string>> searched(
    const std::vector<CatalogueServer::Request>& requests) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& r : requests) pairs.emplace_back(r.keyword, r.page);
    return pairs;
}

long ms_between(Clock::time_point from, Clock::time_point to) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count());
}

class ProgramSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        test::clear_proxy_environment();
        m_directory = fs::temp_directory_path() /
                      ("pricelookup-search-" + std::to_string(getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_directory);
    }
    void TearDown() override {
        if (m_pid > 0) wait_for_exit();
        fs::remove_all(m_directory);
    }

    fs::path report() const { return m_directory / "report.txt"; }

    std::vector<std::string> lines() const {
        std::ifstream in(report());
        std::vector<std::string> result;
        for (std::string line; std::getline(in, line);) result.push_back(line);
        return result;
    }

    // The line of the report starting with `prefix`, or "" when there is none.
    std::string line(std::string_view prefix) const {
        for (const auto& l : lines()) {
            if (l.rfind(prefix, 0) == 0) return l;
        }
        return {};
    }

    void start(const CatalogueServer& catalogue, const std::string& action,
               const std::string& steps = "") {
        start(catalogue.host(), action, steps);
    }

    void start(const std::string& catalogue_host, const std::string& action,
               const std::string& steps = "") {
        std::vector<std::string> env_strings;
        for (char** e = environ; *e != nullptr; ++e) env_strings.emplace_back(*e);
        env_strings.push_back("PRICELOOKUP_DRIVER_REPORT=" + report().string());
        env_strings.push_back("PRICELOOKUP_DRIVER_ACTION=" + action);
        env_strings.push_back("PRICELOOKUP_DRIVER_STEPS=" + steps);
        env_strings.push_back("PRICELOOKUP_DRIVER_CATALOGUE=" + catalogue_host);
        std::vector<char*> envp;
        for (auto& s : env_strings) envp.push_back(s.data());
        envp.push_back(nullptr);
        std::string program = PROGRAM_DRIVER;
        char* argv[] = {program.data(), nullptr};
        ASSERT_EQ(posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv, envp.data()), 0);
    }

    bool wait_until_started(std::chrono::seconds limit = 60s) const {
        const auto deadline = Clock::now() + limit;
        while (Clock::now() < deadline) {
            if (!line("started ").empty()) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    // The exit status, or -1000 when the program had to be killed.
    int wait_for_exit(std::chrono::seconds limit = 90s) {
        const auto deadline = Clock::now() + limit;
        int status = 0;
        while (waitpid(m_pid, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                kill(m_pid, SIGKILL);
                waitpid(m_pid, &status, 0);
                m_pid = -1;
                return -1000;
            }
            std::this_thread::sleep_for(20ms);
        }
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -3000 - WTERMSIG(status);
    }

    static bool have_xdotool() { return std::system("command -v xdotool > /dev/null") == 0; }
    static int key(const std::string& name) { return std::system(("xdotool key " + name).c_str()); }

  private:
    fs::path m_directory;
    pid_t m_pid = -1;
};

TEST_F(ProgramSearch, ThreeKeysTypedApartGiveOneSearchASecondAfterTheFirstWithAllThree) {
    if (!have_xdotool()) GTEST_SKIP() << "xdotool is not installed";
    CatalogueServer catalogue;
    start(catalogue, "idle");
    ASSERT_TRUE(wait_until_started());
    const auto first_key = Clock::now();
    ASSERT_EQ(key("a"), 0);
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(key("b"), 0);
    std::this_thread::sleep_for(300ms);
    const auto third_key = Clock::now();
    ASSERT_EQ(key("c"), 0);
    auto requests = catalogue.wait_for_requests(1, 20s);
    ASSERT_EQ(requests.size(), 1U);
    std::this_thread::sleep_for(2500ms);  // time for a wrong second search to come
    requests = catalogue.requests();
    ASSERT_EQ(requests.size(), 1U) << "one search for the three changes";
    EXPECT_EQ(requests[0].keyword, "abc");
    EXPECT_EQ(requests[0].page, "1");
    // Never before the countdown of the first change has run out, and before one that
    // a later change had restarted could.
    EXPECT_GE(ms_between(first_key, requests[0].arrived), 980);
    EXPECT_LT(ms_between(third_key, requests[0].arrived), 1000);
    EXPECT_EQ(key("Escape"), 0);
    EXPECT_EQ(wait_for_exit(), 0);
}

TEST_F(ProgramSearch, AClickWithinTheSecondSearchesAtOnceAndTheTickSearchesAgain) {
    CatalogueServer catalogue;
    start(catalogue, "steps", "type:tv;wait:300;click;report:clicked;wait:2500;report:end;close");
    ASSERT_TRUE(wait_until_started());
    EXPECT_EQ(wait_for_exit(), 0);
    const auto requests = catalogue.requests();
    ASSERT_EQ(searched(requests),
              (std::vector<std::pair<std::string, std::string>>{{"tv", "1"}, {"tv", "1"}}));
    EXPECT_GE(ms_between(requests[0].arrived, requests[1].arrived), 400)
        << "the second comes at the tick";
    const std::string clicked = line("state clicked");
    EXPECT_EQ(field(clicked, "names"), page_names("tv", "1"));
    EXPECT_EQ(field(clicked, "status0"), count_message(3));
    EXPECT_EQ(field(clicked, "status1"), "第1页");
    EXPECT_EQ(field(line("state end"), "names"), page_names("tv", "1"));
}

TEST_F(ProgramSearch, KeysTypedDuringASlowFetchAreHandledAfterItAndStartANewCountdown) {
    if (!have_xdotool()) GTEST_SKIP() << "xdotool is not installed";
    CatalogueServer catalogue(3, "", 2000ms);  // the empty keyword is slow to answer
    start(catalogue, "steps", "click");
    ASSERT_TRUE(wait_until_started());
    ASSERT_EQ(catalogue.wait_for_requests(1, 20s).size(), 1U);
    const auto typed = Clock::now();
    ASSERT_EQ(key("x"), 0);  // while the program waits for the page
    auto requests = catalogue.wait_for_requests(2, 20s);
    ASSERT_EQ(requests.size(), 2U);
    std::this_thread::sleep_for(2000ms);
    requests = catalogue.requests();
    ASSERT_EQ(searched(requests),
              (std::vector<std::pair<std::string, std::string>>{{"", "1"}, {"x", "1"}}));
    // The countdown starts when the key is handled, after the slow page came.
    EXPECT_GE(ms_between(requests[0].answered, requests[1].arrived), 980);
    EXPECT_GE(ms_between(typed, requests[1].arrived), 980 + 1000);
    EXPECT_EQ(key("Escape"), 0);
    EXPECT_EQ(wait_for_exit(), 0);
}

TEST_F(ProgramSearch, PagingRequestsThePagesAndShowsTheirRowsAndTexts) {
    CatalogueServer catalogue;
    start(
        catalogue, "steps",
        "type:tv;wait:1800;report:auto;next;report:next;next;report:next2;previous;report:previous;"
        "first;report:first;next;report:again;close");
    ASSERT_TRUE(wait_until_started());
    EXPECT_EQ(wait_for_exit(), 0);
    EXPECT_EQ(searched(catalogue.requests()),
              (std::vector<std::pair<std::string, std::string>>{
                  {"tv", "1"}, {"tv", "2"}, {"tv", "3"}, {"tv", "2"}, {"tv", "1"}, {"tv", "2"}}));
    struct Expected {
        const char* label;
        const char* page;
        const char* previous;
    };
    const Expected states[] = {
        {"auto", "1", "shown"},     {"next", "2", "shown"},   {"next2", "3", "shown"},
        {"previous", "2", "shown"}, {"first", "1", "hidden"}, {"again", "2", "shown"},
    };
    for (const Expected& e : states) {
        const std::string state = line(std::string("state ") + e.label + " ");
        ASSERT_FALSE(state.empty()) << e.label;
        EXPECT_EQ(field(state, "names"), page_names("tv", e.page)) << e.label;
        EXPECT_EQ(field(state, "status0"), count_message(3)) << e.label;
        EXPECT_EQ(field(state, "status1"), std::string("第") + e.page + "页") << e.label;
        EXPECT_EQ(field(state, "previous"), e.previous) << e.label;
    }
}

TEST_F(ProgramSearch, PreviousOnPageOneShowsTheBoxThenReloadsTheLastSearchEvenAfterAChange) {
    CatalogueServer catalogue;
    start(catalogue, "steps",
          "type:aa;wait:1800;type:z;answer:100;previous;report:after;wait:1800;close");
    ASSERT_TRUE(wait_until_started());
    EXPECT_EQ(wait_for_exit(), 0);
    EXPECT_EQ(searched(catalogue.requests()), (std::vector<std::pair<std::string, std::string>>{
                                                  {"aa", "1"}, {"aa", "1"}, {"aaz", "1"}}))
        << "the box, the stored address of the last search, then the tick of the change";
    EXPECT_EQ(line("box "), "box caption=信息： critical=0 text=已经是最后一页");
    const std::string after = line("state after");
    EXPECT_EQ(field(after, "names"), page_names("aa", "1"));
    EXPECT_EQ(field(after, "status1"), "第1页");
}

TEST_F(ProgramSearch, ACountdownArmedBeforeTheBoxFiresInsideItAndTheReloadReadsItsAddress) {
    CatalogueServer catalogue;
    start(catalogue, "steps", "type:aa;wait:1800;type:b;answer:2500;previous;report:after;close");
    ASSERT_TRUE(wait_until_started());
    EXPECT_EQ(wait_for_exit(), 0);
    const auto requests = catalogue.requests();
    EXPECT_EQ(searched(requests), (std::vector<std::pair<std::string, std::string>>{
                                      {"aa", "1"}, {"aab", "1"}, {"aab", "1"}}));
    EXPECT_FALSE(line("box ").empty());
    const std::string after = line("state after");
    EXPECT_EQ(field(after, "names"), page_names("aab", "1")) << "the page once";
    EXPECT_EQ(field(after, "status0"), count_message(3));
}

TEST_F(ProgramSearch, APreviousPageCommandWaitingInTheBoxWhenTheProgramEndsGoesNoFurther) {
    CatalogueServer catalogue;
    start(catalogue, "steps", "type:aa;wait:1800;close-after:800;previous;report:never");
    ASSERT_TRUE(wait_until_started());
    EXPECT_EQ(wait_for_exit(), 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(searched(catalogue.requests()),
              (std::vector<std::pair<std::string, std::string>>{{"aa", "1"}}))
        << "no reload after the box";
    EXPECT_TRUE(line("state never").empty());
    EXPECT_EQ(line("cleanup"), "cleanup keyword=aa");
    EXPECT_EQ(lines().back(), "exit 0");
}

TEST_F(ProgramSearch, AnEmptyKeywordIsStillSearchedAndItsPageListed) {
    CatalogueServer catalogue;
    start(catalogue, "steps", "click;report:end;close");
    ASSERT_TRUE(wait_until_started());
    EXPECT_EQ(wait_for_exit(), 0);
    const auto requests = catalogue.requests();
    ASSERT_EQ(requests.size(), 1U);
    EXPECT_EQ(requests[0].target, "/index.php?c=SearchList&keyword=&page=1");
    EXPECT_EQ(field(line("state end"), "status0"), count_message(3));
    EXPECT_EQ(field(line("state end"), "names"), page_names("", "1"));
}

// The sample catalogue that ships with the program, as a user meets it: started on
// a port of its own, searched by typing, paged forward and back. The rows must be the
// data file's products that hold the keyword, twenty a page in the file's order.
class ProgramWithSampleCatalogue : public ProgramSearch {
  protected:
    static std::vector<catalogue::Product> products() {
        std::ifstream in(CATALOGUE_DATA_FILE, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        catalogue::ProductFile file = catalogue::parse_product_file(text.str(), "products.tsv");
        EXPECT_EQ(file.error, "");
        return std::move(file.products);
    }

    // The seven cells the program should show for the products of one page.
    static std::vector<std::string> expected_rows(const std::vector<const catalogue::Product*>& all,
                                                  std::size_t page, const std::string& host) {
        std::vector<std::string> rows;
        for (std::size_t i = (page - 1) * 20; i < std::min(all.size(), page * 20); ++i) {
            const catalogue::Product& p = *all[i];
            rows.push_back(std::to_string(i - (page - 1) * 20 + 1) + "\t" + p.gbk.name + "\t" +
                           p.gbk.specification + "\t" + p.gbk.label + "\t" + p.gbk.price + "\t" +
                           p.gbk.date + "\thttp://" + host + "/images/" + p.id + ".svg");
        }
        return rows;
    }

    // The cells the driver reported under `label`, one text a row, in row order.
    std::vector<std::string> reported_rows(const std::string& label) const {
        std::vector<std::string> rows;
        const std::string prefix = "cells " + label + " ";
        for (const std::string& l : lines()) {
            if (l.rfind(prefix, 0) != 0) continue;
            const std::size_t cells = l.find(' ', prefix.size());
            EXPECT_EQ(l.substr(prefix.size(), cells - prefix.size()), std::to_string(rows.size()));
            rows.push_back(l.substr(cells + 1));
        }
        return rows;
    }
};

TEST_F(ProgramWithSampleCatalogue, ATypedKeywordListsTheCataloguesProductsPageByPage) {
    test::CatalogueProcess catalogue({"--listen", "127.0.0.1:0"});
    ASSERT_TRUE(catalogue.ready()) << catalogue.stderr_text();
    const std::string keyword = "电视";
    const std::vector<catalogue::Product> all_products = products();
    // Matched on the UTF-8 texts, where a substring cannot start inside a character.
    const std::u8string keyword_utf8 = u8"电视";
    const std::string needle(keyword_utf8.begin(), keyword_utf8.end());
    std::vector<const catalogue::Product*> matching;
    for (const catalogue::Product& p : all_products) {
        if (p.utf8.name.find(needle) != std::string::npos ||
            p.utf8.specification.find(needle) != std::string::npos) {
            matching.push_back(&p);
        }
    }
    ASSERT_GT(matching.size(), 40U) << "the sample catalogue has three pages of televisions";

    start(catalogue.host(), "steps",
          "type:" + keyword +
              ";wait:2500;rows:first;report:first;next;rows:second;report:second;"
              "previous;rows:back;report:back;close");
    ASSERT_TRUE(wait_until_started());
    EXPECT_EQ(wait_for_exit(), 0);

    const struct {
        const char* label;
        std::size_t page;
    } states[] = {{"first", 1}, {"second", 2}, {"back", 1}};
    for (const auto& state : states) {
        const std::vector<std::string> expected = expected_rows(matching, state.page, catalogue.host());
        EXPECT_EQ(reported_rows(state.label), expected) << state.label;
        const std::string status = line(std::string("state ") + state.label + " ");
        EXPECT_EQ(field(status, "status0"), count_message(static_cast<int>(expected.size())))
            << state.label;
        EXPECT_EQ(field(status, "status1"), "第" + std::to_string(state.page) + "页") << state.label;
    }
}

}  // namespace
}  // namespace pricelookup::app
