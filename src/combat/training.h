// Training mode: a scripted run over four fixed floors that teaches the duel.
#pragma once

// Whether a training run is going on.
bool training_active();
// Whether floor n of a training run comes from the training maps.
bool training_map_floor(int n);
// Copies training map n into the floor and sets the player's start.
void load_training_map(int n);
// Starts a training run on its first floor.
void training_start();
// Leaves training mode (new runs and run loads).
void training_stop();
