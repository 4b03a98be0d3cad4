// The lifetime statistics screen's rows: labels in three lengths and the value texts read from the
// profile. draw_stats (screens.h) lays them out.
#pragma once

constexpr int STATS_ROWS = 20;
constexpr int STATS_SHORT_ROWS = 16;  // rows 1..16 have short and tiny labels
constexpr int STATS_VALUE_BYTES = 16;

enum StatsRow : int {
    STATS_BEST_FLOOR = 0,
    STATS_RUNS = 1,
    STATS_ESCAPES = 2,
    STATS_DEATHS = 3,
    STATS_DRAGONS = 4,
    STATS_MONSTERS = 5,
    STATS_FLOORS = 6,
    STATS_LEVEL = 7,
    STATS_MOST_KILLS = 8,
    STATS_SOULS_EARNED = 9,
    STATS_SOULS_SPENT = 10,
    STATS_GOLD = 11,
    STATS_POTIONS = 12,
    STATS_SECRETS = 13,
    STATS_TIME = 14,
    STATS_UNLOCKS = 15,
    STATS_BEST_FLOW = 16,
    STATS_FAVORITE_CLASS = 17,
    STATS_SLAIN_MOST = 18,
    STATS_SLAIN_MOST_BY = 19,
};

extern const char* const STATS_LABELS[STATS_ROWS];
// Rows 1..16, in order.
extern const char* const STATS_LABELS_SHORT[STATS_SHORT_ROWS];
extern const char* const STATS_LABELS_TINY[STATS_SHORT_ROWS];

// The value text of a row (at most 15 characters).
void stats_value(int row, char out[STATS_VALUE_BYTES]);
// Play time as the screen shows it: minutes, hours and minutes, or hours.
void stats_time_text(int seconds, char out[STATS_VALUE_BYTES]);
