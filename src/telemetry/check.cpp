// The soft-assertion reporter: each failing site is reported once per session as an "assert"
// event with where the game stood, then control returns so the caller can guard and go on.
#include "telemetry/check.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "world/player.h"
#include "world/game_state.h"
#include "telemetry/events.h"
#include "telemetry/session.h"

namespace {
struct AssertSite {
    const char* file;
    int32_t line;
};
AssertSite assert_sites[ASSERT_SITES_MAX];
int assert_site_count = 0;

bool site_seen(const char* file, int line) {
    for (int i = 0; i < assert_site_count; i++)
        if (assert_sites[i].line == line && std::strcmp(assert_sites[i].file, file) == 0) return true;
    return false;
}

const char* last_component(const char* path) {
    const char* p = path;
    for (const char* c = path; *c; c++)
        if (*c == '/' || *c == '\\') p = c + 1;
    return p;
}
}  // namespace

void assert_sites_reset() { assert_site_count = 0; }

int check_report_count() { return assert_site_count; }

void assert_event(const char* expr, const char* file, int line, const char* func, const char* msg, const char* where,
                  bool fatal) {
    char e_expr[256], e_func[96], e_msg[320], e_where[192], e_file[96];
    json_escape(e_expr, sizeof e_expr, expr);
    json_escape(e_func, sizeof e_func, func);
    json_escape(e_msg, sizeof e_msg, msg);
    json_escape(e_where, sizeof e_where, where);
    json_escape(e_file, sizeof e_file, last_component(file ? file : ""));
    char data[1200];
    int n = std::snprintf(data, sizeof data,
                          "{\"expr\":\"%s\",\"at\":\"%s:%d\",\"func\":\"%s\",\"msg\":\"%s\",\"where\":\"%s\",\"fatal\":%s}",
                          e_expr, e_file, line, e_func, e_msg, e_where, fatal ? "true" : "false");
    // A cut record would not be valid JSON: drop it whole.
    if (n >= 0 && n < (int)sizeof data) event_append("assert", data);
    if (fatal) {
        char crash[160];
        std::snprintf(crash, sizeof crash, "assert %s:%d", last_component(file ? file : ""), line);
        crash_log_append(crash);
    }
}

void check_failed(const char* expr, const char* file, int line, const char* func, const char* format, ...) {
    if (!file) file = "";
    if (site_seen(file, line)) return;
    if (assert_site_count >= ASSERT_SITES_MAX) return;
    assert_sites[assert_site_count++] = {file, line};

    char msg[256] = "";
    if (format) {
        va_list ap;
        va_start(ap, format);
        std::vsnprintf(msg, sizeof msg, format, ap);
        va_end(ap);
    }
    char where[128];
    std::snprintf(where, sizeof where, "state %d, floor %d, player (%d,%d) hp %d/%d", game_state, current_floor + 1,
                  player.x, player.y, player.hp, player.max_hp);
    assert_event(expr, file, line, func ? func : "", msg, where, false);
}
