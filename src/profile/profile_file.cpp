// profile.dat: the byte layout of the profile record, and its reading and crash-safe writing.
// Called by start-up (profile_load) and by every change of the profile (profile_save).
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "profile/profile.h"
#include "saves/bytes.h"
#include "saves/file_io.h"
#include "saves/save_path.h"
#include "saves/settings.h"
#include "saves/write_notice.h"
#include "services/services.h"

Profile profile = {};

namespace {

const char PROFILE_MAGIC[4] = {'Q', 'M', 'P', 'D'};
constexpr int OLDEST_READ_VERSION = 6;  // versions 1..5 are the old format
// Record bytes of each version read: 6 and 7 stop before the per-class and codex blocks, 8
// before the dragon and win firsts grew to six heats.
constexpr int RECORD_BYTES_V6 = 300;
constexpr int RECORD_BYTES_V7 = 1980;
constexpr int RECORD_BYTES_V8 = 2564;

// The record's layout: each int32 (or uint32) field at its byte offset, then the blocks below as
// base + stride x index. Every byte not named is reserved and written as 0. Four fields live in
// words the older layout left free: the idle hints shown (96), the joke banners shown (232), the
// skill rating (244) and the rated fights (248); the attacked-once mark is flags bit 3.
struct ScalarField {
    int32_t Profile::*number;
    uint32_t Profile::*bits;
    int offset;
};

// clang-format off
constexpr ScalarField SCALARS[] = {
    {.number = &Profile::souls,          .bits = nullptr,                .offset = 0},
    {.number = &Profile::runs,           .bits = nullptr,                .offset = 8},
    {.number = nullptr,                  .bits = &Profile::met,          .offset = 12},
    {.number = nullptr,                  .bits = &Profile::viewed,       .offset = 16},
    {.number = nullptr,                  .bits = &Profile::flags,        .offset = 92},
    {.number = &Profile::flow_hints,     .bits = nullptr,                .offset = 96},
    {.number = &Profile::souls_earned,   .bits = nullptr,                .offset = 100},
    {.number = &Profile::floors_reached, .bits = nullptr,                .offset = 104},
    {.number = &Profile::runs_won,       .bits = nullptr,                .offset = 108},
    {.number = &Profile::runs_lost,      .bits = nullptr,                .offset = 112},
    {.number = &Profile::stretches,      .bits = nullptr,                .offset = 116},
    {.number = &Profile::best_level,     .bits = nullptr,                .offset = 120},
    {.number = &Profile::most_kills,     .bits = nullptr,                .offset = 124},
    {.number = &Profile::secrets,        .bits = nullptr,                .offset = 224},
    {.number = &Profile::gold_gained,    .bits = nullptr,                .offset = 228},
    {.number = &Profile::jokes,          .bits = nullptr,                .offset = 232},
    {.number = &Profile::souls_spent,    .bits = nullptr,                .offset = 236},
    {.number = &Profile::seconds,        .bits = nullptr,                .offset = 240},
    {.number = &Profile::skill_rating,   .bits = nullptr,                .offset = 244},
    {.number = &Profile::rated_fights,   .bits = nullptr,                .offset = 248},
    {.number = &Profile::best_combo,     .bits = nullptr,                .offset = 252},
    {.number = nullptr,                  .bits = &Profile::upgrade_off_mask, .offset = 264},
    {.number = &Profile::run_stamp,      .bits = nullptr,                .offset = 1964},
    {.number = nullptr,                  .bits = &Profile::run_carried,  .offset = 1968},
    {.number = &Profile::run_seconds,    .bits = nullptr,                .offset = 1972},
    {.number = &Profile::run_ticks,      .bits = nullptr,                .offset = 1976},
    {.number = &Profile::deepest_run,    .bits = nullptr,                .offset = 2516},
    {.number = &Profile::deepest_class,  .bits = nullptr,                .offset = 2520},
    {.number = &Profile::deepest_floor,  .bits = nullptr,                .offset = 2524},
    {.number = nullptr,                  .bits = &Profile::milestones,   .offset = 2528},
};
// clang-format on

constexpr int UNLOCK_WORD_OFFSET[2] = {4, 88};
constexpr int SLAIN_BASE = 20;              // + 4 x kind
constexpr int CLASS_RUNS_BASE = 128;        // + 4 x class
constexpr int KILLED_BY_BASE = 160;         // + 4 x kind
constexpr int UPGRADE_RANKS_BASE = 256;     // one byte per upgrade
constexpr int CLASS_BASE = 300, CLASS_STRIDE = 128;
constexpr int CLASS_DEATHS_BY = 48;         // + 4 x kind inside a class record
constexpr int ITEM_BASE = 1324, ITEM_STRIDE = 40;
constexpr int CODEX_BASE = 1980, CODEX_STRIDE = 24;
constexpr int FIRST_WIN_BASE = 2364;
constexpr int DRAGON_STRETCH_BASE = 2372, DRAGON_HEAT_BASE = 2420, WIN_HEAT_BASE = 2468, FIRST_STRIDE = 8;

// The int32 fields of a class record, in their order from +0.
constexpr int32_t ProfileClass::*CLASS_FIELDS[] = {
    &ProfileClass::first_run,    &ProfileClass::runs,          &ProfileClass::wins,
    &ProfileClass::deaths,       &ProfileClass::kills,         &ProfileClass::deepest,
    &ProfileClass::deepest_heat, &ProfileClass::best_heat_won, &ProfileClass::fastest_win,
    &ProfileClass::streak,       &ProfileClass::best_streak,   &ProfileClass::first_win,
};
constexpr int32_t ProfileItem::*ITEM_FIELDS[] = {
    &ProfileItem::first_run, &ProfileItem::runs,     &ProfileItem::wins,         &ProfileItem::kills,
    &ProfileItem::deepest,   &ProfileItem::best_hit, &ProfileItem::best_heat_won,
};
constexpr int32_t ProfileCodex::*CODEX_FIELDS[] = {
    &ProfileCodex::first_met_run, &ProfileCodex::first_met_floor, &ProfileCodex::first_slain_run};

// Encoding and decoding walk the same layout; `Access` moves one int32 either way.
struct Access {
    uint8_t* out;         // encoding into this, or
    const uint8_t* in;    // decoding from this
    int len;              // bytes of `in` the version holds; later fields stay 0
    void at(int off, int32_t& v) const {
        if (out)
            bytes_put_i32(out, off, v);
        else if (off + 4 <= len)
            v = bytes_get_i32(in, off);
    }
    void at(int off, uint32_t& v) const {
        if (out)
            bytes_put_u32(out, off, v);
        else if (off + 4 <= len)
            v = bytes_get_u32(in, off);
    }
    void at(int off, ProfileFirst& f) const {
        at(off, f.run);
        at(off + 4, f.cls);
    }
};

void profile_walk(Profile& p, const Access& a) {
    for (const ScalarField& f : SCALARS) {
        if (f.number) a.at(f.offset, p.*f.number);
        if (f.bits) a.at(f.offset, p.*f.bits);
    }
    for (int w = 0; w < 2; w++) a.at(UNLOCK_WORD_OFFSET[w], p.unlocks[w]);
    for (int t = 1; t < PROFILE_KIND_SLOTS; t++) {
        a.at(SLAIN_BASE + 4 * t, p.slain[t]);
        a.at(KILLED_BY_BASE + 4 * t, p.killed_by[t]);
    }
    for (int c = 0; c < PROFILE_CLASS_SLOTS; c++) a.at(CLASS_RUNS_BASE + 4 * c, p.class_runs[c]);
    for (int u = 0; u < UPGRADE_COUNT; u++) {
        if (a.out)
            a.out[UPGRADE_RANKS_BASE + u] = p.upgrade_ranks[u];
        else if (UPGRADE_RANKS_BASE + u < a.len)
            p.upgrade_ranks[u] = a.in[UPGRADE_RANKS_BASE + u];
    }
    for (int c = 0; c < PROFILE_CLASS_SLOTS; c++) {
        const int base = CLASS_BASE + CLASS_STRIDE * c;
        int off = base;
        for (auto field : CLASS_FIELDS) {
            a.at(off, p.classes[c].*field);
            off += 4;
        }
        for (int t = 1; t < PROFILE_KIND_SLOTS; t++) a.at(base + CLASS_DEATHS_BY + 4 * t, p.classes[c].deaths_by[t]);
    }
    for (int i = 1; i < PROFILE_ITEM_SLOTS; i++) {
        int off = ITEM_BASE + ITEM_STRIDE * i;
        for (auto field : ITEM_FIELDS) {
            a.at(off, p.items[i].*field);
            off += 4;
        }
    }
    for (int t = 1; t < PROFILE_KIND_SLOTS; t++) {
        int off = CODEX_BASE + CODEX_STRIDE * t;
        for (auto field : CODEX_FIELDS) {
            a.at(off, p.codex[t].*field);
            off += 4;
        }
    }
    a.at(FIRST_WIN_BASE, p.first_win);
    for (int d = 0; d < PROFILE_STRETCHES; d++) a.at(DRAGON_STRETCH_BASE + FIRST_STRIDE * d, p.first_dragon_stretch[d]);
    for (int h = 0; h < PROFILE_HEATS; h++) {
        a.at(DRAGON_HEAT_BASE + FIRST_STRIDE * h, p.first_dragon_heat[h]);
        a.at(WIN_HEAT_BASE + FIRST_STRIDE * h, p.first_win_heat[h]);
    }
}

// A class number the screens look up (in the class and shrine tables).
bool class_number_ok(int32_t c) { return c >= 0 && c < PROFILE_CLASS_SLOTS; }

// Values a screen or a rule uses as an index or a divisor: a record holding any of them out of
// range is not taken.
bool profile_indices_ok(const Profile& p) {
    if (p.souls < 0 || p.jokes < 0) return false;
    if (p.skill_rating < 0 || p.skill_rating > PROFILE_RATING_MAX) return false;
    if (!class_number_ok(p.first_win.cls) || !class_number_ok(p.deepest_class)) return false;
    for (int d = 0; d < PROFILE_STRETCHES; d++)
        if (!class_number_ok(p.first_dragon_stretch[d].cls)) return false;
    for (int h = 0; h < PROFILE_HEATS; h++)
        if (!class_number_ok(p.first_dragon_heat[h].cls) || !class_number_ok(p.first_win_heat[h].cls)) return false;
    return true;
}

const char* profile_path(char* buf, size_t cap, const char* name) {
    save_path_into(buf, cap, name);
    return buf;
}

// A refused profile.dat that could not be set aside stays where it is, and no save replaces it:
// the file and the path it was found at.
FileId profile_kept_in_place{};
char profile_kept_path[SAVE_PATH_CAP];

// The last write of profile.dat failed. Kills, secrets and the play counters write it again and
// again: on a disk that stays full the failure is noted for the game to tell once, when a write
// fails after one that went through, not at every kill.
bool profile_write_failing = false;

// A refused or old-format file is kept under a name of its own ("<stem>.dat", "<stem>_2.dat" ...);
// one set aside earlier is never replaced.
ProfileLoadResult profile_refuse(const char* path, const FileId& judged, const char* stem, ProfileLoadResult moved) {
    bool kept_before = false;
    if (file_set_aside(path, judged, stem, ".dat", &kept_before)) return kept_before ? PROFILE_KEPT_EARLIER : moved;
    profile_kept_in_place = judged;
    std::snprintf(profile_kept_path, sizeof profile_kept_path, "%s", path);
    return PROFILE_REFUSED_IN_PLACE;
}

}  // namespace

