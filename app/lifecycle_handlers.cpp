#include "app/lifecycle_handlers.h"

#include "app/program_path.h"

namespace pricelookup::app {

void created_handler(ui::Controls& controls) { controls.set_focus(); }

void can_be_closed_handler(Shell& shell) { shell.end_program(exit_normal); }

void size_changed_handler() {}

void refresh_command(Shell& shell) {
    const std::string path = join_program_path(shell.program_directory(), shell.program_file_name());
    shell.start_program(path);  // whether it started or not, this instance ends
    shell.destroy_window();
}

}  // namespace pricelookup::app
