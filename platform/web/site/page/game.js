// The game in the page: the one WebAssembly instance, in which the player's
// game, How to play's and the replays are games of their own. Every call
// between the page and the game is in the contract, platform/web/PageContract.js,
// which gives the page Module.game and calls the handlers the page gives it.
import createPivotwarden from "../pivotwarden.js";
import { code } from "./early.js";
import { GAME_CODE } from "./names.js";

// The games' views on the canvas, and the stylus's messages, as the contract numbers them.
export const View = { player: 0, shown: 1, replay: 2 };
export const Message = { down: 0, move: 1, up: 2, paint: 3 };

// The instance starts from the code the page compiled as it loaded; where
// that failed (a host that does not say the file is WebAssembly), it
// compiles it from its bytes.
function instantiateWasm(imports, receive) {
  const own = () => fetch(GAME_CODE, { credentials: "same-origin" })
    .then((response) => response.arrayBuffer())
    .then((bytes) => WebAssembly.instantiate(bytes, imports))
    .then((result) => receive(result.instance, result.module));
  code.then((compiled) => WebAssembly.instantiate(compiled, imports).then((made) => receive(made, compiled)), own);
  return {};
}

// The instance, made once, with the page's handlers: the game's Module.game.
export function loadGame(page) {
  return createPivotwarden({ ...(code ? { instantiateWasm } : {}), page }).then((module) => module.game);
}
