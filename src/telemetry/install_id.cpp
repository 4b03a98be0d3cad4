// The install id: 32 hex digits made once from two splitmix64 outputs and kept in install_id.txt.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "saves/file_io.h"
#include "saves/save_path.h"
#include "telemetry/events.h"

namespace {
char install_id_cache[INSTALL_ID_MAX + 1];
char install_id_buf[INSTALL_ID_MAX + 1];
char display_buf[9];

constexpr uint64_t GOLDEN = 0x9E3779B97F4A7C15ull;

uint64_t splitmix_next(uint64_t* state, bool first) {
    if (!first) *state += GOLDEN;  // the first addition is already in the seed
    uint64_t z = *state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// An id read back is trusted only when it looks like one: 8..64 letters and digits.
bool id_plausible(const char* s, size_t n) {
    if (n < 8 || n > INSTALL_ID_MAX) return false;
    for (size_t i = 0; i < n; i++)
        if (!std::isalnum((unsigned char)s[i])) return false;
    return true;
}

bool read_id_file() {
    FILE* f = file_open_regular(save_path("install_id.txt"), "rb");
    if (!f) return false;
    char buf[INSTALL_ID_MAX + 1];
    size_t n = std::fread(buf, 1, INSTALL_ID_MAX, f);
    std::fclose(f);
    buf[n] = 0;
    n = std::strcspn(buf, "\r\n");
    buf[n] = 0;
    if (!id_plausible(buf, n)) return false;
    std::memcpy(install_id_cache, buf, n + 1);
    return true;
}

void make_id() {
    int local = 0;
    uint64_t seed = (uint64_t)(uintptr_t)&local ^ (uint64_t)(uintptr_t)install_id_cache ^ (uint64_t)std::time(nullptr) ^
                    ((uint64_t)std::clock() << 20);
    uint64_t state = seed + GOLDEN;
    uint64_t a = splitmix_next(&state, true);
    uint64_t b = splitmix_next(&state, false);
    std::snprintf(install_id_cache, sizeof install_id_cache, "%016llx%016llx", (unsigned long long)a,
                  (unsigned long long)b);
    // Whole or not at all: an emptied file would make yet another id at the next start. A failure is
    // let go; the id still serves this session.
    file_write_atomic(save_path("install_id.txt"), (const uint8_t*)install_id_cache, std::strlen(install_id_cache));
}
}  // namespace

const char* install_id() {
    if (install_id_buf[0]) return install_id_buf;
    if (install_id_cache[0]) return install_id_cache;
    if (!read_id_file()) make_id();
    return install_id_cache;
}

const char* install_id_display() {
    const char* id = install_id();
    size_t i = 0;
    for (; i < 8 && id[i]; i++) display_buf[i] = (char)std::toupper((unsigned char)id[i]);
    display_buf[i] = 0;
    return display_buf;
}

void install_id_set(const char* id) { std::snprintf(install_id_buf, sizeof install_id_buf, "%s", id ? id : ""); }

void install_id_forget() { install_id_cache[0] = 0; }
