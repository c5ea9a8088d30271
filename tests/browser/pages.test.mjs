// Opens the pages Tessaly writes in headless Chromium and checks them as a visitor sees them.
//   node pages.test.mjs --batch PATH --photo PATH --out FOLDER
// Prints one line per check and a closing "N passed, N failed" line; exit status 1 on a failure.
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { batch, makePhotos, writeComments, writeSettings } from './fixtures.mjs';

const require = createRequire(path.join(process.cwd(), 'noop.js'));
const { chromium } = require('playwright-core');

const args = Object.fromEntries(
  process.argv.slice(2).reduce((pairs, a, i, all) => (a.startsWith('--') ? [...pairs, [a.slice(2), all[i + 1]]] : pairs), []));
const tools = { batch: args.batch, photo: args.photo };
const shots = args.out;
fs.mkdirSync(shots, { recursive: true });
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tessaly-browser-'));

const checks = [];
const check = (name, fn) => checks.push({ name, fn });
const fileUrl = (...parts) => pathToFileURL(path.join(...parts)).href;
function assert(condition, message) {
  if (!condition) throw new Error(message);
}
function equal(actual, expected, what) {
  assert(JSON.stringify(actual) === JSON.stringify(expected),
    `${what}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
}

let browser;
async function newPage() {
  const context = await browser.newContext({ viewport: null });
  const page = await context.newPage();
  page.errors = [];
  const watch = (p) => {
    p.on('pageerror', (e) => page.errors.push(`${p.url()}: ${e.message}`));
    p.on('console', (m) => m.type() === 'error' && page.errors.push(`${p.url()}: ${m.text()}`));
  };
  watch(page);
  context.on('page', watch);
  return page;
}

// Loads a URL as an image inside the page; true when it decodes.
async function loadsAsImage(page, url) {
  return page.evaluate((u) => new Promise((resolve) => {
    const img = new Image();
    img.onload = () => resolve(img.naturalWidth > 0);
    img.onerror = () => resolve(false);
    img.src = u;
  }), url);
}

// The thumbnail table's cells: thumbnails load at their stated size, links reach images,
// every row holds perRow cells.
async function checkCatalogue(page, perRow) {
  const thumbs = await page.$$eval('a > img', (imgs) => imgs.map((i) => ({
    src: i.src, ok: i.complete && i.naturalWidth > 0, natural: [i.naturalWidth, i.naturalHeight],
    stated: [Number(i.getAttribute('width')), Number(i.getAttribute('height'))], href: i.parentElement.href,
  })));
  assert(thumbs.length > 0, 'no thumbnails on the page');
  for (const t of thumbs) {
    assert(t.ok, `thumbnail does not load: ${t.src}`);
    equal(t.natural, t.stated, `size of ${t.src}`);
    assert(await loadsAsImage(page, t.href), `link does not reach an image: ${t.href}`);
  }
  // Rows of thumbnails are always full (filler cells pad the last one); a comment row under a
  // short last row may carry fewer cells.
  const rows = await page.$$eval('table', (tables) => [...tables[tables.length - 1].rows]
    .map((r) => ({ cells: r.cells.length, thumbs: r.querySelectorAll('img').length })));
  for (const row of rows) {
    if (row.thumbs > 0) equal(row.cells, perRow, 'cells in a row of thumbnails');
    else assert(row.cells <= perRow, `comment row of ${row.cells} cells`);
  }
  return thumbs;
}

check('catalogue page: Shift_JIS text, thumbnails, links, rows, comments', async () => {
  const folder = path.join(work, 'plain');
  makePhotos(tools, folder, [['a.jpg', 660, 450], ['b.jpg', 300, 400], ['c.jpg', 800, 600],
    ['d.jpg', 120, 90], ['e.jpg', 500, 500]]);
  writeComments(folder, [['a.jpg', '春の海', '二行目'], ['c.jpg', '夏 <b>&', '']]);
  const settings = writeSettings(path.join(work, 'settings-plain'));
  batch(tools, ['--settings', settings, '--title', '写真の目録', '--per-row', '3', '--comments', folder]);
  const page = await newPage();
  await page.goto(fileUrl(folder, 'index.htm'));
  equal(await page.title(), '写真の目録', 'page title');
  const body = await page.textContent('body');
  assert(body.includes('春の海') && body.includes('二行目'), 'comment text is not readable');
  const source = new TextDecoder('shift_jis').decode(fs.readFileSync(path.join(folder, 'index.htm')));
  assert(source.includes('>夏 <b>&</TD>'), 'comment was not written as typed');
  const thumbs = await checkCatalogue(page, 3);
  equal(thumbs.length, 5, 'thumbnails');
  await page.screenshot({ path: path.join(shots, 'catalogue.png'), fullPage: true });
  equal(page.errors, [], 'script errors');
});

check('photographs of every format: thumbnails and links load', async () => {
  const folder = path.join(work, 'formats');
  makePhotos(tools, folder, [['a.jpg', 300, 200], ['b.png', 240, 180], ['c.webp', 200, 260],
    ['d.avif', 320, 240], ['e.heic', 256, 192]]);
  fs.writeFileSync(path.join(folder, 'f.png'), 'broken');
  const settings = writeSettings(path.join(work, 'settings-formats'), { makeSlideShow: 'on' });
  try {
    batch(tools, ['--settings', settings, '--title', 'formats', '--all-formats', '--keep-going', folder]);
    throw new Error('the broken photo was not reported');
  } catch (e) {
    assert(/\(3\)/.test(e.message) && e.message.includes('f.png'), e.message);
  }
  const page = await newPage();
  await page.goto(fileUrl(folder, 'index.htm'));
  const thumbs = await checkCatalogue(page, 5);
  equal(thumbs.length, 5, 'thumbnails');
  const links = await page.$$eval('td a', (as) => as.map((a) => a.getAttribute('href')));
  equal(links, ['a.jpg', 'b.png', 'c.webp', 'd.avif', 'htm_image/e.heic.view.jpg'], 'links');
  for (const link of links) assert(await loadsAsImage(page, link), `${link} does not load`);
  const slides = fs.readFileSync(path.join(folder, 'SShow.htm'), 'latin1');
  assert(slides.includes('imag[5]="htm_image/e.heic.view.jpg"'), 'slide show target of the HEIC photo');
  await page.screenshot({ path: path.join(shots, 'formats.png'), fullPage: true });
  equal(page.errors, [], 'script errors');
  // With web copies every format links its JPEG copy in web/, on both page styles.
  fs.unlinkSync(path.join(folder, 'f.png'));
  const copies = ['a', 'b', 'c', 'd', 'e'].map((n) => `htm_image/web/${n}.jpg`);
  batch(tools, ['--settings', settings, '--title', 'formats', '--all-formats', '--web-copies=320', folder]);
  await page.goto(fileUrl(folder, 'index.htm'));
  equal(await page.$$eval('td a', (as) => as.map((a) => a.getAttribute('href'))), copies, 'web copy links');
  for (const link of copies) assert(await loadsAsImage(page, link), `${link} does not load`);
  batch(tools, ['--settings', settings, '--style', 'modern', '--all-formats', '--web-copies=320', folder]);
  await page.goto(fileUrl(folder, 'index.htm'));
  equal(await page.$$eval('a.photo', (as) => as.map((a) => a.getAttribute('href'))), copies, 'modern links');
  await page.click('a.photo >> nth=4');
  await page.waitForFunction(() => {
    const photo = document.getElementById('lightbox-photo');
    return photo.complete && photo.naturalWidth === 256 && photo.src.endsWith('/web/e.jpg');
  }, null, { timeout: 5000 });
  equal(page.errors, [], 'script errors with web copies');
});

check('script popup opens the image in a window named sub sized to it', async () => {
  const folder = path.join(work, 'popup');
  makePhotos(tools, folder, [['wide.jpg', 400, 300], ['tall.jpg', 200, 320]]);
  const settings = writeSettings(path.join(work, 'settings-popup'),
    { openInNewWindow: 'on', useScriptPopup: 'on' });
  batch(tools, ['--settings', settings, '--title', 'popup', folder]);
  const page = await newPage();
  await page.goto(fileUrl(folder, 'index.htm'));
  await checkCatalogue(page, 5);
  const [popup] = await Promise.all([page.waitForEvent('popup'), page.click('a[href="wide.jpg"] > img')]);
  await popup.waitForLoadState();
  await popup.waitForFunction(() => document.images.length > 0 && document.images[0].complete);
  equal(await popup.evaluate(() => window.name), 'sub', 'window name');
  equal(await popup.evaluate(() => [document.images[0].naturalWidth, document.images[0].naturalHeight]),
    [400, 300], 'image shown');
  // The page's script adds 20 in browsers that report the name Netscape (all current ones do),
  // 40 by 30 elsewhere.
  const netscape = await page.evaluate(() => navigator.appName === 'Netscape' && parseInt(navigator.appVersion, 10) >= 3);
  const size = await popup.evaluate(() => [window.innerWidth, window.innerHeight]);
  const want = netscape ? [420, 320] : [440, 330];
  assert(Math.abs(size[0] - want[0]) <= 1 && Math.abs(size[1] - want[1]) <= 1,
    `window size: expected ${want}, got ${size}`);
  assert(popup.url().endsWith('/wide.jpg'), `popup shows ${popup.url()}`);
  await popup.screenshot({ path: path.join(shots, 'popup.png') });
  equal(page.errors, [], 'script errors');
});

// Records the slide window's image every 100 ms until it closes or the time runs out.
async function watchSlides(popup, page, limitMs) {
  const seen = [];
  const start = Date.now();
  while (!popup.isClosed() && Date.now() - start < limitMs) {
    const src = await popup.evaluate(() => {
      const img = document.images[0];
      return img && img.complete && img.naturalWidth > 0 ? img.getAttribute('src') : null;
    }).catch(() => null);
    if (src && seen[seen.length - 1] !== src) seen.push(src);
    await page.waitForTimeout(100);
  }
  return seen;
}

check('slide show: images in order at the interval, pause and resume, window closes', async () => {
  const folder = path.join(work, 'slides');
  const names = ['one.jpg', 'three.jpg', 'two words.jpg'];  // the catalogue's order
  makePhotos(tools, folder, names.map((n, i) => [n, 320 + i * 10, 240]));
  const settings = writeSettings(path.join(work, 'settings-slides'),
    { makeSlideShow: 'on', slideInterval: '1' });
  batch(tools, ['--settings', settings, '--title', 'スライド', folder]);
  const page = await newPage();
  await page.goto(fileUrl(folder, 'index.htm'));
  const [popup] = await Promise.all([page.waitForEvent('popup'),
    page.click('input[type=submit]')]);
  await page.waitForURL(/SShow\.htm\??$/);
  const current = () => popup.evaluate(() => {
    const img = document.images[0];
    return img && img.complete && img.naturalWidth > 0 ? img.getAttribute('src') : null;
  });
  await popup.waitForFunction(() => document.images.length > 0 && document.images[0].naturalWidth > 0);
  const seen = [await current()];
  await page.click('input[value="一時停止"]');
  const paused = await current();
  await popup.screenshot({ path: path.join(shots, 'slide.png') });
  await page.waitForTimeout(2500);
  equal(await current(), paused, 'slide while paused');
  await page.screenshot({ path: path.join(shots, 'slideshow.png') });
  await page.click('input[value="表示再開"]');
  const shown = [...seen, paused, ...(await watchSlides(popup, page, 8000))]
    .map((src) => src.replace('./', '')).filter((src, i, all) => src !== all[i - 1]);
  equal(shown, names, 'slides in order');
  await popup.waitForEvent('close', { timeout: 3000 }).catch(() => {});
  assert(popup.isClosed(), 'slide window still open after the last image');
  await page.waitForURL(/index\.htm$/, { timeout: 3000 });
  equal(page.errors, [], 'script errors');
});

// Browsers block a window opened without a click: the page offers a focused start button
// instead of stopping on a script error, and a click on it starts the show.
check('slide show with pop-ups blocked: start button, then the show', async () => {
  const folder = path.join(work, 'blocked');
  makePhotos(tools, folder, [['one.jpg', 320, 240], ['two.jpg', 330, 240]]);
  const settings = writeSettings(path.join(work, 'settings-blocked'),
    { makeSlideShow: 'on', slideInterval: '1' });
  batch(tools, ['--settings', settings, '--title', 'blocked', folder]);
  const blocking = await chromium.launch({ ...launchOptions, ignoreDefaultArgs: ['--disable-popup-blocking'] });
  try {
    const context = await blocking.newContext({ viewport: null });
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(e.message));
    const popups = [];
    context.on('page', (p) => popups.push(p));
    await page.goto(fileUrl(folder, 'SShow.htm'));
    const button = page.locator('#s_start');
    await button.waitFor({ state: 'visible', timeout: 3000 });
    equal(await button.getAttribute('value'), 'スライドショーを開始', 'start button text');
    equal(await page.evaluate(() => document.activeElement && document.activeElement.id), 's_start', 'focus');
    await page.waitForTimeout(1500);  // the show's timer must not run on behind the button
    equal(popups.length, 0, 'windows opened without a click');
    equal(errors, [], 'script errors before the click');
    await page.screenshot({ path: path.join(shots, 'slideshow-blocked.png') });
    const [popup] = await Promise.all([page.waitForEvent('popup'), button.click()]);
    assert(!(await button.isVisible()), 'start button still shown after the click');
    const seen = await watchSlides(popup, page, 8000);
    equal(seen.map((src) => src.replace('./', '')), ['one.jpg', 'two.jpg'], 'slides after the click');
    equal(errors, [], 'script errors');
  } finally {
    await blocking.close();
  }
});

check('names with spaces, #, %, quotes and Japanese text give working links', async () => {
  const folder = path.join(work, 'odd # 100% "名前"');
  makePhotos(tools, folder, [['a b.jpg', 200, 150], ['c#d.jpg', 150, 200], ['e%f.jpg', 100, 100],
    ["g'h.jpg", 120, 90], ['i"j.jpg', 90, 120], ['写真.jpg', 160, 120], ['k?l.jpg', 100, 80]]);
  const settings = writeSettings(path.join(work, 'settings-odd'),
    { openInNewWindow: 'on', useScriptPopup: 'on', makeSlideShow: 'on', slideInterval: '1' });
  batch(tools, ['--settings', settings, '--title', 'odd', folder]);
  const page = await newPage();
  await page.goto(fileUrl(folder, 'index.htm'));
  const thumbs = await checkCatalogue(page, 5);
  equal(thumbs.length, 7, 'thumbnails');
  for (let i = 0; i < thumbs.length; ++i) {
    const [popup] = await Promise.all([page.waitForEvent('popup'), page.click(`a > img >> nth=${i}`)]);
    await popup.waitForFunction(() => document.images.length > 0 && document.images[0].complete);
    assert(await popup.evaluate(() => document.images[0].naturalWidth > 0), `popup ${i} shows no image`);
    await popup.close();
  }
  await page.screenshot({ path: path.join(shots, 'odd-names.png'), fullPage: true });
  const slides = await newPage();
  const [popup] = await Promise.all([slides.waitForEvent('popup'), slides.goto(fileUrl(folder, 'SShow.htm'))]);
  const seen = await watchSlides(popup, slides, 12000);
  equal(seen.length, 7, `slides shown (${seen.join(', ')})`);
  equal(page.errors.concat(slides.errors), [], 'script errors');
});

// Names are data: a folder name (the default title), photograph names and a sub-folder name
// that are markup, a comment's end and a character reference are shown as text, never run.
check('hostile names are shown as text and their links work', async () => {
  const root = path.join(work, 'hostile');
  const name = 'x<img src=q onerror=hacked=1>&copy';
  const folder = path.join(root, name);
  const photos = ['--><img src=q onerror=hacked=2>.jpg', 'a&copy.jpg', 'b" onload="hacked=3" x=".jpg'];
  makePhotos(tools, folder, photos.map((n, i) => [n, 200 + i * 20, 150]));
  const settings = writeSettings(path.join(work, 'settings-hostile'),
    { openInNewWindow: 'on', useScriptPopup: 'on', makeSlideShow: 'on', slideInterval: '1' });
  batch(tools, ['--settings', settings, folder]);  // no --title: the folder's name is the title
  const page = await newPage();
  await page.goto(fileUrl(folder, 'index.htm'));
  equal(await page.title(), name, 'page title');
  assert((await page.textContent('body')).includes(name), 'the title block does not show the name');
  const thumbs = await checkCatalogue(page, 5);
  equal(thumbs.map((t) => decodeURIComponent(t.href.split('/').pop())), photos, 'links');
  equal(await page.$$eval('a > img', (is) => is.map((i) => i.alt)), photos.map((n) => n.slice(0, -4)), 'ALT texts');
  for (let i = 0; i < photos.length; ++i) {
    const [popup] = await Promise.all([page.waitForEvent('popup'), page.click(`a > img >> nth=${i}`)]);
    await popup.waitForFunction(() => document.images.length > 0 && document.images[0].complete);
    assert(await popup.evaluate(() => document.images[0].naturalWidth > 0), `popup ${i} shows no image`);
    await popup.close();
  }
  await page.screenshot({ path: path.join(shots, 'hostile.png'), fullPage: true });
  const slides = await newPage();
  const [popup] = await Promise.all([slides.waitForEvent('popup'), slides.goto(fileUrl(folder, 'SShow.htm'))]);
  equal(await slides.title(), `${name} Slide Show`, 'slide show title');
  equal((await watchSlides(popup, slides, 8000)).length, photos.length, 'slides shown');
  batch(tools, ['--toc', root, '--settings', settings, '--title', '目次']);
  const contents = await newPage();
  await contents.goto(fileUrl(root, 'index.htm'));
  assert((await contents.textContent('body')).includes(name), 'the contents do not name the folder');
  await followLinks(contents, [name]);
  for (const p of [page, slides, contents]) {
    equal(await p.evaluate(() => typeof window.hacked), 'undefined', `script from a name ran in ${p.url()}`);
  }
  equal(page.errors.concat(slides.errors, contents.errors), [], 'script errors');
});

async function makeCatalogues(root) {
  const subs = [['Beta 写真', 'ベータ'], ['alpha', 'アルファ'], ['gamma #1', 'ガンマ']];
  const settings = writeSettings(path.join(work, 'settings-toc'));
  subs.forEach(([name, title], i) => {
    makePhotos(tools, path.join(root, name), [[`p${i}.jpg`, 300, 200], [`q${i}.jpg`, 200, 300]]);
    batch(tools, ['--settings', settings, '--title', title, path.join(root, name)]);
  });
  fs.mkdirSync(path.join(root, 'empty'));
  return { settings, order: ['alpha', 'Beta 写真', 'gamma #1'], titles: ['アルファ', 'ベータ', 'ガンマ'] };
}

// Every link of a contents page opens the catalogue of that folder.
async function followLinks(page, titles) {
  const hrefs = await page.$$eval('a[href]', (as) => as.map((a) => a.href).filter((h) => h.startsWith('file:')));
  const found = [];
  for (const href of hrefs) {
    const target = await browser.newPage();
    await target.goto(href);
    found.push(await target.title());
    await target.close();
  }
  for (const t of titles) assert(found.includes(t), `no working link to ${t} (${found.join(', ')})`);
}

check('table of contents: list, grid and frames link every catalogue', async () => {
  if (!hasToc) throw new Error('tessaly-batch has no --toc mode');
  const root = path.join(work, 'toc');
  const { settings, titles } = await makeCatalogues(root);
  batch(tools, ['--toc', root, '--settings', settings, '--title', '目次']);
  const page = await newPage();
  await page.goto(fileUrl(root, 'index.htm'));
  equal(await page.title(), '目次', 'contents title');
  await followLinks(page, titles);
  await page.screenshot({ path: path.join(shots, 'toc-list.png'), fullPage: true });

  batch(tools, ['--toc', root, '--settings', settings, '--title', '目次', '--grid']);
  await page.goto(fileUrl(root, 'index.htm'));
  const imgs = await page.$$eval('img', (is) => is.map((i) => i.complete && i.naturalWidth > 0));
  equal(imgs, [true, true, true], 'grid thumbnails load');
  await followLinks(page, titles);
  await page.screenshot({ path: path.join(shots, 'toc-grid.png'), fullPage: true });

  batch(tools, ['--toc', root, '--settings', settings, '--title', '目次', '--frames']);
  await page.goto(fileUrl(root, 'index.htm'));
  await page.waitForTimeout(500);
  const frameTitles = await Promise.all(page.frames().slice(1).map((f) => f.title()));
  assert(frameTitles.includes('アルファ'), `first catalogue not shown in the frames: ${frameTitles}`);
  await page.screenshot({ path: path.join(shots, 'toc-frames.png') });
  equal(page.errors, [], 'script errors');
});

const launchOptions = {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--allow-file-access-from-files'],
};
let hasToc = false;
async function main() {
  try {
    hasToc = !/not built yet/.test(batch(tools, ['--toc', '--help']).toString());
  } catch (e) {
    hasToc = !/not built yet/.test(e.message);
  }
  browser = await chromium.launch(launchOptions);
  let passed = 0;
  let failed = 0;
  const only = process.env.TESSALY_BROWSER_ONLY;
  for (const { name, fn } of checks) {
    if (only && !name.includes(only)) continue;
    try {
      await fn();
      passed += 1;
      console.log(`ok     ${name}`);
    } catch (e) {
      failed += 1;
      console.log(`FAILED ${name}\n       ${e.message.split('\n').join('\n       ')}`);
    }
  }
  await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
