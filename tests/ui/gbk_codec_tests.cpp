#include "ui/gbk_codec.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/window_definition.h"

namespace pricelookup::ui {
namespace {

// UTF-8 text from a u8 literal; narrow literals in the tests are GBK.
std::string utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

struct Case {
    const char* name;
    std::string from;
    std::string to;
};

class GbkToUtf8 : public ::testing::TestWithParam<Case> {};

TEST_P(GbkToUtf8, Converts) { EXPECT_EQ(utf8_from_gbk(GetParam().from), GetParam().to); }

INSTANTIATE_TEST_SUITE_P(
    Cases, GbkToUtf8,
    ::testing::Values(Case{"empty", "", ""}, Case{"ascii", "abc 123", "abc 123"},
                      Case{"chinese", "\xBC\xDB\xB8\xF1", utf8(u8"价格")},
                      Case{"euro_sign_of_code_page_936", "\x80", utf8(u8"€")},
                      Case{"fullwidth_punctuation", "\xA3\xA1\xA3\xAC", utf8(u8"！，")},
                      Case{"invalid_byte_then_text_survives", "a\xFF" "b", utf8(u8"a\uFFFDb")},
                      Case{"lead_byte_before_ascii_keeps_the_ascii", "\xB0" "1", utf8(u8"\uFFFD1")},
                      Case{"lead_byte_cut_off_at_the_end", "ok\xB0", utf8(u8"ok\uFFFD")},
                      Case{"two_bad_sequences_give_two_replacements", "\xFF\xFF", utf8(u8"\uFFFD\uFFFD")}),
    [](const auto& test) { return std::string(test.param.name); });

class Utf8ToGbk : public ::testing::TestWithParam<Case> {};

TEST_P(Utf8ToGbk, Converts) { EXPECT_EQ(gbk_from_utf8(GetParam().from), GetParam().to); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToGbk,
    ::testing::Values(Case{"empty", "", ""}, Case{"ascii", "abc", "abc"},
                      Case{"chinese", utf8(u8"价格"), "\xBC\xDB\xB8\xF1"},
                      Case{"euro_sign", utf8(u8"€"), "\x80"},
                      Case{"character_gbk_lacks_becomes_question_mark", utf8(u8"a😀b"), "a?b"},
                      Case{"thai_letter_becomes_question_mark", utf8(u8"\u0E01x"), "?x"},
                      Case{"malformed_utf8_byte_becomes_question_mark", "\xC3(", "?("},
                      Case{"cut_off_sequence_at_the_end", "a\xE4\xBB", "a?"}),
    [](const auto& test) { return std::string(test.param.name); });

// The program's own texts are compiled to GBK from UTF-8 sources; each must be the
// GBK spelling of what the user is meant to read.
TEST(ProgramTexts, AreTheGbkSpellingOfTheirChineseText) {
    namespace d = definition;
    const std::pair<std::string_view, std::u8string_view> texts[] = {
        {d::window_title, u8"电器市场价格查询"},
        {d::hint_label_text, u8" 请输入你想查询的器材名称,程序自动帮你完成搜索操作!"},
        {d::search_button_caption, u8"搜索"},
        {d::page_menu_caption, u8"选择页数"},
        {d::page_menu_items[0].caption, u8"上一页"},
        {d::page_menu_items[1].caption, u8"下一页"},
        {d::page_menu_items[2].caption, u8"首页"},
        {d::restart_menu_caption, u8"重启刷新"},
        {d::restart_menu_items[0].caption, u8"刷新"},
        {d::result_columns[0].title, u8"序号"},
        {d::result_columns[1].title, u8"器材名称"},
        {d::result_columns[2].title, u8"产器支持"},
        {d::result_columns[3].title, u8"价格"},
        {d::result_columns[4].title, u8"人民币(元)"},
        {d::result_columns[5].title, u8"报价时间"},
        {d::result_columns[6].title, u8"产品图片地址"},
        {d::status_parts[0].start_text, u8"启动成功,请输入搜索电器名称!"},
        {d::status_parts[1].start_text, u8"空页"},
        {d::status_parts[2].start_text, u8"时间"},
        {d::message_caption, u8"信息："},
    };
    for (const auto& [gbk, expected] : texts) {
        EXPECT_EQ(utf8_from_gbk(gbk), utf8(expected));
        EXPECT_EQ(gbk_from_utf8(utf8(expected)), gbk);
    }
}

}  // namespace
}  // namespace pricelookup::ui
