// Failed writes of settings.dat and profile.dat that the player is yet to be told of. Those files
// are written on many actions whose callers go on without looking at the result, so the writers
// note a failure here and the game's tick tells it with "SAVE FAILED!".
#pragma once

// Notes a failed write (settings_save, profile_save).
void write_failure_note();
// True once for the failures noted since the last call, which it clears.
bool write_failure_take();
