// The real-time fight view, its small text formatters and the monster's screen anchor, and the
// status border with the fight overlays. The draw pass calls the drawers; tests call the helpers.
#pragma once
#include <cstdint>

// Where the view last drew the monster: its centre x and the middle of its figure. The sparks and
// the overlay ring burst from here.
struct FightAnchor {
    int32_t x, y;
};
extern FightAnchor fight_anchor;

void draw_fight_reflex();

// "FLOW x1.25" for a combo tier of 125 %: trailing zeros and then a trailing point dropped.
void fight_flow_text(int percent, char* out, int size);
// "SOULS x1.5" for m = 15 tenths.
void fight_souls_text(int tenths, char* out, int size);
// Tenths of how far the run's threat has multiplied its souls: 10 S / (S - threat/10), rounded.
int fight_souls_tenths(int32_t souls, int32_t threat_total);
// Pixels of a health fill `width` wide: hp clamped to 0..max_hp, over max(max_hp, 1).
int fight_bar_fill(int32_t hp, int32_t max_hp, int width);
// Splits a popup text at its first line feed; the second line stops at the next one. Returns 1 or 2.
int fight_popup_lines(const char* text, char line1[32], char line2[32]);
