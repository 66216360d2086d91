#pragma once

// Where the search gets its result pages from. The program fetches them from the
// catalogue over HTTP; tests hand out pages of their own.

#include <string>
#include <string_view>

namespace pricelookup::search {

class PageSource {
  public:
    virtual ~PageSource() = default;

    // The page text for `address`; empty when there is none. Blocks until it is in.
    virtual std::string fetch(std::string_view address) = 0;
};

// Fetches over HTTP with fetch_page: the body as GBK text, its CR LF pairs removed.
//   "" -> "" and nothing is sent
class NetworkPageSource final : public PageSource {
  public:
    std::string fetch(std::string_view address) override;
};

}  // namespace pricelookup::search
