// Telemetry records: the install id, JSON-line events and run lines appended to the outbox files.
// Lines are only queued with the player's consent (settings.share_stats); runs.jsonl is kept always.
#pragma once
#include <cstddef>
#include <cstdint>

extern const char* const game_version;
extern const char* const game_build;
extern const char* const game_platform;

constexpr int INSTALL_ID_MAX = 64;

// The most a play-statistics queue keeps on disk, in bytes: the sender writes back only the newest
// kept lines that fit, and an outbox that no send has taken over is cut back to its newest lines at
// the next start (or at once, off the frames, as it nears twice this size). Over two thousand
// typical events, or thirty of the largest.
constexpr long TELEMETRY_QUEUE_MAX = 512 * 1024;
// The most the local history runs.jsonl keeps, its newest lines: some six hundred runs of about
// 790 bytes, far more than anyone scrolls back through. Cut back the same way, it never grows past
// a MiB and starts each session within half of one.
constexpr long TELEMETRY_HISTORY_MAX = 512 * 1024;

extern int32_t event_lines_appended;
extern int32_t run_lines_appended;

bool telemetry_enabled();
// One event line of `kind` with the JSON object `data` into events_outbox.jsonl. The envelope's
// texts (the install id, the build and the kind) are escaped here; `data` is JSON already.
void event_append(const char* kind, const char* data);
// The same with the build field given (the crash event names the previous session's build).
void event_append_build(const char* kind, const char* data, const char* build);
// A run summary object: to runs.jsonl always, to runs_outbox.jsonl with consent.
void run_line_append(const char* run_object);
int32_t records_appended();
int32_t runs_appended();

const char* install_id();
// The first 8 characters upper-cased, for the options screen.
const char* install_id_display();
void install_id_set(const char* id);
// Forgets the cached id so the next install_id() reads the file again (tests, folder change).
void install_id_forget();

// Cuts the play file at `path` back to its newest whole lines within `keep` bytes (at most three
// quarters of TELEMETRY_QUEUE_MAX) while lines go on being appended: the play files' writer does,
// when a file nears twice its cap.
void telemetry_file_cut(const char* path, long keep);
// Cuts runs.jsonl and the outboxes that went past their caps back to their newest lines. Once at
// the start, before the sender runs, so the appends of play never wait on a rewrite.
void telemetry_files_trim();

// Deletes the outboxes and every file the sender holds: nothing already queued is posted after a "no".
void telemetry_discard_queued();

// printf-style append at *pos; the position never passes size - 1.
void buf_appendf(char* buf, size_t size, size_t* pos, const char* fmt, ...) __attribute__((format(printf, 4, 5)));
// The one JSON string escaper of every text queued: into a field of `size` bytes, controls as
// "\u00XX", quote and backslash after a backslash, well-formed UTF-8 as it is and any other byte as
// "\ufffd", so the result is valid JSON in UTF-8. A character is written only while 7 bytes remain.
void json_escape(char* out, size_t size, const char* text);
// True when the `len` bytes at `text` are one whole JSON object (white space around it allowed), as
// every queued line is: a line cut short is not. The bytes after `len` must not continue a UTF-8
// sequence (a line end or the terminator follows).
bool json_object_whole(const char* text, size_t len);

// How many times the queues were discarded: the sender holds lines it read while this count stood,
// and writes none of them back once it moved.
uint32_t telemetry_discards();

// Appends and the sender's hand-over of the outboxes take this lock, so no line lands in a taken file.
// The sender only renames and deletes under it; nothing is written or synced while it is held.
void outbox_lock();
void outbox_unlock();
// Takes the lock only when it is free (tests look whether the sender holds it).
bool outbox_try_lock();
