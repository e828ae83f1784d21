// The web player's speed, as a new visitor meets it: each run opens the page that scripts/web.sh
// serve serves on 127.0.0.1 in a new browser context of a running headless Chromium (an empty
// cache, no IndexedDB yet), and reads the page's own clocks: the engine's files downloaded, the
// runtime ready, the games folder ready, the first story text, and then the answer to a typed
// «вещи». A reload in the same context (the engine cached, the games folder read back from
// IndexedDB) is measured too. With --cold each run starts a new browser as well.
//   node --experimental-websocket bench/web_startup.mjs [--cold] [RUNS]      (default 7)
// With --against DIR the visits alternate between the site just built and another copy of a built
// site (for instance `cp -r build/web/site /tmp/before` before a change): on a busy machine the
// figures drift from minute to minute, and only visits taken in turns tell two builds apart.
//   node --experimental-websocket bench/web_startup.mjs --against /tmp/before [RUNS]
import { dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchChromium, Page, serveSite } from '../tests/web/cdp.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const args = process.argv.slice(2);
const cold = args.includes('--cold');
const against = args.includes('--against') ? resolve(args[args.indexOf('--against') + 1]) : null;
const runs = Number(args.find((a) => /^\d+$/.test(a)) || 7);

// The site just built as scripts/web.sh serves it, and the other one by the same server.
const sites = [{ name: `${root}/build/web/site`, ...(await serveSite()) }];
if (against) sites.push({ name: against, ...(await serveSite(against)) });
for (const site of sites)
  site.figures = { downloaded: [], ready: [], mounted: [], first: [], command: [], reloadFirst: [] };

// The page's clocks: the engine's files downloaded, the runtime ready, the games folder ready (read
// back from IndexedDB if it was ever stored, and the built-in games unpacked), the first story text
// drawn.
async function firstText(page, url) {
  await page.navigate(url);
  await page.until('window.mirwebFirstText !== undefined', 'the first story text', 10000);
  return page.eval(`(() => {
    const loaded = performance.getEntriesByType('resource').filter((r) => /mirweb-core/.test(r.name));
    const mark = (name) => performance.getEntriesByName(name)[0]?.startTime ?? NaN;
    return [window.mirwebReady, window.mirwebFirstText, Math.max(...loaded.map((r) => r.responseEnd)),
            mark('mirweb-unpacked')];
  })()`);
}

async function visit(chromium, site) {
  const page = await Page.open(chromium.port, { fresh: true });
  const [ready, first, downloaded, mounted] = await firstText(page, site.url);
  const figures = site.figures;
  figures.downloaded.push(downloaded);
  figures.ready.push(ready);
  figures.mounted.push(mounted);
  figures.first.push(first);
  await page.enter();
  await page.until(`document.getElementById('story').textContent.includes('Вы стоите на развилке')`, 'the first location');
  await page.enter('вещи');
  await page.until(`document.getElementById('story').textContent.includes('старый плащ')`, 'the answer');
  figures.command.push(await page.eval('window.mirwebAnswerMs'));
  figures.reloadFirst.push((await firstText(page, site.url))[1]);
  await page.close();
}

const shared = cold ? null : await launchChromium();
try {
  // One visit to each site first, not counted: the browser's own start-up is not the page's.
  if (shared) {
    for (const site of sites) {
      const page = await Page.open(shared.port, { fresh: true });
      await firstText(page, site.url);
      await page.close();
    }
  }
  for (let i = 0; i < runs; ++i) {
    // In turns, each site first every other time.
    for (const site of i % 2 ? sites.slice().reverse() : sites) {
      const chromium = shared || (await launchChromium());
      try {
        await visit(chromium, site);
      } finally {
        if (!shared) await chromium.close();
      }
    }
  }
} finally {
  if (shared) await shared.close();
  for (const site of sites) site.close();
}

const row = (name, values) => {
  const s = values.slice().sort((a, b) => a - b);
  const f = (v) => v.toFixed(v < 100 ? 1 : 0);
  console.log(`${name.padEnd(34)} min ${f(s[0])}  median ${f(s[s.length >> 1])}  max ${f(s[s.length - 1])} ms`);
};
for (const site of sites) {
  const { figures } = site;
  const which = against ? ` (${site.name})` : '';
  console.log(`web player${which}, ${runs} new visitors${cold ? ', each in a new browser' : ''} (ms from navigation unless said):`);
  row('engine files downloaded', figures.downloaded);
  row('runtime ready', figures.ready);
  row('games folder ready', figures.mounted);
  row('first story text', figures.first);
  row('first story text after a reload', figures.reloadFirst);
  row('«вещи» answered (from Enter)', figures.command);
}
