// Controller rumble requests.
#pragma once

// Requests a rumble of the two motors for `ms`; returns the scaled low strength.
float rumble_add(float low, float high, int ms);
