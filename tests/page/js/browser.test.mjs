// SPDX-License-Identifier: GPL-3.0-or-later
// The archive page in a real browser (Debian's Chromium), opened from file:// URLs.
import assert from 'node:assert/strict';
import { existsSync, mkdirSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { after, before, describe, it } from 'node:test';
import { pathToFileURL } from 'node:url';

import { chromium } from 'playwright-core';

import {
  HOSTILE, MASTER_FOLDERS, PICTURES, makeCameraArchive, makeClipArchive, makeDescribedArchive, makeEditedArchive, makeEmptyArchive,
  makeLargeArchive, makeLargeMaster, makeMainArchive, makeMasterArchive,
  poll,
} from './fixtures.mjs';
import { lumvane } from './page_script.mjs';

const screenshots = join(lumvane, '..', '..', 'page-screenshots');
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
mkdirSync(screenshots, { recursive: true });

let browser;
let main;

before(async () => {
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  main = makeMainArchive();
});

after(async () => {
  await browser?.close();
});

// One open archive page with helpers for its three frames.
class ArchivePage {
  static screen = { viewport: { width: 1200, height: 800 } };

  // The archive at `path` and `address` open, once it is ready; `whileLoading` looks at the
  // page before that.
  static async open(path, address = '', whileLoading = null) {
    const page = await (await browser.newContext(this.screen)).newPage();
    const archive = new this(page);
    page.on('pageerror', (error) => archive.errors.push(error.message));
    await page.goto(pathToFileURL(path).href + address, { waitUntil: whileLoading ? 'commit' : 'load' });
    if (whileLoading) await whileLoading(page);
    await archive.ready();
    return archive;
  }

  constructor(page) { [this.page, this.errors] = [page, []]; }
  ready() { return this.waitText('control', 'Start'); }
  address() { return this.page.evaluate(() => location.hash); }
  said() { return this.text('control').then(() => this.frame('control').$eval('#said', (e) => e.textContent)); }

  frame(name) { return this.page.frame({ name }); }

  text(name) { return this.frame(name).evaluate(() => document.body?.innerText ?? ''); }

  waitText(name, text) {
    return poll(() => this.text(name), (t) => t.includes(text), `"${text}" in ${name}`);
  }

  // The src of every image of a frame, once there are `count` of them.
  images(name, count) {
    return poll(() => this.frame(name).$$eval('img', (all) => all.map((i) => i.getAttribute('src'))),
      (srcs) => srcs.length === count, `${count} images in ${name}`);
  }

  async start() {
    await this.frame('control').click('text=Start');
    await this.waitText('show', 'Index Words:');
  }

  async search(keywords) {
    await this.frame('show').fill('input[name=keywords]', keywords);
    await this.frame('show').click('input[value=Search]');
  }

  async options(select) {
    return this.frame('show').$$eval(`select[name=${select}] option`, (all) => all.map((o) => o.text));
  }

  // The focused element of a frame: its tag, name or data-n.
  focused(name) {
    return this.frame(name).evaluate(() => {
      const at = document.activeElement;
      return at && (at.getAttribute('data-n') ?? at.getAttribute('name') ?? at.tagName);
    });
  }

  // axe-core's critical and serious findings in the page and each of its frames, as
  // "frame: rule (count)"; the moderate and minor ones are printed. Text over a frame's
  // background image, which axe cannot judge, is measured against the image's lightest and
  // darkest pixels.
  async accessibility(view) {
    const found = [];
    for (const frame of this.page.frames()) {
      const faint = await frame.evaluate(lowContrastOverTexture, textures);
      if (faint.length) found.push(`${view} ${frame.name()}: text under 4.5:1 over its texture: ${faint.join(', ')}`);
      await frame.addScriptTag({ content: axeSource });
      const violations = await frame.evaluate(async () => (await window.axe.run(document,
        { iframes: false, resultTypes: ['violations'] })).violations
        .map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.length })));
      for (const v of violations) {
        const line = `${view} ${frame.name() || 'page'}: ${v.id} (${v.impact}, ${v.nodes})`;
        if (v.impact === 'critical' || v.impact === 'serious') found.push(line);
        else console.log(`# kept: ${line}`);
      }
    }
    return found;
  }

  shot(name) { return this.page.screenshot({ path: join(screenshots, `${name}.png`) }); }

  async close() {
    assert.deepEqual(this.errors, [], 'no script errors');
    await this.page.context().close();
  }
}

