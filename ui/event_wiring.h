#pragma once

namespace pricelookup::ui {

class EventDispatcher;
class MainWindow;

// Connects what happens to the window's controls to the events they raise.
void connect_events(MainWindow& window, EventDispatcher& dispatcher);

}  // namespace pricelookup::ui
