#include "ui/main_window.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QWebEngineView>

#include "tests/ui/window_fixture.h"
#include "ui/period_timer.h"
#include "ui/preview_pane.h"
#include "ui/result_list.h"
#include "ui/window_definition.h"

namespace pricelookup::ui {
namespace {

namespace d = definition;
using MainWindowTest = testing::ShownWindow;

QRect rect_of(const d::Rect& r) { return {r.left, r.top, r.width, r.height}; }

QStringList captions(const QList<QAction*>& actions) {
    QStringList list;
    for (const QAction* action : actions) list << action->text();
    return list;
}

QMenu* page_menu(const MainWindow& window) {
    return window.menuBar()->actions().at(0)->menu();
}

TEST_F(MainWindowTest, HasTheDefinedOuterSizeCentredOnTheScreenAndCannotBeResized) {
    // No window manager here: the outer frame is the window itself.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->frameGeometry().size(), QSize(756, 590));
    EXPECT_EQ(window->frameGeometry().topLeft(),
              QPoint((screen.width() - 756) / 2, (screen.height() - 590) / 2));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
}

TEST_F(MainWindowTest, PlacesEveryControlWhereTheDefinitionSays) {
    const std::pair<QWidget*, d::Rect> controls[] = {
        {window->hint_label(), d::hint_label_rect},
        {window->keyword_box(), d::keyword_box_rect},
        {window->search_button(), d::search_button_rect},
        {window->result_list(), d::result_list_rect},
        {window->preview_pane(), d::preview_pane_rect},
    };
    for (const auto& [widget, rect] : controls) {
        EXPECT_EQ(widget->parentWidget(), window->centralWidget()) << widget->metaObject()->className();
        EXPECT_EQ(widget->geometry(), rect_of(rect)) << widget->metaObject()->className();
        EXPECT_TRUE(widget->isVisible());
        EXPECT_TRUE(widget->isEnabled());
    }
    // The client area starts right below the menu bar.
    EXPECT_EQ(window->centralWidget()->geometry().top(), window->menuBar()->geometry().bottom() + 1);
}

TEST_F(MainWindowTest, HintLabelIsRedBoldTwelvePixelsAndTransparent) {
    const QLabel* label = window->hint_label();
    EXPECT_EQ(label->text(), q(" 请输入你想查询的器材名称,程序自动帮你完成搜索操作!"));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(label->font().weight(), QFont::Bold);
    EXPECT_EQ(label->font().pixelSize(), 12);
    EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_FALSE(label->wordWrap());
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
}

TEST_F(MainWindowTest, KeywordBoxAndSearchButtonStartAsDefined) {
    const QLineEdit* box = window->keyword_box();
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(box->cursorPosition(), 0);
    EXPECT_FALSE(box->hasSelectedText());
    EXPECT_FALSE(box->isReadOnly());
    EXPECT_EQ(box->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(box->maxLength(), 32767) << "no limit of its own";
    EXPECT_TRUE(box->hasFrame());

    const QPushButton* button = window->search_button();
    EXPECT_EQ(button->text(), q("搜索"));
    EXPECT_FALSE(button->isDefault());
    EXPECT_FALSE(button->autoDefault());
}

TEST_F(MainWindowTest, ResultListShowsSevenTitledColumnsAndNoRows) {
    const ResultList* list = window->result_list();
    ASSERT_EQ(list->columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        const auto& column = d::result_columns[static_cast<std::size_t>(c)];
        EXPECT_EQ(list->horizontalHeaderItem(c)->text(), q(column.title));
        EXPECT_EQ(list->columnWidth(c), column.width);
    }
    EXPECT_EQ(list->horizontalHeaderItem(4)->text(), q("人民币(元)"));
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty());
    EXPECT_TRUE(list->horizontalHeader()->isVisible());
    EXPECT_FALSE(list->verticalHeader()->isVisible());
    EXPECT_TRUE(list->showGrid());
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_FALSE(list->horizontalHeader()->sectionsMovable());
}

TEST_F(MainWindowTest, StatusBarHasThreePartsWithTheirStartTexts) {
    QStatusBar* bar = window->statusBar();
    EXPECT_FALSE(bar->isSizeGripEnabled());
    EXPECT_EQ(bar->geometry().bottom(), window->height() - 1) << "docked to the bottom";
    EXPECT_EQ(bar->width(), window->width());
    int previous_right = -1;
    for (std::int32_t part = 0; part < 3; ++part) {
        const QLabel* label = window->status_part(part);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), q(d::status_parts[static_cast<std::size_t>(part)].start_text));
        EXPECT_EQ(label->width(), d::status_parts[static_cast<std::size_t>(part)].width);
        EXPECT_GT(label->x(), previous_right) << "parts are laid out from the left";
        previous_right = label->geometry().right();
    }
    EXPECT_EQ(window->status_part(3), nullptr);
    EXPECT_EQ(window->status_part(-1), nullptr);
}

