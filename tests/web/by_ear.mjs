// A player with eyes closed: it hears only what the page's live region says
// and finds its way only through the accessibility tree, and it plays only
// with keys. It never looks at the canvas, the game's dump or any variable
// of the page; the arithmetic it does on the numbers it hears.

// Every line the live region speaks, in order, as a screen reader hears it:
// an observer on the region (found by its role and name) hands each new
// paragraph's text over.
export class Ear {
  constructor(page) {
    this.page = page;
    this.lines = [];
    this.next = 0;  // the first line not yet listened to
  }

  async open() {
    await this.page.exposeBinding("heardByEar", (_source, line) => this.lines.push(line));
    const region = this.page.getByRole("log", { name: "What happens" });
    await region.evaluate((element) => {
      new MutationObserver((changes) => {
        for (const change of changes)
          for (const node of change.addedNodes) window.heardByEar(node.textContent);
      }).observe(element, { childList: true });
    });
  }

  // The next line that matches, passing over those before it; null when
  // none comes within the time.
  async hear(pattern, timeoutMs = 8000) {
    const until = Date.now() + timeoutMs;
    for (;;) {
      while (this.next < this.lines.length) {
        const line = this.lines[this.next++];
        const match = line.match(pattern);
        if (match) return match;
      }
      if (Date.now() > until) return null;
      await new Promise((resolve) => setTimeout(resolve, 20));
    }
  }

  // As hear, but a line that never comes fails with what was heard.
  async expect(pattern, timeoutMs) {
    const match = await this.hear(pattern, timeoutMs);
    if (!match) throw new Error(`never heard ${pattern}; heard:\n${this.lines.slice(-12).join("\n")}`);
    return match;
  }
}

// What a "New puzzle" line tells: the numbers on each pan (null for a grey
// weight whose number is hidden) and the tray's numbers.
export function parsePuzzle(line) {
  const list = (text) =>
    text === "empty" ? [] : text.replace(/grey, number hidden/g, "hidden").split(", ");
  const part = (name) => list(line.match(new RegExp(`${name}: ([^.]*)\\.`))[1]);
  const weights = (items) =>
    items.map((item) => (item === "hidden" ? null : Number(item.replace("grey ", ""))));
  return { left: weights(part("Left pan")), right: weights(part("Right pan")), tray: weights(part("Tray")) };
}

// The fewest tray weights that balance shown pans: for each tray weight,
// left, right or stay; each pan holds five at most.
export function solve({ left, right, tray }) {
  let best = null;
  const sides = new Array(tray.length).fill(0);
  const sum = (numbers) => numbers.reduce((a, b) => a + b, 0);
  for (let code = 0; code < 3 ** tray.length; ++code) {
    let rest = code;
    for (let i = 0; i < tray.length; ++i, rest = Math.floor(rest / 3)) sides[i] = rest % 3;
    const onLeft = tray.filter((_, i) => sides[i] === 1);
    const onRight = tray.filter((_, i) => sides[i] === 2);
    if (left.length + onLeft.length > 5 || right.length + onRight.length > 5) continue;
    if (sum(left) + sum(onLeft) !== sum(right) + sum(onRight)) continue;
    if (best === null || onLeft.length + onRight.length < best.length)
      best = [...onLeft.map((n) => ({ number: n, pan: "left" })), ...onRight.map((n) => ({ number: n, pan: "right" }))];
  }
  return best;
}

const RING = /Yellow (\d+), (tray|left pan|right pan)\.$/;

export class PlayerByEar {
  constructor(page) {
    this.page = page;
    this.ear = new Ear(page);
    this.ring = null;  // what the ring was last heard to be on
  }

  async press(key) {
    await this.page.keyboard.press(key);
  }

  // Presses key and waits for pattern; every line heard on the way that
  // says where the ring is, is noted.
  async pressUntil(key, pattern) {
    const from = this.ear.lines.length;
    await this.press(key);
    const match = await this.ear.expect(pattern);
    for (const line of this.ear.lines.slice(from)) {
      const ring = line.match(RING);
      if (ring) this.ring = { number: Number(ring[1]), place: ring[2] };
    }
    return match;
  }

