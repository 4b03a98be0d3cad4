// One copy of the game at a time on a data folder: an advisory lock on a file in it, taken at
// start-up before anything is written and held until the process ends (the kernel lets go of it
// however the process ends, kill -9 included). Called by the shell.
#pragma once

enum SaveLockResult : int {
    SAVE_LOCK_TAKEN = 0,         // this copy owns the folder; leftovers of a killed copy were removed
    SAVE_LOCK_HELD = 1,          // another copy holds it: this one must write nothing
    SAVE_LOCK_UNAVAILABLE = 2,   // no lock file could be made (a read-only folder): the game goes on
};

// Takes the lock on "instance.lock" in the save folder without waiting.
SaveLockResult save_lock_take();
// Lets go of the lock (tests; the game keeps it to the end).
void save_lock_release();