const thumbOf = (n) => main.thumbs[n - 1];

const textures = Object.fromEntries(['texture.jpg', 'texture2.jpg'].map((name) =>
  [name, `data:image/jpeg;base64,${readFileSync(join(dirname(lumvane), name)).toString('base64')}`]));

// In a frame: the texts whose colour has less than 4.5:1 contrast with some pixel of the body's
// background image.
async function lowContrastOverTexture(images) {
  const image = new Image();
  image.src = images[document.body?.getAttribute('background')] ?? '';
  if (!image.src.startsWith('data:')) return [];
  await image.decode();
  const context = Object.assign(document.createElement('canvas'), { width: image.width, height: image.height }).getContext('2d');
  context.drawImage(image, 0, 0);
  const pixels = context.getImageData(0, 0, image.width, image.height).data;
  const channel = (v) => (v / 255 <= 0.03928 ? v / 255 / 12.92 : ((v / 255 + 0.055) / 1.055) ** 2.4);
  const luminance = ([r, g, b]) => 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b);
  let [darkest, lightest] = [1, 0];
  for (let i = 0; i < pixels.length; i += 4) {
    const l = luminance(pixels.subarray(i, i + 3));
    [darkest, lightest] = [Math.min(darkest, l), Math.max(lightest, l)];
  }
  const ratio = (a, b) => (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
  return [...document.body.querySelectorAll('*')].filter((e) =>
    [...e.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim()) && e.getClientRects().length &&
    !e.closest('input, select, button, option')).map((e) => {
    const l = luminance(getComputedStyle(e).color.match(/\d+/g).map(Number));
    return [e, Math.min(ratio(l, darkest), ratio(l, lightest))];
  }).filter(([, worst]) => worst < 4.5).map(([e, worst]) => `${e.tagName} "${e.textContent.trim().slice(0, 20)}" ${worst.toFixed(1)}`);
}

describe('opening and the panel', () => {
  it('shows the welcome page, then the panel with words, dates and folders', async () => {
    const archive = await ArchivePage.open(main.page);
    await archive.waitText('show', 'Welcome to Lumvane');
    assert.match(await archive.text('show'), /Leave search field blank to get all images\./);
    await archive.shot('welcome');
    const found = await archive.accessibility('welcome');
    await archive.start();
    found.push(...await archive.accessibility('panel'));
    assert.deepEqual(found, []);
    const words = await archive.options('title');
    for (const word of ['boat', 'boats', 'church', 'churches', 'harbour', 'travel', 'kirchturmspitzenreparatur']) {
      assert.ok(words.includes(word), `index word ${word}`);
    }
    assert.deepEqual(await archive.options('startdate'), ['', 'March 1999', 'March 5, 1999',
      'April 2, 1999', 'May 1, 2000', 'June 1, 2001', 'December 24, 2001']);
    const folders = await archive.frame('show').$$eval('a', (all) => all.map((a) => a.textContent));
    assert.equal(folders.length, 2);
    assert.ok(folders[0].endsWith('/coast') && folders[1].endsWith('/hills'), folders.join());
    await archive.shot('panel');

    // A word from Index Words is a word of its own; the arrow keys add only the word chosen.
    const show = archive.frame('show');
    await show.fill('input[name=keywords]', 'holiday');
    await show.selectOption('select[name=title]', { label: 'harbour' });
    assert.equal(await show.inputValue('input[name=keywords]'), 'holiday harbour ');
    await show.click('input[value=" Clear "]');
    await show.focus('select[name=title]');
    for (const key of ['ArrowDown', 'ArrowDown', 'ArrowDown']) await archive.page.keyboard.press(key);
    assert.equal(await show.inputValue('input[name=keywords]'), '', 'nothing added while moving');
    await archive.page.keyboard.press('Enter');
    const chosen = await show.$eval('select[name=title]', (s) => s.options[s.selectedIndex].text);
    assert.equal(await show.inputValue('input[name=keywords]'), `${chosen} `);
    await archive.close();
  });

  it('an empty archive finds nothing', async () => {
    const archive = await ArchivePage.open(makeEmptyArchive());
    await archive.start();
    assert.deepEqual(await archive.options('title'), ['']);
    await archive.search('');
    await archive.waitText('film', 'Sorry, no matches found');
    await archive.close();
  });
});

