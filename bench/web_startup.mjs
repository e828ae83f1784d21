// The web player's speed, as a new visitor meets it: each run opens the page that scripts/web.sh
// serve serves on 127.0.0.1 in a new browser context of a running headless Chromium (an empty
// cache, no IndexedDB yet), and reads the page's own clocks: the engine's files downloaded, the
// runtime ready, the games folder ready, the first story text, and then the answer to a typed
// «вещи». A reload in the same context (the engine cached, the games folder read back from
// IndexedDB) is measured too. With --cold each run starts a new browser as well.
//   node --experimental-websocket bench/web_startup.mjs [--cold] [RUNS]      (default 7)
import { spawn } from 'node:child_process';
import { createServer } from 'node:net';
import { dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchChromium, Page } from '../tests/web/cdp.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const cold = process.argv.includes('--cold');
const runs = Number(process.argv.slice(2).find((a) => /^\d+$/.test(a)) || 7);
const port = await new Promise((res) => {
  const s = createServer().listen(0, '127.0.0.1', () => {
    const { port: p } = s.address();
    s.close(() => res(p));
  });
});
const server = spawn('bash', [`${root}/scripts/web.sh`, 'serve', String(port)], { stdio: 'ignore' });
const url = `http://127.0.0.1:${port}/`;
for (let i = 0; i < 100 && !(await fetch(url).then(() => true, () => false)); ++i)
  await new Promise((r) => setTimeout(r, 50));

const figures = { downloaded: [], ready: [], mounted: [], first: [], command: [], reloadFirst: [] };
// The page's clocks: the engine's files downloaded, the runtime ready, the games folder read back
// from IndexedDB and the built-in games unpacked, the first story text drawn.
async function firstText(page) {
  await page.navigate(url);
  await page.until('window.mirwebFirstText !== undefined', 'the first story text', 10000);
  return page.eval(`(() => {
    const loaded = performance.getEntriesByType('resource').filter((r) => /mirweb-core/.test(r.name));
    const mark = (name) => performance.getEntriesByName(name)[0]?.startTime ?? NaN;
    return [window.mirwebReady, window.mirwebFirstText, Math.max(...loaded.map((r) => r.responseEnd)),
            mark('mirweb-unpacked')];
  })()`);
}
let shared = cold ? null : await launchChromium();
try {
  // One visit first, not counted: the browser's own start-up is not the page's.
  if (shared) {
    const page = await Page.open(shared.port, { fresh: true });
    await firstText(page);
    await page.close();
  }
  for (let i = 0; i < runs; ++i) {
    const chromium = shared || (await launchChromium());
    try {
      const page = await Page.open(chromium.port, { fresh: true });
      const [ready, first, downloaded, mounted] = await firstText(page);
      figures.downloaded.push(downloaded);
      figures.ready.push(ready);
      figures.mounted.push(mounted);
      figures.first.push(first);
      await page.enter();
      await page.until(`document.getElementById('story').textContent.includes('Вы стоите на развилке')`, 'the first location');
      await page.enter('вещи');
      await page.until(`document.getElementById('story').textContent.includes('старый плащ')`, 'the answer');
      figures.command.push(await page.eval('window.mirwebAnswerMs'));
      figures.reloadFirst.push((await firstText(page))[1]);
      await page.close();
    } finally {
      if (!shared) await chromium.close();
    }
  }
} finally {
  if (shared) await shared.close();
  server.kill();
}
const row = (name, values) => {
  const s = values.slice().sort((a, b) => a - b);
  const f = (v) => v.toFixed(v < 100 ? 1 : 0);
  console.log(`${name.padEnd(34)} min ${f(s[0])}  median ${f(s[s.length >> 1])}  max ${f(s[s.length - 1])} ms`);
};
console.log(`web player, ${runs} new visitors${cold ? ', each in a new browser' : ''} (ms from navigation unless said):`);
row('engine files downloaded', figures.downloaded);
row('runtime ready', figures.ready);
row('games folder ready', figures.mounted);
row('first story text', figures.first);
row('first story text after a reload', figures.reloadFirst);
row('«вещи» answered (from Enter)', figures.command);
