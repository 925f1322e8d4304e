// Sanitizer defaults for every fuzz target. A short quarantine still catches a use after
// free within an input, and new blocks come from memory already mapped instead of fresh pages
// for each of the many small allocations an input makes; filling new blocks is left to the
// poisoning that catches reads of them anyway.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=8:max_malloc_fill_size=0";
}

// The machine's own time zone, named: with TZ unset the C library looks at /etc/localtime
// again at every mktime() to see whether it changed, one system call per converted time;
// named once, it is read once.
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", ":/etc/localtime", 0);
    return 0;
}
