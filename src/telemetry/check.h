// Soft assertions: a failed invariant is reported once per site and the game goes on.
#pragma once

constexpr int ASSERT_SITES_MAX = 32;

// expr: the failed condition's text; file, line, func: the site; format: printf-style message (may be null).
void check_failed(const char* expr, const char* file, int line, const char* func, const char* format, ...)
    __attribute__((format(printf, 5, 6)));

// Evaluates `cond`; when false reports it through check_failed. Yields the condition's truth,
// so callers can guard: `if (!SOFT_CHECK(i < n, "index %d", i)) i = 0;`
#define SOFT_CHECK(cond, ...) \
    ((cond) ? true : (check_failed(#cond, __FILE__, __LINE__, __func__, __VA_ARGS__), false))

// The same, for sites whose report names a source folder and the rule's own wording rather than
// this file and the C++ condition: `if (!SOFT_CHECK_AS(i < n, "i < n", "src/items", "index %d", i)) ...`
#define SOFT_CHECK_AS(cond, expr_text, source, ...) \
    ((cond) ? true : (check_failed(expr_text, source, __LINE__, __func__, __VA_ARGS__), false))

// Builds the "assert" event and queues it; a fatal one also leaves a line in crash.txt.
void assert_event(const char* expr, const char* file, int line, const char* func, const char* msg, const char* where,
                  bool fatal);
// How many sites have reported since the last reset (the soak and tests read it).
int check_report_count();
// Forgets the reported sites (a new session, and tests).
void assert_sites_reset();
