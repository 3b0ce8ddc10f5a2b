// map_timer [--settle MS] PROGRAM [ARGUMENTS...]: starts PROGRAM on the X display in DISPLAY and
// prints, on one line, the milliseconds from the start to the first top-level window being
// mapped, the program's peak resident memory in KiB, and the processor time it used in
// milliseconds (user and system, the settling time included). The program is stopped once its window
// has been mapped for --settle milliseconds (default 500), so that its first painting counts too.
// Needs a display without a window manager (Xvfb), where top-level windows are the root's children.
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Waits for a MapNotify on the root window; false when the child ended or time ran out.
bool waitForMap(Display *display, pid_t child, double deadline)
{
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (nowMs() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify)
                return true;
        }
        if (waitpid(child, nullptr, WNOHANG) == child)
            return false;
        poll(&connection, 1, 10);
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    int first = 1;
    int settleMs = 500;
    if (argc > 2 && std::strcmp(argv[1], "--settle") == 0) {
        settleMs = std::atoi(argv[2]);
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: map_timer [--settle MS] PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_timer: cannot open the display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        std::perror("map_timer: exec");
        _exit(127);
    }
    const bool mapped = waitForMap(display, child, start + 30000);
    const double mappedAfter = nowMs() - start;
    if (mapped)
        usleep(useconds_t(settleMs) * 1000);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!mapped) {
        std::fprintf(stderr, "map_timer: %s mapped no window\n", argv[first]);
        return 1;
    }
    const double cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    std::printf("%.1f %ld %.1f\n", mappedAfter, usage.ru_maxrss, cpuMs);
    return 0;
}
