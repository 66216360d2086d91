#include "catalogue/catalogue_server.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "catalogue/other_pages.h"
#include "catalogue/picture.h"
#include "catalogue/request_log.h"
#include "catalogue/result_page.h"
#include "catalogue/search_query.h"

namespace pricelookup::catalogue {
namespace {

constexpr const char* html_type = "text/html; charset=gbk";
constexpr const char* svg_type = "image/svg+xml";

bool is_host_character(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == ':' || c == '[' || c == ']';
}

}  // namespace

std::string picture_host(std::string_view host_header, std::string_view fallback) {
    const bool plain = !host_header.empty() && host_header.size() <= 261 &&
                       std::all_of(host_header.begin(), host_header.end(), is_host_character);
    return std::string(plain ? host_header : fallback);
}

struct CatalogueServer::Impl {
    std::vector<Product> products;
    std::map<std::string, const Product*, std::less<>> by_id;
    std::function<void(const std::string&)> log;
    std::string own_host;  // the listen address, for requests without a usable Host
    httplib::Server server;
    std::thread serving;
    std::atomic<bool> stopping = false;
    std::atomic<bool> ended = false;
};

CatalogueServer::CatalogueServer(std::vector<Product> products,
                                 std::function<void(const std::string&)> log)
    : m_impl(std::make_unique<Impl>()) {
    Impl& impl = *m_impl;
    impl.products = std::move(products);
    for (const Product& product : impl.products) impl.by_id.emplace(product.id, &product);
    impl.log = std::move(log);

    httplib::Server& server = impl.server;
    // One reply per connection: a client that reads to the end of the connection,
    // as an HTTP/1.0 client does, is done as soon as the reply is sent.
    server.set_keep_alive_max_count(1);

    const auto home = [&impl](const httplib::Request& request, httplib::Response& response) {
        const SearchQuery query = parse_search_query(request.target);
        if (!query.is_search) {
            response.set_content(home_page(impl.products.size()), html_type);
            return;
        }
        const std::string host = picture_host(request.get_header_value("Host"), impl.own_host);
        response.set_content(result_page(impl.products, query.keyword, query.page, host),
                             html_type);
    };
    server.Get("/", home);
    server.Get("/index.php", home);

    server.Get(R"(/images/([0-9]+)\.svg)",
               [&impl](const httplib::Request& request, httplib::Response& response) {
                   const auto found = impl.by_id.find(request.matches[1].str());
                   if (found == impl.by_id.end()) {
                       response.status = 404;
                       response.set_content(not_found_page(), html_type);
                       return;
                   }
                   response.set_content(picture_svg(*found->second), svg_type);
               });

    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.status == 404) response.set_content(not_found_page(), html_type);
    });

    server.set_logger([&impl](const httplib::Request& request, const httplib::Response& response) {
        impl.log(request_log_line(request.remote_addr, request.method, request.target,
                                  request.version, response.status, response.body.size()));
    });
}

CatalogueServer::~CatalogueServer() {
    stop();
}

std::optional<int> CatalogueServer::bind(const ListenAddress& address) {
    int port = address.port;
    if (port == 0) {
        port = m_impl->server.bind_to_any_port(address.host);
        if (port <= 0) return std::nullopt;
    } else if (!m_impl->server.bind_to_port(address.host, port)) {
        return std::nullopt;
    }
    m_impl->own_host = listen_address_text({address.host, port});
    return port;
}

void CatalogueServer::start(std::function<void()> on_end) {
    Impl& impl = *m_impl;
    impl.serving = std::thread([&impl, on_end = std::move(on_end)] {
        impl.server.listen_after_bind();
        impl.ended = true;
        if (!impl.stopping) on_end();
    });
    // The server only takes a stop once its accept loop runs; until then a stop
    // would be lost. The wait is short: the socket is bound and listening already.
    while (!impl.server.is_running() && !impl.ended) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void CatalogueServer::stop() {
    Impl& impl = *m_impl;
    impl.stopping = true;
    impl.server.stop();
    if (impl.serving.joinable()) impl.serving.join();
}

}  // namespace pricelookup::catalogue
