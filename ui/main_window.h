#pragma once

// The main window as its definition describes it. It only builds and exposes the
// controls and reports what happens to them; what the program does in reply lives in
// the handlers, which reach the window through QtControls.

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <cstdint>

#include "ui/controls.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pricelookup::ui {

class PeriodTimer;
class PreviewPane;
class ResultList;
class StatusBar;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    QLabel* hint_label() const { return m_hint_label; }
    QLineEdit* keyword_box() const { return m_keyword_box; }
    QPushButton* search_button() const { return m_search_button; }
    ResultList* result_list() const { return m_result_list; }
    PreviewPane* preview_pane() const { return m_preview_pane; }
    QLabel* status_part(std::int32_t part) const;
    static constexpr std::int32_t status_part_count = 3;
    PeriodTimer* timer(Timer which) const;
    QAction* menu_action(MenuItem item) const;

    // Hides or shows a menu item, rebuilding the menu bar only on a real change.
    void set_menu_item_hidden(MenuItem item, bool hidden);
    bool is_menu_item_hidden(MenuItem item) const;
    // How many times the menu bar has been built, the first time included.
    int menu_bar_builds() const { return m_menu_bar_builds; }

    // Places the window centred on the primary screen, its outer frame at the
    // defined size: (screen − outer size) / 2 with integer division, negative
    // coordinates on a small screen included.
    void place_on_screen();

signals:
    // The user (or the desktop session) asks to close the window.
    void close_requested();
    // The window's size changed after it was first shown.
    void size_changed();

protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void build_controls();
    void build_status_bar();
    void build_menu_bar();
    void fit_outer_size();
    // The controls Tab moves through, in order.
    std::array<QWidget*, 4> tab_order() const;

    QLabel* m_hint_label = nullptr;
    QLineEdit* m_keyword_box = nullptr;
    QPushButton* m_search_button = nullptr;
    ResultList* m_result_list = nullptr;
    PreviewPane* m_preview_pane = nullptr;
    StatusBar* m_status_bar = nullptr;
    PeriodTimer* m_auto_search_timer = nullptr;
    PeriodTimer* m_clock_timer = nullptr;
    std::array<QAction*, 4> m_actions{};
    std::array<bool, 4> m_hidden{};
    int m_menu_bar_builds = 0;
    QMargins m_fitted_frame{-1, -1, -1, -1};
    QTimer m_frame_watch;
    int m_frame_checks = 0;
};

}  // namespace pricelookup::ui
