#pragma once

// Result pages handed out from memory: each address gets the page stored for it (or
// an empty text), and every address asked for is recorded in order.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "search/page_source.h"

namespace pricelookup::testing {

class FakePageSource final : public search::PageSource {
  public:
    std::string fetch(std::string_view address) override {
        addresses.emplace_back(address);
        if (while_fetching) while_fetching();
        const auto page = pages.find(std::string(address));
        return page == pages.end() ? std::string() : page->second;
    }

    std::map<std::string, std::string, std::less<>> pages;
    // Runs during each fetch, before its page is returned.
    std::function<void()> while_fetching;

    std::vector<std::string> addresses;
};

}  // namespace pricelookup::testing
