// The music sequencer on the audio thread: ticks, note and drum voices, looping, switching songs
// with the quarter-second fade (the dungeon theme resumes, the fight theme restarts), and the
// tick's requests while a fight is paused.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/state.h"
#include "game/game.h"
#include "sound/audio_fixture.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"

namespace {

struct Sequence : ::testing::Test {
    void SetUp() override { audio_globals_reset(); }
    void TearDown() override { audio_globals_reset(); }
};

constexpr int MAIN_TICK = 7500, FIGHT_TICK = 4800, FADE = 12000;

TEST_F(Sequence, SongRequestsOutsideTheTableMeanSilence) {
    play_song(SONG_FIGHT);
    EXPECT_EQ(sequencer.song_request.load(), SONG_FIGHT);
    play_song(3);
    EXPECT_EQ(sequencer.song_request.load(), SONG_NONE);
    play_song(SONG_MAIN);
    play_song(-1);
    EXPECT_EQ(sequencer.song_request.load(), SONG_NONE);
}

TEST_F(Sequence, FirstNotesOfTheDungeonTheme) {
    play_song(SONG_MAIN);
    audio_render(1);
    EXPECT_EQ(sequencer.current, SONG_MAIN);
    // Melody A4 for 4 ticks (625 ms) sounding 0.92 of it, cut to whole milliseconds: 575 ms.
    const Voice& melody = sequencer.voices[0];
    EXPECT_EQ(melody.active, 1);
    EXPECT_NEAR(melody.freq, 440.0f, 0.01f);
    EXPECT_EQ(melody.duration, 575 * 48);
    EXPECT_EQ(melody.attack, 288);
    EXPECT_EQ(melody.wave, WAVE_PULSE);
    EXPECT_EQ(melody.duty, 0.5f);
    // Bass A2 on the triangle, kick on the drums: 90 ms falling from 150 Hz, 2 ms attack.
    EXPECT_NEAR(sequencer.voices[2].freq, 110.0f, 0.01f);
    EXPECT_EQ(sequencer.voices[2].wave, WAVE_TRIANGLE);
    const Voice& kick = sequencer.voices[3];
    EXPECT_EQ(kick.duration, 4320);
    EXPECT_EQ(kick.attack, 96);
    EXPECT_EQ(kick.decay, 2.0f);
    EXPECT_NEAR(kick.volume, 0.26f * 0.55f, 1e-6);
    EXPECT_LT(kick.freq, 150.0f);
    for (int c = 0; c < SONG_CHANNELS; c++) EXPECT_EQ(sequencer.playback[SONG_MAIN].position[c], 1) << c;

    // The harmony's second note comes two ticks in, not before.
    audio_render(2 * MAIN_TICK - 1);
    EXPECT_EQ(sequencer.playback[SONG_MAIN].position[1], 1);
    audio_render(1);
    EXPECT_EQ(sequencer.playback[SONG_MAIN].position[1], 2);
    EXPECT_NEAR(sequencer.voices[1].freq, 261.63f, 0.01f);  // C4
}

TEST_F(Sequence, ARestSilencesItsChannelAtOnce) {
    SongEvents saved = song_events[SONG_MAIN];
    song_events[SONG_MAIN].events[0][0] = 4 << 8 | NOTE_REST;
    sequencer.current = SONG_MAIN;
    sequencer.song_request.store(SONG_MAIN);
    voice_start(&sequencer.voices[0], WAVE_PULSE, 0.5f, 440, 440, 1 << 20, 0, 0.1f, 1);
    music_sample(48000);
    EXPECT_EQ(sequencer.voices[0].active, 0);
    EXPECT_EQ(sequencer.playback[SONG_MAIN].ticks_left[0], 3);
    song_events[SONG_MAIN] = saved;
}

TEST_F(Sequence, EachChannelLoopsBackToItsFirstEvent) {
    play_song(SONG_FIGHT);
    audio_render(256 * FIGHT_TICK);
    for (int c = 0; c < SONG_CHANNELS; c++) EXPECT_EQ(sequencer.playback[SONG_FIGHT].position[c], 0) << c;
    audio_render(1);
    for (int c = 0; c < SONG_CHANNELS; c++) EXPECT_EQ(sequencer.playback[SONG_FIGHT].position[c], 1) << c;
    EXPECT_NEAR(sequencer.voices[0].freq, 329.63f, 0.01f);  // E4 again
}

float peak(const std::vector<float>& v, size_t from, size_t to) {
    float p = 0;
    for (size_t i = from; i < to && i < v.size(); i++) p = std::fmax(p, std::fabs(v[i]));
    return p;
}

TEST_F(Sequence, IntoAFightAndBackTheDungeonThemeResumes) {
    play_song(SONG_MAIN);
    audio_render(37 * MAIN_TICK + 100);
    SongPlayback at_fight = sequencer.playback[SONG_MAIN];
    EXPECT_GT(at_fight.position[1], 10);

    play_song(SONG_FIGHT);
    std::vector<float> fade = audio_render(FADE - 10);
    EXPECT_EQ(sequencer.current, SONG_MAIN);  // still fading
    EXPECT_NEAR(sequencer.gain, 10.0f / FADE, 1e-3);
    EXPECT_LT(peak(fade, FADE - 1200, FADE - 10), 0.5f * peak(fade, 0, 1200));
    audio_render(20);
    EXPECT_EQ(sequencer.current, SONG_FIGHT);
    EXPECT_EQ(sequencer.gain, 1.0f);
    // The fight opens on its first event on every channel.
    for (int c = 0; c < SONG_CHANNELS; c++) EXPECT_EQ(sequencer.playback[SONG_FIGHT].position[c], 1) << c;
    EXPECT_NEAR(sequencer.voices[0].freq, 329.63f, 0.01f);
    // The dungeon theme played on while it faded: two more sixteenths went by.
    SongPlayback kept = sequencer.playback[SONG_MAIN];
    EXPECT_EQ(kept.position[1], at_fight.position[1] + 1);

    audio_render(20 * FIGHT_TICK);
    play_song(SONG_MAIN);
    audio_render(FADE + 10);
    EXPECT_EQ(sequencer.current, SONG_MAIN);
    for (int c = 0; c < SONG_CHANNELS; c++) EXPECT_EQ(sequencer.playback[SONG_MAIN].position[c], kept.position[c]);
    // It continues from there: a later fight starts from the top again.
    audio_render(MAIN_TICK * 8);
    EXPECT_NE(sequencer.playback[SONG_MAIN].position[1], kept.position[1]);
    play_song(SONG_FIGHT);
    audio_render(FADE + 10);
    for (int c = 0; c < SONG_CHANNELS; c++) EXPECT_EQ(sequencer.playback[SONG_FIGHT].position[c], 1) << c;
}

TEST_F(Sequence, SilenceToASongStartsAtOnce) {
    play_song(SONG_MAIN);
    audio_render(1);
    EXPECT_EQ(sequencer.current, SONG_MAIN);
    play_song(SONG_NONE);
    audio_render(FADE + 1);
    EXPECT_EQ(sequencer.current, SONG_NONE);
    for (const Voice& v : sequencer.voices) EXPECT_EQ(v.active, 0);
    std::vector<float> quiet = audio_render(1000);
    EXPECT_EQ(peak(quiet, 0, quiet.size()), 0.0f);
}

TEST_F(Sequence, ReturningMidFadeKeepsTheSongAtItsGain) {
    play_song(SONG_MAIN);
    audio_render(1000);
    play_song(SONG_FIGHT);
    audio_render(FADE / 2);
    float gain = sequencer.gain;
    EXPECT_NEAR(gain, 0.5f, 0.01f);
    play_song(SONG_MAIN);
    audio_render(FADE);
    EXPECT_EQ(sequencer.current, SONG_MAIN);
    EXPECT_EQ(sequencer.gain, gain);  // the fade stops; the gain waits for the next full switch
}

struct PausedFight : Sequence {
    TempSaveDir tmp;
    void TearDown() override {
        tick_globals_reset(STATE_POWER_ON);
        Sequence::TearDown();
    }
};

TEST_F(PausedFight, PausingAFightKeepsTheFightSong) {
    tick_globals_reset(STATE_DUNGEON);
    game_tick(0);
    EXPECT_EQ(sequencer.song_request.load(), SONG_MAIN);
    audio_render(1000);
    tick_globals_reset(STATE_COMBAT);
    game_tick(0);
    EXPECT_EQ(sequencer.song_request.load(), SONG_FIGHT);
    audio_render(FADE + 100);
    EXPECT_EQ(sequencer.current, SONG_FIGHT);

    state_under_pause = STATE_COMBAT;
    game_state = STATE_PAUSE;
    prev_state = STATE_PAUSE;
    for (int i = 0; i < 30; i++) {
        game_tick(0);
        audio_render(800);
    }
    EXPECT_EQ(game_state, STATE_PAUSE);
    EXPECT_EQ(sequencer.song_request.load(), SONG_FIGHT);
    EXPECT_EQ(sequencer.current, SONG_FIGHT);
    EXPECT_EQ(sequencer.gain, 1.0f);
}

}  // namespace
