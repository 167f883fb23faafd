// Puzzle sets: ?set=SEED-LEVEL plays a set, as the desktop's --set does,
// with its line beside the game (its name and the way back to the player's
// own game) or why the link's text is no set; Share a set makes a new set
// at the level played now, with a fresh seed, and offers its link.
import { fit } from "./layout.js";

// Longer than any set's name ("4294967295-15-50") by far: such text is no
// set, and is said so without being handed to the game.
const LONGEST_SET = 64;

// The set's line is in the bar, above its buttons, so the display's room
// is measured with it and nothing of it is ever under the display.
function setLine() {
  const line = document.createElement("p");
  line.id = "set-line";
  document.getElementById("buttons").before(line);
  fit();
  return line;
}

// The set the link names, played by game (Module.game); false, with the
// reason said, when the text is no set.
export function playSet(game, text) {
  const line = setLine();  // filled by showSet as the game tells the set's name
  if (text.length <= LONGEST_SET && game.playSet(text)) return true;
  line.setAttribute("role", "status");
  const shown = text.length <= LONGEST_SET ? `\u201c${text}\u201d` : `The link's text (${text.length} characters)`;
  line.textContent = `${shown} is not a puzzle set (a seed, a dash and a level from 1 to 15, as in 4711-6): ` +
    "playing your own game.";
  fit();
  return false;
}

// The set's line, once the game has told the set's name ("4711-6").
export function showSet(name) {
  const line = document.getElementById("set-line");
  if (!line || !name || line.childElementCount > 0) return;
  const [seed, level] = name.split("-");
  line.textContent = `Set ${seed} \u00b7 level ${level} `;
  const leave = document.createElement("a");
  leave.href = location.pathname;
  leave.className = "button";
  leave.textContent = "Leave";
  line.append(leave);
  fit();
}

// level() answers the level played now, or null before the game plays.
export function setUpSharing({ level, beforeShowing }) {
  const view = document.getElementById("share-view");
  const link = document.getElementById("share-link");
  const said = document.getElementById("share-said");
  async function share() {
    const played = level();
    if (played === null || view.open) return;
    beforeShowing();
    const seed = crypto.getRandomValues(new Uint32Array(1))[0];
    const address = new URL(`?set=${seed}-${played}`, location.href).href;
    document.getElementById("share-level").textContent = played;
    link.href = address;
    link.textContent = address;
    said.textContent = "";
    view.showModal();
    try {
      if (navigator.share) {
        await navigator.share({ title: `Pivotwarden: set ${seed} at level ${played}`, url: address });
        return;
      }
      await navigator.clipboard.writeText(address);
      said.textContent = "The link is copied.";
    } catch (error) {
      if (error.name !== "AbortError") said.textContent = "Copy the link above to share it.";
    }
  }
  document.getElementById("share").addEventListener("click", share);
  return { isOpen: () => view.open };
}
