// The built page (out/web/, scripts/web) in Debian's chromium, headless,
// driven by puppeteer-core and served on 127.0.0.1: the pad, the keyboard,
// a broken keymap's messages, auto-advance, a shared link, the accessible
// names, a phone-sized screen, no request elsewhere. Keeps a screenshot and
// measures the budgets (reported, not asserted).
//
// PQK_WEB_DIR: the page (default out/web); PQK_WEB_TEST_OUT: where the
// screenshot and the measured budgets go (default build/web-test).
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import puppeteer from 'puppeteer-core';
import { startServer } from '../../scripts/serve-web.mjs';

const root = resolve(import.meta.dirname, '../..');
const webDir = process.env.PQK_WEB_DIR ?? join(root, 'out/web');
const outDir = process.env.PQK_WEB_TEST_OUT ?? join(root, 'build/web-test');

let server;
let base;
let browser;
let profile;
const requested = [];

before(async () => {
  server = await startServer(webDir, 0);
  base = `http://127.0.0.1:${server.address().port}/`;
  profile = mkdtempSync(join(tmpdir(), 'pqk-chromium-'));
  const args = [
    '--disable-gpu', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--disable-default-apps',
    '--disable-extensions', '--no-default-browser-check', '--lang=ja',
  ];
  // Chromium's sandbox cannot start as root.
  if (process.getuid?.() === 0) args.push('--no-sandbox');
  browser = await puppeteer.launch({
    executablePath: process.env.PQK_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args,
  });
  browser.on('targetcreated', async (target) => {
    const page = await target.page();
    page?.on('request', (request) => requested.push(request.url()));
  });
});

after(async () => {
  await browser?.close();
  server?.close();
  if (profile !== undefined) rmSync(profile, { recursive: true, force: true });
});

async function openPage(url = base, viewport = { width: 1280, height: 900 }) {
  const page = await browser.newPage();
  page.on('request', (request) => requested.push(request.url()));
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.setViewport(viewport);
  await page.goto(url);
  await page.waitForSelector('html[data-ready="true"]', { timeout: 10000 });
  page.errors = errors;
  return page;
}

const padKey = (label) => `button[aria-label="${label}"]`;
const typedText = (page) => page.$eval('#text', (e) => e.textContent);

async function clickKeys(page, keys) {
  for (const key of keys) await page.click(padKey(key));
}

async function clearText(page) {
  await page.click('#clear-text');
  assert.equal(await typedText(page), '');
}

test('the pad types こんにちは in kana toggle mode, by mouse and by keyboard', async () => {
  const page = await openPage();
  const mode = await page.$eval('input[name="mode"]:checked', (e) => e.parentElement.textContent);
  assert.equal(mode, 'かな入力・トグル式');
  await clickKeys(page, '22222');
  // The candidates of the toggled key, the current one marked.
  assert.deepEqual(
    await page.$$eval('#toggle .cell', (cells) => cells.map((c) => [c.textContent, c.getAttribute('aria-current')])),
    [['か', null], ['き', null], ['く', null], ['け', null], ['こ', 'true']],
  );
  await clickKeys(page, '000554');
  await clickKeys(page, '46');
  assert.equal(await typedText(page), 'こんにちは');
  // The IME has not committed it: it shows as the composition.
  assert.equal(await page.$eval('#composition', (e) => e.textContent), 'こんにちは');
  assert.equal(await page.$eval('#slot', (e) => e.textContent), 'キーマップ4');

  await clearText(page);
  await page.focus(padKey('1'));
  for (const key of '22222 000 55 44 6'.replace(/ /g, '')) await page.keyboard.press(key);
  assert.equal(await typedText(page), 'こんにちは');
  // * converts, → confirms the toggle, Backspace is the clear key.
  await page.keyboard.press('*');
  assert.equal(await typedText(page), 'こんにちば');
  await page.keyboard.press('2');
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('2');
  assert.equal(await typedText(page), 'こんにちばかか');
  await page.keyboard.press('Backspace');
  assert.equal(await typedText(page), 'こんにちばか');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a broken keymap shows its messages, keeps the last good keymap and selects a line', async () => {
  const page = await openPage();
  await page.click('#keymap-text', { clickCount: 1 });
  await page.keyboard.down('Control');
  await page.keyboard.press('a');
  await page.keyboard.up('Control');
  await page.keyboard.type("keymap '\\x00'\nkey '\\x01'\nchar '\\x4G'\nkey '\\x02'\n");
  await page.waitForFunction(() => document.querySelectorAll('#messages li').length === 5);
  assert.deepEqual(await page.$$eval('#messages button', (b) => b.map((e) => e.textContent)), [
    "3: 警告: '\\x4G' に16進数の数字でない文字があります (0x40 と読まれます)",
    '4: 4行:bellはactionが12個必要です',
    '2: 備考: このkeyはここから始まります',
    '4: 4行:Keyの数が合いません',
    '1: 備考: このkeymapはここから始まります',
  ]);
  assert.match(await page.$eval('#keymap-status', (e) => e.textContent), /最後にエラーなく読めたキーマップを使っています/);
  // The default keymap is still the one in use.
  await clickKeys(page, '2');
  assert.equal(await typedText(page), 'か');
  await page.click('#messages li:nth-child(2) button');
  const selected = await page.$eval('#keymap-text', (e) => [
    e.value.slice(e.selectionStart, e.selectionEnd), document.activeElement === e,
  ]);
  assert.deepEqual(selected, ["key '\\x02'", true]);
  await page.close();
});

