// The page's module under Node against the host tool: the same seeded keypad
// scripts typed through the module's calls (as the page makes them, key by
// key with event times) and through `padquiltkana-sim type --events` give the
// same text and the same events; `check` and the module list the same
// messages for broken keymaps.
//
// Needs the page built (scripts/web: out/web/) and the host tool
// (build/host/sim/padquiltkana-sim); PQK_WEB_DIR and PQK_SIM point elsewhere.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { loadPadquiltkana } from '../../web/pqk_module.js';

const root = resolve(import.meta.dirname, '../..');
const webDir = process.env.PQK_WEB_DIR ?? join(root, 'out/web');
const sim = process.env.PQK_SIM ?? join(root, 'build/host/sim/padquiltkana-sim');

async function loadModule() {
  const factory = createRequire(import.meta.url)(join(webDir, 'padquiltkana.js'));
  return loadPadquiltkana(factory, { wasmBinary: readFileSync(join(webDir, 'padquiltkana.wasm')) });
}

// Small keymaps besides the default one: a kana toggle keymap with reverse
// toggle, post-conversion both ways, raw keys and window commands; a 2-touch keymap with every
// pair type, commands and a keymap switch; direct characters with Shift, Alt
// and the dakuten keys.
const kSmallKeymaps = {
  toggle: `defcode T '\\x02'
defcode K '\\x01'
keymap '\\x04'
key T
char K T
attach '\\x11' T
char K G
char K H
key '\\x03'
char K 3
key T
char K X
attach '\\x03' 4
attach '\\x11' X
key '\\x05'
char K Q
key T
raw '\\x01' '\\x24' '\\x02' '\\x24'
char B
key T
char K 0
char '\\x03' 0
key T
char '\\x02' A
attach A
key T
command '\\x03'
char K Y
key T
nop
char '\\x04' Q
exec "\\Windows\\pword.exe" "a b"
command '\\x07' '\\x01'
key '\\x04'
key T
char K U
char K I
key T
char '\\x01' '\\xC0'
char '\\x01' '\\xDB'
keymap '\\x05'
key T
char A
char B
key T
char '\\x02' C
attach C
key T
char 1
key T
key T
key T
key T
key T
key T
key '\\x04'
key T
char 0
key T
char '\\xBE'
char '\\xBC'
`,
  pairs: `defcode P '\\x01'
defcode K '\\x01'
keymap '\\x00'
${Array.from({ length: 12 }, (_, first) => {
  const type = ["'\\x01'", "'\\x06'", "'\\x07'", "'\\x08'"][first % 4];
  const actions = Array.from({ length: 12 }, (__, second) => {
    if (second === 9) return "command '\\x05'";
    if (second === 11) return first % 3 === 0 ? "command '\\x01'" : "command '\\x06'";
    if ((first + second) % 5 === 0) return `char ${String.fromCharCode(65 + second)}`;
    return `char K ${String.fromCharCode(65 + ((first * 12 + second) % 26))}\nattach '\\x11' ${String.fromCharCode(65 + ((first * 12 + second) % 26))}`;
  });
  return `key ${type}\n${actions.join('\n')}`;
}).join('\n')}
keymap '\\x01'
${Array.from('1234567890AB', (c) => `key '\\x02'\nchar ${c}\nchar K ${c}`).join('\n')}
`,
  direct: `keymap '\\x04'
${Array.from({ length: 12 }, (_, k) => `key '\\x02'\nchar '\\x0${(k % 7) + 1}' ${String.fromCharCode(0x41 + k)}\nchar '\\x08' ${k % 10}\nchar '\\x01' '\\xC0'\nchar '\\x01' '\\xDB'`).join('\n')}
keymap '\\x00'
${Array.from({ length: 12 }, (_, k) => `key '\\x01'\n${Array.from({ length: 12 }, (__, s) => `char '\\x0${(s % 3) * 2}' ${String.fromCharCode(0x41 + ((k + s) % 26))}`).join('\n')}`).join('\n')}
`,
};

// Broken keymaps and a clean one with warnings, for `check`.
const kCheckedKeymaps = [
  "keymap '\\x00'\nkey '\\x01'\nchar '\\x4G'\nkey '\\x02'\n",
  'key A\nkeymap 3\n',
  "keymap '\\x04'\nattach A\nbogus\n",
  "keymap '\\x04'\nkey '\\x02'\nchar UNKNOWN\n",
  "defcode X '\\x01'\r\nkeymap '\\x02'\r\n\r\nkey X\r\nexec notquoted\r\n",
  `keymap '\\x01'\n${'key \'\\x02\'\nchar A\n'.repeat(13)}`,
  `# ${'x'.repeat(900)}\nkeymap '\\x00'\n`,
  '',
];

// A small seeded generator, so that a failing case is the same each run.
function random(seed) {
  let state = seed >>> 0;
  return (n) => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return (((t ^ (t >>> 14)) >>> 0) % n);
  };
}

const kModes = { toggle: 0x40, pager: 0x08, nico: 0x18 };