// The numbers of the window's layout, written out here rather than taken from the
// definition, so that a wrong number there shows as well.
TEST_F(MainWindowTest, ItsPlacesAndSizesAreTheLayoutsOwnNumbers) {
    EXPECT_EQ(window->frameGeometry().size(), QSize(756, 590));

    struct Place {
        const char* name;
        QWidget* widget;
        QRect rect;
    };
    const Place places[] = {
        {"hint label", window->hint_label(), {0, 0, 360, 24}},
        {"keyword box", window->keyword_box(), {344, 0, 336, 24}},
        {"search button", window->search_button(), {680, 0, 72, 24}},
        {"result list", window->result_list(), {0, 24, 752, 300}},
        {"preview pane", window->preview_pane(), {0, 328, 752, 192}},
    };
    for (const Place& place : places) EXPECT_EQ(place.widget->geometry(), place.rect) << place.name;

    const int column_widths[] = {50, 250, 150, 40, 80, 80, 100};
    ASSERT_EQ(window->result_list()->columnCount(), 7);
    for (int c = 0; c < 7; ++c) EXPECT_EQ(window->result_list()->columnWidth(c), column_widths[c]) << c;

    // Each part of the status bar ends where its width and those before it add up to.
    struct Part {
        int left;
        int right_edge;
    };
    const Part parts[] = {{0, 300}, {300, 350}, {350, 750}};
    const QStatusBar* bar = window->statusBar();
    for (std::int32_t i = 0; i < 3; ++i) {
        const QLabel* label = window->status_part(i);
        const int left = label->mapTo(bar, QPoint(0, 0)).x();
        EXPECT_EQ(left, parts[i].left) << "part " << i;
        EXPECT_EQ(left + label->width(), parts[i].right_edge) << "part " << i;
        EXPECT_TRUE(label->isVisible()) << "part " << i;
    }
    EXPECT_LE(parts[2].right_edge, bar->width()) << "the last part fits in the bar";
}

TEST_F(MainWindowTest, MenuBarHoldsTwoMenusWithTheirItemsInOrder) {
    const QList<QAction*> top = window->menuBar()->actions();
    EXPECT_EQ(captions(top), (QStringList{q("选择页数"), q("重启刷新")}));
    EXPECT_EQ(captions(top.at(0)->menu()->actions()), (QStringList{q("上一页"), q("下一页"), q("首页")}));
    EXPECT_EQ(captions(top.at(1)->menu()->actions()), (QStringList{q("刷新")}));
    for (const MenuItem item : {MenuItem::previous_page, MenuItem::next_page, MenuItem::first_page,
                                MenuItem::refresh}) {
        const QAction* action = window->menu_action(item);
        EXPECT_TRUE(action->isEnabled());
        EXPECT_FALSE(action->isChecked());
        EXPECT_TRUE(action->shortcut().isEmpty());
    }
    EXPECT_EQ(window->menu_bar_builds(), 1);
}

TEST_F(MainWindowTest, HidingPreviousPageRebuildsTheMenuAndShowingPutsItBackInPlace) {
    window->set_menu_item_hidden(MenuItem::previous_page, false);
    EXPECT_EQ(window->menu_bar_builds(), 1) << "no change, no rebuild";

    window->set_menu_item_hidden(MenuItem::previous_page, true);
    EXPECT_EQ(window->menu_bar_builds(), 2);
    EXPECT_EQ(captions(page_menu(*window)->actions()), (QStringList{q("下一页"), q("首页")}));
    window->set_menu_item_hidden(MenuItem::previous_page, true);
    EXPECT_EQ(window->menu_bar_builds(), 2);

    window->set_menu_item_hidden(MenuItem::previous_page, false);
    EXPECT_EQ(window->menu_bar_builds(), 3);
    EXPECT_EQ(captions(page_menu(*window)->actions()), (QStringList{q("上一页"), q("下一页"), q("首页")}));
    // The rebuilt menu still runs the same command.
    QSignalSpy chosen(window->menu_action(MenuItem::previous_page), &QAction::triggered);
    page_menu(*window)->actions().at(0)->trigger();
    EXPECT_EQ(chosen.count(), 1);
}

TEST_F(MainWindowTest, TabMovesTheFocusListKeywordBoxButtonPreviewPane) {
    window->result_list()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), window->result_list());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window->keyword_box());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window->search_button());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    const QWidget* focused = QApplication::focusWidget();
    EXPECT_TRUE(focused == window->preview_pane() || window->preview_pane()->isAncestorOf(focused));

    window->result_list()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    focused = QApplication::focusWidget();
    EXPECT_TRUE(focused == window->preview_pane() || window->preview_pane()->isAncestorOf(focused))
        << "Shift+Tab from the first control wraps to the last";
    window->search_button()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), window->keyword_box());
}

