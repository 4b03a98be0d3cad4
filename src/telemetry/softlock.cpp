// The softlock detector: while the hash of the watched game variables stays the same it counts
// stuck ticks and new presses; a state stuck two minutes under twenty presses is reported once
// per session with the last presses. Called at the end of each tick.
#include "telemetry/softlock.h"

#include "telemetry/events.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {
constexpr uint32_t FNV_PRIME = 16777619u;
constexpr int SOFTLOCK_EVENT_MAX = 400;
constexpr int REPORTABLE_STATES = 64;  // bits of the reported mask

struct SoftlockState {
    uint32_t last_hash;
    int32_t stuck_ticks;
    int32_t presses;
    int32_t recent_count;
    uint8_t prev_bits;
    uint8_t recent[SOFTLOCK_RECENT];
    uint64_t reported;
};
SoftlockState softlock_state = {};
}  // namespace

uint32_t softlock_hash_add(uint32_t hash, int32_t value) { return (hash ^ (uint32_t)value) * FNV_PRIME; }

void softlock_reset() { softlock_state = {}; }

void softlock_check(uint32_t hash, uint8_t bits) {
    SoftlockState& s = softlock_state;
    uint8_t pressed = bits & (uint8_t)~s.prev_bits;
    s.prev_bits = bits;
    if (hash != s.last_hash) {
        s.last_hash = hash;
        s.stuck_ticks = s.presses = s.recent_count = 0;
        return;
    }
    s.stuck_ticks++;
    if (pressed) {
        s.presses++;
        if (s.recent_count == SOFTLOCK_RECENT) {
            for (int i = 1; i < SOFTLOCK_RECENT; i++) s.recent[i - 1] = s.recent[i];
            s.recent_count--;
        }
        s.recent[s.recent_count++] = pressed;
    }
    if (game_state < 0 || game_state >= REPORTABLE_STATES || s.presses < SOFTLOCK_PRESSES ||
        s.stuck_ticks < SOFTLOCK_TICKS || (s.reported >> game_state) & 1)
        return;
    s.reported |= 1ull << game_state;

    char data[SOFTLOCK_EVENT_MAX];
    size_t pos = 0;
    buf_appendf(data, sizeof data, &pos, "{\"state\":%d,\"floor\":%d,\"secs\":%d,\"presses\":%d,\"recent\":[",
                game_state, current_floor + 1, s.stuck_ticks / 60, s.presses);
    for (int i = 0; i < s.recent_count; i++) buf_appendf(data, sizeof data, &pos, "%s%d", i ? "," : "", s.recent[i]);
    buf_appendf(data, sizeof data, &pos, "]}");
    if (pos > SOFTLOCK_EVENT_MAX - 2 || !telemetry_enabled()) return;
    event_append("softlock", data);
}