int profile_record_bytes(int version) {
    switch (version) {
    case 6: return RECORD_BYTES_V6;
    case 7: return RECORD_BYTES_V7;
    case 8: return RECORD_BYTES_V8;
    case PROFILE_VERSION: return PROFILE_RECORD_BYTES;
    default: return 0;
    }
}

void profile_encode(const Profile& p, uint8_t out[PROFILE_RECORD_BYTES]) {
    std::memset(out, 0, PROFILE_RECORD_BYTES);
    Profile copy = p;
    profile_walk(copy, Access{.out = out, .in = nullptr, .len = PROFILE_RECORD_BYTES});
}

bool profile_decode(const uint8_t* record, int len, int version, Profile& out) {
    out = Profile{};
    const int need = profile_record_bytes(version);
    if (need == 0 || len < need) return false;
    Profile p = {};
    profile_walk(p, Access{.out = nullptr, .in = record, .len = need});
    if (!profile_indices_ok(p)) return false;
    // Ranks beyond an upgrade's last are read as its last, so no cost table is read past its end.
    for (int u = 0; u < UPGRADE_COUNT; u++)
        if (p.upgrade_ranks[u] > SOUL_UPGRADES[u].ranks) p.upgrade_ranks[u] = (uint8_t)SOUL_UPGRADES[u].ranks;
    out = p;
    return true;
}

