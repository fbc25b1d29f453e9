// SPDX-License-Identifier: GPL-3.0-or-later
// Times the archive page in headless Chromium (and Firefox ESR when it can be driven), for archives made by `lumvane catalog`, and for
// masters over N copies of such an archive (a size "20x10000"): opening to the panel being
// ready, the word list filled when first used, a search that hits every picture until its
// first thumbnails show, a click on a thumbnail until its detail shows, and the panel built
// again after that search.
// Usage: node bench/page-bench.mjs [BUILD_DIR] [SIZE,...]   (from the repository, after
// make test; the default sizes are 1000,10000,20000,50000,20x10000)
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { cpSync, mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const build = resolve(process.argv[2] ?? 'build');
const sizes = (process.argv[3] ?? '1000,10000,20000,50000,20x10000').split(',');
const require = createRequire(resolve('tests/page/js/package.json'));
const { chromium } = require('playwright-core');

const words = ['harbour', 'boat', 'church', 'hill', 'sunset', 'market', 'bridge', 'garden', 'river',
  'castle', 'festival', 'winter', 'summer', 'train', 'station', 'beach', 'forest', 'mountain'];

function makeArchive(root, records) {
  const photos = join(root, 'photos');
  mkdirSync(photos, { recursive: true });
  execFileSync(join(build, 'bin', 'make_sample_photos'), [photos, '20', '160x120', '3']);
  const lines = ['SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate'];
  for (let i = 0; i < records; i++) {
    const title = `${words[i % 18]} ${words[(i * 7) % 18]} ${i}`;
    const date = `${['January', 'March', 'June', 'October'][i % 4]} ${1 + (i % 28)}, ${1990 + (i % 30)}`;
    const n = 1 + (i % 20);  // make_sample_photos names every fifth picture .JPG
    lines.push([join(photos, `IMG_${String(n).padStart(4, '0')}.${n % 5 ? 'jpg' : 'JPG'}`), title, `holiday ${words[i % 5]}`,
      'Travel', '', 'Ann', date].join('\t'));
  }
  writeFileSync(join(root, 'catalog.txt'), lines.join('\r\n'));
  const archive = join(root, 'archive');
  execFileSync(join(build, 'bin', 'lumvane'), ['catalog', join(root, 'catalog.txt'), archive, '--copy', 'no', '--quiet']);
  return join(archive, 'archive.htm');
}

// "N" records, or "AxN": a master over A copies of an archive of N records.
function makeSized(root, size) {
  const [copies, records] = size.includes('x') ? size.split('x').map(Number) : [0, Number(size)];
  const page = makeArchive(root, records);
  if (copies === 0) return { page, records };
  const master = join(root, 'master');
  for (let i = 0; i < copies; i++) cpSync(join(root, 'archive'), join(master, `part ${i + 1}`), { recursive: true });
  execFileSync(join(build, 'bin', 'lumvane'), ['master', master, '--quiet']);
  return { page: join(master, 'archive.htm'), records: copies * records };
}

// Runs in the page once its HTML is read: uses it as a user would, as fast as the page lets,
// and returns the milliseconds of each step, each until a frame is drawn with its result.
// "ready" counts from the start of the navigation.
async function useThePage() {
  const drawn = (test) => new Promise((resolve, reject) => {
    const check = () => {
      let result = null;
      try { result = test(); } catch (e) { /* a frame being written */ }
      if (result) resolve(result);
      else if (performance.now() > 600000) reject(new Error('never drawn'));
      else requestAnimationFrame(check);
    };
    check();
  });
  const timed = async (act, test) => {
    const started = performance.now();
    act();
    await drawn(test);
    return performance.now() - started;
  };
  const doc = (name) => frames[name].document;
  const panelShown = () => doc('show').querySelector('select[name=title]');
  (await drawn(() => doc('control').querySelector('a'))).click();
  await drawn(panelShown);
  const ready = performance.now();
  const words = await timed(() => panelShown().focus(), () => panelShown().options.length > 2);
  const search = await timed(() => {
    doc('show').querySelector('input[name=keywords]').value = 'holiday';
    doc('show').querySelector('input[value=Search]').click();
  }, () => doc('film').images.length > 3 && doc('film').images[0].complete);
  const detail = await timed(() => doc('film').images[3].parentNode.click(),
    () => doc('show').images.length > 0 && doc('show').images[0].complete &&
      doc('show').body.innerText.includes('Ann'));
  const panel = await timed(() => doc('control').querySelector('a').click(), panelShown);
  return { ready, words, search, detail, panel };
}

async function measure(browser, page_path) {
  const page = await browser.newPage();
  await page.setViewportSize?.({ width: 1200, height: 800 });
  await page.setViewport?.({ width: 1200, height: 800 });
  await page.goto(pathToFileURL(page_path).href, { waitUntil: 'domcontentloaded', timeout: 600000 });
  const result = await page.evaluate(useThePage);
  await page.close();
  return result;
}

// Chromium through playwright-core; Firefox ESR through puppeteer-core's WebDriver BiDi, when
// both are there (npm install puppeteer-core in tests/page/js; apt-get install firefox-esr).
async function browsers() {
  const found = [['Chromium', await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  })]];
  try {
    const puppeteer = require('puppeteer-core');
    found.push(['Firefox', await puppeteer.launch({
      browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true,
    })]);
  } catch (e) {
    console.log(`Firefox not measured: ${e.message.split('\n')[0]}`);
  }
  return found;
}

const open = await browsers();
for (const size of sizes) {
  const root = mkdtempSync(join(tmpdir(), 'lumvane-page-bench-'));
  try {
    const { page, records } = makeSized(root, size);
    for (const [name, browser] of open) {
      const runs = [];
      for (let i = 0; i < 3; i++) runs.push(await measure(browser, page));
      const median = (key) => runs.map((r) => r[key]).sort((a, b) => a - b)[1];
      console.log(`${name}, ${size} (${records} records): panel ready ${median('ready').toFixed(0)} ms, ` +
        `word list filled ${median('words').toFixed(0)} ms, ` +
        `search hitting every picture to its first thumbnails ${median('search').toFixed(0)} ms, ` +
        `detail after a click ${median('detail').toFixed(0)} ms, ` +
        `panel again after it ${median('panel').toFixed(0)} ms (median of 3)`);
    }
  } finally {
    rmSync(root, { recursive: true, force: true });
  }
}
for (const [, browser] of open) await browser.close();
