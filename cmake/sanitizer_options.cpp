// Default run-time settings of AddressSanitizer and UndefinedBehaviorSanitizer for
// every program of a sanitized build. ASAN_OPTIONS and UBSAN_OPTIONS given in the
// environment still add to them and override them.

extern "C" {

// Read by the AddressSanitizer run-time before main.
//   detect_leaks=0: Qt, fontconfig and the web engine keep caches and singletons
//     alive to the very end of the process and free them never, by design; the leak
//     report would list them on every exit. Memory errors are still all caught.
//   abort_on_error=0, exitcode=23: an error ends the process with a status no test
//     expects, instead of a core dump.
//   allow_user_segv_handler=1: the web engine installs signal handlers of its own.
//   allocator_may_return_null=1: a request for more memory than there is gives null,
//     as malloc does, so that the program's own out-of-memory report runs instead of
//     the checker stopping the process.
const char* __asan_default_options() {
    return "detect_leaks=0:abort_on_error=0:exitcode=23:allow_user_segv_handler=1:"
           "allocator_may_return_null=1";
}

// Read by the UndefinedBehaviorSanitizer run-time: a stack trace with every finding.
const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

}
