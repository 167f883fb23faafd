// The stylus: the primary pointer on the canvas, as presses, moves and
// releases in display pixels. A second finger does nothing. The canvas
// captures the pointer, so a drag that leaves it still ends.
import { canvas, displayPoint } from "./layout.js";

// press(type, x, y, primaryOnly) hands a message on (Message numbers);
// down(event) hears of every press first, and answers false when the press
// is to go no further.
export function setUpStylus({ Message, press, down }) {
  let stylus = null;
  const post = (type, event) => {
    const [x, y] = displayPoint(event.clientX, event.clientY);
    press(type, x, y, event.buttons === 1);
  };
  canvas.addEventListener("pointerdown", (event) => {
    event.preventDefault();
    if (!down(event)) return;
    if (!event.isPrimary || event.button !== 0 || stylus !== null) return;
    // Without the capture a release off the canvas would never be seen and
    // the stylus would stay held: a press whose pointer cannot be captured
    // (it has already gone) does nothing.
    try {
      canvas.setPointerCapture(event.pointerId);
    } catch (error) {
      return;
    }
    stylus = { id: event.pointerId, clientX: event.clientX, clientY: event.clientY, buttons: 0 };
    post(Message.down, event);
  });
  canvas.addEventListener("pointermove", (event) => {
    if (stylus === null || event.pointerId !== stylus.id) return;
    stylus.clientX = event.clientX;
    stylus.clientY = event.clientY;
    post(Message.move, event);
  });
  function lift(event) {
    if (stylus === null || event.pointerId !== stylus.id) return;
    // A cancelled pointer (the browser took the gesture) ends where it was.
    const at = event.type === "pointerup" ? event : stylus;
    stylus = null;
    post(Message.up, at);
  }
  canvas.addEventListener("pointerup", lift);
  canvas.addEventListener("pointercancel", lift);
  canvas.addEventListener("lostpointercapture", lift);
  canvas.addEventListener("contextmenu", (event) => event.preventDefault());
  // Scrolling and zooming by touch are off through the page's touch-action
  // (index.html), not by cancelling touch moves, which the browser may
  // refuse (and complain of) once a gesture has begun.
}
