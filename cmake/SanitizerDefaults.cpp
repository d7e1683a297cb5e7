// Default options of the sanitizers, linked into every executable of a sanitized build; the environment
// (ASAN_OPTIONS, UBSAN_OPTIONS, LSAN_OPTIONS) still overrides them.

#define TOVAREL_SANITIZER_HOOK extern "C" __attribute__((visibility("default"), used))

// The leak checker's own record of dynamic TLS blocks goes wrong on this glibc once libraries with
// thread-local data are loaded at run time (its scan then faults: "Tracer caught signal 11"). Without it the
// blocks are still found through the thread's TLS vector, so no leak goes unseen.
TOVAREL_SANITIZER_HOOK const char* __asan_default_options()
{
    return "detect_leaks=1:strict_string_checks=1:check_initialization_order=1:intercept_tls_get_addr=0";
}

TOVAREL_SANITIZER_HOOK const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

// Leaks of third-party libraries only; each with the reason it is not ours.
TOVAREL_SANITIZER_HOOK const char* __lsan_default_suppressions()
{
    // fontconfig keeps its configuration caches for the life of the process and frees none of them at exit.
    // glibc's resolver keeps the answer buffer of a lookup thread that is still waiting when the process ends.
    return "leak:libfontconfig.so\n"
           "leak:__res_context_send\n";
}