describe('searching', () => {
  it('by keyword with plural variants best first, by none, by folder and by dates', async () => {
    const archive = await ArchivePage.open(main.page);
    await archive.start();
    await archive.search('boat harbour');
    assert.deepEqual(await archive.images('film', 3), [thumbOf(1), thumbOf(6), thumbOf(2)]);
    await archive.search('church');
    assert.deepEqual(await archive.images('film', 2), [thumbOf(3), thumbOf(4)]);
    await archive.search('zebra');
    await archive.waitText('film', 'Sorry, no matches found');
    await archive.search('');
    assert.deepEqual(await archive.images('film', 6), main.thumbs, 'all, in catalog order');

    const show = archive.frame('show');  // each step below changes the number shown
    await archive.start();
    await show.selectOption('select[name=startdate]', { label: 'March 1999' });
    await show.selectOption('select[name=enddate]', { label: 'April 2, 1999' });
    assert.equal(await show.inputValue('input[name=keywords]'), 'March 1999  April 2, 1999');
    await show.click('input[value=Search]');
    assert.deepEqual(await archive.images('film', 3), [thumbOf(1), thumbOf(2), thumbOf(3)]);
    await archive.start();
    await show.selectOption('select[name=startdate]', { index: 0 });
    await show.selectOption('select[name=enddate]', { label: 'May 1, 2000' });
    await show.click('input[value=Search]');
    assert.deepEqual(await archive.images('film', 1), [thumbOf(4)], 'a single end date');
    await archive.start();
    await show.click('a >> nth=1');  // the second folder
    assert.deepEqual(await archive.images('film', 3), [thumbOf(4), thumbOf(5), thumbOf(6)]);
    await archive.close();
  });
});

describe('views', () => {
  it('several columns fill the grid, with titles as text', async () => {
    const archive = await ArchivePage.open(main.page);
    await archive.start();
    const show = archive.frame('show');
    await show.selectOption('select[name=viewcols]', { label: '3' });
    await show.check('input[name=titles]');
    await archive.search('');
    await archive.images('show', 6);
    const rows = await show.$$eval('tr', (all) => all.map((tr) => tr.cells.length));
    assert.deepEqual(rows, [3, 3]);
    const text = await archive.text('show');
    assert.ok(text.includes(HOSTILE.title.substring(0, 9)), 'the hostile title shows as text');
    assert.ok(text.includes('Harbour lights over the old town of'.substring(0, 20)));
    assert.equal(await archive.page.evaluate(() => window.hacked), undefined);
    await archive.shot('grid');
    const found = await archive.accessibility('grid');

    // Detail, black view and back; Prev and Next wrap at both ends; All returns to the grid.
    await show.click('img >> nth=0');
    await archive.waitText('show', 'Red boat at dawn');
    await archive.waitText('film', 'Next');
    await archive.frame('film').click('text=Prev');
    await archive.waitText('show', 'December 24, 2001');
    await archive.frame('film').click('text=Next');
    await archive.waitText('show', 'Red boat at dawn');
    await archive.shot('detail');
    found.push(...await archive.accessibility('grid detail'));
    await show.click('img');
    await poll(() => show.evaluate(() => document.bgColor), (c) => c === '#000000', 'the black view');
    await archive.shot('black');
    await show.click('img');
    await archive.waitText('show', 'Red boat at dawn');
    await archive.frame('film').click('text=All');
    await archive.images('show', 6);
    assert.deepEqual(found, [], 'axe-core and the contrast over the textures');
    await archive.close();
  });

  it('one column: strip beside the detail with every field, hostile text as typed', async () => {
    const archive = await ArchivePage.open(main.page);
    await archive.start();
    await archive.search('');
    await archive.images('film', 6);
    const found = await archive.accessibility('strip');
    await archive.frame('film').click('img >> nth=4');
    await archive.waitText('show', 'IMG_0002.jpg');
    found.push(...await archive.accessibility('detail'));
    assert.deepEqual(found, []);
    const detail = await archive.text('show');
    for (const value of Object.values(HOSTILE)) assert.ok(detail.includes(value), value);
    assert.match(detail, /^\s*5\n/, 'the picture number comes first');
    assert.ok(detail.includes('IMG_0002.jpg'));
    const src = await archive.frame('show').$eval('img', (i) => i.getAttribute('src'));
    const alphabet = '0123456789ABCDFGHJKLMNPQRSTVWXYZ';
    const display = alphabet[alphabet.indexOf(thumbOf(5).charAt(7)) + 1];
    assert.equal(src, thumbOf(5).substring(0, 7) + display + '.jpg');
    await poll(() => archive.frame('show').$eval('img', (i) => i.naturalWidth), (w) => w > 0, 'the display image');
    assert.equal(await archive.page.evaluate(() => window.hacked), undefined);
    await archive.shot('strip-detail');
    await archive.close();
  });

  it('a master finds every picture of every folder, whatever the folder is called', async () => {
    const archive = await ArchivePage.open(makeMasterArchive());
    await archive.start();
    await archive.search('');
    const count = 2 * MASTER_FOLDERS.length;
    const srcs = await archive.images('film', count);
    const widths = await archive.frame('film').evaluate((all) => Promise.all(all.map((src) =>
      new Promise((resolve) => {
        const image = new Image();
        image.onload = () => resolve(image.naturalWidth);
        image.onerror = () => resolve(0);
        image.src = src;
      }))), srcs);
    assert.ok(widths.every((w) => w > 0), `every thumbnail loads: ${JSON.stringify(srcs)}`);
    for (let n = 0; n < count; n += 2) {
      await archive.frame('film').click(`img >> nth=${n}`);
      await poll(() => archive.frame('show').$eval('img', (i) => i.naturalWidth), (w) => w > 0,
        `the display image of ${srcs[n]}`);
    }
    await archive.shot('master-detail');
    await archive.close();
  });
});

