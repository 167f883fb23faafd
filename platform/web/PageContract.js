// The contract between the page and the game, whole: an Emscripten JS library
// (linked with --js-library by cmake/Web.cmake). Every function that
// crosses between them is here with its C prototype.
//
// The page to the game: Module.game, made below from the functions the C++
// marks PW_PAGE_EXPORT (app/web_main.cpp). Text goes through the heap with
// its length, never through the stack, and a NUL byte stays part of it.
//
// The game to the page: the functions after it, declared for the C++ in
// platform/web/PageContract.h. Each calls the handler of the same purpose on
// Module.page, the object the page hands to the factory:
//   draw(view, rgba, x, y, w, h)  closed(view)  ring(view, l, t, r, b)
//   displaySize(view, w, h)  told({ screen, level, sound, set, fresh })
//   say(line)  asked(what)  sounds.preload(id, bytes)  sounds.play(id)
//   mayStore() -> bool  addResults(rows, maxRows) -> bool
// Views: 0 the player's game (or a set the player plays), 1 How to play's,
// 2 the last replay's picture.
mergeInto(LibraryManager.library, {
  $pwGame__deps: ["malloc", "free"],
  $pwGame__postset: "Module['game'] = pwGame;",
  $pwGame: {
    // Calls call(pointer, length) with text's UTF-8 bytes on the heap.
    withText: function (text, call) {
      var size = lengthBytesUTF8(text) + 1;
      var copy = _malloc(size);
      if (!copy) throw new Error("out of memory");
      stringToUTF8(text, copy, size);
      try {
        return call(copy, size - 1);
      } finally {
        _free(copy);
      }
    },
    // void pw_play(int seeded, uint32_t seed): the player's game, seeded
    // from the date and time unless seed is a number.
    play: function (seed) {
      _pw_play(seed === null ? 0 : 1, seed === null ? 0 : seed);
    },
    // int pw_play_set(const char* text, int length): a puzzle set on
    // settings of its own; false, with nothing started, for text that is no set.
    playSet: function (text) {
      return pwGame.withText(text, function (copy, length) { return _pw_play_set(copy, length) === 1; });
    },
    // void pw_post(int view, int type, int x, int y, int primaryOnly): a
    // message for view 0 or 1: 0 press, 1 move, 2 release, 3 paint.
    post: function (view, type, x, y, primaryOnly) {
      _pw_post(view, type, x, y, primaryOnly ? 1 : 0);
    },
    // int pw_key(const char* code, int length, int shift, int repeat, int
    // paintFirst): 1 taken, 2 the game's but not repeated, 0 not the game's.
    key: function (code, shift, repeat, paintFirst) {
      return pwGame.withText(code, function (copy, length) {
        return _pw_key(copy, length, shift ? 1 : 0, repeat ? 1 : 0, paintFirst ? 1 : 0);
      });
    },
    // void pw_enter(int backward): the page's focus comes back to the game
    // by Tab (by Shift+Tab with backward).
    enter: function (backward) {
      _pw_enter(backward ? 1 : 0);
    },
    // void pw_describe(int on): the page's live region listens, or no longer.
    describe: function (on) {
      _pw_describe(on ? 1 : 0);
    },
    // const char* pw_dump(void): the player's game as --dump writes it;
    // null before it starts.
    dump: function () {
      var text = UTF8ToString(_pw_dump());
      return text === "" ? null : text;
    },
    // int pw_replay(const char* text, int length), const char*
    // pw_replay_text(void): { played, text }, the dump or why it is no replay.
    replay: function (text) {
      var played = pwGame.withText(text, function (copy, length) { return _pw_replay(copy, length) === 1; });
      return { played: played, text: UTF8ToString(_pw_replay_text()) };
    },
    // void pw_replay_show(void): the last replay's picture, as view 2.
    showReplay: function () {
      _pw_replay_show();
    },
    // int pw_show(const char* text, int length): How to play's game from a
    // recording's start; void pw_show_end(void) ends it.
    show: function (text) {
      return pwGame.withText(text, function (copy, length) { return _pw_show(copy, length) === 1; });
    },
    showEnd: function () {
      _pw_show_end();
    },
    // const char* pw_progress_page(const char* text, int length), after
    // const char* pw_results_header(void), then const char*
    // pw_progress_csv(void) and int pw_progress_skipped(void): the progress
    // view drawn from the stored rows ("" when they are no history), the
    // history of the rows drawn, and how many were left out (one that is no
    // text line cannot even be handed over).
    progressPage: function (rows) {
      var lines = rows.filter(function (row) { return typeof row === "string" && !/[\r\n]/.test(row); });
      var text = UTF8ToString(_pw_results_header()) + lines.map(function (row) { return row + "\n"; }).join("");
      var html = pwGame.withText(text, function (copy, length) { return UTF8ToString(_pw_progress_page(copy, length)); });
      return { html: html, csv: UTF8ToString(_pw_progress_csv()),
        skipped: rows.length - lines.length + _pw_progress_skipped() };
    },
  },

  // void pw_canvas_draw(int view, const uint8_t* rgba, int x, int y, int w, int h)
  pw_canvas_draw__deps: ["$pwGame"],
  pw_canvas_draw: function (view, rgba, x, y, w, h) {
    Module.page.draw(view, HEAPU8.subarray(rgba, rgba + w * h * 4), x, y, w, h);
  },
  // void pw_window_closed(int view)
  pw_window_closed: function (view) {
    Module.page.closed(view);
  },
  // void pw_focus_ring(int view, int left, int top, int right, int bottom)
  pw_focus_ring: function (view, left, top, right, bottom) {
    Module.page.ring(view, left, top, right, bottom);
  },
  // void pw_display_size(int view, int width, int height)
  pw_display_size: function (view, width, height) {
    Module.page.displaySize(view, width, height);
  },
  // void pw_told(const char* screen, int level, int soundOn, const char* set, int fresh):
  // what the page shows of the player's game, told whenever it changes:
  // "title" or "game", the stored level and sound, the set's name ("" for
  // the player's own game) and whether the player had no settings stored.
  pw_told: function (screen, level, soundOn, set, fresh) {
    Module.page.told({ screen: UTF8ToString(screen), level: level, sound: soundOn !== 0, set: UTF8ToString(set),
      fresh: fresh !== 0 });
  },
  // void pw_page_say(const char* line): a spoken description.
  pw_page_say: function (line) {
    Module.page.say(UTF8ToString(line));
  },
  // void pw_page_asked(const char* what): the player asked the page for
  // "help" (F1) or "progress" (P), or Tab leaves the game for the page's
  // controls "after" the last weight or (Shift+Tab) "before" the first.
  pw_page_asked: function (what) {
    Module.page.asked(UTF8ToString(what));
  },
  // void pw_sound_preload(int id, const uint8_t* bytes, int size)
  pw_sound_preload: function (id, bytes, size) {
    Module.page.sounds.preload(id, HEAPU8.slice(bytes, bytes + size).buffer);
  },
  // void pw_sound_play(int id)
  pw_sound_play: function (id) {
    Module.page.sounds.play(id);
  },
  // int pw_storage_load(const char* name, char** text, int* length): 0 no
  // item, 1 the item's UTF-8 text (malloc'd) and its length in bytes, 2
  // storage that cannot be read.
  pw_storage_load__deps: ["malloc"],
  pw_storage_load: function (name, text, length) {
    var value;
    try {
      value = window.localStorage.getItem(UTF8ToString(name));
    } catch (e) {
      return 2;
    }
    if (value === null) return 0;
    // TextEncoder turns a lone surrogate into U+FFFD; stringToUTF8 would
    // take the character after it as its other half and lose it.
    var bytes = new TextEncoder().encode(value);
    var copy = _malloc(bytes.length + 1);
    if (!copy) return 2;
    HEAPU8.set(bytes, copy);
    HEAPU8[copy + bytes.length] = 0;
    HEAP32[text >> 2] = copy;
    HEAP32[length >> 2] = bytes.length;
    return 1;
  },
  // int pw_storage_save(const char* name, const char* text, int length): 1
  // stored; 0 when storage is full or blocked, or this tab may not write
  // (another tab plays the game).
  pw_storage_save: function (name, text, length) {
    if (!Module.page.mayStore()) return 0;
    try {
      window.localStorage.setItem(UTF8ToString(name), UTF8ToString(text, length));
    } catch (e) {
      return 0;
    }
    return 1;
  },
  // int pw_history_add(const char* text, int length, int maxRows): queues
  // the rows (whole lines) for the results history, the newest maxRows
  // kept; 0 when this tab may not write or the browser has no IndexedDB.
  pw_history_add: function (text, length, maxRows) {
    var rows = UTF8ToString(text, length).split("\n");
    rows.pop();
    return Module.page.addResults(rows, maxRows) ? 1 : 0;
  },
});
