// The background sender that posts the telemetry outboxes, one request per line; the shell starts
// it and the frame loop pumps it once per step.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

// The collection service; its host is under the reserved ".invalid" domain until a real service
// exists, so every post fails to resolve and the lines stay queued.
extern const char* const TELEMETRY_BASE_URL;
// Files above this size are dropped unsent: something went wrong to make them.
constexpr long SENDER_FILE_MAX = 0x400000;
// A send that kept lines is retried after this long even when nothing new was queued.
constexpr uint32_t SENDER_RETRY_MS = 300000;

// Posts one JSON line to the collection service's path; the HTTP status, 0 when there was no answer.
int http_post(const char* path, const char* body, size_t length);
// The same against another base ("http://127.0.0.1:8080"): the real request, for tests on a local listener.
int http_post_url(const char* base, const char* path, const char* body, size_t length);
// Sets up the HTTP library once, on the main thread before any sender runs.
void http_global_init();
// What the sender posts through; tests put a fake here.
extern int (*sender_post)(const char* path, const char* body, size_t length);
// What the sender syncs its kept lines to disk through before they replace the sending file; tests
// put a fake here.
extern int (*sender_sync)(int fd);

extern int32_t sender_last_count;
extern uint32_t sender_last_start_ms;
extern std::atomic<uint8_t> sender_kept_lines;
extern std::atomic<int> sender_busy;

void telemetry_start();
// Once per step: starts a send when new records are waiting, or to retry kept lines.
void telemetry_pump();
// The pump at a given time in milliseconds (telemetry_pump reads the clock).
void telemetry_pump_at(uint32_t now_ms);
// Sends both queues on the calling thread; the thread's body without the busy flag.
void telemetry_send_queues();
// Fills the queues' paths from the save folder (telemetry_start does; tests after changing it).
void telemetry_queue_paths();
