#include "search/http_agent.h"

#include <curl/curl.h>

namespace pricelookup::search::detail {

HttpAgent& HttpAgent::instance() {
    // Never destroyed: libcurl's global state lives until the process ends.
    static HttpAgent* const agent = new HttpAgent();
    return *agent;
}

bool HttpAgent::open() {
    const std::lock_guard lock(m_mutex);
    if (!m_open) m_open = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return m_open;
}

}  // namespace pricelookup::search::detail