describe('descriptions the photos carry, and those set in the editor', () => {
  const archives = [[makeDescribedArchive, 'lighthouse'], [makeEditedArchive, 'beacon']];
  for (const [made, keyword] of archives) {
    it(`are found by their keywords and shown as text (${keyword})`, async () => {
      const archive = await ArchivePage.open(made());
      await archive.start();
      await archive.search(keyword);
      await archive.images('film', 1);
      await archive.frame('film').click('img >> nth=0');
      await archive.waitText('show', 'He said "hi"');
      const detail = await archive.text('show');
      assert.ok(detail.includes('He said "hi" <b>bold</b> </script><script>top.hacked=3</script>'),
        detail);
      assert.ok(detail.includes('second line'));
      assert.equal(await archive.page.evaluate(() => window.hacked), undefined);
      await archive.close();
    });
  }
});

describe('many results', () => {
  it('come a batch at a time, in score order, and every one can be shown', async () => {
    const archive = await ArchivePage.open(makeLargeArchive(300));
    await archive.start();
    await archive.frame('show').selectOption('select[name=viewcols]', '4');
    await archive.search('boat harbour');
    const show = archive.frame('show');
    await archive.images('show', 120);
    await show.click('img >> nth=119');  // the last of the first batch: result 120
    await archive.waitText('show', 'boat 238');
    await archive.frame('film').click('text=Next');  // into the next batch
    await archive.waitText('show', 'boat 240');
    await archive.frame('film').click('text=All');  // back with result 121 in view: two batches
    await archive.images('show', 240);
    await show.click('text=More');
    await archive.images('show', 300);
    assert.equal(await show.$('text=More'), null, 'no More once all are shown');
    await show.click('img >> nth=250');  // a late result: the odd records follow the even
    await archive.waitText('show', 'boat 201');
    await archive.shot('many-results-detail');
    await archive.close();
  });

  it('a master of 200,000 pictures opens, searches and shows a picture found', async () => {
    const archive = await ArchivePage.open(makeLargeMaster(20, 10000), '', (page) =>
      poll(() => page.title(), (t) => t.startsWith('Loading 200,000 pictures...'), 'a sign of life'));
    assert.match(await archive.text('show'), /^\s*$|Welcome/, 'the loading text goes');
    await archive.start();
    await archive.search('harbour');
    await archive.images('film', 120);
    await archive.frame('film').click('img >> nth=3');
    await archive.waitText('show', 'boat 6');  // the fourth even record of the first part
    assert.match(await archive.text('show'), /part 1\//);
    await archive.close();
  });

  it('a large archive fills its lists when they are first used, and keeps the choice', async () => {
    const archive = await ArchivePage.open(makeLargeArchive(2100));  // over 2,000 words
    await archive.start();
    const show = archive.frame('show');
    assert.deepEqual(await archive.options('title'), [''], 'written empty');
    await show.focus('select[name=title]');
    const words = await archive.options('title');
    assert.equal(words.length, 2103, 'every word once it is reached: boat, harbour, 0 to 2099');
    await show.selectOption('select[name=title]', { label: 'harbour' });
    assert.equal(await show.inputValue('input[name=keywords]'), 'harbour ');
    await archive.search('harbour');
    await archive.images('film', 120);
    await archive.frame('control').click('text=Start');
    await archive.waitText('show', 'Index Words:');
    assert.deepEqual(await archive.options('title'), ['', 'harbour'], 'the choice, before filling');
    await archive.search('boat');  // the kept choice stays through a search that reads it
    await archive.frame('control').click('text=Start');
    await archive.waitText('show', 'Index Words:');
    await archive.frame('show').focus('select[name=title]');
    assert.equal(await archive.frame('show').$eval('select[name=title]',
      (s) => s.options[s.selectedIndex].text), 'harbour');
    await archive.close();
  });
});

describe('addresses, the picture view and what is said', () => {
  it('a search and a picture have addresses that reload; Back and Forward stay in the archive', async () => {
    const archive = await ArchivePage.open(main.page);
    await archive.start();
    await archive.search('boat harbour');
    await archive.waitText('film', '3 pictures');
    assert.equal(await archive.address(), '#search=boat%20harbour');
    assert.equal(await archive.said(), '3 pictures');
    await archive.frame('film').click('img >> nth=1');
    await archive.waitText('show', '2 of 3');
    await archive.page.keyboard.press('ArrowRight');
    await archive.waitText('show', 'Blue boats');
    assert.equal(await archive.said(), '3 of 3');
    assert.equal(await archive.address(), `#search=boat%20harbour&picture=${thumbOf(2)}`);
    await archive.page.reload();
    await archive.waitText('show', '3 of 3');
    await archive.page.evaluate(() => history.back());
    await archive.waitText('show', 'Index Words:');
    assert.deepEqual(await archive.images('film', 3), [thumbOf(1), thumbOf(6), thumbOf(2)]);
    await archive.page.evaluate(() => history.forward());
    await archive.waitText('show', 'Blue boats');
    assert.match(archive.page.url(), /archive\.htm#/, 'still the archive');

    await archive.start();
    await archive.search('zebra');
    await archive.waitText('show', 'No pictures found for \u201Czebra\u201D.');
    assert.equal(await archive.focused('show'), 'keywords', 'the focus stays in the search box');
    assert.equal(await archive.said(), 'No pictures found');
    await archive.close();
  });

  it('shows the camera, the place and the original; full screen and the slideshow', async () => {
    const page = makeCameraArchive();
    const archive = await ArchivePage.open(page);
    await archive.start();
    await archive.search('');
    await archive.frame('film').click('img >> nth=0');
    await archive.waitText('show', 'Canon EOS 5D');
    const show = archive.frame('show');
    assert.match(await archive.text('show'), /Aperture\tf\/4\nExposure\t1\/125 s/);
    const links = await show.$$eval('a[target], a[href^=geo]', (all) => all.map((a) => [a.textContent, a.getAttribute('href')]));
    const [map, geo, original] = links;
    assert.match(map[1], /^https:\/\/www\.openstreetmap\.org\/\?mlat=59\.329300&mlon=18\.068600#/);
    assert.equal(geo[1], 'geo:59.329300,18.068600');
    assert.match(original[0], /^Original, \d+ KB$/);
    assert.ok(existsSync(join(dirname(page), original[1])), 'the link names the copy');

    await archive.page.evaluate(() => { slideSeconds = 0.2; });
    await show.click('text=Slideshow');
    await archive.waitText('show', '2 of 2');
    await archive.page.keyboard.press(' ');
    assert.equal(await archive.said(), 'Slideshow paused');

    await archive.frame('show').click('text=Full screen');
    await poll(() => archive.page.evaluate(() => document.fullscreenElement !== null), (f) => f, 'full screen');
    await poll(() => archive.frame('show').evaluate(() => document.bgColor), (c) => c === '#000000', 'alone on black');
    await archive.page.evaluate(() => document.exitFullscreen());
    await archive.waitText('show', 'Original,');
    await archive.close();
  });

  it('plays a clip the browser can play and links one it cannot', async () => {
    const page = makeClipArchive();
    const archive = await ArchivePage.open(page);
    await archive.start();
    await archive.search('');
    await archive.frame('film').click('img >> nth=0');
    await archive.waitText('show', 'Clip\t0:02, H.264');
    const show = archive.frame('show');
    const source = await show.$eval('video', (v) => v.getAttribute('src'));
    assert.ok(existsSync(join(dirname(page), source)), 'the player plays the copy');
    await poll(() => show.$eval('video', (v) => v.readyState), (state) => state >= 1, 'the clip loaded');
    await archive.page.keyboard.press('ArrowRight');
    await archive.waitText('show', 'Clip\t0:02, HEVC');
    assert.equal(await show.$$eval('video', (all) => all.length), 0);
    const link = await show.$eval('a.clip', (a) => [a.textContent, a.getAttribute('href')]);
    assert.equal(link[0], 'Open the clip in a player (the browser cannot play HEVC)');
    assert.ok(existsSync(join(dirname(page), link[1])));
    assert.deepEqual(archive.errors, []);
    await archive.close();
  });
});

// The archive as a phone of 390 x 844 CSS pixels with a touch screen shows it.
class PhoneArchive extends ArchivePage {
  static screen = { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true };

  async ready() {
    await this.page.waitForSelector('#find');
    this.cdp = await this.page.context().newCDPSession(this.page);
  }

  // "3 of 6" once the viewer has opened.
  place() {
    return this.page.evaluate(() => phone.viewer?.opener.isOpen && document.getElementById('place').textContent);
  }

  // Fingers moved from their `from` points to their `to` points in steps.
  async touch(from, to) {
    const at = (t) => from.map(([x, y], i) => ({ x: x + (to[i][0] - x) * t, y: y + (to[i][1] - y) * t, id: i }));
    await this.cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: at(0) });
    for (let step = 1; step <= 8; step++) {
      await this.cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: at(step / 8) });
      await new Promise((resolve) => setTimeout(resolve, 16));
    }
    await this.cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  }

  // Controls smaller than 44 x 44, text under 16 px, and whether the page scrolls sideways.
  layoutFaults() {
    return this.page.evaluate(() => {
      const faults = [];
      for (const e of document.querySelectorAll('a, button, input, select')) {
        const box = e.getBoundingClientRect();
        if (box.width > 0 && (box.width < 44 || box.height < 44)) faults.push(`${e.tagName} ${box.width}x${box.height}`);
      }
      for (const e of document.querySelectorAll('body *')) {
        const own = [...e.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim());
        if (own && e.getClientRects().length && parseFloat(getComputedStyle(e).fontSize) < 16) faults.push(`text in ${e.tagName}`);
      }
      if (document.documentElement.scrollWidth > innerWidth || innerWidth !== 390) faults.push(`width ${innerWidth}`);
      return faults;
    });
  }

}

