#pragma once

// The control operations carried out on the real main window. Texts are converted
// between GBK and the toolkit's Unicode here and nowhere else.

#include <QPointer>

#include "app/shell.h"
#include "ui/controls.h"
#include "ui/main_window.h"

namespace pricelookup::ui {

class QtControls final : public Controls {
public:
    // `shell` ends the program when an operation names a control of a window that no
    // longer exists, and tells whether the program is already ending.
    QtControls(MainWindow& window, app::Shell& shell);

    std::string read_text() override;
    void set_focus() override;
    void set_item_visible(MenuItem item, bool visible) override;
    void set_period(Timer timer, std::int32_t period_ms) override;
    void set_part_text(std::int32_t part, std::string_view text) override;
    void clear_rows() override;
    std::int32_t append_row(std::string_view caption) override;
    void set_cell_text(std::int32_t row, std::int32_t column, std::string_view text) override;
    std::string get_cell_text(std::int32_t row, std::int32_t column) override;
    std::int32_t selected_row() override;
    void show_message(std::string_view text, std::int32_t flags) override;
    void show_address(std::string_view address) override;
    bool copy_to_clipboard(std::string_view text) override;

private:
    // The window every operation works on. Leaves the calling handler (ProgramEnd)
    // when the program is ending, and reports a fatal error when the window is gone.
    MainWindow& window();

    QPointer<MainWindow> m_window;
    app::Shell& m_shell;
};

}  // namespace pricelookup::ui
