#pragma once

// The handlers of the main window's own events and of the menu item "刷新".

#include "app/shell.h"
#include "ui/controls.h"

namespace pricelookup::app {

// The window and its controls exist: the keyword box takes the focus, so that the
// user can type a product name at once.
void created_handler(ui::Controls& controls);

// The user or the desktop session asks to close the main window: the program ends
// with exit code 0 (end_program does not return).
void can_be_closed_handler(Shell& shell);

// The window's size changed. The layout is fixed, so there is nothing to do.
void size_changed_handler();

// "刷新": starts a new instance of the same program file, then destroys the main
// window, which ends this instance with exit code 0 even when no new one started.
void refresh_command(Shell& shell);

}  // namespace pricelookup::app
