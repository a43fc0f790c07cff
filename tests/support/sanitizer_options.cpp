// Sanitizer options built into the test programs of a sanitizer build, so that they run the
// same under ctest and by hand; the environment's *SAN_OPTIONS still take precedence.
extern "C" {

const char* __asan_default_options() {
    return ORBFALL_ASAN_OPTIONS;
}

// Names the suppression file: the GL driver keeps allocations it never frees.
const char* __lsan_default_options() {
    return ORBFALL_LSAN_OPTIONS;
}

const char* __ubsan_default_options() {
    return ORBFALL_UBSAN_OPTIONS;
}

}  // extern "C"