test('a keymap file opens and saves byte for byte', async () => {
  const page = await openPage();
  const folder = mkdtempSync(join(tmpdir(), 'pqk-files-'));
  try {
    const saved = join(folder, 'saved');
    mkdirSync(saved);
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: saved });
    const files = {
      // UTF-8 with CR LF line ends, as the default keymap.
      'crlf.txt': Buffer.from("# キーマップ\r\nkeymap '\\x04'\r\nkey '\\x02'\r\n"),
      // A comment in Shift_JIS, which is no UTF-8.
      'sjis.txt': Buffer.concat([Buffer.from([0x23, 0x20, 0x82, 0xa0, 0x0a]), Buffer.from("keymap '\\x05'\n")]),
    };
    for (const [name, bytes] of Object.entries(files)) {
      writeFileSync(join(folder, name), bytes);
      await (await page.$('#file-input')).uploadFile(join(folder, name));
      await page.waitForFunction((n) => document.getElementById('keymap-text').value.includes(`keymap '\\x0${n}'`), {}, name === 'crlf.txt' ? 4 : 5);
      // The keymap has no complete keys: its message is listed at its line.
      assert.match(await page.$eval('#messages', (e) => e.textContent), /行:Keyの数が合いません/);
      await page.click('#save-file');
      const file = join(saved, name);
      for (let i = 0; i < 50 && !existsSync(file); i += 1) await new Promise((r) => setTimeout(r, 100));
      assert.deepEqual(readFileSync(file), bytes, name);
    }
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
  await page.close();
});

test('auto-advance starts a new character after the timeout', async () => {
  const page = await openPage();
  await page.click('#options input[type="checkbox"]');
  assert.equal(await page.$eval('#auto-advance-label', (e) => e.textContent), '自動送り');
  await page.click('#timeout', { clickCount: 3 });
  await page.keyboard.type('800');
  await clickKeys(page, '2');
  await new Promise((resolve) => setTimeout(resolve, 1000));
  await clickKeys(page, '2');
  assert.equal(await typedText(page), 'かか');
  await clickKeys(page, '2');
  assert.equal(await typedText(page), 'かき');
  await page.close();
});

