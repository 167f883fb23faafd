// Every name the page keeps something under, defined once. (The player's
// settings are the game's own: it names their storage item itself.)

// The Web Lock held by the one tab that plays.
export const LOCK = "Marblequill/Pivotwarden";
// The mark (sessionStorage) a "Play here" reload leaves for itself.
export const PLAY_HERE = "Marblequill/Pivotwarden/play-here";
// The mark (localStorage) that How to play was shown once.
export const SHOWN_HOW = "Marblequill/Pivotwarden/shown-how";
// The results history: one record per row, keys only growing.
export const RESULTS = { database: "Marblequill/Pivotwarden", version: 1, store: "results" };
// The game's code.
export const GAME_CODE = "pivotwarden.wasm";
