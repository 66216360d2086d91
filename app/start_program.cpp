#include "app/start_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace pricelookup::app {
namespace {

// Owns a spawn attribute or file-action object for the length of one start.
struct SpawnSetup {
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t file_actions;
    SpawnSetup() {
        posix_spawnattr_init(&attributes);
        posix_spawn_file_actions_init(&file_actions);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&file_actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

bool start_program(const std::string& path) {
    SpawnSetup setup;

    // The new instance starts clean: default signal handling, nothing blocked.
    sigset_t no_signals;
    sigemptyset(&no_signals);
    sigset_t all_signals;
    sigfillset(&all_signals);
    posix_spawnattr_setsigmask(&setup.attributes, &no_signals);
    posix_spawnattr_setsigdefault(&setup.attributes, &all_signals);
    // It lives in a session of its own, so that the end of this one (its terminal
    // closing, its process group being ended) does not take the new instance along,
    // and it shares no descriptor with this process: standard input, output and error
    // are /dev/null, every other descriptor is closed.
    posix_spawnattr_setflags(&setup.attributes,
                             POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_addopen(&setup.file_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&setup.file_actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&setup.file_actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&setup.file_actions, STDERR_FILENO + 1);

    // glibc's posix_spawn returns only after the new program image has been loaded,
    // and reports a failed exec as an error: a zero result means the program runs.
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    return posix_spawn(&pid, path.c_str(), &setup.file_actions, &setup.attributes, argv, environ) == 0;
}

}  // namespace pricelookup::app
