#include "ui/result_list.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPalette>

#include "ui/qt_text.h"
#include "ui/window_definition.h"

namespace pricelookup::ui {
namespace {
constexpr int bytes_role = Qt::UserRole;
}

ResultList::ResultList(QWidget* parent) : QTableWidget(parent) {
    const auto& columns = definition::result_columns;
    setColumnCount(static_cast<int>(columns.size()));
    for (int c = 0; c < columnCount(); ++c) {
        const auto& column = columns[static_cast<std::size_t>(c)];
        auto* header = new QTableWidgetItem(to_qstring(column.title));
        header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setHorizontalHeaderItem(c, header);
        setColumnWidth(c, column.width);
    }

    verticalHeader()->hide();
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(true);  // header items look and act like buttons...
    header->setHighlightSections(false);
    header->setSectionsMovable(false);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSortingEnabled(false);  // ...but a click on one changes nothing

    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Tab leaves the list for the next control instead of moving between cells.
    setTabKeyNavigation(false);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    // The selection is not shown while the list does not have the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Base));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, colours.color(QPalette::Text));
    setPalette(colours);
}

void ResultList::set_cell_bytes(int row, int column, std::string_view gbk) {
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        setItem(row, column, cell);
    }
    cell->setData(bytes_role, QByteArray(gbk.data(), static_cast<qsizetype>(gbk.size())));
    cell->setText(to_qstring(gbk));
}

std::string ResultList::cell_bytes(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) return {};
    const QByteArray bytes = cell->data(bytes_role).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void ResultList::mousePressEvent(QMouseEvent* event) {
    const bool left = event->button() == Qt::LeftButton;
    const bool on_row = indexAt(event->position().toPoint()).isValid();
    if (left && !on_row) {
        // Clicking the empty space below the rows deselects, as in a report view.
        clearSelection();
        setCurrentIndex(QModelIndex());
    }
    QTableWidget::mousePressEvent(event);
    m_left_press_in_rows_area = left;
}

void ResultList::mouseReleaseEvent(QMouseEvent* event) {
    QTableWidget::mouseReleaseEvent(event);
    const bool clicked = m_left_press_in_rows_area && event->button() == Qt::LeftButton &&
                         viewport()->rect().contains(event->position().toPoint());
    m_left_press_in_rows_area = false;
    if (clicked) emit rows_area_clicked();
}

}  // namespace pricelookup::ui
