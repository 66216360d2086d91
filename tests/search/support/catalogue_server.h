#pragma once

// A catalogue on 127.0.0.1 for tests and benchmarks of the whole program: it answers
// every search request with a result page for the keyword and page it names, and
// records when each request came and what it asked for.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pricelookup::test {

class CatalogueServer {
  public:
    using Clock = std::chrono::steady_clock;

    struct Request {
        std::string target;   // the request target as sent
        std::string keyword;  // its keyword value, %XX decoded to the raw bytes
        std::string page;     // its page value, "" when there is none
        Clock::time_point arrived;
        Clock::time_point answered;  // when the last byte of the answer was sent
    };

    // Pages hold `entries` entries each. A request for `slow_keyword` is answered
    // only after `slow_delay`.
    explicit CatalogueServer(int entries = 3, std::string slow_keyword = "\x01",
                             std::chrono::milliseconds slow_delay = {});
    ~CatalogueServer();
    CatalogueServer(const CatalogueServer&) = delete;
    CatalogueServer& operator=(const CatalogueServer&) = delete;

    // "127.0.0.1:port", the catalogue host to search.
    std::string host() const;

    std::vector<Request> requests() const;
    // Waits at most `timeout` for `count` requests to have arrived.
    std::vector<Request> wait_for_requests(std::size_t count,
                                           std::chrono::milliseconds timeout) const;

    // The product name of entry i (1-based) on the page for keyword and page.
    //   "tv", "2", 1 -> "tv p2 #1"
    static std::string entry_name(std::string_view keyword, std::string_view page, int i);
    // The whole page the server sends for keyword and page.
    std::string page_for(std::string_view keyword, std::string_view page) const;

  private:
    void serve();
    void answer(int connection);

    int m_entries;
    std::string m_slow_keyword;
    std::chrono::milliseconds m_slow_delay;
    int m_listener = -1;
    int m_wake[2] = {-1, -1};
    std::uint16_t m_port = 0;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::vector<Request> m_requests;
    std::thread m_thread;
};

}  // namespace pricelookup::test
