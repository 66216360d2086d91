#include "ui/status_bar.h"

#include <QLabel>
#include <QResizeEvent>
#include <algorithm>

#include "ui/qt_text.h"
#include "ui/window_definition.h"

namespace pricelookup::ui {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        const auto& definition = definition::status_parts[i];
        // Children of the bar, not items of its layout, which would move them.
        auto* label = new QLabel(to_qstring(definition.start_text), this);
        label->setTextFormat(Qt::PlainText);
        label->setFixedWidth(definition.width);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_parts[i] = label;
    }
    place_parts();
}

QLabel* StatusBar::part(std::int32_t index) const {
    if (index < 0 || index >= part_count) return nullptr;
    return m_parts[static_cast<std::size_t>(index)];
}

QSize StatusBar::sizeHint() const {
    // As high as its font asks for, and as high as the parts need.
    int height = QStatusBar::sizeHint().height();
    for (const QLabel* label : m_parts) height = std::max(height, label->sizeHint().height());
    return {QStatusBar::sizeHint().width(), height};
}

QSize StatusBar::minimumSizeHint() const { return {0, sizeHint().height()}; }

void StatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    place_parts();
}

void StatusBar::place_parts() {
    // Each part's right edge is its width plus the widths of the parts before it.
    int left = 0;
    for (QLabel* label : m_parts) {
        label->setGeometry(left, 0, label->width(), height());
        left += label->width();
    }
}

}  // namespace pricelookup::ui
