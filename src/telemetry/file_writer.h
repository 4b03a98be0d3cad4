// The play files' writer: a thread of its own ("qm-files") that writes what the game thread hands
// it, so no frame waits on the disk, where a rename over a file can take tens of milliseconds: the
// ten-second session record and the cut of a play file nearing twice its cap. Started at the
// session's start and stopped at its end; without it the same work runs on the calling thread.
#pragma once
#include <cstddef>

void file_writer_start();
// Writes the cuts still asked for, drops a session record not yet written and ends the thread.
void file_writer_stop();
// Hands over session.txt's whole text; a newer one replaces one not yet written. Written on the
// calling thread when no writer runs; dropped after file_writer_session_now closed the record.
void file_writer_session(const char* text, size_t len);
// Writes session.txt now on the calling thread (synced when `durable`), after the handed-over record
// being written, if any, and in place of one still waiting, so this one lands last. With `close`
// no record handed over later is written until the writer starts again.
void file_writer_session_now(const char* text, size_t len, bool durable, bool close);
// Asks for the cut of the play file at `path` to its newest lines within `keep` bytes. False when
// no writer runs (the caller cuts it itself).
bool file_writer_cut(const char* path, long keep);
// Waits until everything handed over is written (tests).
void file_writer_wait();
// How many records and cuts the calling thread has handed over (the perf test names its frames).
unsigned file_writer_handed();
