// The training's saved block in the run file: 8 bytes, written and read field by field.
//
// | offset | bytes | field                                    |
// |--------|-------|------------------------------------------|
// | 0      | 1     | the training flag (1 while a training run goes on) |
// | 1      | 4     | tips_shown, u32 little-endian (one bit per tip)     |
// | 5      | 3     | zero                                     |
#pragma once
#include <cstdint>

constexpr int TRAINING_SAVED_BYTES = 8;
constexpr int TRAINING_SAVED_FLAG = 0;
constexpr int TRAINING_SAVED_TIPS = 1;

// Fills the 8 bytes from the training and tips records; the caller hands them in zeroed.
void training_save_write(uint8_t out[TRAINING_SAVED_BYTES]);
// Takes the saved flag and tips back after a run load (training mode was left just before).
void training_save_read(const uint8_t in[TRAINING_SAVED_BYTES]);
