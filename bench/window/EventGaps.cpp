// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into the window program by WindowPassBench: records how long the
// program goes without processing events. Every pass of the event loop polls its
// descriptors (glib's or Qt's own dispatcher: poll or ppoll), so the gaps between
// two polls are the stretches in which the window can neither repaint nor take a
// click. Counting starts at the first opened .mp3 file (the first file of the
// matching pass), or, when that file is opened before the program has processed
// any events (read ahead while the window is made, with no window yet to answer),
// at the first poll after it, where the pass begins. At exit the longest gap, the
// polls counted and the stretch from the last poll to the exit are written to the
// file named by VERSEMARK_EVENT_GAPS.
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr char kOutputVariable[] = "VERSEMARK_EVENT_GAPS";
constexpr char kMp3Extension[] = ".mp3";

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The files are opened on a thread of their own, the polls made on the window's.
std::atomic<bool> polledOnce{false};
std::atomic<bool> opened{false};
std::atomic<bool> counting{false};
double last = 0;
double longest = 0;
long polls = 0;

void Polled() {
    polledOnce = true;
    if (!counting) {
        if (opened) {
            last = NowMs();
            counting = true;
        }
        return;
    }
    const double now = NowMs();
    if (now - last > longest) {
        longest = now - last;
    }
    last = now;
    ++polls;
}

void Opened(const char* path) {
    if (opened || path == nullptr) {
        return;
    }
    const std::size_t length = std::strlen(path);
    const std::size_t extension = sizeof kMp3Extension - 1;
    if (length >= extension && strcasecmp(path + length - extension, kMp3Extension) == 0) {
        if (polledOnce) {
            last = NowMs();
            counting = true;
        }
        opened = true;
    }
}

template <typename F>
F Next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

__attribute__((destructor)) void WriteGaps() {
    const char* file = std::getenv(kOutputVariable);
    if (file == nullptr) {
        return;
    }
    if (FILE* out = std::fopen(file, "w")) {
        std::fprintf(out, "%.3f %ld %.3f\n", longest, polls, counting ? NowMs() - last : 0.0);
        std::fclose(out);
    }
}

}  // namespace

extern "C" {

int poll(pollfd* fds, nfds_t count, int timeout) {
    static const auto real = Next<int (*)(pollfd*, nfds_t, int)>("poll");
    Polled();
    return real(fds, count, timeout);
}

int ppoll(pollfd* fds, nfds_t count, const timespec* timeout, const sigset_t* mask) {
    static const auto real =
        Next<int (*)(pollfd*, nfds_t, const timespec*, const sigset_t*)>("ppoll");
    Polled();
    return real(fds, count, timeout, mask);
}

// The mode argument is there only when a file may be created.
#define VERSEMARK_MODE_ARGUMENT(flags)                                \
    mode_t mode = 0;                                                  \
    if (((flags)&O_CREAT) != 0 || ((flags)&O_TMPFILE) == O_TMPFILE) { \
        va_list arguments;                                            \
        va_start(arguments, flags);                                   \
        mode = static_cast<mode_t>(va_arg(arguments, int));           \
        va_end(arguments);                                            \
    }

int open(const char* path, int flags, ...) {
    static const auto real = Next<int (*)(const char*, int, ...)>("open");
    Opened(path);
    VERSEMARK_MODE_ARGUMENT(flags)
    return real(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    static const auto real = Next<int (*)(const char*, int, ...)>("open64");
    Opened(path);
    VERSEMARK_MODE_ARGUMENT(flags)
    return real(path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...) {
    static const auto real = Next<int (*)(int, const char*, int, ...)>("openat");
    Opened(path);
    VERSEMARK_MODE_ARGUMENT(flags)
    return real(folder, path, flags, mode);
}

int openat64(int folder, const char* path, int flags, ...) {
    static const auto real = Next<int (*)(int, const char*, int, ...)>("openat64");
    Opened(path);
    VERSEMARK_MODE_ARGUMENT(flags)
    return real(folder, path, flags, mode);
}

}  // extern "C"
