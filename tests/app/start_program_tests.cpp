#include "app/start_program.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
                               << "echo \"std=$(readlink /proc/$$/fd/0) $(readlink /proc/$$/fd/1) $(readlink /proc/$$/fd/2)\" >> \"$out.tmp\"\n"
                               << "echo \"session=$(sed 's/.*) //' /proc/$$/stat | cut -d' ' -f4)\" >> \"$out.tmp\"\n"
                               << "echo done >> \"$out.tmp\"\n"
                               << "mv \"$out.tmp\" \"$out\"\n";
        fs::permissions(program, fs::perms::owner_all);
        return program;
    }
    // A program that notes its session, then runs until the file `go` appears.
    fs::path write_waiting_program() {
        const fs::path program = m_directory / "waiting instance.sh";
        std::ofstream(program) << "#!/bin/sh\n"
                               << "cd \"" << m_directory.string() << "\"\n"
                               << "echo \"session=$(sed 's/.*) //' /proc/$$/stat | cut -d' ' -f4)\" > started\n"
                               << "i=0\n"
                               << "while [ ! -e go ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\n"
                               << "echo done > finished\n";
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
    EXPECT_NE(text.find("std=/dev/null /dev/null /dev/null\n"), std::string::npos) << text;
    EXPECT_EQ(text.find(" " + std::to_string(inherited_candidate) + " "), std::string::npos) << text;
}

// The old instance runs in a process group of its own, as a shell starts a program;
// ending that group (its terminal closing) must leave the new instance running.
TEST_F(StartProgram, TheNewProcessOutlivesTheProcessGroupOfTheOldOne) {
    const fs::path program = write_waiting_program();
    const pid_t old_instance = fork();
    ASSERT_GE(old_instance, 0);
    if (old_instance == 0) {
        setpgid(0, 0);
        _exit(start_program(program.string()) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(old_instance, &status, 0), old_instance);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const fs::path started = directory() / "started";
    for (int i = 0; i < 200 && read_file(started).find('\n') == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    const std::string session = read_file(started);
    ASSERT_NE(session.find('\n'), std::string::npos) << "the new process did not start";
    EXPECT_NE(session, "session=" + std::to_string(getsid(0)) + "\n") << "it shares this session";

    kill(-old_instance, SIGHUP);  // what a closing terminal sends the group
    std::ofstream(directory() / "go") << "go\n";
    for (int i = 0; i < 200 && !fs::exists(directory() / "finished"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    EXPECT_TRUE(fs::exists(directory() / "finished")) << "the new process ended with the old group";
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
