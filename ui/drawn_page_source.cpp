#include "ui/drawn_page_source.h"

#include <QCoreApplication>
#include <QEvent>

#include "ui/main_window.h"

namespace pricelookup::ui {

DrawnPageSource::DrawnPageSource(MainWindow& window, search::PageSource& pages)
    : m_window(&window), m_pages(pages) {}

std::string DrawnPageSource::fetch(std::string_view address) {
    if (m_window) {
        // The update request, sent straight to the window, paints what is pending and
        // shows it without running the event loop: no other event is handled before
        // the fetch. (repaint() is not enough: with the preview pane's web view in the
        // window, the toolkit turns a repaint within a frame of the last into a later
        // update.)
        QEvent update_request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(m_window.data(), &update_request);
    }
    return m_pages.fetch(address);
}

}  // namespace pricelookup::ui
