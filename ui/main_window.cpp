#include "ui/main_window.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include "ui/period_timer.h"
#include "ui/preview_pane.h"
#include "ui/qt_text.h"
#include "ui/result_list.h"
#include "ui/status_bar.h"
#include "ui/window_definition.h"

namespace pricelookup::ui {
namespace {

std::size_t index_of(MenuItem item) { return static_cast<std::size_t>(item); }

void place(QWidget* widget, const definition::Rect& rect) {
    widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent,
                  // A fixed dialog-like frame with a system menu, a close box and a
                  // minimise box, but no maximise box.
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                      Qt::WindowCloseButtonHint) {
    setWindowTitle(to_qstring(definition::window_title));
    build_controls();
    build_status_bar();

    auto make_actions = [this](const auto& items) {
        for (const auto& entry : items) {
            auto* action = new QAction(to_qstring(entry.caption), this);
            action->setMenuRole(QAction::NoRole);
            m_actions[index_of(entry.item)] = action;
        }
    };
    make_actions(definition::page_menu_items);
    make_actions(definition::restart_menu_items);
    build_menu_bar();

    m_auto_search_timer = new PeriodTimer(this);
    m_auto_search_timer->set_period(definition::auto_search_timer_start_period);
    m_clock_timer = new PeriodTimer(this);
    m_clock_timer->set_period(definition::clock_timer_start_period);

    m_frame_watch.setInterval(50);
    connect(&m_frame_watch, &QTimer::timeout, this, [this] {
        fit_outer_size();
        if (++m_frame_checks >= 60) m_frame_watch.stop();
    });

    const auto [outer_width, outer_height] = definition::window_outer_size;
    setFixedSize(outer_width, outer_height);
}

MainWindow::~MainWindow() = default;

void MainWindow::build_controls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    // Created first, so that the keyword box it overlaps by a few pixels lies on top.
    m_hint_label = new QLabel(to_qstring(definition::hint_label_text), client);
    place(m_hint_label, definition::hint_label_rect);
    m_hint_label->setTextFormat(Qt::PlainText);
    m_hint_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_hint_label->setWordWrap(false);
    m_hint_label->setAutoFillBackground(false);
    QFont hint_font = m_hint_label->font();
    hint_font.setPixelSize(definition::hint_label_pixel_size);
    hint_font.setWeight(QFont::Bold);
    m_hint_label->setFont(hint_font);
    QPalette hint_colours = m_hint_label->palette();
    hint_colours.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_hint_label->setPalette(hint_colours);
    m_hint_label->setAccessibleName(to_qstring(definition::hint_label_accessible_name));

    m_keyword_box = new QLineEdit(client);
    place(m_keyword_box, definition::keyword_box_rect);
    m_keyword_box->setFrame(true);
    m_keyword_box->setAccessibleName(to_qstring(definition::keyword_box_accessible_name));

    m_search_button = new QPushButton(to_qstring(definition::search_button_caption), client);
    place(m_search_button, definition::search_button_rect);
    m_search_button->setAutoDefault(false);
    m_search_button->setDefault(false);
    m_search_button->setAccessibleName(to_qstring(definition::search_button_accessible_name));

    m_result_list = new ResultList(client);
    place(m_result_list, definition::result_list_rect);
    m_result_list->setAccessibleName(to_qstring(definition::result_list_accessible_name));

    m_preview_pane = new PreviewPane(client);
    place(m_preview_pane, definition::preview_pane_rect);
    m_preview_pane->setAccessibleName(to_qstring(definition::preview_pane_accessible_name));
}

void MainWindow::build_status_bar() {
    m_status_bar = new StatusBar(this);
    setStatusBar(m_status_bar);
    m_status_bar->setAccessibleName(to_qstring(definition::status_bar_accessible_name));
}

void MainWindow::build_menu_bar() {
    // The bar is made anew from the definition with the current hidden marks; the
    // actions, and so what choosing an item does, stay the same.
    auto* bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);  // keep it inside the window, part of its outer size
    auto add_menu = [&](std::string_view caption, const auto& items) {
        QMenu* menu = bar->addMenu(to_qstring(caption));
        for (const auto& entry : items) {
            if (!m_hidden[index_of(entry.item)]) menu->addAction(m_actions[index_of(entry.item)]);
        }
    };
    add_menu(definition::page_menu_caption, definition::page_menu_items);
    add_menu(definition::restart_menu_caption, definition::restart_menu_items);
    setMenuBar(bar);  // deletes the previous bar
    ++m_menu_bar_builds;
}

