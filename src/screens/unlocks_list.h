// The unlocks screen's list model: which rows show, the cursor, the message, and what other
// screens ask about unlocks (owned, price, next goal, names and descriptions). Its input is
// update_unlocks (screens.h); draw_unlocks shows what this keeps.
#pragma once
#include <cstdint>

constexpr int UNLOCK_SECTIONS = 7;
constexpr int UNLOCK_SECTION_PERKS = 6;
constexpr int UNLOCK_LIST_MAX = 25;        // 7 headers and 18 rows
constexpr int32_t UNLOCK_UPGRADE_ROW = 1000;  // rows 1000..1002 are the soul upgrades
constexpr int UNLOCK_MESSAGE_CAP = 28;

struct UnlocksMessage {
    int32_t timer;  // steps left to show it
    char text[UNLOCK_MESSAGE_CAP];
};

extern uint8_t unlocks_collapsed[UNLOCK_SECTIONS];
extern UnlocksMessage unlocks_message;

int unlock_count();
// The list as shown: -1 - n for the header of section n, then its rows unless folded.
int unlock_rows_build(int32_t out[UNLOCK_LIST_MAX]);
// The id under the cursor, after bringing the cursor into the list.
int32_t unlocks_cursor_row();
// Unfolds the row's section and puts the cursor on it.
void unlocks_reveal_row(int32_t row);

int unlock_section_of(int32_t row);
const char* unlock_section_title(int n);
int unlock_section_collapsed(int n);
// Owned rows of section n (ranks bought for the perks), with the section's total.
int unlock_section_owned(int n, int* total);
// Owned and total of the rows that cost souls.
void unlocks_owned_count(int* owned, int* total);

int unlock_price(int row);
// The row the run-end screen offers next, or -1 when everything is owned.
int unlock_next_goal();
bool cosmetic_equipped(int row);
void cosmetic_equip(int row);
const char* unlock_kind_name(int row);
const char* unlock_row_name(int row);
const char* unlock_row_description(int row);
