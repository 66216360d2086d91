// What a screen reader finds in the main window: every control reached from the
// window through the accessibility tree, with its name and its role.

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QWebEngineView>
#include <functional>

#include "tests/ui/window_fixture.h"
#include "ui/preview_pane.h"
#include "ui/result_list.h"
#include "ui/window_definition.h"

namespace pricelookup::ui {
namespace {

namespace d = definition;
using AccessibleNames = testing::ShownWindow;

// The interface of `widget` as met on the way down from `root`, or null when the
// tree does not lead to it.
QAccessibleInterface* find_in_tree(QAccessibleInterface* root, const QObject* widget, int depth = 0) {
    if (root == nullptr || depth > 12) return nullptr;
    if (root->object() == widget) return root;
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface* found = find_in_tree(root->child(i), widget, depth + 1)) return found;
    }
    return nullptr;
}

TEST_F(AccessibleNames, EveryControlIsReachedFromTheWindowWithItsNameAndRole) {
    struct Case {
        const char* control;
        std::function<QWidget*(const MainWindow&)> widget;
        std::string_view name;
        QAccessible::Role role;
    };
    const Case cases[] = {
        {"hint label", [](const MainWindow& w) { return w.hint_label(); }, d::hint_label_accessible_name,
         QAccessible::StaticText},
        {"keyword box", [](const MainWindow& w) { return w.keyword_box(); }, d::keyword_box_accessible_name,
         QAccessible::EditableText},
        {"search button", [](const MainWindow& w) { return w.search_button(); },
         d::search_button_accessible_name, QAccessible::Button},
        {"result list", [](const MainWindow& w) { return w.result_list(); }, d::result_list_accessible_name,
         QAccessible::Table},
        {"preview pane", [](const MainWindow& w) { return w.preview_pane(); },
         d::preview_pane_accessible_name, QAccessible::NoRole},
        {"status bar", [](const MainWindow& w) { return w.statusBar(); }, d::status_bar_accessible_name,
         QAccessible::StatusBar},
    };
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window.get());
    ASSERT_NE(root, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        QWidget* widget = c.widget(*window);
        QAccessibleInterface* found = find_in_tree(root, widget);
        ASSERT_NE(found, nullptr) << "not reachable from the window";
        EXPECT_FALSE(c.name.empty());
        EXPECT_EQ(found->text(QAccessible::Name), q(c.name));
        if (c.role != QAccessible::NoRole) {
            EXPECT_EQ(found->role(), c.role);
        }
    }
}

TEST_F(AccessibleNames, TheKeywordBoxIsNamedByTheHintInFrontOfIt) {
    // The hint is what the user reads before typing; a screen reader says the same.
    EXPECT_EQ(q(d::keyword_box_accessible_name), q(d::hint_label_text).trimmed());
    // Its value stays what was typed, apart from its name.
    window->keyword_box()->setText(QStringLiteral("tv"));
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(window->keyword_box());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(QAccessible::Value), QStringLiteral("tv"));
    EXPECT_EQ(box->text(QAccessible::Name), q(d::hint_label_text).trimmed());
}

}  // namespace
}  // namespace pricelookup::ui