test('a copied link opens the same mode, options and keymap', async () => {
  const page = await openPage();
  await page.click('input[name="mode"][value="8"]');
  await page.click('#timeout', { clickCount: 3 });
  await page.keyboard.type('700');
  await page.click('#keymap-text');
  await page.keyboard.down('Control');
  await page.keyboard.press('End');
  await page.keyboard.up('Control');
  await page.keyboard.type('# 共有したキーマップ\n');
  await page.waitForFunction(() => location.hash.length > 3);
  await new Promise((resolve) => setTimeout(resolve, 600));
  const link = await page.evaluate(() => location.href);
  const keymap = await page.$eval('#keymap-text', (e) => e.value);
  const shared = await openPage(link);
  assert.equal(await shared.$eval('input[name="mode"]:checked', (e) => e.value), '8');
  assert.equal(await shared.$eval('#timeout', (e) => e.value), '700');
  assert.equal(await shared.$eval('#keymap-text', (e) => e.value), keymap);
  assert.match(keymap, /# 共有したキーマップ\n$/);
  assert.equal(await shared.$eval('#slot', (e) => e.textContent), 'キーマップ0');
  await clickKeys(shared, '25');
  assert.equal(await typedText(shared), 'こ');
  await shared.close();
  await page.close();
});

test('every control is named by the label it shows, and a phone-sized screen fits', async () => {
  const page = await openPage(base, { width: 360, height: 740, isMobile: true, hasTouch: true });
  const names = [
    '1', '2', '3', '4', '5', '6', '7', '8', '9', '*', '0', '#', '→', 'クリア',
    '無し', 'かな入力・トグル式', '2タッチ(ポケベル)入力', '自動送り', '後変換/逆トグル後も自動送りする',
    '自動CapsLock', 'ニコタッチ風', 'IME制御(Atok/Wnn用)', '[クリア]キーで2タッチの一打目を取り消す',
    'IME切換', 'キーマップ', 'メッセージ', '入力テスト用', '自動送り msec',
  ];
  for (const name of names) {
    assert.notEqual(await page.$(`::-p-aria(${JSON.stringify(name)})`), null, name);
  }
  const unnamed = await page.evaluate(async () => {
    const found = [];
    for (const e of document.querySelectorAll('button, input:not([type="file"]), select, textarea, [role="textbox"]')) {
      if (e.closest('[hidden]') !== null) continue;
      const label = e.getAttribute('aria-label') ?? e.labels?.[0]?.textContent ?? e.textContent;
      if ((label ?? '').trim() === '' && e.getAttribute('aria-labelledby') === null) found.push(e.outerHTML);
    }
    return found;
  });
  assert.deepEqual(unnamed, []);
  // Touch on the pad types too.
  await page.tap(padKey('2'));
  assert.equal(await typedText(page), 'か');
  assert.equal(await page.evaluate(() => document.documentElement.scrollWidth), 360);
  await page.close();
});

test('the IME switch shows its state as the settings dialog does', async () => {
  const page = await openPage();
  assert.equal(await page.$eval('#ime-state', (e) => e.textContent), 'IME ON');
  await clickKeys(page, '2');
  await page.click('#ime-switch');
  assert.equal(await page.$eval('#ime-state', (e) => e.textContent), 'IME OFF');
  assert.equal(await page.$eval('#slot', (e) => e.textContent), 'キーマップ4');
  // The next key-down picks the slot by the IME: alphanumeric keymap 5.
  await clickKeys(page, '3');
  assert.equal(await typedText(page), 'かd');
  assert.equal(await page.$eval('#slot', (e) => e.textContent), 'キーマップ5');
  await page.close();
});

test('screenshot and budgets (measured, not asserted)', async () => {
  mkdirSync(outDir, { recursive: true });
  const readyTimes = [];
  let transferred = 0;
  for (let run = 0; run < 3; run += 1) {
    const page = await browser.newPage();
    const session = await page.createCDPSession();
    await session.send('Network.enable');
    await session.send('Network.setCacheDisabled', { cacheDisabled: true });
    let bytes = 0;
    session.on('Network.loadingFinished', (event) => {
      bytes += event.encodedDataLength;
    });
    await page.goto(base);
    await page.waitForSelector('html[data-ready="true"]');
    readyTimes.push(await page.evaluate(() => window.pqkReadyMs));
    transferred = bytes;
    await page.close();
  }
  const page = await openPage(base, { width: 1200, height: 860 });
  const pressMs = await page.evaluate(() => {
    const button = document.querySelector('button[aria-label="2"]');
    const times = [];
    for (let i = 0; i < 1000; i += 1) {
      const start = performance.now();
      const options = { bubbles: true, button: 0, pointerId: 1, isPrimary: true };
      button.dispatchEvent(new PointerEvent('pointerdown', options));
      button.dispatchEvent(new PointerEvent('pointerup', options));
      if (document.getElementById('text').textContent.length === 0) throw new Error('no text');
      times.push(performance.now() - start);
    }
    times.sort((a, b) => a - b);
    return times[500];
  });
  await page.click('#clear-text');
  await clickKeys(page, '2222200055446');
  await page.click('#events-view summary');
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.screenshot({ path: join(outDir, 'playground.png'), fullPage: true });
  readyTimes.sort((a, b) => a - b);
  const budgets = {
    transferredKB: Math.round(transferred / 102.4) / 10,
    readyMs: Math.round(readyTimes[1]),
    pressMedianMs: Math.round(pressMs * 1000) / 1000,
  };
  writeFileSync(join(outDir, 'budgets.json'), `${JSON.stringify(budgets, null, 2)}\n`);
  console.log(`budgets: page ${budgets.transferredKB} KB compressed, ready ${budgets.readyMs} ms, ` +
    `press to text ${budgets.pressMedianMs} ms median of 1,000`);
  await page.close();
});

test('the page asked for nothing outside 127.0.0.1', () => {
  const elsewhere = requested.filter((url) => !url.startsWith(base) && !url.startsWith('blob:') && !url.startsWith('data:'));
  assert.ok(requested.length > 0);
  assert.deepEqual(elsewhere, []);
});
