// The page's state in the URL fragment: JSON, deflated where the browser
// can, in base64url. "#z=" holds deflated text, "#j=" plain text.

function toBase64Url(bytes) {
  let binary = '';
  for (const byte of bytes) binary += String.fromCharCode(byte);
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text) {
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

async function through(stream, bytes) {
  const piped = new Blob([bytes]).stream().pipeThrough(stream);
  return new Uint8Array(await new Response(piped).arrayBuffer());
}

const canDeflate = typeof CompressionStream === 'function';

export async function encodeShared(state) {
  const json = new TextEncoder().encode(JSON.stringify(state));
  if (!canDeflate) return `j=${toBase64Url(json)}`;
  return `z=${toBase64Url(await through(new CompressionStream('deflate-raw'), json))}`;
}

// The state of a fragment ("#z=..." or "#j=..."), or null for none or a
// broken one.
export async function decodeShared(fragment) {
  const match = /^#?([zj])=([A-Za-z0-9_-]*)$/.exec(fragment);
  if (match === null) return null;
  try {
    let bytes = fromBase64Url(match[2]);
    if (match[1] === 'z') bytes = await through(new DecompressionStream('deflate-raw'), bytes);
    const state = JSON.parse(new TextDecoder().decode(bytes));
    return state !== null && typeof state === 'object' ? state : null;
  } catch {
    return null;
  }
}
