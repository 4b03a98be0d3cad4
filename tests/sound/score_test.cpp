// The score text parser and the two songs as written: pitches, durations, skipped tokens, the
// per-channel event counts and lengths, and the tick length at each tempo.
#include <gtest/gtest.h>

#include <string>

#include "sound/music.h"

namespace {

struct Parsed {
    int32_t count = 0;
    uint16_t events[SONG_MAX_EVENTS] = {};
    int note(int i) const { return events[i] & 0xFF; }
    int duration(int i) const { return events[i] >> 8; }
};

Parsed parse(const char* text) {
    Parsed p;
    p.count = score_parse(text, p.events, SONG_MAX_EVENTS);
    return p;
}

TEST(Score, PitchNamesWithSharpsFlatsAndOctaves) {
    Parsed p = parse("C#4 Db4 Cb4 B8 C4 A4 C0 E#4 Bb3");
    ASSERT_EQ(p.count, 9);
    const int want[] = {61, 61, 59, 119, 60, 69, 12, 65, 58};
    for (int i = 0; i < 9; i++) {
        EXPECT_EQ(p.note(i), want[i]) << i;
        EXPECT_EQ(p.duration(i), 1) << i;
    }
}

TEST(Score, RestsAndDrums) {
    Parsed p = parse("r:4 K:8 S H:2");
    ASSERT_EQ(p.count, 4);
    EXPECT_EQ(p.note(0), NOTE_REST);
    EXPECT_EQ(p.duration(0), 4);
    EXPECT_EQ(p.note(1), NOTE_KICK);
    EXPECT_EQ(p.duration(1), 8);
    EXPECT_EQ(p.note(2), NOTE_SNARE);
    EXPECT_EQ(p.duration(2), 1);
    EXPECT_EQ(p.note(3), NOTE_HAT);
}

TEST(Score, MalformedTokensAreSkippedAndTheRestStillParse) {
    // Bad octaves and letters, missing octaves, durations 0, 256, empty or negative, an empty name.
    Parsed p = parse("C9 c4 A4:0 A4:256 A4: A4:-2 :4 A A10 R H4 Ax4 A#b4 rr E4:255");
    ASSERT_EQ(p.count, 1);
    EXPECT_EQ(p.note(0), 64);
    EXPECT_EQ(p.duration(0), 255);
}

TEST(Score, SpacesAndTheDurationStayInsideTheirToken) {
    // "A4:" must not borrow the 4 of the next token; a lone "4" is no name.
    Parsed p = parse("   A4:   4  B4:2   C5");
    ASSERT_EQ(p.count, 2);
    EXPECT_EQ(p.note(0), 71);
    EXPECT_EQ(p.duration(0), 2);
    EXPECT_EQ(p.note(1), 72);
    EXPECT_EQ(p.duration(1), 1);
    EXPECT_EQ(parse("").count, 0);
    EXPECT_EQ(score_parse(nullptr, nullptr, 0), 0);
}

TEST(Score, StopsAtTheEventCap) {
    std::string text;
    for (int i = 0; i < SONG_MAX_EVENTS + 20; i++) text += i < SONG_MAX_EVENTS ? "A4 " : "C4 ";
    Parsed p = parse(text.c_str());
    EXPECT_EQ(p.count, SONG_MAX_EVENTS);
    EXPECT_EQ(p.note(SONG_MAX_EVENTS - 1), 69);
}

TEST(Songs, EventCountsAndLengths) {
    parse_songs();
    const int32_t want[SONG_COUNT][SONG_CHANNELS] = {{0, 0, 0, 0}, {57, 128, 48, 48}, {79, 256, 128, 136}};
    for (int s = SONG_MAIN; s < SONG_COUNT; s++)
        for (int ch = 0; ch < SONG_CHANNELS; ch++) {
            EXPECT_EQ(song_events[s].count[ch], want[s][ch]) << "song " << s << " channel " << ch;
            EXPECT_EQ(song_length_ticks(s, ch), 256) << "song " << s << " channel " << ch;
        }
}

TEST(Songs, EveryTokenIsReadAndEachChannelPlaysItsKindOfNote) {
    // A token the parser skips would shorten a bar silently; count the tokens by hand.
    parse_songs();
    for (int s = SONG_MAIN; s < SONG_COUNT; s++)
        for (int ch = 0; ch < SONG_CHANNELS; ch++) {
            int tokens = 0;
            bool in_token = false;
            for (const char* c = SONGS[s].score[ch]; *c; c++) {
                if (*c != ' ' && !in_token) tokens++;
                in_token = *c != ' ';
            }
            EXPECT_EQ(song_events[s].count[ch], tokens) << "song " << s << " channel " << ch;
            for (int i = 0; i < song_events[s].count[ch]; i++) {
                int note = song_events[s].events[ch][i] & 0xFF;
                if (ch == SONG_DRUM_CHANNEL)
                    EXPECT_TRUE(note >= NOTE_KICK && note <= NOTE_HAT) << "song " << s << " event " << i;
                else
                    EXPECT_TRUE(note < NOTE_KICK) << "song " << s << " channel " << ch << " event " << i;
            }
        }
}

TEST(Songs, OpeningsAsWritten) {
    parse_songs();
    const uint16_t main_melody[] = {4 << 8 | 69, 4 << 8 | 72, 6 << 8 | 76, 2 << 8 | 74, 8 << 8 | 72, 8 << 8 | 69};
    for (int i = 0; i < 6; i++) EXPECT_EQ(song_events[SONG_MAIN].events[0][i], main_melody[i]) << i;
    const uint16_t fight_harmony[] = {1 << 8 | 52, 1 << 8 | 56, 1 << 8 | 59, 1 << 8 | 56};
    for (int i = 0; i < 4; i++) EXPECT_EQ(song_events[SONG_FIGHT].events[1][i], fight_harmony[i]) << i;
}

TEST(Songs, LengthGuards) {
    EXPECT_EQ(song_length_ticks(SONG_NONE, 0), 0);
    EXPECT_EQ(song_length_ticks(3, 0), 0);
    EXPECT_EQ(song_length_ticks(-1, 0), 0);
    EXPECT_EQ(song_length_ticks(SONG_MAIN, -1), 0);
    EXPECT_EQ(song_length_ticks(SONG_MAIN, 4), 0);
}

TEST(Songs, SamplesPerSixteenth) {
    EXPECT_EQ(song_tick_samples(48000, 96), 7500);
    EXPECT_EQ(song_tick_samples(48000, 150), 4800);
    EXPECT_EQ(song_tick_samples(44100, 150), 4410);
    EXPECT_EQ(song_tick_samples(1, 150), 1);  // never a zero-length tick
}

}  // namespace
