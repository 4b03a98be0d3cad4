// The effects synthesiser: an effect's first samples against the voice model, the noise register,
// delayed layers, the queue's capacity, priority stealing, volumes, clipping and the callback.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "sound/audio_fixture.h"

namespace {

struct Synth : ::testing::Test {
    void SetUp() override { audio_globals_reset(); }
    void TearDown() override { audio_globals_reset(); }
};

// A voice that holds one level for a long time: a pulse always high (duty above 1), no attack,
// decay 0 so the envelope stays 1.
void hold_voice(Voice* v, float level, uint8_t priority, int32_t serial) {
    voice_start(v, WAVE_PULSE, 2.0f, 100, 100, 1 << 20, 0, level, 0.0f);
    v->priority = priority;
    v->serial = serial;
}

TEST_F(Synth, MenuBlipFollowsTheVoiceModel) {
    // SFX_MOVE: pulse duty 0.25 at 880 Hz for 28 ms, volume 0.16, linear release, 2 ms attack.
    play_sfx(SFX_MOVE);
    std::vector<float> out = audio_render(1400);
    const int length = 48000 * 28 / 1000, attack = 96;
    const float gain = 0.16f * 0.8f;
    for (int k = 0; k < 1400; k++) {
        double cycle = k * 880.0 / 48000.0;
        double frac = cycle - std::floor(cycle);
        if (std::fabs(frac - 0.25) < 1e-3 || frac < 1e-3 || frac > 1 - 1e-3) continue;  // edge rounding
        double wave = frac < 0.25 ? 1.0 : -1.0;
        double env = k < attack ? (double)k / attack : k < length ? 1.0 - (double)(k - attack) / (length - attack) : 0.0;
        EXPECT_NEAR(out[k], wave * env * gain, 1e-4) << "sample " << k;
    }
    EXPECT_EQ(out[0], 0.0f);  // every effect opens from silence
    EXPECT_EQ(sfx_active_voices(), 0);
}

TEST_F(Synth, TriangleAndQuadraticReleaseMatchTheModel) {
    // A hand-made triangle at 1200 Hz (40 samples a cycle), 4 samples of attack, quadratic release.
    Voice v{};
    voice_start(&v, WAVE_TRIANGLE, 0, 1200, 1200, 100, 4, 0.5f, 2.0f);
    for (int k = 0; k < 100; k++) {
        double p = std::fmod(k * 1200.0 / 48000.0, 1.0);
        double wave = std::fabs(p - 0.5) * 4 - 1;
        double env = k < 4 ? k / 4.0 : std::pow(1.0 - (k - 4) / 96.0, 2.0);
        EXPECT_NEAR(voice_step(&v, 48000), wave * env * 0.5, 1e-4) << k;
    }
    EXPECT_EQ(v.active, 0);
}

TEST_F(Synth, SweepReachesItsEndFrequency) {
    Voice v{};
    voice_start(&v, WAVE_PULSE, 0.5f, 420, 110, 8160, 96, 0.35f, 1);
    for (int k = 0; k < 8159; k++) voice_step(&v, 48000);
    EXPECT_NEAR(v.freq, 110.0f, 0.5f);
}

TEST_F(Synth, NoiseRegisterRunsItsFullCycle) {
    // Stepping once per sample, the 15-bit register repeats only after 32767 steps and is
    // balanced between high and low.
    Voice v{};
    voice_start(&v, WAVE_NOISE, 0, 48000, 48000, 1 << 20, 0, 1.0f, 0.0f);
    uint16_t start = v.noise;
    int highs = 0, period = 0;
    for (int k = 1; k <= 40000; k++) {
        if (voice_step(&v, 48000) > 0) highs++;
        if (v.noise == start) {
            period = k;
            break;
        }
    }
    EXPECT_EQ(period, 32767);
    EXPECT_EQ(highs, 16384);
}

TEST_F(Synth, NoiseHoldsItsValueBetweenRegisterSteps) {
    // At 4800 Hz the register steps every tenth sample; between steps the value is held.
    Voice v{};
    voice_start(&v, WAVE_NOISE, 0, 4800, 4800, 1 << 20, 0, 1.0f, 0.0f);
    int changes = 0;
    float last = voice_step(&v, 48000);
    EXPECT_EQ(last, 1.0f);
    for (int k = 1; k < 48000; k++) {
        float s = voice_step(&v, 48000);
        changes += s != last;
        last = s;
    }
    EXPECT_LE(changes, 4800);
    EXPECT_GT(changes, 1000);
}

TEST_F(Synth, DelayedLayerStartsAfterItsDelay) {
    // SFX_REWARD's first note waits 250 ms: 12000 samples at 48000 Hz.
    play_sfx(SFX_REWARD);
    std::vector<float> out = audio_render(12010);
    for (int k = 0; k < 12000; k++) ASSERT_EQ(out[k], 0.0f) << k;
    EXPECT_EQ(out[12000], 0.0f);  // the attack opens from zero
    EXPECT_NE(out[12001], 0.0f);
    EXPECT_EQ(sfx_active_voices(), 4);
}

TEST_F(Synth, QueueHoldsSixtyFourAndDropsTheRest) {
    for (int i = 0; i < 65; i++) play_sfx(SFX_MOVE);
    EXPECT_EQ(sfx_ring.write_count.load() - sfx_ring.read_count.load(), SFX_RING_CAP);
    audio_render(1);
    EXPECT_EQ(sfx_ring.write_count.load(), sfx_ring.read_count.load());
    EXPECT_EQ(sfx_serial, 64);  // 64 started, each stealing the oldest; the 65th never queued
    for (int i = 0; i < SFX_VOICE_COUNT; i++) EXPECT_EQ(sfx_voices[i].serial, 56 + i);
    // Once drained, the queue takes ids again.
    play_sfx(SFX_STEP);
    EXPECT_EQ(sfx_ring.write_count.load() - sfx_ring.read_count.load(), 1u);
}

TEST_F(Synth, QueueBetweenTwoThreadsLosesNothingItAccepted) {
    // The game thread queues while the audio thread drains: every id that found room starts once.
    constexpr int SENDS = 20000;
    std::atomic<bool> done{false};
    uint32_t first = sfx_ring.write_count.load();
    std::thread audio([&] {
        float block[64];
        while (!done.load()) audio_mix(block, 64);
        audio_mix(block, 1);
    });
    for (int i = 0; i < SENDS; i++) play_sfx(SFX_MOVE);
    done.store(true);
    audio.join();
    uint32_t accepted = sfx_ring.write_count.load() - first;
    EXPECT_GT(accepted, 0u);
    EXPECT_LE(accepted, (uint32_t)SENDS);
    EXPECT_EQ(sfx_ring.read_count.load(), sfx_ring.write_count.load());
    EXPECT_EQ((uint32_t)sfx_serial, accepted);
}

TEST_F(Synth, IdsOutsideTheTableAreIgnored) {
    uint32_t before = sfx_ring.write_count.load();
    play_sfx(SFX_NONE);
    play_sfx(SFX_COUNT);
    play_sfx(-1);
    play_sfx(1000);
    EXPECT_EQ(sfx_ring.write_count.load(), before);
}

TEST_F(Synth, NineEffectsAtOnceStealByPriorityThenAge) {
    // Eight one-layer effects of priority 4 fill the voices; a ninth of priority 1 finds none.
    for (int i = 0; i < 8; i++) play_sfx(SFX_HEAL);
    play_sfx(SFX_MOVE);
    audio_render(1);
    for (const Voice& v : sfx_voices) EXPECT_EQ(v.priority, 4);
    EXPECT_EQ(sfx_serial, 8);

    // Eight menu blips, then a heal: the heal takes the oldest blip's voice.
    audio_globals_reset();
    for (int i = 0; i < 8; i++) play_sfx(SFX_MOVE);
    play_sfx(SFX_HEAL);
    audio_render(1);
    EXPECT_EQ(sfx_voices[0].priority, 4);
    EXPECT_EQ(sfx_voices[0].serial, 8);
    for (int i = 1; i < 8; i++) EXPECT_EQ(sfx_voices[i].priority, 1);
}

TEST_F(Synth, AllBusyAtPriorityFive) {
    const int32_t serials[8] = {7, 3, 9, 1, 4, 8, 2, 6};
    for (int i = 0; i < 8; i++) hold_voice(&sfx_voices[i], 0.01f, 5, serials[i]);
    sfx_serial = 10;
    play_sfx(SFX_DENY);  // priority 3: both layers dropped
    audio_render(1);
    for (int i = 0; i < 8; i++) EXPECT_EQ(sfx_voices[i].serial, serials[i]);
    play_sfx(SFX_HURT);  // priority 5, two layers: they take the two oldest voices
    audio_render(1);
    EXPECT_EQ(sfx_voices[3].serial, 10);
    EXPECT_EQ(sfx_voices[6].serial, 11);
    EXPECT_EQ(sfx_voices[3].duration, 48000 * 170 / 1000);
    EXPECT_EQ(sfx_voices[6].wave, WAVE_NOISE);
}

TEST_F(Synth, LowerPriorityIsStolenBeforeAnOlderEqualOne) {
    for (int i = 0; i < 8; i++) hold_voice(&sfx_voices[i], 0.01f, 5, i);
    sfx_voices[5].priority = 2;
    sfx_serial = 8;
    play_sfx(SFX_STATUS);  // priority 2
    audio_render(1);
    EXPECT_EQ(sfx_voices[5].serial, 8);
    EXPECT_EQ(sfx_voices[0].serial, 0);
}

TEST_F(Synth, MixIsClippedToExactlyOne) {
    hold_voice(&sfx_voices[0], 3.0f, 1, 0);
    std::vector<float> out = audio_render(64);
    for (float s : out) EXPECT_EQ(s, 1.0f);
    audio_globals_reset();
    voice_start(&sfx_voices[0], WAVE_PULSE, -1.0f, 100, 100, 1 << 20, 0, 3.0f, 0.0f);  // always low
    out = audio_render(64);
    for (float s : out) EXPECT_EQ(s, -1.0f);
}

TEST_F(Synth, VolumesScaleEffectsAndMusic) {
    hold_voice(&sfx_voices[0], 0.5f, 1, 0);
    EXPECT_NEAR(audio_render(1)[0], 0.4f, 1e-6);  // effects at full master volume: x 0.8
    audio_set_master_volume(5);
    EXPECT_NEAR(audio_render(1)[0], 0.2f, 1e-6);
    audio_set_master_volume(-3);
    EXPECT_EQ(master_volume.load(), 0);
    audio_set_master_volume(42);
    EXPECT_EQ(master_volume.load(), VOLUME_MAX);
    audio_set_music_volume(-1);
    EXPECT_EQ(music_volume.load(), 0);
    audio_set_music_volume(11);
    EXPECT_EQ(music_volume.load(), VOLUME_MAX);

    // Music at full volumes is 0.6 of the sequencer's own sample; at music volume 5, 0.3.
    const int n = 20000;
    audio_globals_reset();
    play_song(SONG_MAIN);
    std::vector<float> raw(n);
    for (float& m : raw) m = music_sample(48000);
    for (int vol : {10, 5}) {
        audio_globals_reset();
        audio_set_music_volume(vol);
        play_song(SONG_MAIN);
        std::vector<float> out = audio_render(n);
        float peak = 0;
        for (int i = 0; i < n; i++) {
            ASSERT_NEAR(out[i], raw[i] * 0.06f * vol, 1e-6) << i;
            peak = std::fmax(peak, std::fabs(out[i]));
        }
        EXPECT_GT(peak, 0.01f * vol);
    }
}

TEST_F(Synth, MasterVolumeZeroIsSilent) {
    audio_set_master_volume(0);
    play_song(SONG_FIGHT);
    for (int i = 0; i < 8; i++) play_sfx(SFX_BELL);
    std::vector<float> out = audio_render(48000);
    for (float s : out) ASSERT_EQ(s, 0.0f);
}

TEST_F(Synth, MusicVolumeZeroSilencesOnlyTheMusic) {
    audio_set_music_volume(0);
    play_song(SONG_FIGHT);
    std::vector<float> out = audio_render(48000);
    for (float s : out) ASSERT_EQ(s, 0.0f);
    play_sfx(SFX_BELL);
    out = audio_render(4800);
    float peak = 0;
    for (float s : out) peak = std::fmax(peak, std::fabs(s));
    EXPECT_GT(peak, 0.1f);
}

TEST_F(Synth, CallbackFillsTheDeviceBlock) {
    hold_voice(&sfx_voices[0], 0.5f, 1, 0);
    std::vector<uint8_t> block(512 * sizeof(float) + 3, 0xAB);
    audio_callback(nullptr, block.data(), (int)block.size());
    for (int i = 0; i < 512; i++) {
        float s;
        std::memcpy(&s, &block[i * sizeof(float)], sizeof s);
        ASSERT_NEAR(s, 0.4f, 1e-6) << i;
    }
    for (size_t i = 512 * sizeof(float); i < block.size(); i++) EXPECT_EQ(block[i], 0);
    audio_callback(nullptr, nullptr, 2048);  // nothing to fill: nothing happens
}

TEST_F(Synth, RateComesFromTheDevice) {
    audio_set_rate(44100);
    EXPECT_EQ(audio_rate.load(), 44100);
    audio_set_rate(0);
    audio_set_rate(-48000);
    EXPECT_EQ(audio_rate.load(), 44100);
    play_sfx(SFX_MOVE);
    audio_render(1);
    EXPECT_EQ(sfx_voices[0].duration, 44100 * 28 / 1000);
    EXPECT_EQ(sfx_voices[0].attack, 88);
}

}  // namespace

