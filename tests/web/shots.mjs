// Screenshots of the web player at several sizes and states, for looking at the page:
//   node --experimental-websocket tests/web/shots.mjs OUT_DIR [SITE_DIR]
// (The page test checks behaviour; this only draws.)
import { mkdirSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { launchChromium, Page, serveSite } from './cdp.mjs';

const out = resolve(process.argv[2] || 'shots');
mkdirSync(out, { recursive: true });
const server = await serveSite(process.argv[3] && resolve(process.argv[3]));
const chromium = await launchChromium();
const view = (path) => `Module.mirweb.lastView().${path}`;
const storyHas = (text) => `document.getElementById('story').textContent.includes(${JSON.stringify(text)})`;
try {
  const page = await Page.open(chromium.port);
  const size = (width, height) =>
    page.call('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false });
  const shot = async (name, w, h) => {
    if (w) await size(w, h);
    await new Promise((r) => setTimeout(r, 150));
    await page.screenshot(join(out, `${name}.png`));
  };
  await size(1280, 800);
  const url = `${server.url}?seed=12`;
  for (let i = 0; i < 100 && !(await fetch(url).then(() => true, () => false)); ++i)
    await new Promise((r) => setTimeout(r, 50));
  await page.navigate(url);
  await page.until(storyHas('Начало игры:'), 'the intro');
  await shot('intro-1280', 1280, 800);
  await page.enter();
  await page.until(storyHas('Вы стоите на развилке'), 'the first location');
  await page.enter('вещи');
  await page.enter('осмотреть мельницу');
  await page.until(`!document.getElementById('picture-pane').hidden && document.getElementById('picture').complete`, 'the picture');
  await shot('picture-1280', 1280, 800);
  await shot('picture-800', 800, 600);
  await shot('picture-1920', 1920, 1080);
  await shot('picture-narrow', 420, 800);
  await shot('picture-short', 640, 360);
  await page.key('Escape', { keyCode: 27 });
  await page.enter('восток');
  await page.enter();
  await page.until(`${view('room')} === 3`, 'the village');
  await page.enter('постучать');
  await page.enter('поговорить со старушкой');
  await page.until(`document.querySelectorAll('#answers button').length >= 2`, 'the answers');
  await shot('answers-1280', 1280, 800);
  await shot('answers-800', 800, 600);
  // The light scheme (grey, black text, button faces the colour of the window), drawn by hand.
  await page.eval(`(() => { const s = document.documentElement.style;
    s.setProperty('--back', 'rgb(224, 224, 224)'); s.setProperty('--text', 'rgb(0, 0, 0)');
    s.setProperty('--buttons', 'rgb(224, 224, 224)'); })()`);
  await shot('answers-light', 1024, 700);
  await page.click('#view-button');
  await page.until(`document.getElementById('view-options').open`, 'the view options');
  await page.click('#view-contrast');
  await shot('view-options-1280', 1280, 800);
  await page.click('#view-contrast');
  await page.key('Escape', { keyCode: 27 });
  await page.click('#answers button[data-index="0"]');
  await page.enter('сохранить игру');
  await page.until(`document.getElementById('dialog').open`, 'the save dialog');
  await shot('dialog-1280', 1280, 800);
  await page.key('Escape', { keyCode: 27 });
  await page.until(`!document.getElementById('dialog').open`, 'the dialog closed');
  await page.click('#game-menu-button');
  await shot('menu-1280', 1280, 800);
  await page.click('#menu button[data-command="НОВАЯ ИГРА"]');
  await page.until(`!document.getElementById('browser').hidden || document.getElementById('dialog').open`, 'the browser');
  if (await page.eval(`document.getElementById('dialog').open`)) {
    await shot('question-1280', 1280, 800);
    await page.click('#dialog-buttons button[data-answer="yes"]');
  }
  await page.until(`!document.getElementById('browser').hidden`, 'the browser');
  await shot('browser-1280', 1280, 800);
  await shot('browser-800', 800, 600);
  page.close();
} finally {
  await chromium.close();
  server.close();
}
console.log(`screenshots in ${out}`);
