#include "app/start_program.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace pricelookup::app {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits for a file that a started program writes at its end.
bool wait_for_file(const fs::path& path) {
    for (int i = 0; i < 200; ++i) {
        if (fs::exists(path) && read_file(path).find("done") != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

class StartProgram : public ::testing::Test {
protected:
    static constexpr int inherited_candidate = 57;

    void SetUp() override {
        // File names on Linux are UTF-8; the program passes its own path on unchanged.
        m_directory = fs::temp_directory_path() / fs::path(u8"价格 查询 start " + std::u8string(
                                                               reinterpret_cast<const char8_t*>(std::to_string(getpid()).c_str())));
        fs::create_directories(m_directory);
    }
    void TearDown() override { fs::remove_all(m_directory); }

    // A program that writes its arguments, working directory and open descriptors.
    fs::path write_reporting_program() {
        const fs::path program = m_directory / "new instance.sh";
        std::ofstream(program) << "#!/bin/sh\n"
                               << "out=\"" << report().string() << "\"\n"
                               << "echo \"args=$#\" > \"$out.tmp\"\n"
                               << "echo \"cwd=$(pwd)\" >> \"$out.tmp\"\n"
                               << "echo \"fds=$(ls /proc/$$/fd | sort -n | tr '\\n' ' ')\" >> \"$out.tmp\"\n"
                               << "echo done >> \"$out.tmp\"\n"
                               << "mv \"$out.tmp\" \"$out\"\n";
        fs::permissions(program, fs::perms::owner_all);
        return program;
    }
    fs::path report() const { return m_directory / "report.txt"; }
    const fs::path& directory() const { return m_directory; }

private:
    fs::path m_directory;
};

TEST_F(StartProgram, StartsTheFileWithoutArgumentsInTheCallersDirectorySharingNoFiles) {
    const fs::path program = write_reporting_program();
    const fs::path saved = fs::current_path();
    fs::current_path(directory());
    // A descriptor of this process, without close-on-exec, that the new one must not
    // inherit.
    const int open_file = open(program.c_str(), O_RDONLY);
    ASSERT_GE(open_file, 0);
    ASSERT_EQ(dup2(open_file, inherited_candidate), inherited_candidate);
    close(open_file);

    EXPECT_TRUE(start_program(program.string()));
    close(inherited_candidate);
    fs::current_path(saved);

    ASSERT_TRUE(wait_for_file(report()));
    const std::string text = read_file(report());
    EXPECT_NE(text.find("args=0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("cwd=" + directory().string() + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("fds=0 1 2 "), std::string::npos) << text;
    EXPECT_EQ(text.find(" " + std::to_string(inherited_candidate) + " "), std::string::npos) << text;
}

TEST_F(StartProgram, FailsForAFileThatIsMissingOrNotExecutable) {
    EXPECT_FALSE(start_program((directory() / "gone").string()));
    const fs::path not_executable = directory() / "plain.txt";
    std::ofstream(not_executable) << "text\n";
    fs::permissions(not_executable, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(start_program(not_executable.string()));
    EXPECT_FALSE(start_program(""));
}

}  // namespace
}  // namespace pricelookup::app