describe('phones and tablets', () => {
  it('fit the screen: large enough text and targets, no sideways scrolling, no axe finding', async () => {
    const phone = await PhoneArchive.open(main.page);
    const found = await phone.accessibility('phone search');
    await phone.page.tap('button[type=submit]');
    await phone.page.waitForSelector('#grid a[data-n="5"]');
    assert.equal(await phone.page.textContent('#count'), '6 pictures');
    assert.deepEqual(await phone.layoutFaults(), []);
    found.push(...await phone.accessibility('phone results'));
    await phone.shot('phone-results');
    await phone.page.tap('#grid a >> nth=2');
    await poll(() => phone.place(), (p) => p === '3 of 6', 'the viewer');
    await phone.page.tap('.pswp__button--info');
    assert.deepEqual(await phone.layoutFaults(), []);
    found.push(...await phone.accessibility('phone viewer'));
    await phone.shot('phone-viewer');
    assert.deepEqual(found, []);
    await phone.close();
  });

  it('swipe, pinch, close with Back, come back with Forward, and open from a sent address', async () => {
    const phone = await PhoneArchive.open(main.page, '#search=');
    await phone.page.tap('#grid a >> nth=0');
    await poll(() => phone.place(), (p) => p === '1 of 6', 'the first picture');
    await phone.touch([[300, 400]], [[60, 400]]);
    await poll(() => phone.place(), (p) => p === '2 of 6', 'the next picture after a swipe');
    const address = await phone.address();
    assert.equal(address, `#search=&picture=${thumbOf(2)}`);
    await phone.touch([[175, 420], [215, 420]], [[75, 420], [315, 420]]);
    await poll(() => phone.page.evaluate(() => phone.viewer.currSlide.currZoomLevel > phone.viewer.currSlide.zoomLevels.fit),
      (z) => z, 'zoomed in by a pinch');
    await phone.page.evaluate(() => history.back());
    await poll(() => phone.page.$('.pswp'), (v) => v === null, 'the viewer closed');
    await poll(() => phone.page.evaluate(() => document.activeElement.getAttribute('data-n')), (n) => n === '1',
      'the picture last seen focused among the results');
    await phone.page.evaluate(() => history.forward());
    await poll(() => phone.place(), (p) => p === '2 of 6', 'the picture again');
    await phone.touch([[195, 300]], [[195, 800]]);
    await poll(() => phone.address(), (a) => a === '#search=', 'closed by a swipe down');
    await phone.close();

    const sent = await PhoneArchive.open(main.page, address);
    await poll(() => sent.place(), (p) => p === '2 of 6', 'the same picture in a new tab');
    await sent.close();
  });
});

