/* Starts a program and prints the milliseconds from its start to the mapping
   of its first top-level window, as the X server reports it (MapNotify on the
   root window). The program is then asked to close and reaped.
   Usage: xmapwait PROGRAM [ARGS...] */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Milliseconds(const struct timespec* from, const struct timespec* to) {
    return (double)(to->tv_sec - from->tv_sec) * 1e3 + (double)(to->tv_nsec - from->tv_nsec) / 1e6;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: xmapwait PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "xmapwait: cannot open display\n");
        return 1;
    }
    /* Listen before the program starts, so that no map can be missed. */
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    struct timespec start, mapped;
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    if (child < 0) return 1;
    /* A program that never maps a window must not hang the measurement. */
    alarm(20);
    int found = 0;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            clock_gettime(CLOCK_MONOTONIC, &mapped);
            found = 1;
            break;
        }
    }
    if (found) printf("%.1f\n", Milliseconds(&start, &mapped));
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    XCloseDisplay(display);
    return found ? 0 : 1;
}
