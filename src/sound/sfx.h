// The sound-effect queue read by the synthesiser.
#pragma once

constexpr int SFX_BREAK = 6;
constexpr int SFX_HOLLOW = 7;
constexpr int SFX_SECRET = 8;

// Queues sound effect `id` (1..23).
void play_sfx(int id);
