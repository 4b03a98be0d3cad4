// The class-select screen's input and cursor, before a new run.
#pragma once
#include <cstdint>

extern int32_t class_cursor;

constexpr int CLASS_SELECT_STAY = -1;
// One step of the screen's input: moves the cursor, goes back to the title on B, and answers the
// class to begin a run with (the caller starts it), else CLASS_SELECT_STAY.
int update_class_select(uint8_t presses);
