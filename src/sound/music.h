// The music sequencer's request from the main thread.
#pragma once

// Asks for song 0..2 (anything else is silence); the audio thread switches with a fade.
void play_song(int id);
