#pragma once

// The one HTTP agent of the process: libcurl's global state and the identity every
// request carries. It is opened by the first read that needs it and stays open.

#include <mutex>
#include <string_view>

namespace pricelookup::search::detail {

class HttpAgent {
public:
    static HttpAgent& instance();

    // True once the agent is open. A failed open leaves it closed, so the next call
    // tries again.
    bool open();

    static constexpr std::string_view user_agent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

private:
    HttpAgent() = default;

    std::mutex m_mutex;
    bool m_open = false;
};

}  // namespace pricelookup::search::detail
