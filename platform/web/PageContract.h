#pragma once
// The game's side of the contract with the page: the functions the page's
// script gives the game, defined in platform/web/PageContract.js (an
// Emscripten JS library, where each one says what it does), and the mark for
// the functions the game gives the page (PW_PAGE_EXPORT, in
// app/web_main.cpp), which that library wraps for the page.
#include <emscripten/emscripten.h>

#include <cstdint>

// Kept and exported by the linker under its C name, for the page to call.
#define PW_PAGE_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE

extern "C" {
void pw_canvas_draw(int view, const uint8_t* rgba, int x, int y, int w, int h);
void pw_window_closed(int view);
void pw_focus_ring(int view, int left, int top, int right, int bottom);
void pw_display_size(int view, int width, int height);
void pw_told(const char* screen, int level, int soundOn, const char* set, int fresh);
void pw_page_say(const char* line);
void pw_page_asked(const char* what);
void pw_sound_preload(int id, const uint8_t* bytes, int size);
void pw_sound_play(int id);
int pw_storage_load(const char* name, char** text, int* length);
int pw_storage_save(const char* name, const char* text, int length);
int pw_history_add(const char* text, int length, int maxRows);
}
