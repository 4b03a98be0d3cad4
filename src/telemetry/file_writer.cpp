// The play files' writer thread. It shares with the game thread only the jobs below, under one
// mutex that is never held while a file is written, save by a record written "now" (the start, a
// move to the background, the end), which must not be passed by one handed over before it. The
// mutex and the condition are never destroyed, so a thread still waiting at exit holds nothing up.
#include "telemetry/file_writer.h"

#include <pthread.h>

#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>

#include "saves/file_io.h"
#include "saves/save_path.h"
#include "telemetry/events.h"
#include "telemetry/session.h"

namespace {
// One cut waiting per capped play file (the history and the two outboxes), and a spare.
constexpr int CUTS_MAX = 4;

struct CutJob {
    char path[SAVE_PATH_CAP];
    long keep;
};

pthread_mutex_t writer_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_cond_t writer_changed = PTHREAD_COND_INITIALIZER;

// All under writer_mutex.
struct WriterJobs {
    bool running, quit, closed;
    bool session_pending, session_writing;
    char session_path[SAVE_PATH_CAP];
    char session_text[SESSION_FILE_MAX];
    size_t session_len;
    CutJob cuts[CUTS_MAX];
    int cut_count;
    char cutting[SAVE_PATH_CAP];  // the file being cut, empty when none
};

WriterJobs writer;
thread_local unsigned handed = 0;

bool writer_idle() {
    return !writer.session_pending && !writer.session_writing && writer.cut_count == 0 && !writer.cutting[0];
}

void writer_wait() { pthread_cond_wait(&writer_changed, &writer_mutex); }
void writer_tell() { pthread_cond_broadcast(&writer_changed); }

void writer_body() {
    char path[SAVE_PATH_CAP];
    char text[SESSION_FILE_MAX];
    pthread_mutex_lock(&writer_mutex);
    for (;;) {
        while (!writer.quit && !writer.session_pending && writer.cut_count == 0) writer_wait();
        if (writer.cut_count > 0) {
            const CutJob cut = writer.cuts[--writer.cut_count];
            std::memcpy(writer.cutting, cut.path, sizeof writer.cutting);
            pthread_mutex_unlock(&writer_mutex);
            telemetry_file_cut(cut.path, cut.keep);
            pthread_mutex_lock(&writer_mutex);
            writer.cutting[0] = 0;
        } else if (writer.session_pending) {
            std::memcpy(path, writer.session_path, sizeof path);
            const size_t len = writer.session_len;
            std::memcpy(text, writer.session_text, len);
            writer.session_pending = false;
            writer.session_writing = true;
            pthread_mutex_unlock(&writer_mutex);
            // Rewritten often: never synced.
            file_write_atomic(path, (const uint8_t*)text, len, LINKS_REFUSED, false);
            pthread_mutex_lock(&writer_mutex);
            writer.session_writing = false;
        } else {
            break;  // told to end, with nothing left
        }
        writer_tell();
    }
    writer.running = false;
    writer_tell();
    pthread_mutex_unlock(&writer_mutex);
}
}  // namespace

void file_writer_start() {
    pthread_mutex_lock(&writer_mutex);
    writer.closed = false;
    if (!writer.running) {
        writer.quit = false;
        try {
            std::thread t(writer_body);
            pthread_setname_np(t.native_handle(), "qm-files");
            t.detach();
            writer.running = true;
        } catch (const std::system_error&) {
            // No thread: the work is done on the calling thread.
        }
    }
    pthread_mutex_unlock(&writer_mutex);
}

void file_writer_stop() {
    pthread_mutex_lock(&writer_mutex);
    writer.quit = true;
    writer.session_pending = false;
    writer_tell();
    while (writer.running) writer_wait();
    pthread_mutex_unlock(&writer_mutex);
}

void file_writer_session(const char* text, size_t len) {
    if (len > sizeof writer.session_text) return;
    pthread_mutex_lock(&writer_mutex);
    const bool closed = writer.closed, running = writer.running;
    if (running && !closed) {
        save_path_into(writer.session_path, sizeof writer.session_path, "session.txt");
        std::memcpy(writer.session_text, text, len);
        writer.session_len = len;
        writer.session_pending = true;
        handed++;
        writer_tell();
    }
    pthread_mutex_unlock(&writer_mutex);
    if (!running && !closed)
        file_write_atomic(save_path("session.txt"), (const uint8_t*)text, len, LINKS_REFUSED, false);
}

void file_writer_session_now(const char* text, size_t len, bool durable, bool close) {
    pthread_mutex_lock(&writer_mutex);
    writer.session_pending = false;
    while (writer.session_writing) writer_wait();
    if (close) writer.closed = true;
    file_write_atomic(save_path("session.txt"), (const uint8_t*)text, len, LINKS_REFUSED, durable);
    pthread_mutex_unlock(&writer_mutex);
}

bool file_writer_cut(const char* path, long keep) {
    pthread_mutex_lock(&writer_mutex);
    bool asked = writer.running && std::strcmp(writer.cutting, path) == 0;
    for (int i = 0; i < writer.cut_count && !asked; i++) asked = std::strcmp(writer.cuts[i].path, path) == 0;
    const bool room = writer.running && writer.cut_count < CUTS_MAX;
    if (!asked && room) {
        CutJob& cut = writer.cuts[writer.cut_count++];
        std::snprintf(cut.path, sizeof cut.path, "%s", path);
        cut.keep = keep;
        handed++;
        writer_tell();
    }
    pthread_mutex_unlock(&writer_mutex);
    return asked || room;
}

void file_writer_wait() {
    pthread_mutex_lock(&writer_mutex);
    while (writer.running && !writer_idle()) writer_wait();
    pthread_mutex_unlock(&writer_mutex);
}

unsigned file_writer_handed() { return handed; }
