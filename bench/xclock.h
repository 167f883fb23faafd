/* The monotonic clock in milliseconds, and a sleep of so many, for the
   X measuring programs beside this file. */
#ifndef PW_BENCH_XCLOCK_H
#define PW_BENCH_XCLOCK_H
#include <time.h>

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static void Sleep(double ms) {
    struct timespec t = {(time_t)(ms / 1e3), (long)((ms - (double)(time_t)(ms / 1e3) * 1e3) * 1e6)};
    nanosleep(&t, NULL);
}

#endif
