// The two songs as note text, one string per channel and one line per bar, and the drum sounds.
// Read by the sequencer in music.cpp. A token is NAME or NAME:SIXTEENTHS; names are a pitch
// (A4, C#5, Bb3), r for a rest, K kick, S snare, H hat. Every channel runs 16 bars of 16 sixteenths,
// so the channels loop together.
#include "sound/music.h"

const SfxLayer DRUMS[DRUM_COUNT] = {
    [DRUM_KICK] = {.wave = WAVE_PULSE, .duty = 0.5f, .freq_start = 150, .freq_end = 45, .delay_ms = 0,
                   .duration_ms = 90, .volume = 0.26f, .decay = 0, .attack_ms = 0},
    [DRUM_SNARE] = {.wave = WAVE_NOISE, .duty = 0, .freq_start = 3200, .freq_end = 1200, .delay_ms = 0,
                    .duration_ms = 90, .volume = 0.13f, .decay = 0, .attack_ms = 0},
    [DRUM_HAT] = {.wave = WAVE_NOISE, .duty = 0, .freq_start = 9000, .freq_end = 9000, .delay_ms = 0,
                  .duration_ms = 25, .volume = 0.045f, .decay = 0, .attack_ms = 0},
};

namespace {

// The dungeon theme, A minor at 96 bpm: a slow tune over a bass of root and fifth.
// Chords by bar: Am F C G | Am F Dm E | F G Em Am | Dm Am E E, the last bar leaning back into A.
const char MAIN_MELODY[] =
    "A4:4 C5:4 E5:6 D5:2  "      // Am
    "C5:8 A4:8  "                // F
    "G4:4 C5:4 E5:4 D5:2 C5:2  " // C
    "B4:4 D5:8 r:4  "            // G
    "A4:4 C5:4 E5:6 D5:2  "      // Am
    "C5:4 A4:4 F5:8  "           // F
    "F5:4 E5:2 D5:2 A4:8  "      // Dm
    "G#4:8 B4:4 E5:4  "          // E
    "A5:6 G5:2 F5:4 E5:4  "      // F
    "D5:6 E5:2 G5:8  "           // G
    "G5:4 E5:4 B4:4 E5:4  "      // Em
    "C5:6 B4:2 A4:8  "           // Am
    "D5:4 F5:4 A5:6 G5:2  "      // Dm
    "E5:6 D5:2 C5:4 A4:4  "      // Am
    "B4:4 G#4:4 E4:4 G#4:4  "    // E
    "B4:6 A4:2 G#4:8";           // E

const char MAIN_HARMONY[] =
    "A3:2 C4:2 E4:2 C4:2 A3:2 C4:2 E4:2 C4:2  "     // Am
    "A3:2 C4:2 F4:2 C4:2 A3:2 C4:2 F4:2 C4:2  "     // F
    "G3:2 C4:2 E4:2 C4:2 G3:2 C4:2 E4:2 C4:2  "     // C
    "G3:2 B3:2 D4:2 B3:2 G3:2 B3:2 D4:2 B3:2  "     // G
    "A3:2 C4:2 E4:2 C4:2 A3:2 C4:2 E4:2 C4:2  "     // Am
    "A3:2 C4:2 F4:2 C4:2 A3:2 C4:2 F4:2 C4:2  "     // F
    "A3:2 D4:2 F4:2 D4:2 A3:2 D4:2 F4:2 D4:2  "     // Dm
    "G#3:2 B3:2 E4:2 B3:2 G#3:2 B3:2 E4:2 B3:2  "   // E
    "A3:2 C4:2 F4:2 C4:2 A3:2 C4:2 F4:2 C4:2  "     // F
    "G3:2 B3:2 D4:2 B3:2 G3:2 B3:2 D4:2 B3:2  "     // G
    "G3:2 B3:2 E4:2 B3:2 G3:2 B3:2 E4:2 B3:2  "     // Em
    "A3:2 C4:2 E4:2 C4:2 A3:2 C4:2 E4:2 C4:2  "     // Am
    "A3:2 D4:2 F4:2 D4:2 A3:2 D4:2 F4:2 D4:2  "     // Dm
    "A3:2 C4:2 E4:2 C4:2 A3:2 C4:2 E4:2 C4:2  "     // Am
    "G#3:2 B3:2 E4:2 B3:2 G#3:2 B3:2 E4:2 B3:2  "   // E
    "G#3:2 B3:2 E4:2 B3:2 G#3:2 B3:2 D4:2 B3:2";    // E7

const char MAIN_BASS[] =
    "A2:6 A2:2 E2:8  "   // Am
    "F2:6 F2:2 C3:8  "   // F
    "C3:6 C3:2 G2:8  "   // C
    "G2:6 G2:2 D3:8  "   // G
    "A2:6 A2:2 E2:8  "   // Am
    "F2:6 F2:2 C3:8  "   // F
    "D3:6 D3:2 A2:8  "   // Dm
    "E2:6 E2:2 B2:8  "   // E
    "F2:6 F2:2 C3:8  "   // F
    "G2:6 G2:2 D3:8  "   // G
    "E2:6 E2:2 B2:8  "   // Em
    "A2:6 A2:2 E2:8  "   // Am
    "D3:6 D3:2 A2:8  "   // Dm
    "A2:6 A2:2 E2:8  "   // Am
    "E2:6 E2:2 B2:8  "   // E
    "E2:6 E2:2 G#2:8";   // E

const char MAIN_DRUMS[] =
    "K:8 H:4 H:4  K:8 H:4 H:4  K:8 H:4 H:4  K:8 H:4 H:4  "
    "K:8 H:4 H:4  K:8 H:4 H:4  K:8 H:4 H:4  K:8 H:4 H:4  "
    "K:8 H:4 H:4  K:8 H:4 H:4  K:8 H:4 H:4  K:8 H:4 H:4  "
    "K:8 H:4 H:4  K:8 H:4 H:4  K:8 H:4 H:4  K:8 H:4 H:4";

// The fight theme, in E with the flat second (the E-F turn) at 150 bpm: a running riff over
// sixteenth arpeggios and an octave-jumping bass, with a snare fill every fourth bar.
// Chords by bar: E F E F | G F E E | Am Dm Am E | F G F E.
const char FIGHT_MELODY[] =
    "E4:2 F4:2 G#4:2 F4:2 E4:4 B4:2 A4:2  "   // E
    "A4:4 C5:4 F5:2 C5:2 A4:2 F4:2  "         // F
    "E4:2 F4:2 G#4:2 F4:2 E4:4 B4:2 C5:2  "   // E
    "F5:4 C5:4 A4:8  "                        // F
    "B4:4 D5:4 G5:6 F5:2  "                   // G
    "F5:4 C5:2 D5:2 C5:4 A4:4  "              // F
    "B4:2 C5:2 B4:2 A4:2 G#4:4 E4:4  "        // E
    "G#4:2 B4:2 E5:8 r:4  "                   // E
    "A4:2 C5:2 E5:4 A5:4 E5:4  "              // Am
    "F5:4 E5:2 D5:2 A4:4 D5:4  "              // Dm
    "C5:2 D5:2 E5:2 C5:2 A4:4 E5:4  "         // Am
    "G#5:2 A5:2 G#5:2 F5:2 E5:4 B4:4  "       // E
    "A4:2 C5:2 F5:4 A5:2 G5:2 F5:4  "         // F
    "G5:4 F5:2 D5:2 B4:8  "                   // G
    "C5:4 A4:4 F4:8  "                        // F
    "G#4:8 B4:8";                             // E

const char FIGHT_HARMONY[] =
    "E3 G#3 B3 G#3 E3 G#3 B3 G#3 E3 G#3 B3 G#3 E3 G#3 B3 G#3  "   // E
    "F3 A3 C4 A3 F3 A3 C4 A3 F3 A3 C4 A3 F3 A3 C4 A3  "           // F
    "E3 G#3 B3 G#3 E3 G#3 B3 G#3 E3 G#3 B3 G#3 E3 G#3 B3 G#3  "   // E
    "F3 A3 C4 A3 F3 A3 C4 A3 F3 A3 C4 A3 F3 A3 C4 A3  "           // F
    "G3 B3 D4 B3 G3 B3 D4 B3 G3 B3 D4 B3 G3 B3 D4 B3  "           // G
    "F3 A3 C4 A3 F3 A3 C4 A3 F3 A3 C4 A3 F3 A3 C4 A3  "           // F
    "E3 G#3 B3 G#3 E3 G#3 B3 G#3 E3 G#3 B3 G#3 E3 G#3 B3 G#3  "   // E
    "E3 G#3 B3 G#3 E3 G#3 B3 G#3 E3 G#3 B3 D4 E3 G#3 B3 D4  "     // E7
    "A3 C4 E4 C4 A3 C4 E4 C4 A3 C4 E4 C4 A3 C4 E4 C4  "           // Am
    "D3 F3 A3 F3 D3 F3 A3 F3 D3 F3 A3 F3 D3 F3 A3 F3  "           // Dm
    "A3 C4 E4 C4 A3 C4 E4 C4 A3 C4 E4 C4 A3 C4 E4 C4  "           // Am
    "E3 G#3 B3 G#3 E3 G#3 B3 G#3 E3 G#3 B3 D4 E3 G#3 B3 D4  "     // E7
    "F3 A3 C4 A3 F3 A3 C4 A3 F3 A3 C4 A3 F3 A3 C4 A3  "           // F
    "G3 B3 D4 B3 G3 B3 D4 B3 G3 B3 D4 B3 G3 B3 D4 B3  "           // G
    "F3 A3 C4 A3 F3 A3 C4 A3 F3 A3 C4 A3 F3 A3 C4 A3  "           // F
    "E3 G#3 B3 G#3 E3 G#3 B3 G#3 E3 G#3 B3 D4 E3 G#3 B3 D4";      // E7

const char FIGHT_BASS[] =
    "E2:2 E3:2 E2:2 E3:2 E2:2 E3:2 E2:2 E3:2  "   // E
    "F2:2 F3:2 F2:2 F3:2 F2:2 F3:2 F2:2 F3:2  "   // F
    "E2:2 E3:2 E2:2 E3:2 E2:2 E3:2 E2:2 E3:2  "   // E
    "F2:2 F3:2 F2:2 F3:2 F2:2 F3:2 F2:2 F3:2  "   // F
    "G2:2 G3:2 G2:2 G3:2 G2:2 G3:2 G2:2 G3:2  "   // G
    "F2:2 F3:2 F2:2 F3:2 F2:2 F3:2 F2:2 F3:2  "   // F
    "E2:2 E3:2 E2:2 E3:2 E2:2 E3:2 E2:2 E3:2  "   // E
    "E2:2 E3:2 E2:2 E3:2 E2:2 E3:2 E2:2 E3:2  "   // E
    "A2:2 A3:2 A2:2 A3:2 A2:2 A3:2 A2:2 A3:2  "   // Am
    "D2:2 D3:2 D2:2 D3:2 D2:2 D3:2 D2:2 D3:2  "   // Dm
    "A2:2 A3:2 A2:2 A3:2 A2:2 A3:2 A2:2 A3:2  "   // Am
    "E2:2 E3:2 E2:2 E3:2 E2:2 E3:2 E2:2 E3:2  "   // E
    "F2:2 F3:2 F2:2 F3:2 F2:2 F3:2 F2:2 F3:2  "   // F
    "G2:2 G3:2 G2:2 G3:2 G2:2 G3:2 G2:2 G3:2  "   // G
    "F2:2 F3:2 F2:2 F3:2 F2:2 F3:2 F2:2 F3:2  "   // F
    "E2:2 E3:2 E2:2 E3:2 E2:2 E3:2 E2:2 E3:2";    // E

const char FIGHT_DRUMS[] =
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:1 S:1 S:1 S:1  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:1 S:1 S:1 S:1  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:1 S:1 S:1 S:1  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 K:2 S:2 H:2  "
    "K:2 H:2 S:2 H:2 K:2 S:2 S:1 S:1 S:1 S:1";

constexpr SongChannel drum_channel(float volume) {
    return {.wave = WAVE_NOISE, .duty = 0, .volume = volume, .decay = 0, .length = 1.0f};
}

}  // namespace