TEST_F(MainWindowTest, EscapeAsksToCloseFromTheKeywordBoxAndTheList) {
    QSignalSpy close_requests(window.get(), &MainWindow::close_requested);
    QTest::keyClick(window->keyword_box(), Qt::Key_Escape);
    EXPECT_EQ(close_requests.count(), 1);
    QTest::keyClick(window->result_list(), Qt::Key_Escape);
    EXPECT_EQ(close_requests.count(), 2);
    QTest::keyClick(window->keyword_box(), Qt::Key_Escape, Qt::ControlModifier);
    QTest::keyClick(window->keyword_box(), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(close_requests.count(), 2) << "Esc with a modifier is not the close key";
    EXPECT_TRUE(window->isVisible()) << "the handler ends the program; the window does not close itself";
}

TEST_F(MainWindowTest, EnterInTheKeywordBoxClicksNothingAndKeepsTheFocus) {
    QSignalSpy clicks(window->search_button(), &QPushButton::clicked);
    window->keyword_box()->setFocus();
    QTest::keyClicks(window->keyword_box(), "tv");
    QTest::keyClick(window->keyword_box(), Qt::Key_Return);
    QTest::keyClick(window->keyword_box(), Qt::Key_Enter);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(QApplication::focusWidget(), window->keyword_box());
}

TEST_F(MainWindowTest, SpaceOnTheFocusedSearchButtonClicksIt) {
    QSignalSpy clicks(window->search_button(), &QPushButton::clicked);
    window->search_button()->setFocus();
    QTest::keyClick(window->search_button(), Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
}

class ResultListClicks : public testing::ShownWindow {
protected:
    void SetUp() override {
        ShownWindow::SetUp();
        list = window->result_list();
        for (int row = 0; row < 3; ++row) {
            list->insertRow(row);
            for (int column = 0; column < 7; ++column) {
                list->set_cell_bytes(row, column, std::to_string(3 - row) + "-" + std::to_string(column));
            }
        }
    }
    QPoint centre_of_row(int row) const { return list->visualRect(list->model()->index(row, 1)).center(); }
    int selected() const {
        const auto rows = list->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }

    ResultList* list = nullptr;
};

TEST_F(ResultListClicks, AClickOnARowSelectsItBeforeTheEventIsRaised) {
    int selected_when_raised = -2;
    QObject::connect(list, &ResultList::rows_area_clicked, [&] { selected_when_raised = selected(); });
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre_of_row(1));
    EXPECT_EQ(selected_when_raised, 1);
    QSignalSpy clicks(list, &ResultList::rows_area_clicked);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre_of_row(1));
    EXPECT_EQ(clicks.count(), 1) << "a click on the selected row raises the event again";
}

TEST_F(ResultListClicks, AClickBelowTheRowsRaisesTheEventWithNoRowSelected) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre_of_row(2));
    ASSERT_EQ(selected(), 2);
    int selected_when_raised = -2;
    QObject::connect(list, &ResultList::rows_area_clicked, [&] { selected_when_raised = selected(); });
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(30, list->viewport()->height() - 5));
    EXPECT_EQ(selected_when_raised, -1);
}

TEST_F(ResultListClicks, RightClicksKeyboardSelectionAndHeaderClicksRaiseNothing) {
    QSignalSpy clicks(list, &ResultList::rows_area_clicked);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, centre_of_row(0));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 0);

    // A click on a column header neither sorts nor changes the selection.
    const int before = selected();
    QHeaderView* header = list->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    EXPECT_EQ(selected(), before);
    EXPECT_EQ(list->cell_bytes(0, 0), "3-0");
    EXPECT_EQ(list->cell_bytes(2, 0), "1-0");
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(MainWindowTest, ClockTimerRunsFromCreationAndAutoSearchTimerIsStopped) {
    EXPECT_EQ(window->timer(Timer::clock)->period(), 1000);
    EXPECT_TRUE(window->timer(Timer::clock)->is_running());
    EXPECT_EQ(window->timer(Timer::auto_search)->period(), 0);
    EXPECT_FALSE(window->timer(Timer::auto_search)->is_running());
}

TEST_F(MainWindowTest, PreviewPaneStartsBlankWithoutAWebEngine) {
    const PreviewPane* pane = window->preview_pane();
    EXPECT_TRUE(pane->address().empty());
    EXPECT_EQ(pane->view(), nullptr) << "the web view comes with the first address";
    EXPECT_TRUE(pane->findChildren<QWebEngineView*>().isEmpty());
    EXPECT_EQ(pane->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(pane->autoFillBackground());
}

}  // namespace
}  // namespace pricelookup::ui