describe('the keyboard alone, and every reader', () => {
  it('finds, opens and walks through the pictures, and back to them', async () => {
    const archive = await ArchivePage.open(main.page);
    await archive.frame('control').press('a', 'Enter');
    await archive.waitText('show', 'Index Words:');
    assert.equal(await archive.focused('show'), 'keywords', 'the panel starts in the search box');
    await archive.frame('control').focus('a');
    await archive.page.keyboard.press('Tab');
    assert.equal(await archive.focused('show'), 'INPUT', 'Tab passes over the empty strip');
    await archive.frame('show').focus('input[name=keywords]');
    await archive.page.keyboard.press('Enter');
    await archive.images('film', 6);
    await poll(() => archive.focused('film'), (n) => n === '0', 'the first result focused');
    await archive.page.keyboard.press('ArrowDown');
    await archive.page.keyboard.press('ArrowDown');
    assert.equal(await archive.focused('film'), '2');
    await archive.page.keyboard.press('Enter');
    await archive.waitText('show', 'Church on the hill');
    const walk = [['ArrowRight', 'Two churches'], ['PageDown', HOSTILE.author], ['ArrowLeft', 'Two churches'],
      ['PageUp', 'Church on the hill'], ['End', 'Kirchturmspitzenreparatur'], ['ArrowRight', 'Red boat at dawn'],
      ['Home', 'Red boat at dawn'], ['End', 'Kirchturmspitzenreparatur']];
    for (const [key, shown] of walk) {
      await archive.page.keyboard.press(key);
      await archive.waitText('show', shown);
    }
    await archive.page.keyboard.press('Escape');
    await poll(() => archive.focused('film'), (n) => n === '5', 'the last picture focused in the strip');
    await archive.close();
  });

  it('moves over a grid by rows, opens and returns to a later batch', async () => {
    const archive = await ArchivePage.open(makeLargeArchive(300));
    await archive.start();
    await archive.frame('show').selectOption('select[name=viewcols]', '4');
    await archive.frame('show').focus('input[name=keywords]');
    await archive.page.keyboard.press('Enter');
    await archive.images('show', 120);
    for (const [key, at] of [['ArrowDown', '4'], ['ArrowRight', '5'], ['ArrowUp', '1'], ['ArrowLeft', '0']]) {
      await archive.page.keyboard.press(key);
      assert.equal(await archive.focused('show'), at, key);
    }
    await archive.page.keyboard.press('Enter');
    await archive.waitText('film', 'Next');
    await archive.page.keyboard.press('End');
    await poll(() => archive.text('show'), (t) => /^\s*300\n/.test(t), 'the last picture');
    await archive.page.keyboard.press('Escape');
    await poll(() => archive.focused('show'), (n) => n === '299', 'the last result focused, its batch written');
    await archive.close();
  });
});
