#pragma once

// A freshly built main window, shown on the test's X server and ready for input.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "ui/main_window.h"
#include "ui/qt_text.h"

namespace pricelookup::testing {

class ShownWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<ui::MainWindow>();
        window->place_on_screen();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override { window.reset(); }

    static QString q(std::string_view gbk) { return ui::to_qstring(gbk); }

    std::unique_ptr<ui::MainWindow> window;
};

}  // namespace pricelookup::testing
