// Replay files read as lists of presses, for playing them by hand in a live
// page, and the desktop game's view of the same replay.
import { readFileSync } from "node:fs";

// The events of a replay: { at, type, x, y }, the last one the end.
export function replayEvents(path) {
  const events = [];
  for (const raw of readFileSync(path, "utf8").split("\n")) {
    const words = raw.replace(/#.*/, "").trim().split(/\s+/);
    if (words[0] !== "at") continue;
    events.push({ at: Number(words[1]), type: words[2], x: Number(words[3]), y: Number(words[4]) });
  }
  return events;
}

// The presses of a replay, each with its moves and release, and the pause
// before it in milliseconds.
export function strokes(events) {
  const result = [];
  let last = events[0].at;
  let current = null;
  for (const e of events) {
    if (e.type === "down") {
      current = { pause: e.at - last, points: [[e.x, e.y]] };
    } else if (e.type === "move" || e.type === "up") {
      current.points.push([e.x, e.y]);
      if (e.type === "up") result.push(current);
    }
    last = e.at;
  }
  return result;
}
