/* Click to changed pixel: how long after the server's pointer is released
   over a window the window's pixels under it change. The program is started
   here; once its first top-level window is mapped and has settled, each
   PREP point (window pixels) is clicked in turn, 700 ms apart (for the game:
   its title, then its options button), and then ROUNDS clicks are made at
   X,Y, each after a pause of 100 to 199 ms so that the clicks fall at every
   phase of a program's repaint timer. After each release the 16 x 16 pixels
   around X,Y are read until they differ from before the click.

   Usage: xclick ROUNDS X,Y [PREP-X,PREP-Y...] -- PROGRAM [ARGS...]
   Prints: median-ms p90-ms max-ms (a click that changed nothing in 1 s
   counts as 1000 ms). */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "xclock.h"

enum { kProbe = 16, kMaxRounds = 1000 };


/* The pixels of the probe square, as one sum that any change alters in
   practice (each pixel weighted by its place). */
static unsigned long long Probe(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x - kProbe / 2, y - kProbe / 2, kProbe, kProbe, AllPlanes, ZPixmap);
    if (image == NULL) return 0;
    unsigned long long sum = 0;
    for (int j = 0; j < kProbe; ++j)
        for (int i = 0; i < kProbe; ++i) sum = sum * 1000003ull + XGetPixel(image, i, j);
    XDestroyImage(image);
    return sum;
}

static void Click(Display* display, Window window, int x, int y, int release) {
    int left = 0, top = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &left, &top, &child);
    XTestFakeMotionEvent(display, -1, left, top, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    if (release) XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
}

static int Compare(const void* a, const void* b) {
    const double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

static Window WaitMapped(Display* display) {
    const double started = Now();
    while (Now() - started < 20000) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify) return event.xmap.window;
        }
        Sleep(5);
    }
    return 0;
}

int main(int argc, char** argv) {
    int dashes = 1;
    while (dashes < argc && strcmp(argv[dashes], "--") != 0) ++dashes;
    if (argc < 5 || dashes >= argc - 1 || dashes < 3) {
        fprintf(stderr, "usage: xclick ROUNDS X,Y [PREP-X,PREP-Y...] -- PROGRAM [ARGS...]\n");
        return 2;
    }
    int rounds = atoi(argv[1]);
    if (rounds < 1 || rounds > kMaxRounds) rounds = kMaxRounds;
    int x = 0, y = 0;
    if (sscanf(argv[2], "%d,%d", &x, &y) != 2) return 2;
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "xclick: cannot open display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[dashes + 1], argv + dashes + 1);
        _exit(127);
    }
    if (child < 0) return 1;
    Window window = WaitMapped(display);
    int status = 1;
    static double took[kMaxRounds];
    if (window == 0) {
        fprintf(stderr, "xclick: no window mapped\n");
        goto end;
    }
    Sleep(1000);
    for (int i = 3; i < dashes; ++i) {
        int px = 0, py = 0;
        if (sscanf(argv[i], "%d,%d", &px, &py) == 2) Click(display, window, px, py, 1);
        Sleep(700);
    }
    srand(7);
    for (int r = 0; r < rounds; ++r) {
        Sleep(100 + rand() % 100);
        Click(display, window, x, y, 0);
        Sleep(30); /* the press's own change (a button drawn down) settles */
        const unsigned long long before = Probe(display, window, x, y);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
        const double released = Now();
        took[r] = 1000;
        while (Now() - released < 1000) {
            if (Probe(display, window, x, y) != before) {
                took[r] = Now() - released;
                break;
            }
            Sleep(0.2);
        }
    }
    qsort(took, (size_t)rounds, sizeof took[0], Compare);
    printf("%.1f %.1f %.1f\n", took[rounds / 2], took[rounds * 9 / 10], took[rounds - 1]);
    status = 0;
end:
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    XCloseDisplay(display);
    return status;
}
