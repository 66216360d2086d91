#pragma once

// The edge behaviour every implementation of the control operations must share: the
// real window and the test fake run the same cases, so that handler tests written
// against the fake hold for the program.
//
// A harness type provides: Controls& controls(); std::string part_text(int part);
// void select_row(int row); void type_keyword(std::string_view gbk);
// std::string pane_address(); int pane_navigations(); std::string clipboard_text().
// std::int32_t period(Timer); bool running(Timer); int countdown_starts(Timer);
// std::vector<MenuItem> page_menu_items() (the items the menu "选择页数" shows, in
// order); int menu_bar_builds(); bool keyword_box_focused(); void focus_elsewhere();
// void answer_messages() (the next boxes are closed with OK as soon as they open);
// std::vector<std::pair<std::string, std::int32_t>> shown_messages() (text, flags).

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/controls.h"

namespace pricelookup::testing {

template <typename Harness>
class ControlsContract : public ::testing::Test {
protected:
    Harness harness;
    ui::Controls& controls() { return harness.controls(); }
};

TYPED_TEST_SUITE_P(ControlsContract);

TYPED_TEST_P(ControlsContract, AppendRowNumbersRowsFromZeroAndAgainAfterClearing) {
    ui::Controls& c = this->controls();
    EXPECT_EQ(c.append_row("1"), 0);
    EXPECT_EQ(c.append_row("2"), 1);
    EXPECT_EQ(c.get_cell_text(1, 0), "2");
    for (int column = 1; column < 7; ++column) EXPECT_EQ(c.get_cell_text(1, column), "") << column;
    c.clear_rows();
    EXPECT_EQ(c.get_cell_text(0, 0), "");
    EXPECT_EQ(c.append_row("x"), 0);
}

TYPED_TEST_P(ControlsContract, CellsOutsideTheListReadEmptyAndIgnoreWrites) {
    ui::Controls& c = this->controls();
    const std::int32_t row = c.append_row("1");
    c.set_cell_text(row, 6, "http://img/a.jpg");
    struct Cell {
        std::int32_t row, column;
    };
    for (const Cell cell : {Cell{-1, 1}, Cell{0, 7}, Cell{0, -1}, Cell{1, 0}, Cell{-1, -1}}) {
        c.set_cell_text(cell.row, cell.column, "written");
        EXPECT_EQ(c.get_cell_text(cell.row, cell.column), "") << cell.row << "," << cell.column;
    }
    EXPECT_EQ(c.get_cell_text(0, 6), "http://img/a.jpg");
    EXPECT_EQ(c.append_row("2"), 1) << "a write to a missing row must not have added one";
}

TYPED_TEST_P(ControlsContract, CellsGiveBackTheirBytesUnchanged) {
    ui::Controls& c = this->controls();
    const std::int32_t row = c.append_row("1");
    const std::string name = "索尼 α7 微单相机";
    const std::string not_gbk = "a\xFF\x80\xB0";  // a lone 0xFF, the euro sign, a cut lead byte
    const std::string long_text(5000, 'x');
    c.set_cell_text(row, 1, name);
    c.set_cell_text(row, 2, not_gbk);
    c.set_cell_text(row, 3, long_text);
    EXPECT_EQ(c.get_cell_text(row, 1), name);
    EXPECT_EQ(c.get_cell_text(row, 2), not_gbk);
    EXPECT_EQ(c.get_cell_text(row, 3), long_text);
}

TYPED_TEST_P(ControlsContract, StatusPartsOutsideTheBarChangeNothing) {
    ui::Controls& c = this->controls();
    c.set_part_text(0, "第一");
    c.set_part_text(2, "2024年3月5日");
    c.set_part_text(3, "none");
    c.set_part_text(-1, "none");
    EXPECT_EQ(this->harness.part_text(0), "第一");
    EXPECT_EQ(this->harness.part_text(1), "空页");
    EXPECT_EQ(this->harness.part_text(2), "2024年3月5日");
}

TYPED_TEST_P(ControlsContract, SelectedRowFollowsTheSelectionAndClearing) {
    ui::Controls& c = this->controls();
    EXPECT_EQ(c.selected_row(), ui::no_row);
    c.append_row("1");
    c.append_row("2");
    this->harness.select_row(1);
    EXPECT_EQ(c.selected_row(), 1);
    c.clear_rows();
    EXPECT_EQ(c.selected_row(), ui::no_row);
}

TYPED_TEST_P(ControlsContract, ReadTextGivesTheKeywordAsGbk) {
    ui::Controls& c = this->controls();
    EXPECT_EQ(c.read_text(), "");
    this->harness.type_keyword("数码相机 & \"50%\"");
    EXPECT_EQ(c.read_text(), "数码相机 & \"50%\"");
}

TYPED_TEST_P(ControlsContract, ShowAddressKeepsTheAddressAndNavigatesOnEveryCall) {
    ui::Controls& c = this->controls();
    EXPECT_EQ(this->harness.pane_address(), "");
    const std::string address = "http://127.0.0.1:9/图片/a.jpg";
    c.show_address(address);
    c.show_address(address);
    EXPECT_EQ(this->harness.pane_address(), address);
    EXPECT_EQ(this->harness.pane_navigations(), 2) << "the same address again navigates again";
    c.show_address("");
    EXPECT_EQ(this->harness.pane_address(), "");
    EXPECT_EQ(this->harness.pane_navigations(), 3);
}

TYPED_TEST_P(ControlsContract, CopyToClipboardPutsExactlyTheTextThereTheEmptyTextIncluded) {
    ui::Controls& c = this->controls();
    for (const std::string text : {"索尼 α7 微单相机 <b>&amp;</b>", "", "plain"}) {
        EXPECT_TRUE(c.copy_to_clipboard(text)) << text;
        EXPECT_EQ(this->harness.clipboard_text(), text);
    }
}

// One timer through the cases of set_period, step by step, with the state each
// step must leave: the same period again neither restarts nor starts anything.
TYPED_TEST_P(ControlsContract, SetPeriodStartsRestartsAndStopsTheCountdown) {
    ui::Controls& c = this->controls();
    auto& h = this->harness;
    const ui::Timer timer = ui::Timer::auto_search;
    EXPECT_EQ(h.period(timer), 0);
    EXPECT_FALSE(h.running(timer));
    struct Step {
        std::int32_t set;
        std::int32_t period;
        bool running;
        int starts;
    };
    const Step steps[] = {
        {0, 0, false, 0},        // stopped, set to its own period: nothing
        {-5, 0, false, 0},       // a negative period is 0
        {1000, 1000, true, 1},   // starts
        {1000, 1000, true, 1},   // the same period: the countdown goes on
        {500, 500, true, 2},     // another period: restarts
        {0, 0, false, 2},        // stops
        {0, 0, false, 2},        // and stays stopped
        {700, 700, true, 3},     // starts again
        {-5, 0, false, 3},       // a negative period stops it like 0
    };
    for (const Step& step : steps) {
        c.set_period(timer, step.set);
        EXPECT_EQ(h.period(timer), step.period) << "set " << step.set;
        EXPECT_EQ(h.running(timer), step.running) << "set " << step.set;
        EXPECT_EQ(h.countdown_starts(timer), step.starts) << "set " << step.set;
    }
    EXPECT_EQ(h.period(ui::Timer::clock), 1000) << "the clock is left alone";
    EXPECT_TRUE(h.running(ui::Timer::clock));
    EXPECT_EQ(h.countdown_starts(ui::Timer::clock), 1);
}

TYPED_TEST_P(ControlsContract, SetItemVisibleRebuildsTheMenuOnlyOnAChangeAndKeepsTheOrder) {
    ui::Controls& c = this->controls();
    auto& h = this->harness;
    using ui::MenuItem;
    const std::vector<MenuItem> all{MenuItem::previous_page, MenuItem::next_page, MenuItem::first_page};
    const std::vector<MenuItem> without_previous{MenuItem::next_page, MenuItem::first_page};
    struct Step {
        bool visible;
        std::vector<MenuItem> shown;
        int builds;
    };
    const Step steps[] = {
        {true, all, 1},                // already visible: no rebuild
        {false, without_previous, 2},  // hidden: rebuilt without it
        {false, without_previous, 2},  // already hidden
        {true, all, 3},                // back in its place above "下一页"
    };
    EXPECT_EQ(h.page_menu_items(), all);
    for (const Step& step : steps) {
        c.set_item_visible(MenuItem::previous_page, step.visible);
        EXPECT_EQ(h.page_menu_items(), step.shown) << step.visible << " " << step.builds;
        EXPECT_EQ(h.menu_bar_builds(), step.builds) << step.visible << " " << step.builds;
    }
}

TYPED_TEST_P(ControlsContract, SetFocusPutsTheFocusIntoTheKeywordBox) {
    this->harness.focus_elsewhere();
    ASSERT_FALSE(this->harness.keyword_box_focused());
    this->controls().set_focus();
    EXPECT_TRUE(this->harness.keyword_box_focused());
}

TYPED_TEST_P(ControlsContract, ShowMessageShowsTheTextWithItsIconAndReturnsOnceClosed) {
    auto& h = this->harness;
    h.answer_messages();
    this->controls().show_message("已经是第一页", ui::message_question);
    this->controls().show_message("产品信息已复制,请粘贴到文本上即可查看!", ui::message_information);
    const std::vector<std::pair<std::string, std::int32_t>> expected{
        {"已经是第一页", ui::message_question},
        {"产品信息已复制,请粘贴到文本上即可查看!", ui::message_information},
    };
    EXPECT_EQ(h.shown_messages(), expected);
}

REGISTER_TYPED_TEST_SUITE_P(ControlsContract, AppendRowNumbersRowsFromZeroAndAgainAfterClearing,
                            CellsOutsideTheListReadEmptyAndIgnoreWrites,
                            CellsGiveBackTheirBytesUnchanged, StatusPartsOutsideTheBarChangeNothing,
                            SelectedRowFollowsTheSelectionAndClearing,
                            ReadTextGivesTheKeywordAsGbk,
                            ShowAddressKeepsTheAddressAndNavigatesOnEveryCall,
                            CopyToClipboardPutsExactlyTheTextThereTheEmptyTextIncluded,
                            SetPeriodStartsRestartsAndStopsTheCountdown,
                            SetItemVisibleRebuildsTheMenuOnlyOnAChangeAndKeepsTheOrder,
                            SetFocusPutsTheFocusIntoTheKeywordBox,
                            ShowMessageShowsTheTextWithItsIconAndReturnsOnceClosed);

}  // namespace pricelookup::testing
