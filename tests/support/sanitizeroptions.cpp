// The sanitizer runtime's defaults for the test programs of the sanitizer
// build (ZUPFARI_SANITIZE): stop at the first report, check for leaks at exit,
// and leave alone what the system libraries keep for the life of the process.
// An ASAN_OPTIONS, UBSAN_OPTIONS or LSAN_OPTIONS of the caller still wins.

extern "C" {

const char* __asan_default_options() {
    return "halt_on_error=1:detect_leaks=1:strict_string_checks=1:"
           "detect_stack_use_after_return=1:check_initialization_order=1";
}

const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

// Caches of fontconfig, GLib's type system, D-Bus and the sound font loader
// live until the process ends and are never freed by design.
const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libglib-2.0\n"
           "leak:libgobject-2.0\n"
           "leak:libdbus-1\n";
}

} // extern "C"
