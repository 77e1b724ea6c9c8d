// The module's functions for JavaScript: texts go in as UTF-8 bytes and come
// back as parsed JSON. Used by the page and by the parity test under Node.

const encoder = new TextEncoder();
const decoder = new TextDecoder();

// `factory` is createPadquiltkana from padquiltkana.js; `options` go to it
// (under Node: { wasmBinary }).
export async function loadPadquiltkana(factory, options = {}) {
  const m = await factory(options);

  const read = (pointer) => {
    const heap = m.HEAPU8;
    let end = pointer;
    while (heap[end] !== 0) end += 1;
    return decoder.decode(heap.subarray(pointer, end));
  };
  const json = (pointer) => JSON.parse(read(pointer));
  // Bytes (a Uint8Array, or a string taken as UTF-8) copied into the module
  // for the length of one call.
  const withBytes = (bytes, call) => {
    const data = typeof bytes === 'string' ? encoder.encode(bytes) : bytes;
    const pointer = m._malloc(data.length + 1);
    m.HEAPU8.set(data, pointer);
    try {
      return call(pointer, data.length);
    } finally {
      m._free(pointer);
    }
  };

  return {
    controls: () => json(m._pqk_controls()),
    start: (keymap, options, timeoutMs, imeOn) =>
      withBytes(keymap, (p, n) => json(m._pqk_start(p, n, options >>> 0, timeoutMs | 0, imeOn ? 1 : 0))),
    keymap: (keymap) => withBytes(keymap, (p, n) => json(m._pqk_keymap(p, n))),
    settings: (options, timeoutMs) => json(m._pqk_settings(options >>> 0, timeoutMs | 0)),
    key: (vk, down, timeMs) => json(m._pqk_key(vk, down ? 1 : 0, timeMs >>> 0)),
    ime: (on) => json(m._pqk_ime(on ? 1 : 0)),
    clearText: () => json(m._pqk_clear_text()),
    state: () => json(m._pqk_state()),
    padLabels: () => json(m._pqk_pad_labels()),
    table: (slot) => read(m._pqk_table(slot)),
  };
}
