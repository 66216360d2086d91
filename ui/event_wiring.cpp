#include "ui/event_wiring.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include "ui/event_table.h"
#include "ui/main_window.h"
#include "ui/period_timer.h"
#include "ui/result_list.h"

namespace pricelookup::ui {

void connect_events(MainWindow& window, EventDispatcher& dispatcher) {
    auto raise = [&dispatcher](Event event) { return [&dispatcher, event] { dispatcher.raise(event); }; };

    QObject::connect(&window, &MainWindow::close_requested, &window, raise(Event::window_can_be_closed));
    // The desktop session's end reaches the window as a close: when the session
    // manager tells the program to die, the toolkit closes its windows. Its requests
    // to save the session (commitDataRequest) are not an end: a checkpoint sends
    // them too, and the program keeps running through it.
    QObject::connect(&window, &MainWindow::size_changed, &window, raise(Event::window_size_changed));
    QObject::connect(window.search_button(), &QPushButton::clicked, &window,
                     raise(Event::search_button_clicked));
    QObject::connect(window.keyword_box(), &QLineEdit::textChanged, &window,
                     raise(Event::keyword_changed));
    QObject::connect(window.timer(Timer::auto_search), &PeriodTimer::ticked, &window,
                     raise(Event::auto_search_tick));
    QObject::connect(window.timer(Timer::clock), &PeriodTimer::ticked, &window, raise(Event::clock_tick));
    QObject::connect(window.menu_action(MenuItem::previous_page), &QAction::triggered, &window,
                     raise(Event::previous_page_selected));
    QObject::connect(window.menu_action(MenuItem::next_page), &QAction::triggered, &window,
                     raise(Event::next_page_selected));
    QObject::connect(window.menu_action(MenuItem::first_page), &QAction::triggered, &window,
                     raise(Event::first_page_selected));
    QObject::connect(window.menu_action(MenuItem::refresh), &QAction::triggered, &window,
                     raise(Event::refresh_selected));
    QObject::connect(window.result_list(), &ResultList::rows_area_clicked, &window,
                     raise(Event::result_list_clicked));
}

}  // namespace pricelookup::ui
