// startup_probe SETTLE_MS PROGRAM: starts PROGRAM on the X display, waits until it maps its
// first top-level window, lets it run SETTLE_MS longer (its first paint), ends it and prints
//   startup_ms=<process start to first window mapped> peak_kb=<peak resident memory>
// Measuring from outside keeps the program itself free of any benchmark hook.
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

double now_ms()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_probe SETTLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int settle_ms = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: no X display\n");
        return 2;
    }
    // Without a window manager every top-level window is a child of the root window.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }

    double mapped = -1;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (mapped < 0 && now_ms() - start < 30000) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                mapped = now_ms();
                break;
            }
        }
        if (mapped < 0)
            poll(&fd, 1, 100);
    }
    usleep(static_cast<useconds_t>(settle_ms) * 1000);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    XCloseDisplay(display);
    if (mapped < 0) {
        std::fprintf(stderr, "startup_probe: %s showed no window\n", argv[2]);
        return 1;
    }
    std::printf("startup_ms=%.1f peak_kb=%ld\n", mapped - start, usage.ru_maxrss);
    return 0;
}
