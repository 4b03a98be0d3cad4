// Screen transitions: a wipe whose mid-point changes the screen behind it.
#pragma once

// True while a transition runs.
bool transition_active();