QLabel* MainWindow::status_part(std::int32_t part) const { return m_status_bar->part(part); }

PeriodTimer* MainWindow::timer(Timer which) const {
    return which == Timer::auto_search ? m_auto_search_timer : m_clock_timer;
}

QAction* MainWindow::menu_action(MenuItem item) const { return m_actions[index_of(item)]; }

void MainWindow::set_menu_item_hidden(MenuItem item, bool hidden) {
    if (m_hidden[index_of(item)] == hidden) return;
    m_hidden[index_of(item)] = hidden;
    build_menu_bar();
}

bool MainWindow::is_menu_item_hidden(MenuItem item) const { return m_hidden[index_of(item)]; }

void MainWindow::place_on_screen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    const auto [outer_width, outer_height] = definition::window_outer_size;
    // Integer division truncates toward zero, as the placement rule wants; a screen
    // smaller than the window gives a negative coordinate, used as it is.
    move(area.x() + (area.width() - outer_width) / 2, area.y() + (area.height() - outer_height) / 2);
}

void MainWindow::fit_outer_size() {
    // The defined size is the outer one. Where a window manager puts a frame around
    // the window, the client area shrinks by that frame; the manager tells its size
    // only once the window is mapped, so this runs again as it does.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (frame == m_fitted_frame) return;
    m_fitted_frame = frame;
    const auto [outer_width, outer_height] = definition::window_outer_size;
    setFixedSize(outer_width - frame.left() - frame.right(),
                 outer_height - frame.top() - frame.bottom());
    place_on_screen();
}

bool MainWindow::event(QEvent* event) {
    // Once the preview pane's web engine has its renderer, the toolkit recreates the
    // window's native surface for GL, and an activation asked for before is lost with
    // the old one. Ask again, unless the user has moved on to another window.
    if (event->type() == QEvent::WinIdChange && isVisible()) {
        const QWidget* active = QApplication::activeWindow();
        if (active == nullptr || active == this) activateWindow();
    }
    return QMainWindow::event(event);
}

std::array<QWidget*, 4> MainWindow::tab_order() const {
    return {m_result_list, m_keyword_box, m_search_button, m_preview_pane};
}

bool MainWindow::focusNextPrevChild(bool next) {
    // The order is kept here rather than in the toolkit's focus chain, which the web
    // engine rearranges when it adds its own widget to the preview pane later on.
    const auto order = tab_order();
    const QWidget* focused = QApplication::focusWidget();
    const auto current = std::find_if(order.begin(), order.end(), [focused](const QWidget* control) {
        return control == focused || control->isAncestorOf(focused);
    });
    if (current == order.end()) return QMainWindow::focusNextPrevChild(next);
    const std::size_t count = order.size();
    const auto at = static_cast<std::size_t>(current - order.begin());
    for (std::size_t step = 1; step < count; ++step) {
        QWidget* candidate = order[(at + (next ? step : count - step)) % count];
        if (candidate->isVisible() && candidate->isEnabled()) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The can-be-closed handler ends the program; the close itself is neither granted
    // nor refused, the window goes when the process does.
    event->ignore();
    emit close_requested();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        close();
        return;
    }
    // Enter, F1 and the rest do nothing here.
    QMainWindow::keyPressEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (event->oldSize().isValid() && event->oldSize() != event->size()) emit size_changed();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (isVisible()) fit_outer_size();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    fit_outer_size();
    // The window manager draws its frame a moment after the window is mapped and
    // does not say when; look again for a short while.
    m_frame_checks = 0;
    m_frame_watch.start();
}

}  // namespace pricelookup::ui
