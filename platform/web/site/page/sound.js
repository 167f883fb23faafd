// Web Audio: each sound decoded once; a new sound cuts off the one playing.
// Browsers allow sound only after a press, so the audio starts at the first.
export const sounds = {
  audio: null,
  images: new Map(),
  buffers: new Map(),
  playing: null,
  preload(id, bytes) {
    if (this.images.has(id)) return;
    this.images.set(id, bytes);
    if (this.audio) this.decode(id);
  },
  decode(id) {
    this.audio.decodeAudioData(this.images.get(id).slice(0))
      .then((buffer) => this.buffers.set(id, buffer), () => {});
  },
  unlock() {
    if (!this.audio) {
      const Audio = window.AudioContext || window.webkitAudioContext;
      if (!Audio) return;
      this.audio = new Audio();
      for (const id of this.images.keys()) this.decode(id);
    }
    if (this.audio.state === "suspended") this.audio.resume().catch(() => {});
  },
  play(id) {
    const buffer = this.buffers.get(id);
    if (!buffer || !this.audio || this.audio.state !== "running") return;
    if (this.playing) {
      try { this.playing.stop(); } catch (e) { /* already ended */ }
    }
    const source = this.audio.createBufferSource();
    source.buffer = buffer;
    source.connect(this.audio.destination);
    source.start();
    this.playing = source;
  },
};
