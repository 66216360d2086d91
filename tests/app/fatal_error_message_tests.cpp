#include "app/fatal_error_message.h"

#include <gtest/gtest.h>

namespace pricelookup::app {
namespace {

struct Case {
    std::int32_t code;
    std::string_view message;
    std::string_view text;
};

class FatalErrorMessage : public ::testing::TestWithParam<Case> {};

TEST_P(FatalErrorMessage, IsBuiltFromCodeAndMessage) {
    EXPECT_EQ(fatal_error_message(GetParam().code, GetParam().message), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FatalErrorMessage,
    ::testing::Values(
        Case{0, main_window_not_created, "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
        Case{7, "", "运行时出错!\r\n\r\n错误代码：7\r\n\r\n"},
        Case{7, "坏了", "运行时出错!\r\n\r\n错误代码：7\r\n\r\n错误信息：坏了\r\n"},
        Case{-3, "x", "运行时出错!\r\n\r\n错误代码：-3\r\n\r\n错误信息：x\r\n"},
        Case{0, "", "运行时出错!\r\n\r\n"}));

TEST(AllocationFailureMessage, NamesTheBytesAskedFor) {
    EXPECT_EQ(allocation_failure_message(4096), "分配 4096 字节内存失败!");
}

}  // namespace
}  // namespace pricelookup::app
