// The page: draws what the module answers and hands it the user's presses,
// settings and keymap text. Every rule of the input method is the module's.
import { loadPadquiltkana } from './pqk_module.js';
import { decodeShared, encodeShared } from './share.js';
import { KeymapEditor, drawMessages, keymapBytes, keymapFromBytes } from './editor.js';

const $ = (id) => document.getElementById(id);
const kMostLogLines = 1000;

// Text as a person reads it in a narrow cell: blanks and new lines named.
function visible(text) {
  if (text === ' ' || text === '\u3000') return '[空白]';
  return text.replace(/\n/g, '[Enter]');
}

// A keyboard key of the PC that presses a pad key while the pad has focus.
function padLabelOfKey(key) {
  if (/^[0-9*#]$/.test(key)) return key;
  if (key === 'ArrowRight') return '→';
  if (key === 'Backspace') return 'クリア';
  return null;
}

async function loadDefaultKeymap() {
  const response = await fetch('defaultkeymap.txt');
  if (!response.ok) throw new Error(`defaultkeymap.txt: ${response.status}`);
  return new Uint8Array(await response.arrayBuffer());
}

async function main() {
  const [api, defaultBytes, shared] = await Promise.all([
    loadPadquiltkana(window.createPadquiltkana),
    loadDefaultKeymap(),
    decodeShared(location.hash),
  ]);
  const controls = api.controls();
  const defaults = keymapFromBytes(defaultBytes);
  const page = {
    options: controls.defaultOptions | controls.modes[1].bits,
    timeout: controls.defaultTimeout,
    format: defaults.format,
    fileName: 'defaultkeymap.txt',
    keymapVersion: 0,
    padKey: '',
    labels: [],
    state: null,
  };
  if (shared !== null) {
    if (Number.isInteger(shared.o)) page.options = shared.o >>> 0;
    if (Number.isInteger(shared.t)) page.timeout = shared.t | 0;
  }

  // --- the pad ---
  const pad = $('pad');
  const padButtons = controls.keys.map(({ label, vk }, index) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = index < 12 ? 'pad-key' : 'pad-key pad-extra';
    button.setAttribute('aria-label', label);
    button.dataset.vk = String(vk);
    const name = document.createElement('span');
    name.className = 'name';
    name.textContent = label;
    const cells = document.createElement('span');
    cells.className = 'cells';
    button.append(name, cells);
    pad.append(button);
    return button;
  });
  const buttonOfLabel = new Map(controls.keys.map(({ label }, i) => [label, padButtons[i]]));

  const events = $('events');
  const logLines = [];

  function drawRow(element, row) {
    element.hidden = row.texts.length === 0;
    const span = element.querySelector('.row');
    span.replaceChildren();
    if (row.key !== '') span.append(`キー${row.key} `);
    row.texts.forEach((text, n) => {
      const cell = document.createElement('span');
      cell.className = n === row.current ? 'cell current' : 'cell';
      if (n === row.current) cell.setAttribute('aria-current', 'true');
      cell.textContent = visible(text);
      span.append(cell);
    });
  }

  function drawPad(state) {
    const key = `${state.slot}|${state.ime}|${page.keymapVersion}|${page.options}`;
    if (key !== page.padKey) {
      page.padKey = key;
      page.labels = api.padLabels();
    }
    const pending = state.firstStroke.texts;
    padButtons.slice(0, 12).forEach((button, column) => {
      const texts = pending.length > 0 ? [pending[column] ?? ''] : page.labels[column] ?? [];
      const shown = texts.slice(0, 6).map(visible).join(' ');
      button.querySelector('.cells').textContent = texts.length > 6 ? `${shown} …` : shown;
    });
  }

  function draw(state) {
    page.state = state;
    $('committed').textContent = state.committed;
    $('composition').textContent = state.composition;
    $('mode').textContent = state.mode;
    $('slot').textContent = state.keymap;
    $('first-stroke').textContent =
      state.firstStroke.key === '' ? '' : `一打目: キー${state.firstStroke.key}`;
    drawRow($('toggle'), state.toggle);
    drawRow($('forms'), state.forms);
    $('ime-state').textContent = state.ime;
    $('ime-mode').textContent = `(${state.imeMode})`;
    if (state.events.length > 0) {
      logLines.push(...state.events);
      if (logLines.length > kMostLogLines) logLines.splice(0, logLines.length - kMostLogLines);
      if ($('events-view').open) drawLog();
    }
    drawPad(state);
  }

  function drawLog() {
    events.textContent = logLines.join('\n');
    events.scrollTop = events.scrollHeight;
  }

  function press(button, down, time) {
    draw(api.key(Number(button.dataset.vk), down, Math.round(time)));
    button.classList.toggle('down', down);
  }

  pad.addEventListener('pointerdown', (event) => {
    const button = event.target.closest('.pad-key');
    if (button === null || event.button !== 0) return;
    event.preventDefault();
    button.focus({ preventScroll: true });
    try {
      button.setPointerCapture(event.pointerId);
    } catch {
      // A pointer the browser does not track (a synthetic event) is not captured.
    }
    press(button, true, event.timeStamp);
  });
  const release = (event) => {
    const button = event.target.closest('.pad-key');
    if (button !== null && button.classList.contains('down')) press(button, false, event.timeStamp);
  };
  pad.addEventListener('pointerup', release);
  pad.addEventListener('pointercancel', release);
  // Enter or Space on a focused pad key, or an assistive technology's click.
  pad.addEventListener('click', (event) => {
    const button = event.target.closest('.pad-key');
    if (button === null || event.detail !== 0) return;
    press(button, true, event.timeStamp);
    press(button, false, event.timeStamp);
  });
  pad.addEventListener('keydown', (event) => {
    const label = padLabelOfKey(event.key);
    if (label === null || event.ctrlKey || event.altKey || event.metaKey) return;
    event.preventDefault();
    if (!event.repeat) press(buttonOfLabel.get(label), true, event.timeStamp);
  });
  pad.addEventListener('keyup', (event) => {
    const label = padLabelOfKey(event.key);
    if (label === null) return;
    event.preventDefault();
    const button = buttonOfLabel.get(label);
    if (button.classList.contains('down')) press(button, false, event.timeStamp);
  });
  $('clear-text').addEventListener('click', () => {
    // A fresh device: its key stream starts anew.
    logLines.length = 0;
    drawLog();
    draw(api.clearText());
  });

  // --- the settings ---
  let shareTimer = 0;
  function share() {
    clearTimeout(shareTimer);
    shareTimer = setTimeout(async () => {
      const state = { o: page.options, t: page.timeout };
      const bytes = keymapBytes(editor.text, page.format);
      if (!sameBytes(bytes, defaultBytes)) {
        state.k = editor.text;
        state.f = page.format;
      }
      history.replaceState(null, '', `#${await encodeShared(state)}`);
    }, 200);
  }

  function applySettings() {
    draw(api.settings(page.options, page.timeout));
    share();
  }

  const modes = $('modes');
  for (const { label, bits } of controls.modes) {
    const choice = document.createElement('label');
    const radio = document.createElement('input');
    radio.type = 'radio';
    radio.name = 'mode';
    radio.value = String(bits);
    radio.checked = (page.options & controls.modeBits) === bits;
    radio.addEventListener('change', () => {
      page.options = (page.options & ~controls.modeBits) | bits;
      applySettings();
    });
    choice.append(radio, label);
    modes.append(choice);
  }
  const options = $('options');
  for (const { label, bit } of controls.options) {
    const row = document.createElement('div');
    const choice = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.checked = (page.options & bit) !== 0;
    box.addEventListener('change', () => {
      page.options = box.checked ? page.options | bit : page.options & ~bit;
      applySettings();
    });
    choice.append(box, label);
    row.append(choice);
    if (bit === controls.timeoutOption) {
      choice.id = 'auto-advance-label';
      const field = document.createElement('input');
      field.type = 'text';
      field.inputMode = 'numeric';
      field.id = 'timeout';
      field.size = 6;
      field.value = String(page.timeout);
      const unit = document.createElement('span');
      unit.id = 'timeout-unit';
      unit.textContent = 'msec';
      field.setAttribute('aria-labelledby', 'auto-advance-label timeout-unit');
      field.addEventListener('input', () => {
        // As the dialog reads its field: leading digits, else 0.
        const number = Number.parseInt(field.value.trim(), 10);
        page.timeout = Number.isNaN(number) ? 0 : Math.max(-2147483648, Math.min(number, 2147483647));
        applySettings();
      });
      row.append(' ', field, ' ', unit);
    }
    options.append(row);
  }
  $('ime-switch').addEventListener('click', () => draw(api.ime(!page.state.imeOn)));

  // --- the keymap ---
  const status = $('keymap-status');
  const editor = new KeymapEditor($('keymap-text'), document.querySelector('.gutter'), compile);
  const tableSlot = $('table-slot');

  function compile() {
    showKeymap(api.keymap(keymapBytes(editor.text, page.format)));
    share();
  }

  function showKeymap(result) {
    drawMessages($('messages'), result.lines, (line) => editor.selectLine(line));
    const warnings = result.lines.filter(({ text }) => text.startsWith('警告:')).length;
    if (!result.clean) {
      status.textContent = result.inUse
        ? 'エラーがあります。'
        : 'エラーがあります。最後にエラーなく読めたキーマップを使っています。';
      status.className = 'error';
    } else {
      page.keymapVersion += 1;
      status.textContent =
        warnings > 0
          ? `エラーはありません (警告 ${warnings} 件)。このキーマップで入力できます。`
          : 'エラーはありません。このキーマップで入力できます。';
      status.className = 'clean';
    }
    draw(api.state());
    if ($('table-view').open) drawTable();
  }

  function useKeymap(bytes, name) {
    const loaded = keymapFromBytes(bytes);
    page.format = loaded.format;
    page.fileName = name;
    editor.text = loaded.text;
    compile();
  }

  $('open-file').addEventListener('click', () => $('file-input').click());
  $('file-input').addEventListener('change', async () => {
    const file = $('file-input').files[0];
    if (file === undefined) return;
    useKeymap(new Uint8Array(await file.arrayBuffer()), file.name);
    $('file-input').value = '';
  });
  $('save-file').addEventListener('click', () => {
    const blob = new Blob([keymapBytes(editor.text, page.format)], { type: 'text/plain' });
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = page.fileName;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  });
  $('default-keymap').addEventListener('click', () => useKeymap(defaultBytes, 'defaultkeymap.txt'));
  $('copy-link').addEventListener('click', async () => {
    clearTimeout(shareTimer);
    share();
    await new Promise((resolve) => setTimeout(resolve, 250));
    try {
      await navigator.clipboard.writeText(location.href);
      status.textContent = 'このページの状態を開くリンクをコピーしました。';
    } catch {
      status.textContent = `リンク: ${location.href}`;
    }
  });

  // --- the views ---
  for (let slot = 0; slot < 10; slot += 1) {
    const option = document.createElement('option');
    option.value = String(slot);
    option.textContent = `キーマップ${slot}`;
    tableSlot.append(option);
  }
  function drawTable() {
    $('table').textContent = api.table(Number(tableSlot.value));
  }
  tableSlot.addEventListener('change', drawTable);
  $('table-view').addEventListener('toggle', () => {
    if (!$('table-view').open) return;
    if (page.state.slot >= 0 && page.state.slot < 10) tableSlot.value = String(page.state.slot);
    drawTable();
  });
  $('events-view').addEventListener('toggle', drawLog);

  // --- start ---
  // The default keymap first: a shared keymap with errors leaves it in use.
  const started = api.start(defaultBytes, page.options, page.timeout, true);
  if (shared !== null && typeof shared.k === 'string') {
    const format = shared.f ?? {};
    page.format = { utf8: format.utf8 !== false, crlf: format.crlf === true };
    page.fileName = 'keymap.txt';
    editor.text = shared.k;
    showKeymap(api.keymap(keymapBytes(editor.text, page.format)));
  } else {
    editor.text = defaults.text;
    showKeymap(started);
  }
  $('loading').hidden = true;
  window.pqkReadyMs = performance.now();
  document.documentElement.dataset.ready = 'true';
}

function sameBytes(a, b) {
  if (a.length !== b.length) return false;
  for (let i = 0; i < a.length; i += 1) if (a[i] !== b[i]) return false;
  return true;
}

main().catch((error) => {
  $('loading').textContent = `読み込めませんでした: ${error.message}`;
});
