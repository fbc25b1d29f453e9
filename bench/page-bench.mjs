// Times the archive page in headless Chromium, for archives made by `lumvane catalog`, and for
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

// Defines untilDrawn(act) in the page: runs `act`, which returns the test of its result, and
// resolves with the milliseconds until a frame is drawn with that test true.
const untilDrawnScript = `window.untilDrawn = (act) => new Promise((resolve, reject) => {
  const started = performance.now();
  const done = act();
  const check = () => {
    if (done()) resolve(performance.now() - started);
    else if (performance.now() - started > 300000) reject(new Error('not drawn'));
    else requestAnimationFrame(check);
  };
  requestAnimationFrame(check);
});`;

async function measure(browser, page_path, records) {
  const page = await browser.newPage({ viewport: { width: 1200, height: 800 } });
  await page.addInitScript(untilDrawnScript);
  const started = performance.now();
  await page.goto(pathToFileURL(page_path).href);
  const control = page.frame({ name: 'control' });
  await control.waitForSelector('text=Start');
  await control.click('text=Start');
  const show = page.frame({ name: 'show' });
  await show.waitForSelector('select[name=title]');
  const ready = performance.now() - started;
  // The rest is timed inside the page, from the user's action until its result is drawn, so
  // that the driver's own checks before a click are not counted.
  const words = await page.evaluate(() => untilDrawn(() => {
    const select = frames.show.document.querySelector('select[name=title]');
    select.focus();
    return () => select.options.length > 2;
  }));
  const search = await page.evaluate(() => untilDrawn(() => {
    const panel = frames.show.document;
    panel.querySelector('input[name=keywords]').value = 'holiday';
    panel.querySelector('input[value=Search]').click();
    return () => frames.film.document.images.length > 0 && frames.film.document.images[0].complete;
  }));
  const detail = await page.evaluate(() => untilDrawn(() => {
    frames.film.document.images[3].parentNode.click();
    return () => {
      const shown = frames.show.document;
      return shown.images.length > 0 && shown.images[0].complete && shown.body.innerText.includes('Ann');
    };
  }));
  const again = performance.now();
  await control.click('text=Start');
  await page.frame({ name: 'show' }).waitForSelector('select[name=title]', { timeout: 300000 });
  const panel = performance.now() - again;
  await page.close();
  return { ready, words, search, detail, panel };
}

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
for (const size of sizes) {
  const root = mkdtempSync(join(tmpdir(), 'lumvane-page-bench-'));
  try {
    const { page, records } = makeSized(root, size);
    const runs = [];
    for (let i = 0; i < 3; i++) runs.push(await measure(browser, page, records));
    const median = (key) => runs.map((r) => r[key]).sort((a, b) => a - b)[1];
    console.log(`${size} (${records} records): panel ready ${median('ready').toFixed(0)} ms, ` +
      `word list filled ${median('words').toFixed(0)} ms, ` +
      `search hitting every picture to its first thumbnails ${median('search').toFixed(0)} ms, ` +
      `detail after a click ${median('detail').toFixed(0)} ms, ` +
      `panel again after it ${median('panel').toFixed(0)} ms (median of 3)`);
  } finally {
    rmSync(root, { recursive: true, force: true });
  }
}
await browser.close();
