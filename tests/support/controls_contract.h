#pragma once

// The edge behaviour every implementation of the control operations must share: the
// real window and the test fake run the same cases, so that handler tests written
// against the fake hold for the program.
//
// A harness type provides: Controls& controls(); std::string part_text(int part);
// void select_row(int row); void type_keyword(std::string_view gbk);
// std::string pane_address(); int pane_navigations(); std::string clipboard_text().

#include <gtest/gtest.h>

#include <string>

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

REGISTER_TYPED_TEST_SUITE_P(ControlsContract, AppendRowNumbersRowsFromZeroAndAgainAfterClearing,
                            CellsOutsideTheListReadEmptyAndIgnoreWrites,
                            CellsGiveBackTheirBytesUnchanged, StatusPartsOutsideTheBarChangeNothing,
                            SelectedRowFollowsTheSelectionAndClearing,
                            ReadTextGivesTheKeywordAsGbk,
                            ShowAddressKeepsTheAddressAndNavigatesOnEveryCall,
                            CopyToClipboardPutsExactlyTheTextThereTheEmptyTextIncluded);

}  // namespace pricelookup::testing