namespace {

// The shrine's drone: held once a tick it sustains on voice 6 at its setting's pitch, effects never
// take that voice, and a few ticks without a hold let it fade out.
TEST_F(Synth, HeldDroneSustainsKeepsItsVoiceAndFadesWhenLetGo) {
    const int tick = AUDIO_DEFAULT_RATE / 60;
    for (int t = 0; t < 30; t++) {
        audio_hold_drone(90);
        audio_render(tick);
    }
    const Voice& v = sfx_voices[DRONE_VOICE];
    ASSERT_TRUE(v.active);
    EXPECT_EQ(v.priority, DRONE_PRIORITY);
    EXPECT_FLOAT_EQ(v.freq, 90.0f);
    float peak = 0;
    for (float x : audio_render(tick)) peak = std::max(peak, std::fabs(x));
    EXPECT_GT(peak, 0.01f);
    // The pitch follows the setting.
    audio_hold_drone(50);
    audio_render(tick);
    EXPECT_FLOAT_EQ(v.freq, 50.0f);
    // A burst of effects takes every other voice but not the drone's.
    for (int i = 0; i < 12; i++) play_sfx(SFX_BELL);
    audio_hold_drone(50);
    audio_render(64);
    EXPECT_EQ(sfx_voices[DRONE_VOICE].priority, DRONE_PRIORITY);
    EXPECT_EQ(sfx_voices[DRONE_VOICE].wave, WAVE_TRIANGLE);
    // Let go: it fades within about a second and frees its voice.
    for (int t = 0; t < 90; t++) audio_render(tick);
    EXPECT_FALSE(sfx_voices[DRONE_VOICE].active);
    EXPECT_NE(sfx_voices[DRONE_VOICE].priority, DRONE_PRIORITY);
}

}  // namespace
