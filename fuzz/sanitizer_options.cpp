// Linked into every fuzz target: undefined behaviour stops the run like a failed check,
// so the campaign saves the input and the replay fails on it.
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }
