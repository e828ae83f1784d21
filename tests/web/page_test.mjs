// The web player in headless Chromium, played as a person plays it: the start of the demo with
// key presses and clicks (the intro, a command, a picture closed with Esc, a move, a dialogue
// answer chosen with a number key), a save, a reload of the page, the load of that save, the save
// downloaded as a file, a game folder opened from disk, a game opened from a .zip, and the
// downloaded save loaded into it from the file.
// Prints the time to the first story text and to the answer of a typed command.
//   node --experimental-websocket tests/web/page_test.mjs [SITE_DIR]   (default build/web/site)
import { cpSync, existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, truncateSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { basename, dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchChromium, Page, serveSite } from './cdp.mjs';
import { makeZip } from './zip_writer.mjs';

if (typeof WebSocket === 'undefined') {
  console.error('web page: this node has no WebSocket (node 20 needs --experimental-websocket)');
  process.exit(2);
}

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');

const failures = [];
function check(ok, what) {
  if (!ok) failures.push(what);
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
}

// axe-core, installed beside this test by `npm ci` (tests/web/package-lock.json), checks the page
// as it stands in each state the test reaches; what it rates serious or critical fails the test.
const axePath = join(root, 'tests/web/node_modules/axe-core/axe.min.js');
async function accessible(page, state) {
  if (!existsSync(axePath)) {
    check(false, `axe-core is not installed: run npm ci --prefix tests/web (${state})`);
    return;
  }
  if (!(await page.eval('typeof axe !== "undefined"'))) await page.eval(readFileSync(axePath, 'utf8'));
  const found = await page.eval(`axe.run(document, { resultTypes: ['violations'] }).then((r) =>
    r.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
      .map((v) => v.id + ' (' + v.impact + '): ' + v.nodes.map((n) => n.target.join(' ')).join(', ')))`);
  check(found.length === 0, `${state}: no serious or critical accessibility violations${found.length ? '\n    ' + found.join('\n    ') : ''}`);
}

// An item of the game menu, chosen as a person does: the menu opened by its button, then a click.
async function menuItem(page, selector) {
  await page.click('#game-menu-button');
  await page.until(`!document.getElementById('game-menu').hidden && document.activeElement.getAttribute('role') === 'menuitem'`, 'the game menu open');
  const inside = `(() => { const r = document.getElementById('game-menu').getBoundingClientRect();
    return r.left >= 0 && r.right <= innerWidth && r.bottom <= innerHeight; })()`;
  check(await page.eval(inside), 'the game menu is wholly inside the window');
  await page.click(selector);
}

const storyHas = (text) => `document.getElementById('story').textContent.includes(${JSON.stringify(text)})`;
const view = (path) => `Module.mirweb.lastView().${path}`;

// A copy of the demo under a name of its own stands for a game on the player's disk.
const disk = mkdtempSync(join(tmpdir(), 'mirweb-disk-'));
const picked = join(disk, 'melnica');
cpSync(join(root, 'games/demo'), picked, { recursive: true, filter: (f) => !f.endsWith('.sav') });
// The demo again as a .zip, in a folder with a Russian name, and holding a save of the name the
// upload below uses, with other contents: the upload asks before replacing it.
const zipGame = 'Мельница';
const zipped = join(disk, 'melnica.zip');
writeFileSync(zipped, makeZip([
  ...readdirSync(picked, { recursive: true, withFileTypes: true }).filter((d) => d.isFile()).map((d) => {
    const path = join(d.parentPath ?? d.path, d.name);
    return { name: `${zipGame}/${path.slice(picked.length + 1)}`, data: readFileSync(path), utf8: true };
  }),
  { name: `${zipGame}/проба.sav`, data: 'не та игра', utf8: true },
]));
const downloads = join(disk, 'downloads');

async function chooseFile(page, selector, file) {
  const { root: doc } = await page.call('DOM.getDocument');
  const { nodeId } = await page.call('DOM.querySelector', { nodeId: doc.nodeId, selector });
  await page.call('DOM.setFileInputFiles', { nodeId, files: [file] });
}

const server = await serveSite(process.argv[2] && resolve(process.argv[2]));
const chromium = await launchChromium();
let page;
try {
  page = await Page.open(chromium.port);
  await page.call('Emulation.setDeviceMetricsOverride', { width: 1000, height: 700, deviceScaleFactor: 1, mobile: false });
  const url = `${server.url}?seed=12`;

  await page.navigate(url);
  await page.until(storyHas('Начало игры:'), 'the intro');
  const [ready, firstText] = await page.eval('[window.mirwebReady, window.mirwebFirstText]');
  check(firstText < 2000, `the intro is shown ${firstText.toFixed(0)} ms after navigation (the runtime was ready after ${ready.toFixed(0)} ms)`);
  check(await page.eval(`document.activeElement.id === 'input'`), 'the input line has the keyboard');
  await accessible(page, 'the intro');

  await page.enter();
  await page.until(storyHas('Вы стоите на развилке'), 'the first location after Enter');
  await page.enter('вещи');
  await page.until(storyHas('старый плащ'), 'the inventory');
  const answerMs = await page.eval('window.mirwebAnswerMs');
  check(answerMs < 200, `«вещи» is answered in ${answerMs.toFixed(1)} ms`);

  await page.enter('осмотреть мельницу');
  await page.until(`!document.getElementById('picture-pane').hidden && document.getElementById('picture').complete && document.getElementById('picture').naturalWidth > 0`, 'the picture');
  // The engine reads the size from the file's header; the browser decodes the picture itself.
  const sizes = await page.eval(`[${view('picture_size')}, [document.getElementById('picture').naturalWidth, document.getElementById('picture').naturalHeight]]`);
  check(JSON.stringify(sizes[0]) === JSON.stringify(sizes[1]), `the picture's size as the engine read it (${sizes[0]}) is the decoded one (${sizes[1]})`);
  // The picture never covers the story, in a wide window or a narrow one.
  const apart = `(() => { const a = document.getElementById('picture').getBoundingClientRect();
    const b = document.getElementById('story').getBoundingClientRect();
    return a.width > 0 && b.height > 40 && (a.right <= b.left || a.bottom <= b.top); })()`;
  for (const [width, height] of [[1000, 700], [420, 760], [640, 360]]) {
    await page.call('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false });
    await page.until(`innerWidth === ${width}`, `the window at ${width}×${height}`);
    const ok = await page.until(apart, `the picture apart from the story at ${width}×${height}`, 1000).catch(() => false);
    if (!ok) console.log(await page.eval(`JSON.stringify([document.getElementById('picture').getBoundingClientRect(), document.getElementById('story').getBoundingClientRect()])`));
    check(ok, `at ${width}×${height} the picture sits beside or above the story, not over it`);
    const atEnd = `(() => { const s = document.getElementById('story'); return s.scrollHeight - s.scrollTop - s.clientHeight < 4; })()`;
    check(await page.until(atEnd, 'the story at its end', 1000).catch(() => false), `at ${width}×${height} the newest text stays in view`);
  }
  // Scrolled back to read, the story stays where the player left it when the window changes.
  await page.eval(`document.getElementById('story').scrollTop = 0`);
  await page.until(`document.getElementById('story').scrollTop === 0`, 'the story scrolled back');
  await page.call('Emulation.setDeviceMetricsOverride', { width: 420, height: 760, deviceScaleFactor: 1, mobile: false });
  await page.until(`innerWidth === 420`, 'the narrow window');
  await new Promise((r) => setTimeout(r, 100));
  check(await page.eval(`document.getElementById('story').scrollTop === 0`), 'a story scrolled back to read stays there when the window changes');
  await page.call('Emulation.setDeviceMetricsOverride', { width: 1000, height: 700, deviceScaleFactor: 1, mobile: false });
  await page.key('Escape', { keyCode: 27 });
  await page.until(`document.getElementById('picture-pane').hidden`, 'the picture closed by Esc');

  await page.enter('восток');
  await page.until(storyHas('Нажмите Enter'), 'the transition');
  await page.enter();
  await page.until(`${view('room')} === 3`, 'the village');
  await page.enter('постучать');
  await page.enter('поговорить со старушкой');
  await page.until(`document.querySelectorAll('#answers button').length >= 2`, 'the answers');
  await accessible(page, 'a dialogue with its answers and the word columns');
  const caption = await page.eval(`${view('buttons')}.find((b) => b.index === 1).caption`);
  await page.key('1', { code: 'Digit1', keyCode: 49, text: '1' });
  await page.until(`${view('story')}.includes(${JSON.stringify(caption)})`, 'the answer chosen with the key 1');
  check(await page.eval(`document.getElementById('input').value === ''`), 'the number key chose the answer and typed nothing');
  const moves = await page.eval(view('moves'));
  await page.click('#answers button[data-index="0"]');
  await page.until(`document.getElementById('answers').hidden`, 'the dialogue closed by a click');

  // A save, kept by the browser across a reload.
  const stored = await page.eval('window.mirwebStored || 0');
  await page.key('s', { code: 'KeyS', keyCode: 83, modifiers: 2 }); // Ctrl+S, as on the desktop
  await page.until(`document.getElementById('dialog').open`, 'the question for the save name');
  await accessible(page, 'the question for the save name');
  await page.type('проба');
  await page.key('Enter', { keyCode: 13, text: '\r' });
  await page.until(`window.mirwebStored > ${stored}`, 'the save stored in IndexedDB');

  // The view options: larger text and high contrast, kept with the saves.
  const storedBefore = await page.eval('window.mirwebStored || 0');
  await page.click('#view-button');
  await page.until(`document.getElementById('view-options').open`, 'the view options');
  await accessible(page, 'the view options');
  await page.eval(`(() => { const z = document.getElementById('view-zoom'); z.value = '150';
    z.dispatchEvent(new Event('input', { bubbles: true })); })()`);
  await page.click('#view-contrast');
  await page.key('Escape', { keyCode: 27 });
  await page.until(`!document.getElementById('view-options').open && document.activeElement.id === 'input'`, 'the view options closed, the keyboard back in the input line');
  check(await page.eval(view('moves')) === moves, 'the view options did not play a move');
  const contrast = `getComputedStyle(document.body).backgroundColor === 'rgb(0, 0, 0)' && getComputedStyle(document.documentElement).fontSize === '24px'`;
  check(await page.eval(contrast), 'the view options take effect: high contrast, text half as large again');
  await page.until(`window.mirwebStored > ${storedBefore}`, 'the view options stored in IndexedDB');

  // A folder with saves is not started by itself: the cover waits for a choice.
  await page.call('Page.reload');
  await page.until(`window.mirwebFirstText !== undefined && ${view('game')} === ''`, 'the cover after the reload');
  await page.enter('загрузить игру');
  await page.until(`[...document.querySelectorAll('#browser-files button')].some((b) => b.textContent === 'проба.sav')`, 'the save listed after the reload');
  await accessible(page, 'the list of saves');
  check(await page.eval(contrast), 'the view options are kept across the reload');
  await page.click('#browser-files li:first-child button');
  await page.until(`${view('room')} === 3 && document.getElementById('browser').hidden`, 'the saved game loaded', 5000)
    .catch(async (e) => {
      if (await page.eval(`document.getElementById('dialog').open`)) {
        await page.click('#dialog-buttons button[data-answer="yes"]');
        return page.until(`${view('room')} === 3`, 'the saved game loaded');
      }
      throw e;
    });
  check(await page.eval(view('moves')) === moves, `the loaded game stands at move ${moves} in the village`);

  // The save downloaded as a file: the bytes the engine wrote, under the save's own name.
  await page.call('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  await menuItem(page, '#save-download');
  await page.until(`document.querySelector('#dialog-choices button[data-answer="проба.sav"]')`, 'the save offered for download');
  await page.click('#dialog-choices button[data-answer="проба.sav"]');
  const downloaded = join(downloads, 'проба.sav');
  for (const end = Date.now() + 5000; !existsSync(downloaded) || readdirSync(downloads).some((f) => f.endsWith('.crdownload'));) {
    if (Date.now() > end) throw new Error(`timed out waiting for the download (${existsSync(downloads) ? readdirSync(downloads) : 'no folder'})`);
    await new Promise((r) => setTimeout(r, 20));
  }
  const written = Buffer.from(await page.eval(`Array.from(Module.mirweb.readFile('/games/demo/проба.sav'))`));
  check(written.length > 0 && readFileSync(downloaded).equals(written), `the downloaded save is the engine's file, byte for byte (${written.length} bytes)`);

  // A game folder from the player's disk, through the page's folder picker.
  await page.call('DOM.enable');
  await chooseFile(page, '#browser-open-folder', picked);
  await page.until(`document.getElementById('dialog').open`, 'the question before leaving the running game');
  await page.click('#dialog-buttons button[data-answer="yes"]');
  await page.until(`${view('game_dir')} === '/games/${basename(picked)}/' && ${view('waiting')} === 'transition'`, 'the game from disk started');
  await page.enter();
  await page.until(`${view('room')} === 1 && ${view('moves')} === 0`, 'the first location of the game from disk');
  check(true, 'a game folder picked from disk starts after the question');

  // The same game from a .zip: the folder inside it becomes the game's.
  await page.enter('новая игра');
  await page.until(`!document.getElementById('browser').hidden`, 'the game browser');
  const broken = join(disk, 'broken.zip');
  writeFileSync(broken, readFileSync(zipped).subarray(0, 1000));
  await chooseFile(page, '#browser-open-zip-file', broken);
  await page.until(`document.getElementById('dialog').open && document.getElementById('dialog-text').textContent.includes('zip')`, 'the message about the broken .zip');
  await page.click('#dialog-buttons button');
  await page.until(`!document.getElementById('dialog').open`, 'the message closed');
  await chooseFile(page, '#browser-open-zip-file', zipped);
  await page.until(`document.getElementById('dialog').open`, 'the question before leaving the game from disk');
  await page.click('#dialog-buttons button[data-answer="yes"]');
  await page.until(`${view('game_dir')} === '/games/${zipGame}/' && ${view('waiting')} === 'transition'`, 'the game from the .zip started');
  // The page's own menu buttons send the engine nothing: an empty command would end the transition.
  await menuItem(page, '#save-download');
  await page.until(`document.querySelector('#dialog-choices button[data-answer="проба.sav"]')`, "the .zip's save offered for download");
  await page.key('Escape', { keyCode: 27 });
  await page.until(`!document.getElementById('dialog').open`, 'the download dialog cancelled by Esc');
  check(await page.eval(`${view('waiting')} === 'transition'`), 'the download button leaves the transition waiting');
  await page.enter();
  await page.until(`${view('room')} === 1 && ${view('moves')} === 0`, 'the first location of the game from the .zip');
  check(true, 'a game opened from a .zip starts in its own folder');

  // A file of many megabytes is refused as a save before it is read.
  const huge = join(disk, 'огромное.sav');
  writeFileSync(huge, '');
  truncateSync(huge, 17 * 1024 * 1024);
  await menuItem(page, '#save-upload');
  await chooseFile(page, '#save-upload-file', huge);
  await page.until(`document.getElementById('dialog').open && document.getElementById('dialog-text').textContent.includes('слишком велик')`, 'the message about the oversized save');
  await page.click('#dialog-buttons button');
  await page.until(`!document.getElementById('dialog').open`, 'the message closed');
  check(await page.eval(`${view('room')} === 1 && !Module.mirweb.readFile('/games/${zipGame}/огромное.sav')`), 'an oversized file is not written into the game folder');

  // The downloaded save loaded from the file, under a name that cannot stay as it is, into the
  // game from the .zip, where a different save of that name waits.
  const upload = join(disk, '..проба.sav');
  cpSync(downloaded, upload);
  await menuItem(page, '#save-upload');
  await chooseFile(page, '#save-upload-file', upload);
  await page.until(`document.getElementById('dialog').open && document.getElementById('dialog-text').textContent.includes('«проба.sav»')`, 'the question before replacing the save');
  await page.click('#dialog-buttons button[data-answer="yes"]');
  await page.until(`${view('room')} === 3 && ${view('moves')} === ${moves}`, 'the uploaded save loaded', 5000)
    .catch(async (e) => {
      if (await page.eval(`document.getElementById('dialog').open`)) {
        await page.click('#dialog-buttons button[data-answer="yes"]');
        return page.until(`${view('room')} === 3 && ${view('moves')} === ${moves}`, 'the uploaded save loaded');
      }
      throw e;
    });
  check(await page.eval(`${view('game_dir')} === '/games/${zipGame}/'`), `the save loaded from a file stands at move ${moves} in the village of the game from the .zip`);
  // A browser that kept the games folder but forgot the page's mark: the player starts without
  // waiting for the database (made slow here, as a first opening is), a write-back asked for
  // before the database is read waits for it, and the saves and view options it holds come back.
  const saves = `['demo', ${JSON.stringify(zipGame)}].every((g) => Module.mirweb.readFile('/games/' + g + '/проба.sav'))`;
  const { identifier: slowDatabase } = await page.call('Page.addScriptToEvaluateOnNewDocument', {
    source: `{ localStorage.removeItem('mirweb-games-stored');
      const open = IDBFactory.prototype.open;
      IDBFactory.prototype.open = function (...args) {
        const late = {};
        setTimeout(() => {
          const real = open.apply(this, args);
          for (const on of ['onupgradeneeded', 'onsuccess', 'onerror', 'onblocked'])
            if (late[on]) real[on] = (e) => { late.result = real.result; late.transaction = real.transaction; late[on](e); };
        }, 400);
        return late;
      }; }`,
  });
  await page.eval(`window.mirwebOldPage = true`);
  await page.call('Page.reload');
  await page.until(`!window.mirwebOldPage && window.mirwebFirstText !== undefined`, 'the start without the mark');
  const early = await page.eval(`Module.mirweb.readFile('/games/demo/проба.sav') === null`);
  await page.eval(`Module.mirweb.persist()`);
  await page.until('window.mirwebStored > 0', 'the games folder written back');
  await page.call('Page.removeScriptToEvaluateOnNewDocument', { identifier: slowDatabase });
  check(early && await page.eval(`${saves} && ${contrast}`), 'without the mark the player starts before the database is read; its saves and view options come back');
  const storedSave = `new Promise((resolve) => { indexedDB.open('/games').onsuccess = (e) => {
    const get = e.target.result.transaction('FILE_DATA').objectStore('FILE_DATA').get('/games/demo/проба.sav');
    get.onsuccess = () => resolve(!!get.result); }; })`;
  check(await page.eval(storedSave), 'the first write-back keeps the saves in the database');
  const thrown = page.console.filter((line) => line.startsWith('exception'));
  check(!thrown.length, `no exception on the page${thrown.length ? `: ${thrown.join('\n')}` : ''}`);
  if (process.env.MIRWEB_SCREENSHOT) await page.screenshot(process.env.MIRWEB_SCREENSHOT);
} catch (e) {
  failures.push(e.message);
  console.log(`FAIL ${e.message}`);
} finally {
  if (page) page.close();
  await chromium.close();
  server.close();
  rmSync(disk, { recursive: true, force: true });
}
console.log(`web page: ${failures.length ? 'failed' : 'passed'}`);
process.exit(failures.length ? 1 : 0);
