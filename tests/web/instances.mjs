// Counting the page's WebAssembly instances and what they hold: an init
// script wraps every way a page can instantiate a module, and keeps each
// instance's memory so that its size can be read.
export function countInstances() {
  window.__wasmInstances = [];
  const keep = (instance) => {
    window.__wasmInstances.push(instance);
    return instance;
  };
  const instantiate = WebAssembly.instantiate;
  WebAssembly.instantiate = function (...args) {
    return instantiate.apply(this, args).then((made) => keep(made instanceof WebAssembly.Instance ? made
      : made.instance) && made);
  };
  const streaming = WebAssembly.instantiateStreaming;
  if (streaming) {
    WebAssembly.instantiateStreaming = function (...args) {
      return streaming.apply(this, args).then((made) => keep(made.instance) && made);
    };
  }
  const Instance = WebAssembly.Instance;
  WebAssembly.Instance = function (...args) {
    return keep(new Instance(...args));
  };
  WebAssembly.Instance.prototype = Instance.prototype;
}

// How many instances the page made, and the bytes of their memories.
export async function instancesOf(page) {
  return page.evaluate(() => {
    const instances = window.__wasmInstances || [];
    const bytes = instances.map((instance) => {
      const memory = Object.values(instance.exports).find((value) => value instanceof WebAssembly.Memory);
      return memory ? memory.buffer.byteLength : 0;
    });
    return { count: instances.length, bytes };
  });
}
