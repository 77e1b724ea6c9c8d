// The keymap editor: a text area with line numbers, the keymap's bytes as
// the program reads them, and the list of messages.

// How a keymap's bytes became the editor's text, so that saving gives the
// same bytes back: UTF-8 (else each byte as one character) and CR LF line
// ends (else LF).
export function keymapFromBytes(bytes) {
  let raw;
  let utf8 = true;
  try {
    raw = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true }).decode(bytes);
  } catch {
    utf8 = false;
    raw = Array.from(bytes, (byte) => String.fromCharCode(byte)).join('');
  }
  return { text: raw.replace(/\r\n?/g, '\n'), format: { utf8, crlf: raw.includes('\r\n') } };
}

export function keymapBytes(text, format) {
  const raw = format.crlf ? text.replace(/\n/g, '\r\n') : text;
  if (format.utf8) return new TextEncoder().encode(raw);
  return Uint8Array.from(raw, (c) => c.charCodeAt(0) & 0xff);
}

export class KeymapEditor {
  constructor(textarea, gutter, onChange) {
    this.textarea = textarea;
    this.gutter = gutter;
    this.lines = 0;
    let timer = 0;
    textarea.addEventListener('input', () => {
      this.drawGutter();
      clearTimeout(timer);
      // Compiled once the author pauses.
      timer = setTimeout(onChange, 300);
    });
    textarea.addEventListener('scroll', () => {
      this.gutter.scrollTop = textarea.scrollTop;
    });
  }

  get text() {
    return this.textarea.value;
  }

  set text(value) {
    this.textarea.value = value;
    this.drawGutter();
  }

  drawGutter() {
    const lines = this.textarea.value.split('\n').length;
    if (lines === this.lines) return;
    this.lines = lines;
    let numbers = '';
    for (let n = 1; n <= lines; n += 1) numbers += `${n}\n`;
    this.gutter.textContent = numbers;
  }

  // Selects line `line` (from 1) and scrolls it into view.
  selectLine(line) {
    const value = this.textarea.value;
    let start = 0;
    for (let n = 1; n < line && start >= 0; n += 1) {
      start = value.indexOf('\n', start);
      if (start >= 0) start += 1;
    }
    if (start < 0) start = value.length;
    let end = value.indexOf('\n', start);
    if (end < 0) end = value.length;
    this.textarea.focus();
    this.textarea.setSelectionRange(start, end);
    const lineHeight = parseFloat(getComputedStyle(this.textarea).lineHeight) || 16;
    this.textarea.scrollTop = Math.max(0, (line - 3) * lineHeight);
  }
}

// The compiler's messages, warnings and notes as `check` lists them, each a
// button that selects its line.
export function drawMessages(list, lines, onSelect) {
  list.replaceChildren();
  for (const { line, text } of lines) {
    const item = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    button.className = text.startsWith('警告:')
      ? 'warning'
      : text.startsWith('備考:')
        ? 'note'
        : 'error';
    button.textContent = line > 0 ? `${line}: ${text}` : text;
    if (line > 0) button.addEventListener('click', () => onSelect(line));
    else button.disabled = true;
    item.append(button);
    list.append(item);
  }
}
