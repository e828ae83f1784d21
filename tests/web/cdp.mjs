// A small client of Chromium's DevTools protocol over node's WebSocket, enough for the page tests:
// a headless Debian chromium, a page, script evaluation, key presses and clicks.
import { spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');

// The page on a free port of 127.0.0.1, once the server answers: served by scripts/web.sh serve,
// as a player serves it, or, given another built site's folder, by the same Python server there.
export async function serveSite(folder = null) {
  const port = await new Promise((res) => {
    const s = createServer().listen(0, '127.0.0.1', () => {
      const { port: p } = s.address();
      s.close(() => res(p));
    });
  });
  const server = folder
    ? spawn('python3', ['-m', 'http.server', '--bind', '127.0.0.1', String(port)], { cwd: folder, stdio: 'ignore' })
    : spawn('bash', [`${root}/scripts/web.sh`, 'serve', String(port)], { stdio: 'ignore' });
  const url = `http://127.0.0.1:${port}/`;
  for (let i = 0; i < 100 && !(await fetch(url).then(() => true, () => false)); ++i) await sleep(50);
  return { url, close: () => server.kill() };
}

export async function launchChromium() {
  const profile = mkdtempSync(join(tmpdir(), 'mirweb-chromium-'));
  const proc = spawn('chromium', ['--headless=new', '--no-sandbox', '--disable-gpu',
    '--no-first-run', '--no-default-browser-check', '--remote-debugging-port=0',
    '--autoplay-policy=user-gesture-required', `--user-data-dir=${profile}`, 'about:blank'],
  { stdio: ['ignore', 'ignore', 'pipe'] });
  proc.stderr.resume();
  let port = null;
  for (let i = 0; i < 200 && !port; ++i) {
    try {
      port = readFileSync(join(profile, 'DevToolsActivePort'), 'utf8').split('\n')[0];
    } catch {
      await sleep(50);
    }
  }
  if (!port) throw new Error('chromium did not start');
  const exited = new Promise((resolve) => proc.on('exit', resolve));
  const close = async () => {
    proc.kill();
    await exited;
    // The browser's helper processes may still be writing to the profile as they go.
    try {
      rmSync(profile, { recursive: true, force: true, maxRetries: 20, retryDelay: 100 });
    } catch (e) {
      console.warn(`left ${profile}: ${e.message}`);
    }
  };
  return { port, close };
}

export class Page {
  // A new tab; `fresh`: in a browser context of its own, with an empty cache and storage, as a
  // first visit meets the page in a browser that is already running.
  static async open(port, { fresh = false } = {}) {
    let address;
    if (fresh) {
      const { webSocketDebuggerUrl } = await (await fetch(`http://127.0.0.1:${port}/json/version`)).json();
      const browser = await Page.connect(webSocketDebuggerUrl);
      const { browserContextId } = await browser.call('Target.createBrowserContext', { disposeOnDetach: false });
      const { targetId } = await browser.call('Target.createTarget', { url: 'about:blank', browserContextId });
      browser.close();
      address = `ws://127.0.0.1:${port}/devtools/page/${targetId}`;
    } else {
      const res = await fetch(`http://127.0.0.1:${port}/json/new?about:blank`, { method: 'PUT' });
      address = (await res.json()).webSocketDebuggerUrl;
    }
    const page = await Page.connect(address);
    await page.call('Page.enable');
    await page.call('Runtime.enable');
    return page;
  }

  static async connect(address) {
    const page = new Page(new WebSocket(address));
    await new Promise((resolve, reject) => {
      page.ws.onopen = resolve;
      page.ws.onerror = reject;
    });
    return page;
  }

  constructor(ws) {
    this.ws = ws;
    this.next = 1;
    this.pending = new Map();
    this.console = [];
    this.loaded = null;
    ws.onmessage = (m) => {
      const msg = JSON.parse(m.data);
      if (msg.id && this.pending.has(msg.id)) {
        const { resolve, reject } = this.pending.get(msg.id);
        this.pending.delete(msg.id);
        if (msg.error) reject(new Error(msg.error.message));
        else resolve(msg.result);
      } else if (msg.method === 'Runtime.consoleAPICalled') {
        this.console.push(msg.params.args.map((a) => a.value ?? a.description).join(' '));
      } else if (msg.method === 'Runtime.exceptionThrown') {
        this.console.push('exception: ' + JSON.stringify(msg.params.exceptionDetails));
      }
    };
  }

  // A call that gets no answer in 10 s fails, so that a test never hangs.
  call(method, params = {}) {
    const id = this.next++;
    this.ws.send(JSON.stringify({ id, method, params }));
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        this.pending.delete(id);
        reject(new Error(`${method}: no answer from the browser`));
      }, 10000);
      this.pending.set(id, {
        resolve: (v) => (clearTimeout(timer), resolve(v)),
        reject: (e) => (clearTimeout(timer), reject(e)),
      });
    });
  }

  async eval(expression) {
    const r = await this.call('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails) throw new Error(`${expression}: ${JSON.stringify(r.exceptionDetails)}`);
    return r.result.value;
  }

  // Polls `expression` until it gives a true value (an exception counts as false: the page may
  // not be there yet); fails with `what` after `ms`.
  async until(expression, what, ms = 5000) {
    const end = Date.now() + ms;
    for (;;) {
      const v = await this.eval(expression).catch(() => false);
      if (v) return v;
      if (Date.now() > end) throw new Error(`timed out waiting for ${what}\n${this.console.join('\n')}`);
      await sleep(20);
    }
  }

  // `modifiers`: 2 for Ctrl (the protocol's bits: Alt 1, Ctrl 2, Meta 4, Shift 8).
  async key(key, { code = key, keyCode = 0, text, modifiers = 0 } = {}) {
    const common = { key, code, modifiers, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode };
    await this.call('Input.dispatchKeyEvent', { type: text ? 'keyDown' : 'rawKeyDown', text, ...common });
    await this.call('Input.dispatchKeyEvent', { type: 'keyUp', ...common });
  }

  async type(text) {
    await this.call('Input.insertText', { text });
  }

  // Types a line into the focused input line and presses Enter.
  async enter(text = '') {
    if (text) await this.type(text);
    await this.key('Enter', { keyCode: 13, text: '\r' });
  }

  // A real mouse click at the middle of the element that `selector` finds.
  async click(selector) {
    const box = await this.eval(`(() => { const r = document.querySelector(${JSON.stringify(selector)})
      .getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()`);
    for (const type of ['mousePressed', 'mouseReleased'])
      await this.call('Input.dispatchMouseEvent', { type, x: box[0], y: box[1], button: 'left', clickCount: 1 });
  }

  async navigate(url) {
    await this.call('Page.navigate', { url });
  }

  async screenshot(file) {
    const { data } = await this.call('Page.captureScreenshot', { format: 'png' });
    writeFileSync(file, Buffer.from(data, 'base64'));
  }

  // Closes the tab as well: a page left open keeps its engine's timer running, which slows
  // whatever the browser does next.
  async close() {
    await this.call('Page.close').catch(() => {});
    this.ws.close();
  }
}