ProfileLoadResult profile_load() {
    profile = Profile{};
    profile_kept_in_place = FileId{};
    profile_kept_path[0] = '\0';
    profile_write_failing = false;
    char path[SAVE_PATH_CAP];
    profile_path(path, sizeof path, "profile.dat");

    // One byte more than a whole file, so the read is never cut by the buffer.
    static uint8_t buf[PROFILE_FILE_BYTES + 1];
    errno = 0;
    FileId judged{};
    const long n = file_read_some(path, buf, sizeof buf, LINKS_FOLLOWED, &judged);
    if (n < 0) {
        if (errno == ENOENT) return PROFILE_FRESH;
        // There but unreadable: keep it from the next save.
        return profile_refuse(path, judged, "profile_bad", PROFILE_REFUSED);
    }
    const int version = n >= PROFILE_HEADER_BYTES ? bytes_get_i32(buf, 4) : 0;
    const bool ours = n >= PROFILE_HEADER_BYTES && bytes_is_magic(buf, 0, PROFILE_MAGIC);
    // An old-format version may as well be one flipped bit of a current file: kept like any
    // refused file, and the saves are left to be judged each on its own.
    if (ours && version >= 1 && version < OLDEST_READ_VERSION)
        return profile_refuse(path, judged, "profile_old", PROFILE_OLD);
    Profile read = {};
    if (!ours || !profile_decode(buf + PROFILE_HEADER_BYTES, (int)n - PROFILE_HEADER_BYTES, version, read))
        return profile_refuse(path, judged, "profile_bad", PROFILE_REFUSED);
    profile = read;
    return PROFILE_LOADED;
}

bool profile_save() {
    char path[SAVE_PATH_CAP];
    profile_path(path, sizeof path, "profile.dat");
    // A profile refused at the start and kept where it was: the title told it, no save replaces it,
    // and a folder or a device there refuses the write itself.
    const bool kept_here = profile_kept_path[0] != '\0' && std::strcmp(path, profile_kept_path) == 0;
    if (kept_here && file_id_same(file_id_of(path), profile_kept_in_place)) return false;
    static uint8_t buf[PROFILE_FILE_BYTES];
    bytes_put_magic(buf, 0, PROFILE_MAGIC);
    bytes_put_i32(buf, 4, PROFILE_VERSION);
    profile_encode(profile, buf + PROFILE_HEADER_BYTES);
    const bool written = file_write_atomic(path, buf, sizeof buf, LINKS_FOLLOWED);
    const bool failed = !written && !kept_here;
    if (failed && !profile_write_failing) write_failure_note();
    profile_write_failing = failed;
    return written;
}

bool profile_write_failed() { return profile_write_failing; }

bool profile_save_now() { return profile_save(); }

void profile_reset() {
    profile = Profile{};
    profile_save();
    settings_reset();
    settings_clamp();
}