function makeCase(pick, index) {
  const keymaps = ['default', 'default', 'toggle', 'pairs', 'direct'];
  const keymap = keymaps[pick(keymaps.length)];
  const modeNames = Object.keys(kModes);
  let options = 0x4100 | kModes[modeNames[pick(3)]];
  if (keymap === 'toggle') options = 0x4140;
  if (keymap === 'pairs') options = 0x4108;
  if (pick(3) === 0) options |= 0x20;
  if (pick(3) === 0) options |= 0x80 | (pick(2) === 0 ? 0x200 : 0);
  if (pick(4) === 0) options &= ~0x100;
  const tokens = [];
  const length = 5 + pick(21);
  for (let i = 0; i < length; i += 1) {
    const p = pick(100);
    if (p < 68) tokens.push('123456789*0#'[pick(12)]);
    else if (p < 73) tokens.push('C');
    else if (p < 78) tokens.push('>');
    else if (p < 84) tokens.push(`+${[50, 400, 900, 1000, 1500][pick(5)]}`);
    else if (p < 87) tokens.push('vk:0D');
    else if (p < 89) tokens.push('vk:20');
    else if (p < 95) tokens.push(`vk:${(0x41 + pick(26)).toString(16).toUpperCase()}`);
    else tokens.push(pick(2) === 0 ? 'ime:on' : 'ime:off');
  }
  return { index, keymap, options, timeout: pick(2) === 0 ? 1000 : 300, imeOn: pick(5) !== 0, tokens };
}

// What `type --events` printed: the event lines and the text.
function hostRun(c, file) {
  const args = ['type', '--keymap', file, '--events', '--options', c.options.toString(16),
    '--timeout', String(c.timeout), '--ime', c.imeOn ? 'on' : 'off', ...c.tokens];
  const out = execFileSync(sim, args, { encoding: 'utf8' });
  const lines = out.replace(/\n$/, '').split('\n');
  const text = lines.pop();
  assert.match(text, /^text: /);
  return { ...splitCommands(lines), text: text.slice(6) };
}

// Window commands: type lists them after the events, the page after the key
// that posted them.
function splitCommands(lines) {
  const isCommand = (line) => /^(run |command )/.test(line);
  return { events: lines.filter((l) => !isCommand(l)), commands: lines.filter(isCommand) };
}

// The same script through the page's calls.
function moduleRun(api, c, bytes, keys) {
  api.start(bytes, c.options, c.timeout, c.imeOn);
  const events = [];
  let state = api.state();
  let time = 0;
  for (const token of c.tokens) {
    if (token.startsWith('+')) {
      time += Number(token.slice(1));
    } else if (token.startsWith('ime:')) {
      state = api.ime(token === 'ime:on');
      events.push(...state.events);
    } else {
      const vk = token.startsWith('vk:') ? Number.parseInt(token.slice(3), 16) : keys.get(token);
      for (const down of [true, false]) {
        state = api.key(vk, down, time);
        events.push(...state.events);
      }
      time += 100;
    }
  }
  return { ...splitCommands(events), text: (state.committed + state.composition).replace(/\n/g, '\\n') };
}

test('the module types what the host tool types, event by event', async () => {
  const api = await loadModule();
  const controls = api.controls();
  const keys = new Map(controls.keys.map(({ label, vk }) => [label, vk]));
  keys.set('>', keys.get('→'));
  keys.set('C', keys.get('クリア'));
  const folder = mkdtempSync(join(tmpdir(), 'pqk-parity-'));
  try {
    const files = { default: join(root, 'data/defaultkeymap.txt') };
    for (const [name, text] of Object.entries(kSmallKeymaps)) {
      files[name] = join(folder, `${name}.txt`);
      writeFileSync(files[name], text);
      const check = spawnSync(sim, ['check', files[name]], { encoding: 'utf8' });
      assert.equal(check.status, 0, `${name} keymap: ${check.stdout}`);
    }
    const bytes = Object.fromEntries(Object.entries(files).map(([n, f]) => [n, readFileSync(f)]));
    const pick = random(23);
    let compared = 0;
    let withCommands = 0;
    for (let i = 0; i < 300; i += 1) {
      const c = makeCase(pick, i);
      const host = hostRun(c, files[c.keymap]);
      const page = moduleRun(api, c, bytes[c.keymap], keys);
      const name = `case ${i}: --keymap ${c.keymap} --options ${c.options.toString(16)} --timeout ${c.timeout} --ime ${c.imeOn ? 'on' : 'off'} ${c.tokens.join(' ')}`;
      assert.deepEqual(page.events, host.events, name);
      assert.deepEqual(page.commands, host.commands, name);
      if (host.commands.length > 0) withCommands += 1;
      assert.equal(page.text, host.text, name);
      compared += 1;
    }
    assert.equal(compared, 300);
    assert.ok(withCommands > 0, 'no script posted a window command');
    console.log(`compared 300 scripts, ${withCommands} of them with window commands`);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
});

test('the module lists what check lists, line by line', async () => {
  const api = await loadModule();
  const folder = mkdtempSync(join(tmpdir(), 'pqk-check-'));
  try {
    kCheckedKeymaps.forEach((text, i) => {
      const file = join(folder, `k${i}.txt`);
      writeFileSync(file, text);
      const host = spawnSync(sim, ['check', file], { encoding: 'utf8' });
      const result = api.keymap(readFileSync(file));
      const listed = result.lines.map(({ line, text: t }) => (line > 0 ? `${file}:${line}: ${t}` : `${file}: ${t}`));
      const hostLines = host.stdout.split('\n').filter((l) => l !== '' && !l.startsWith('slots:'));
      assert.deepEqual(listed, hostLines, `keymap ${i}`);
      assert.equal(result.clean, host.status === 0, `keymap ${i}`);
    });
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
});
