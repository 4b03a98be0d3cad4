// The input byte's eight buttons and the default bindings that fill them. Free of SDL: the game
// logic, the settings file and the shell all read these.
#pragma once
#include <cstdint>

constexpr uint8_t BTN_UP = 0x01, BTN_DOWN = 0x02, BTN_LEFT = 0x04, BTN_RIGHT = 0x08;
constexpr uint8_t BTN_A = 0x10, BTN_B = 0x20, BTN_START = 0x40, BTN_SELECT = 0x80;

// Default bindings: keys per action (UP, DOWN, LEFT, RIGHT, A, B, START, SELECT) and the
// controller buttons of A, B, START, SELECT. Escape is START without a binding.
inline constexpr int16_t DEFAULT_KEY_BINDS[8][4] = {
    {82, 26, 0, 0},     // Up, W
    {81, 22, 0, 0},     // Down, S
    {80, 4, 0, 0},      // Left, A
    {79, 7, 0, 0},      // Right, D
    {40, 44, 88, 0},    // Return, Space, Keypad Enter
    {224, 228, 5, 42},  // Left Ctrl, Right Ctrl, B, Backspace
    {0, 0, 0, 0},       // START: Escape only
    {225, 229, 0, 0},   // Left Shift, Right Shift
};
inline constexpr uint8_t DEFAULT_PAD_BINDS[4] = {0, 1, 6, 4};  // A, B, START, BACK

