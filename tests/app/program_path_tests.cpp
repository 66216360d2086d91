#include "app/program_path.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace pricelookup::app {
namespace {

struct SplitCase {
    const char* full_path;
    const char* directory;
    const char* file_name;
};

class SplitProgramPath : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitProgramPath, SplitsAtTheLastSeparator) {
    const ProgramPath path = split_program_path(GetParam().full_path);
    EXPECT_EQ(path.directory, GetParam().directory);
    EXPECT_EQ(path.file_name, GetParam().file_name);
    if (std::string_view(GetParam().full_path).find('/') != std::string_view::npos) {
        EXPECT_EQ(join_program_path(path.directory, path.file_name), GetParam().full_path);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SplitProgramPath,
    ::testing::Values(SplitCase{"/usr/bin/pricelookup", "/usr/bin", "pricelookup"},
                      SplitCase{"/opt/价格 查询/bin/price lookup", "/opt/价格 查询/bin", "price lookup"},
                      SplitCase{"/pricelookup", "", "pricelookup"},
                      SplitCase{"pricelookup", "", "pricelookup"},
                      SplitCase{"/opt/app.d/pricelookup.bin", "/opt/app.d", "pricelookup.bin"},
                      SplitCase{"/opt/app/", "/opt/app", ""}));

TEST(JoinProgramPath, PutsOneSeparatorBetweenTheParts) {
    EXPECT_EQ(join_program_path("/opt/app", "pricelookup"), "/opt/app/pricelookup");
    EXPECT_EQ(join_program_path("", "pricelookup"), "/pricelookup");
}

TEST(RunningProgramPath, IsTheAbsolutePathOfThisTestProgram) {
    const std::string path = running_program_path();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_EQ(split_program_path(path).file_name, "app_lifecycle_tests");
    EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
}

class WorkingDirectory : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::current_path(m_saved); }

private:
    std::filesystem::path m_saved = std::filesystem::current_path();
};

TEST_F(WorkingDirectory, BecomesTheProgramDirectory) {
    const auto directory = std::filesystem::temp_directory_path() / "价格 查询 working dir";
    std::filesystem::create_directories(directory);
    EXPECT_TRUE(set_working_directory(directory.string()));
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), directory));
    std::filesystem::remove(directory);
}

TEST_F(WorkingDirectory, OfAProgramInTheRootIsTheRoot) {
    EXPECT_TRUE(set_working_directory(""));
    EXPECT_EQ(std::filesystem::current_path(), "/");
}

TEST_F(WorkingDirectory, ThatDoesNotExistLeavesTheCurrentOne) {
    const auto before = std::filesystem::current_path();
    EXPECT_FALSE(set_working_directory("/nonexistent/directory/of/pricelookup"));
    EXPECT_EQ(std::filesystem::current_path(), before);
}

}  // namespace
}  // namespace pricelookup::app
