#pragma once

// 状态条1: a status bar whose parts sit side by side from its left edge with exactly
// their defined widths, so that their right edges are the sums of the widths. The
// toolkit's own status bar layout adds a margin before the first part and spacing
// between parts; the parts here are placed by the bar itself instead.

#include <QStatusBar>
#include <array>
#include <cstdint>

class QLabel;

namespace pricelookup::ui {

class StatusBar : public QStatusBar {
    Q_OBJECT

public:
    static constexpr std::int32_t part_count = 3;

    explicit StatusBar(QWidget* parent = nullptr);

    // Part 0, 1 or 2; nullptr for any other index.
    QLabel* part(std::int32_t index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void place_parts();

    std::array<QLabel*, part_count> m_parts{};
};

}  // namespace pricelookup::ui
