// The fixed scenes of the perf test and the gpu-check, set up by the shell before the frame loop.
#pragma once

// A new cheated run of the first class from a fixed seed on floor_index, then the scene: the walk
// as built, an empty room with stairs for "stairs", or the unlocks list for "cases".
void perf_scene_setup(int scene, int floor_index);
