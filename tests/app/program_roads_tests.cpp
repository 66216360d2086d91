// The three ways the real program ends, each in a process of its own, with its exit
// status as the operating system sees it. The program is the driver build of it
// (program_driver.cpp), which acts as the user and reports what happened.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/session_manager.h"

extern char** environ;

namespace pricelookup::app {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::vector<std::string> read_lines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::size_t count_starting_with(const std::vector<std::string>& lines, std::string_view prefix) {
    std::size_t count = 0;
    for (const auto& line : lines) count += line.rfind(prefix, 0) == 0;
    return count;
}

// The value of `key=` in a report line, up to the next space; the working directory,
// which may hold spaces, comes last and runs to the end of the line.
std::string field(const std::string& line, const std::string& key) {
    const std::size_t at = line.find(" " + key + "=");
    if (at == std::string::npos) return {};
    const std::size_t start = at + key.size() + 2;
    if (key == "cwd") return line.substr(start);
    return line.substr(start, line.find(' ', start) - start);
}

class ProgramRoads : public ::testing::Test {
protected:
    void SetUp() override {
        m_directory = fs::temp_directory_path() /
                      ("pricelookup-roads-" + std::to_string(getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_directory);
    }
    void TearDown() override { fs::remove_all(m_directory); }

    fs::path report() const { return m_directory / "report.txt"; }

    // A copy of the program in a directory whose name holds spaces and Chinese.
    fs::path program_in_awkward_directory() {
        const fs::path directory = m_directory / fs::path(u8"价格 查询 目录");
        fs::create_directories(directory);
        const fs::path program = directory / "pricelookup driver";
        fs::copy_file(PROGRAM_DRIVER, program);
        return program;
    }

    // Starts `argv` with the driver's settings added to this environment.
    pid_t start(std::vector<std::string> argv, const std::map<std::string, std::string>& settings) {
        std::vector<std::string> env_strings;
        for (char** e = environ; *e != nullptr; ++e) env_strings.emplace_back(*e);
        env_strings.push_back("PRICELOOKUP_DRIVER_REPORT=" + report().string());
        for (const auto& [name, value] : settings) env_strings.push_back(name + "=" + value);
        std::vector<char*> envp;
        for (auto& s : env_strings) envp.push_back(s.data());
        envp.push_back(nullptr);
        std::vector<char*> args;
        for (auto& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        pid_t pid = 0;
        return posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), envp.data()) == 0 ? pid : -1;
    }

    // Waits for `pid` and gives its exit status, or -1000 when it had to be killed
    // after `limit`.
    static int wait_for_exit(pid_t pid, std::chrono::seconds limit = 90s) {
        if (pid < 0) return -2000;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                return -1000;
            }
            std::this_thread::sleep_for(20ms);
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -3000 - WTERMSIG(status);
    }

    int run(std::vector<std::string> argv, const std::map<std::string, std::string>& settings) {
        return wait_for_exit(start(std::move(argv), settings));
    }

    int run_driver(const std::string& action, const fs::path& program = PROGRAM_DRIVER) {
        return run({program.string()}, {{"PRICELOOKUP_DRIVER_ACTION", action}});
    }

    // Waits until the report holds `count` lines starting with `prefix`.
    bool wait_for_lines(std::string_view prefix, std::size_t count, std::chrono::seconds limit = 60s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (count_starting_with(read_lines(report()), prefix) >= count) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

private:
    fs::path m_directory;
};

TEST_F(ProgramRoads, ClosingTheWindowOrPressingEscEndsWithZeroAfterTheCleanUp) {
    for (const std::string action : {"close", "escape"}) {
        fs::remove(report());
        EXPECT_EQ(run_driver(action), 0) << action;
        const auto lines = read_lines(report());
        ASSERT_EQ(lines.size(), 3U) << action;
        EXPECT_EQ(field(lines[0], "focus"), "keyword_box") << "the keyword box has the focus after start";
        EXPECT_EQ(field(lines[0], "cwd"), fs::path(PROGRAM_DRIVER).parent_path().string())
            << "the program directory is the working directory";
        EXPECT_EQ(field(lines[0], "status0"), "启动成功,请输入搜索电器名称!");
        EXPECT_EQ(lines[1], "cleanup keyword=") << action;
        EXPECT_EQ(lines[2], "exit 0") << action;
    }
}

TEST_F(ProgramRoads, KeysTypedOnTheXServerGoToTheKeywordBoxEnterDoesNothingAndEscEnds) {
    if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";
    const pid_t program = start({PROGRAM_DRIVER}, {{"PRICELOOKUP_DRIVER_ACTION", "idle"}});
    ASSERT_TRUE(wait_for_lines("started ", 1)) << "the program did not start";
    // Real key presses through the X server's test extension, to whichever window
    // has the input focus, as a keyboard would send them.
    EXPECT_EQ(std::system("xdotool type --delay 30 tv && xdotool key Return"), 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(count_starting_with(read_lines(report()), "exit"), 0U) << "Enter must not end anything";
    EXPECT_EQ(std::system("xdotool key Escape"), 0);
    EXPECT_EQ(wait_for_exit(program), 0);
    const auto lines = read_lines(report());
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[1], "cleanup keyword=tv");
    EXPECT_EQ(lines[2], "exit 0");
}

TEST_F(ProgramRoads, TerminationSignalsEndWithZeroAfterTheCleanUpAsTheCloseBoxDoes) {
    for (const int signal_number : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal_number));
        fs::remove(report());
        const pid_t program = start({PROGRAM_DRIVER}, {{"PRICELOOKUP_DRIVER_ACTION", "idle"}});
        ASSERT_TRUE(wait_for_lines("started ", 1)) << "the program did not start";
        ASSERT_EQ(kill(program, signal_number), 0);
        EXPECT_EQ(wait_for_exit(program), 0) << "ended by the signal itself, not by the close road";
        const auto lines = read_lines(report());
        ASSERT_EQ(lines.size(), 3U);
        EXPECT_EQ(lines[1], "cleanup keyword=") << "the clean-up ran while the window still existed";
        EXPECT_EQ(lines[2], "exit 0");
    }
}

