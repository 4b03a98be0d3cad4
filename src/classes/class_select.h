// The class-select screen's input and cursor.
#pragma once
#include <cstdint>

extern int32_t class_cursor;
void update_class_select(uint8_t presses);
