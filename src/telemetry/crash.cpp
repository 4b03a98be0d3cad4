// The crash handler: on a fatal signal it appends "exception 0x<signal> at +0x<offset>" to crash.txt
// (or "at 0x<address>" when the fault lies outside the program, in a library or nowhere), then lets
// the signal kill the process as it would have. Installed once by the shell at start-up.
// Everything the handler needs is prepared beforehand; it formats with its own code and writes
// with write(2), as only async-signal-safe calls may run there.
#include <link.h>
#include <signal.h>
#include <sys/stat.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "saves/file_io.h"
#include "saves/save_path.h"
#include "telemetry/session.h"

namespace {
constexpr int FATAL_SIGNALS[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr size_t ALT_STACK_SIZE = 64 * 1024;

char crash_path[SAVE_PATH_CAP];
volatile int crash_fd = -1;
uintptr_t load_base = 0;
// The program's own mapped segments: only an address in [program_start, program_end) is shown as an
// offset from the load base, which means nothing for any other.
uintptr_t program_start = 0, program_end = 0;
alignas(16) char alt_stack[ALT_STACK_SIZE];

int first_object_range(dl_phdr_info* info, size_t, void*) {
    load_base = (uintptr_t)info->dlpi_addr;
    uintptr_t lo = UINTPTR_MAX, hi = 0;
    for (int i = 0; i < info->dlpi_phnum; i++) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD) continue;
        if (ph.p_vaddr < lo) lo = ph.p_vaddr;
        if (ph.p_vaddr + ph.p_memsz > hi) hi = ph.p_vaddr + ph.p_memsz;
    }
    if (lo < hi) {
        program_start = load_base + lo;
        program_end = load_base + hi;
    }
    return 1;  // the first object is the executable itself
}

// Appends `digits` hexadecimal digits of v (at least one, leading zeros when digits > 0).
size_t put_hex(char* out, uint64_t v, int digits) {
    char tmp[16];
    int n = 0;
    do {
        tmp[n++] = "0123456789abcdef"[v & 15];
        v >>= 4;
    } while (v && n < 16);
    while (n < digits) tmp[n++] = '0';
    for (int i = 0; i < n; i++) out[i] = tmp[n - 1 - i];
    return (size_t)n;
}

size_t put_text(char* out, const char* s) {
    size_t n = 0;
    while (s[n]) {
        out[n] = s[n];
        n++;
    }
    return n;
}

uintptr_t fault_pc(siginfo_t* info, void* context) {
#if defined(__x86_64__)
    if (context) return (uintptr_t)((ucontext_t*)context)->uc_mcontext.gregs[REG_RIP];
#elif defined(__aarch64__)
    if (context) return (uintptr_t)((ucontext_t*)context)->uc_mcontext.pc;
#endif
    return (uintptr_t)info->si_addr;
}

void crash_handler(int sig, siginfo_t* info, void* context) {
    if (crash_fd >= 0) {
        char line[64];
        size_t n = put_text(line, "exception 0x");
        n += put_hex(line + n, (uint64_t)(unsigned)sig, 8);
        const uintptr_t pc = fault_pc(info, context);
        if (pc >= program_start && pc < program_end) {
            n += put_text(line + n, " at +0x");
            n += put_hex(line + n, (uint64_t)(pc - load_base), 0);
        } else {
            n += put_text(line + n, " at 0x");
            n += put_hex(line + n, (uint64_t)pc, 0);
        }
        line[n++] = '\n';
        (void)!write(crash_fd, line, n);
    }
    struct sigaction dfl = {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    raise(sig);
}
}  // namespace

void crash_log_reopen() {
    if (crash_path[0] == 0) return;
    int old = crash_fd;
    // Only a regular file, opened without blocking and never through a link: a FIFO in its place
    // must not hang start-up, nor a link lead the crash lines to a file outside the data folder.
    crash_fd = file_open_regular_fd(crash_path, "ab");
    if (old >= 0) close(old);
}

void crash_log_release() {
    if (crash_fd < 0) return;
    struct stat st;
    if (fstat(crash_fd, &st) == 0 && st.st_size == 0) unlink(crash_path);
    close(crash_fd);
    crash_fd = -1;
}

void crash_filter_install() {
    save_path_into(crash_path, sizeof crash_path, "crash.txt");
    crash_log_reopen();
    dl_iterate_phdr(first_object_range, nullptr);
#if defined(__SANITIZE_ADDRESS__)
    return;  // the sanitizer's own report of a crash says more than this line
#endif

    stack_t ss = {};
    ss.ss_sp = alt_stack;
    ss.ss_size = sizeof alt_stack;
    sigaltstack(&ss, nullptr);
    struct sigaction sa = {};
    sa.sa_sigaction = crash_handler;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    for (int sig : FATAL_SIGNALS) sigaction(sig, &sa, nullptr);
}
