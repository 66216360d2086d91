#pragma once

// The sample catalogue's HTTP server: result pages at /index.php, the home page,
// product pictures at /images/<id>.svg, a 404 page for every other path. Each
// connection is closed after one reply; each request is logged on one line.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/listen_address.h"
#include "catalogue/product.h"

namespace pricelookup::catalogue {

// The host[:port] that picture addresses name: the request's Host header when it is
// a plain host name or address with an optional port, else `fallback`, so that a
// client-chosen Host can never put markup into the page.
//   ("127.0.0.1:5000", "x:1") -> "127.0.0.1:5000"      ("a\"><b", "x:1") -> "x:1"
std::string picture_host(std::string_view host_header, std::string_view fallback);

class CatalogueServer {
  public:
    // `log` receives one line per request, without its line end; it may be called
    // from several threads at once.
    CatalogueServer(std::vector<Product> products, std::function<void(const std::string&)> log);
    ~CatalogueServer();
    CatalogueServer(const CatalogueServer&) = delete;
    CatalogueServer& operator=(const CatalogueServer&) = delete;

    // Binds and listens on `address`; gives the port (the one the system picked for
    // port 0), or none when the address cannot be bound.
    std::optional<int> bind(const ListenAddress& address);

    // Serves on a thread of its own and returns once connections are being
    // accepted. `on_end` runs on that thread when serving ends by itself (not
    // after stop()).
    void start(std::function<void()> on_end);

    // Stops serving and waits for the serving thread; the server cannot start again.
    void stop();

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace pricelookup::catalogue