TEST_F(ProgramRoads, RefreshStartsTheSameProgramFileAgainAndEndsThisInstanceWithZero) {
    const fs::path program = program_in_awkward_directory();
    EXPECT_EQ(run_driver("refresh", program), 0);
    // The new instance starts by itself; it closes once it has reported.
    ASSERT_TRUE(wait_for_lines("exit ", 2)) << "the new instance did not come and go";
    const auto lines = read_lines(report());
    ASSERT_EQ(count_starting_with(lines, "started "), 2U);
    const std::string& first = lines[0];
    const auto second = std::find_if(lines.begin() + 1, lines.end(),
                                     [](const std::string& line) { return line.rfind("started ", 0) == 0; });
    EXPECT_NE(field(first, "pid"), field(*second, "pid"));
    EXPECT_EQ(field(*second, "cwd"), program.parent_path().string());
    EXPECT_EQ(field(*second, "status0"), "启动成功,请输入搜索电器名称!") << "the new instance starts afresh";
    EXPECT_EQ(lines[1], "cleanup") << "the first instance ran its clean-up";
    EXPECT_EQ(count_starting_with(lines, "exit 0"), 2U);
}

TEST_F(ProgramRoads, RefreshWithTheProgramFileGoneEndsWithoutANewInstance) {
    const fs::path program = program_in_awkward_directory();
    EXPECT_EQ(run_driver("refresh-gone", program), 0);
    std::this_thread::sleep_for(2s);  // time enough for a new instance to have reported
    const auto lines = read_lines(report());
    EXPECT_EQ(count_starting_with(lines, "started "), 1U);
    EXPECT_EQ(lines.back(), "exit 0");
}

TEST_F(ProgramRoads, AFatalErrorShowsTheErrorBoxAndEndsWithMinusOneWithoutTheCleanUp) {
    EXPECT_EQ(run_driver("fatal"), 255) << "-1 as an 8-bit exit status";
    const auto lines = read_lines(report());
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[1], "box caption=错误 critical=1 text=运行时出错!||错误代码：7||错误信息：测试错误|");
    EXPECT_EQ(lines[2], "exit -1") << "no clean-up line before it";
}

// The desktop's session manager saving the session (a checkpoint) leaves the program
// running, and so does its save before the session ends; the end of the session
// itself ends it as the close box does, with the clean-up and exit code 0.
TEST_F(ProgramRoads, ASessionCheckpointLeavesTheProgramRunningTheSessionsEndEndsIt) {
    testing::SessionManager session;
    const pid_t program = start({PROGRAM_DRIVER}, {{"PRICELOOKUP_DRIVER_ACTION", "idle"},
                                                   {"SESSION_MANAGER", session.address()}});
    ASSERT_TRUE(session.wait_for_client(60s)) << "the program did not join the session";
    ASSERT_TRUE(wait_for_lines("started ", 1)) << "the program did not start";

    struct Save {
        const char* name;
        bool shutdown;
    };
    for (const Save save : {Save{"checkpoint", false}, Save{"checkpoint again", false},
                            Save{"save before the end", true}}) {
        EXPECT_TRUE(session.save_yourself(save.shutdown, 30s)) << save.name << ": no answer";
        session.process(1500ms);
        EXPECT_FALSE(session.client_gone()) << save.name << " made the program leave the session";
        int status = 0;
        EXPECT_EQ(waitpid(program, &status, WNOHANG), 0) << save.name << " ended the program";
        EXPECT_EQ(count_starting_with(read_lines(report()), "exit"), 0U) << save.name;
    }

    session.die();
    session.process(500ms);
    EXPECT_EQ(wait_for_exit(program), 0);
    const auto lines = read_lines(report());
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[1], "cleanup keyword=");
    EXPECT_EQ(lines[2], "exit 0");
}

TEST_F(ProgramRoads, OnAScreenSmallerThanTheWindowItsEdgesLieOffScreen) {
    EXPECT_EQ(run({WITH_XVFB, "--screen", "640x480x24", "--", PROGRAM_DRIVER},
                  {{"PRICELOOKUP_DRIVER_ACTION", "close"}}),
              0);
    const auto lines = read_lines(report());
    ASSERT_FALSE(lines.empty());
    // (640 − 756) / 2 and (480 − 590) / 2, rounded toward zero.
    EXPECT_EQ(field(lines[0], "frame"), "-58,-55,756x590");
}

TEST_F(ProgramRoads, UnderAWindowManagerTheOuterFrameHasTheDefinedSize) {
    EXPECT_EQ(run({WITH_XVFB, "--window-manager", "--", PROGRAM_DRIVER},
                  {{"PRICELOOKUP_DRIVER_ACTION", "close"}, {"PRICELOOKUP_DRIVER_FRAMED", "1"}}),
              0);
    const auto lines = read_lines(report());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(field(lines[0], "frame"), "262,217,756x590") << "centred on the 1280 x 1024 screen";
    const std::string client = field(lines[0], "client");
    EXPECT_NE(client, "756x590") << "the frame takes its share of the outer size";
    EXPECT_FALSE(client.empty());
}

}  // namespace
}  // namespace pricelookup::app