const SongDef SONGS[SONG_COUNT] = {
    [SONG_NONE] = {},
    [SONG_MAIN] = {.bpm = 96,
                   .channels = {{.wave = WAVE_PULSE, .duty = 0.5f, .volume = 0.1f, .decay = 0.6f, .length = 0.92f},
                                {.wave = WAVE_PULSE, .duty = 0.125f, .volume = 0.045f, .decay = 1.5f, .length = 0.85f},
                                {.wave = WAVE_TRIANGLE, .duty = 0, .volume = 0.3f, .decay = 0.4f, .length = 0.92f},
                                drum_channel(0.55f)},
                   .score = {MAIN_MELODY, MAIN_HARMONY, MAIN_BASS, MAIN_DRUMS}},
    [SONG_FIGHT] = {.bpm = 150,
                    .channels = {{.wave = WAVE_PULSE, .duty = 0.25f, .volume = 0.1f, .decay = 0.5f, .length = 0.85f},
                                 {.wave = WAVE_PULSE, .duty = 0.125f, .volume = 0.04f, .decay = 1.2f, .length = 0.7f},
                                 {.wave = WAVE_TRIANGLE, .duty = 0, .volume = 0.32f, .decay = 0.5f, .length = 0.8f},
                                 drum_channel(1.0f)},
                    .score = {FIGHT_MELODY, FIGHT_HARMONY, FIGHT_BASS, FIGHT_DRUMS}},
};
