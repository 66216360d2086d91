#pragma once

// 超级列表框1: a report-style list with a column header, grid lines, full-row
// selection of at most one row, and no editing or sorting. It reports every left
// click in its rows area, on a row or on the empty space below the rows, after the
// click has changed the selection: a click on empty space leaves no row selected.

#include <QTableWidget>
#include <cstdint>
#include <string>
#include <string_view>

namespace pricelookup::ui {

class ResultList : public QTableWidget {
    Q_OBJECT

public:
    explicit ResultList(QWidget* parent = nullptr);

    // Each cell keeps the exact GBK bytes it was given, so that reading a cell back
    // gives them unchanged even where they are not valid GBK.
    void set_cell_bytes(int row, int column, std::string_view gbk);
    std::string cell_bytes(int row, int column) const;

signals:
    void rows_area_clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_left_press_in_rows_area = false;
};

}  // namespace pricelookup::ui
