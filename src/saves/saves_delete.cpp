// Deleting every run and best-floor file at once, when an old-format profile is retired at
// start-up (its saves belong to that format). Called by the profile reader.
#include <cstdio>

#include "saves/save_path.h"

void saves_delete_all() {
    static const char* const NAMES[] = {"run.sav", "slot0.sav", "slot1.sav", "slot2.sav", "best.dat"};
    char path[SAVE_PATH_CAP];
    for (const char* name : NAMES) {
        save_path_into(path, sizeof path, name);
        std::remove(path);
    }
}
