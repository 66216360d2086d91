#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_controls.h"
#include "view/item_activation.h"

namespace pricelookup::view {
namespace {

using testing::FakeControls;

// A list as a search leaves it: ordinals in column 0, the six fields after them.
class ItemActivation : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::vector<FakeControls::Row> rows = {
            {"1", "佳能 EOS R6", "全画幅", "价格", "14999", "2024-03-05", "http://img.test/1.jpg"},
            {"2", "索尼 α7 IV 微单", "4K", "价格", "16999", "2024-03-04", "http://img.test/2.jpg"},
            {"3", "", "", "", "", "", ""},
        };
        for (const auto& row : rows) {
            const std::int32_t index = controls.append_row(row[0]);
            for (std::int32_t column = 1; column < 7; ++column) {
                controls.set_cell_text(index, column, row[static_cast<std::size_t>(column)]);
            }
        }
    }

    FakeControls controls;
};

TEST_F(ItemActivation, PreviewsCopiesAndConfirmsForTheSelectedRow) {
    struct Case {
        std::int32_t selected;
        const char* address;
        const char* name;
    };
    const Case cases[] = {
        {1, "http://img.test/2.jpg", "索尼 α7 IV 微单"},
        {0, "http://img.test/1.jpg", "佳能 EOS R6"},
        {2, "", ""},           // a row with empty cells
        {ui::no_row, "", ""},  // a click below the rows
        {7, "", ""},           // a row that is not there reads empty as well
    };
    for (const Case& c : cases) {
        FakeControls clicked = controls;
        clicked.selected = c.selected;
        item_activation_handler(clicked);
        EXPECT_EQ(clicked.addresses_shown, std::vector<std::string>{c.address}) << c.selected;
        EXPECT_EQ(clicked.clipboard, c.name) << c.selected;
        ASSERT_EQ(clicked.messages.size(), 1U) << c.selected;
        EXPECT_EQ(clicked.messages[0].first, "产品信息已复制,请粘贴到文本上即可查看!");
        EXPECT_EQ(clicked.messages[0].second, ui::message_information);
    }
}

TEST_F(ItemActivation, ChangesNoOtherControl) {
    controls.selected = 1;
    const FakeControls before = controls;
    item_activation_handler(controls);
    EXPECT_EQ(controls.status_parts, before.status_parts);
    EXPECT_EQ(controls.rows, before.rows);
    EXPECT_EQ(controls.selected, 1);
    EXPECT_EQ(controls.timer_period, before.timer_period);
    EXPECT_EQ(controls.item_hidden, before.item_hidden);
}

TEST_F(ItemActivation, TwoClicksOnOneRowNavigateTwiceAndConfirmTwice) {
    controls.selected = 0;
    item_activation_handler(controls);
    item_activation_handler(controls);
    EXPECT_EQ(controls.addresses_shown,
              (std::vector<std::string>{"http://img.test/1.jpg", "http://img.test/1.jpg"}));
    EXPECT_EQ(controls.messages.size(), 2U);
}

TEST_F(ItemActivation, AHeldClipboardKeepsItsContentsAndTheBoxStillOpens) {
    controls.selected = 1;
    controls.clipboard_free = false;
    const std::string former = controls.clipboard;
    item_activation_handler(controls);
    EXPECT_EQ(controls.clipboard, former);
    EXPECT_EQ(controls.addresses_shown.size(), 1U);
    EXPECT_EQ(controls.messages.size(), 1U);
}

TEST_F(ItemActivation, TheAddressIsShownBeforeTheClipboardIsWrittenAndTheBoxComesLast) {
    // The order of the steps as a recording window sees it.
    class Recording final : public ui::Controls {
      public:
        std::vector<std::string> steps;
        std::string read_text() override { return {}; }
        void set_focus() override {}
        void set_item_visible(ui::MenuItem, bool) override { steps.emplace_back("menu"); }
        void set_period(ui::Timer, std::int32_t) override { steps.emplace_back("timer"); }
        void set_part_text(std::int32_t, std::string_view) override { steps.emplace_back("part"); }
        void clear_rows() override { steps.emplace_back("clear"); }
        std::int32_t append_row(std::string_view) override { return ui::no_row; }
        void set_cell_text(std::int32_t, std::int32_t, std::string_view) override {}
        std::string get_cell_text(std::int32_t row, std::int32_t column) override {
            steps.push_back("cell " + std::to_string(row) + "," + std::to_string(column));
            return {};
        }
        std::int32_t selected_row() override {
            steps.emplace_back("selected");
            return 4;
        }
        void show_message(std::string_view, std::int32_t) override {
            steps.emplace_back("message");
        }
        void show_address(std::string_view) override { steps.emplace_back("address"); }
        bool copy_to_clipboard(std::string_view) override {
            steps.emplace_back("clipboard");
            return false;
        }
    } recording;
    item_activation_handler(recording);
    EXPECT_EQ(recording.steps, (std::vector<std::string>{"selected", "cell 4,6", "address",
                                                         "cell 4,1", "clipboard", "message"}));
}

}  // namespace
}  // namespace pricelookup::view
