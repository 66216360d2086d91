#include "ui/preview_pane.h"

#include <QPalette>
#include <QResizeEvent>
#include <QWebEngineView>

#include "ui/preview_address.h"
#include "ui/qt_text.h"

namespace pricelookup::ui {

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
    // White, as the empty web view is, so that nothing changes to the eye when it comes.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);
    // A tab stop like the view it stands for.
    setFocusPolicy(Qt::StrongFocus);
}

QUrl PreviewPane::url_to_load(std::string_view address) {
    const QUrl blank(QStringLiteral("about:blank"));
    if (!is_previewable_address(address)) return blank;
    // The toolkit's reading of the address must agree with the check above.
    const QUrl url(to_qstring(address), QUrl::TolerantMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        return blank;
    }
    return url;
}

void PreviewPane::show_address(std::string_view address) {
    m_address = std::string(address);
    ++m_navigations;
    const QUrl url = url_to_load(address);
    // A pane without its view is blank already: a refused address needs no engine.
    if (m_view == nullptr && url == QUrl(QStringLiteral("about:blank"))) return;
    if (m_view == nullptr) create_view();
    m_view->load(url);
}

void PreviewPane::create_view() {
    const bool had_focus = hasFocus();
    m_view = new QWebEngineView(this);
    m_view->setGeometry(rect());
    // Focus given to the pane, by Tab or by a click, goes on to the view.
    setFocusProxy(m_view);
    m_view->show();
    if (had_focus) m_view->setFocus(Qt::OtherFocusReason);
}

void PreviewPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_view != nullptr) m_view->setGeometry(rect());
}

}  // namespace pricelookup::ui