  // Enter until the game answers: it may still be loading.
  async startGame() {
    await this.ear.open();
    for (let tries = 0; tries < 40; ++tries) {
      await this.press("Enter");
      const puzzle = await this.ear.hear(/New puzzle, level (\d+)\..*/, 500);
      if (puzzle) {
        this.noteRing(puzzle[0]);
        return parsePuzzle(puzzle[0]);
      }
    }
    throw new Error(`the game never started; heard:\n${this.ear.lines.join("\n")}`);
  }

  noteRing(line) {
    const ring = line.match(RING);
    if (ring) this.ring = { number: Number(ring[1]), place: ring[2] };
  }

  // Moves the ring onto a tray weight of that number, picks it up, carries
  // it over the pan and drops it there; answers the line the drop made.
  async place(number, pan) {
    for (let steps = 0; !(this.ring && this.ring.number === number && this.ring.place === "tray"); ++steps) {
      if (steps > 12) throw new Error(`no ${number} in the tray`);
      // Right goes round the weights; Tab would leave them for the bar past the last.
      await this.pressUntil("ArrowRight", RING);
    }
    await this.pressUntil("Enter", new RegExp(`^Picked up ${number}\\.`));
    await this.pressUntil(pan === "left" ? "ArrowLeft" : "ArrowRight", new RegExp(`^${number} over the ${pan} pan\\.`));
    const [line] = await this.pressUntil("Enter", new RegExp(`^${number} on the ${pan} pan\\..*`));
    this.ring = { number, place: `${pan} pan` };  // the ring stays on the weight it dropped
    return line;
  }

  // Takes the ringed weight off its pan and back to the tray.
  async takeBack(number, pan) {
    await this.pressUntil("Enter", new RegExp(`^Picked up ${number} from the ${pan} pan\\.`));
    await this.pressUntil(pan === "left" ? "ArrowRight" : "ArrowLeft", new RegExp(`^${number} over the tray\\.`));
    await this.pressUntil("Enter", new RegExp(`^${number} back in the tray\\.`));
    this.ring = { number, place: "tray" };
  }

  // A puzzle whose numbers all show: the weights that balance it, placed.
  // Answers the next puzzle.
  async solveShown(puzzle) {
    const moves = solve(puzzle);
    if (!moves) throw new Error(`no solution for ${JSON.stringify(puzzle)}`);
    let line = "";
    for (const move of moves) line = await this.place(move.number, move.pan);
    if (!/Balanced\./.test(line)) throw new Error(`not balanced: ${line}`);
    return this.nextPuzzle();
  }

  // One grey weight with its number hidden, and a tray weight to match it:
  // tray weights are tried on the other pan, the tip halving the numbers
  // left to try, until the scale is level and the keypad asks for the
  // number. Answers the number that balanced.
  async balanceHiddenMatch(puzzle) {
    const greyPan = puzzle.left.includes(null) ? "left" : "right";
    const pan = greyPan === "left" ? "right" : "left";
    let candidates = [...new Set(puzzle.tray)].sort((a, b) => a - b);
    for (;;) {
      if (candidates.length === 0) throw new Error("no tray weight balanced the hidden one");
      const tried = candidates[Math.floor(candidates.length / 2)];
      const line = await this.place(tried, pan);
      if (/Balanced\./.test(line)) {
        await this.ear.expect(/Type the hidden number\./);
        return tried;
      }
      const heavier = line.match(/The scale tips (left|right)\./)[1];
      // Tipping toward the tried weight: it weighs more than the hidden one.
      candidates = heavier === pan ? candidates.filter((n) => n < tried) : candidates.filter((n) => n > tried);
      await this.takeBack(tried, pan);
    }
  }

  // The hidden number typed on the keypad, digit by digit; answers the next
  // puzzle.
  async typeNumber(number) {
    const digits = String(number);
    for (const [i, digit] of [...digits].entries())
      await this.pressUntil(digit, new RegExp(`^Grey weight shows ${digits.slice(0, i + 1)}\\.`));
    return this.nextPuzzle();
  }

  // Options, then Up until the level is reached, then OK: answers the new
  // puzzle.
  async chooseLevel(from, to) {
    await this.pressUntil("o", new RegExp(`^Options: level ${from},`));
    for (let level = from + 1; level <= to; ++level)
      await this.pressUntil("ArrowUp", new RegExp(`^Level ${level}\\.`));
    await this.press("Enter");
    return this.nextPuzzle();
  }

  async nextPuzzle() {
    const [line] = await this.ear.expect(/New puzzle, level \d+\..*/, 10000);
    this.noteRing(line);
    return parsePuzzle(line);
  }
}
