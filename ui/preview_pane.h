#pragma once

// 超文本浏览框1, the preview pane: an embedded web view that shows the picture of
// the clicked result row. Starting the web engine costs more than the rest of the
// window together, and the pane stays blank until the first row is clicked, so the
// view is created then: until the first show_address the pane is a plain white
// widget in the same place and in the same position of the Tab order.

#include <QUrl>
#include <QWidget>
#include <string>
#include <string_view>

class QWebEngineView;

namespace pricelookup::ui {

class PreviewPane : public QWidget {
    Q_OBJECT

  public:
    explicit PreviewPane(QWidget* parent = nullptr);

    // Keeps `address` (GBK) as the pane's address and navigates to it anew, even to
    // the address already shown, returning as soon as the navigation has started.
    // An address that is_previewable_address refuses shows a blank page instead; the
    // web view is created by the first address it accepts.
    //   "http://img/2.jpg" -> loads http://img/2.jpg
    //   "file:///etc/passwd" -> loads about:blank
    void show_address(std::string_view address);

    // The address last given to show_address, as it was given; empty at start.
    const std::string& address() const { return m_address; }
    // How many times show_address has started a navigation.
    int navigations() const { return m_navigations; }
    // The web view, or nullptr while no address has been shown yet.
    QWebEngineView* view() const { return m_view; }

    // What show_address loads for `address`.
    //   "http://img/a.jpg" -> http://img/a.jpg;  "javascript:x" -> about:blank
    static QUrl url_to_load(std::string_view address);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void create_view();

    QWebEngineView* m_view = nullptr;
    std::string m_address;
    int m_navigations = 0;
};

}  // namespace pricelookup::ui
