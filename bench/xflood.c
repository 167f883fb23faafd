/* Floods a program's window with synthetic X events (XSendEvent) and prints
   two figures in ms: how long the program takes to absorb a burst, and how
   long SIGTERM takes to end it while a second burst is being absorbed.

   The program is started here; once its first top-level window is mapped,
   it is clicked in the middle (the game's title gives way to the game) and
   given 1.5 s to settle; then COUNT events are sent to that window at once,
   followed by the key F11. The burst counts as absorbed when the window
   changes size: the game has then handled its full-screen key, and with it
   every event before it. Then a second burst is sent, the
   program is given 100 ms to be busy with it, SIGTERM is sent and the time
   to its exit is measured. A program still running after 120 s is killed.

   KIND is "motion" (pointer moves with the primary button held, as in a
   drag: the stylus's moves), "keys" (key presses and releases of one key) or
   "mixed" (moves, presses and releases of the primary button, keys).

   Usage: xflood COUNT KIND PROGRAM [ARGS...]
   Prints: absorbed-ms sigterm-ms */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "xclock.h"


static void Button(Display* display, Window window, int type, int x, int y) {
    XEvent e;
    memset(&e, 0, sizeof e);
    e.type = type;
    e.xbutton.window = window;
    e.xbutton.root = DefaultRootWindow(display);
    e.xbutton.x = e.xbutton.x_root = x;
    e.xbutton.y = e.xbutton.y_root = y;
    e.xbutton.same_screen = True;
    e.xbutton.button = Button1;
    e.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
    XSendEvent(display, window, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
}

static void Send(Display* display, Window window, int width, int height, int count, const char* kind) {
    const KeyCode key = XKeysymToKeycode(display, XK_Right);
    if (strcmp(kind, "xtest") == 0) {
        /* The server's own pointer, moved over the window by XTest. */
        int left = 0, top = 0;
        Window child;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &left, &top, &child);
        XTestFakeMotionEvent(display, -1, left + width / 8, top + height * 92 / 100, CurrentTime);
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        for (int i = 0; i < count; ++i)
            XTestFakeMotionEvent(display, -1, left + i % width, top + (i / width * 7) % height, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
        return;
    }
    /* Moves are a drag: they start with a press near the bottom left corner,
       on the game's first tray weight. */
    if (strcmp(kind, "motion") == 0) Button(display, window, ButtonPress, width / 8, height * 92 / 100);
    for (int i = 0; i < count; ++i) {
        XEvent e;
        memset(&e, 0, sizeof e);
        const int step = strcmp(kind, "motion") == 0 ? 0 : strcmp(kind, "keys") == 0 ? 3 + i % 2 : i % 5;
        const int x = i % width, y = (i / width * 7) % height;
        if (step == 1 || step == 2) {
            Button(display, window, step == 1 ? ButtonPress : ButtonRelease, x, y);
            continue;
        }
        if (step == 0) {
            e.type = MotionNotify;
            e.xmotion.window = window;
            e.xmotion.root = DefaultRootWindow(display);
            e.xmotion.x = e.xmotion.x_root = x;
            e.xmotion.y = e.xmotion.y_root = y;
            e.xmotion.same_screen = True;
            e.xmotion.state = Button1Mask;
            e.xmotion.is_hint = NotifyNormal;
        } else {
            e.type = step == 3 ? KeyPress : KeyRelease;
            e.xkey.window = window;
            e.xkey.root = DefaultRootWindow(display);
            e.xkey.keycode = key;
            e.xkey.same_screen = True;
        }
        const long mask = e.type == MotionNotify ? PointerMotionMask : e.type == KeyPress ? KeyPressMask : KeyReleaseMask;
        XSendEvent(display, window, False, mask, &e);
    }
    XFlush(display);
}

static void Key(Display* display, Window window, KeySym symbol) {
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xkey.window = window;
    e.xkey.root = DefaultRootWindow(display);
    e.xkey.keycode = XKeysymToKeycode(display, symbol);
    e.xkey.same_screen = True;
    e.type = KeyPress;
    XSendEvent(display, window, False, KeyPressMask, &e);
    e.type = KeyRelease;
    XSendEvent(display, window, False, KeyReleaseMask, &e);
    XFlush(display);
}

/* Waits for the window to change size (the game's F11, sent after the
   burst, has been handled, and so has everything before it); the time it
   did, or a negative number when it did not within limitMs. */
static double WaitResized(Display* display, Window window, double since, double limitMs) {
    while (Now() - since < limitMs) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ConfigureNotify && event.xconfigure.window == window) return Now();
        }
        Sleep(1);
    }
    return -1;
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: xflood COUNT motion|keys|mixed PROGRAM [ARGS...]\n");
        return 2;
    }
    const int count = atoi(argv[1]);
    const char* kind = argv[2];
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "xflood: cannot open display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    if (child < 0) return 1;
    Window window = 0;
    const double started = Now();
    while (window == 0 && Now() - started < 20000) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify) window = event.xmap.window;
        }
        if (window == 0) Sleep(5);
    }
    if (window == 0) {
        fprintf(stderr, "xflood: no window mapped\n");
        kill(child, SIGKILL);
        waitpid(child, NULL, 0);
        return 1;
    }
    XWindowAttributes shape;
    XGetWindowAttributes(display, window, &shape);
    /* A click in the middle: the game's title gives way to the game. */
    Button(display, window, ButtonPress, shape.width / 2, shape.height / 2);
    Button(display, window, ButtonRelease, shape.width / 2, shape.height / 2);
    XFlush(display);
    Sleep(1500);

    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
    double sent = Now();
    Send(display, window, shape.width, shape.height, count, kind);
    Key(display, window, XK_F11);
    const double resized = WaitResized(display, window, sent, 120000);
    const double absorbed = resized < 0 ? -1 : resized - sent;
    /* Back to the window's own size, so that the exit measured below is
       the same as after a burst in a window. */
    if (resized >= 0) {
        Key(display, window, XK_F11);
        WaitResized(display, window, Now(), 120000);
        Sleep(500);
    }

    Send(display, window, shape.width, shape.height, count, kind);
    Sleep(100);
    sent = Now();
    kill(child, SIGTERM);
    double ended = -1;
    while (Now() - sent < 120000) {
        if (waitpid(child, NULL, WNOHANG) == child) {
            ended = Now() - sent;
            break;
        }
        Sleep(1);
    }
    if (ended < 0) {
        kill(child, SIGKILL);
        waitpid(child, NULL, 0);
    }
    printf("%.0f %.0f\n", absorbed, ended);
    XCloseDisplay(display);
    return absorbed >= 0 && ended >= 0 ? 0 : 1;
}
