#pragma once

// A page source that first draws what the window has pending, so that the texts a
// search writes before its blocking fetch (the progress message, the page number)
// are on the screen while the user waits.

#include <QPointer>

#include "search/page_source.h"

namespace pricelookup::ui {

class MainWindow;

class DrawnPageSource final : public search::PageSource {
  public:
    // Draws `window` (if it still exists) before each fetch from `pages`.
    DrawnPageSource(MainWindow& window, search::PageSource& pages);

    // The window painted and shown at once, then pages.fetch(address).
    //   "http://h/..." -> what `pages` gives for it
    std::string fetch(std::string_view address) override;

  private:
    QPointer<MainWindow> m_window;
    search::PageSource& m_pages;
};

}  // namespace pricelookup::ui
