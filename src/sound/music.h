// The music sequencer: the songs written as note text, their parsed events, and the sequencer that
// the audio thread steps each sample. play_song is the main thread's request (the tick calls it).
#pragma once
#include <atomic>
#include <cstdint>

#include "sound/audio.h"

enum SongId : int32_t { SONG_NONE = 0, SONG_MAIN = 1, SONG_FIGHT = 2, SONG_COUNT = 3 };

constexpr int SONG_CHANNELS = 4;  // three tone channels, then the drums
constexpr int SONG_DRUM_CHANNEL = 3;
constexpr int SONG_MAX_EVENTS = 320;
constexpr int SONG_MAX_DURATION = 255;  // sixteenths
constexpr uint8_t NOTE_REST = 0;
constexpr uint8_t NOTE_KICK = 250;
constexpr uint8_t NOTE_SNARE = 251;
constexpr uint8_t NOTE_HAT = 252;

enum DrumId : int32_t { DRUM_KICK = 0, DRUM_SNARE = 1, DRUM_HAT = 2, DRUM_COUNT = 3 };

struct SongChannel {
    int32_t wave;
    float duty;
    float volume;
    float decay;
    float length;  // part of the note's time that it sounds
};

struct SongDef {
    int32_t bpm;
    SongChannel channels[SONG_CHANNELS];
    const char* score[SONG_CHANNELS];
};

extern const SongDef SONGS[SONG_COUNT];
extern const SfxLayer DRUMS[DRUM_COUNT];

// An event is duration << 8 | note.
struct SongEvents {
    uint16_t events[SONG_CHANNELS][SONG_MAX_EVENTS];
    int32_t count[SONG_CHANNELS];
};
extern SongEvents song_events[SONG_COUNT];

struct SongPlayback {
    int32_t position[SONG_CHANNELS];
    int32_t ticks_left[SONG_CHANNELS];
};

// Everything here but song_request belongs to the audio thread.
struct Sequencer {
    std::atomic<int32_t> song_request;
    int32_t current;
    float gain;
    int32_t tick_sample;
    SongPlayback playback[SONG_COUNT];
    Voice voices[SONG_CHANNELS];
};
extern Sequencer sequencer;

// Asks for song 0..2 (anything else is silence); the audio thread switches with a fade.
void play_song(int id);
void parse_songs();
int32_t song_length_ticks(int song, int channel);

// Parses one channel's score text into at most `cap` events; returns the count.
int32_t score_parse(const char* text, uint16_t* events, int32_t cap);
// Samples in one sixteenth at this rate and tempo.
int32_t song_tick_samples(int32_t rate, int32_t bpm);
// The music's next sample before the music volume, advancing the sequencer by one sample.
float music_sample(int32_t rate);
