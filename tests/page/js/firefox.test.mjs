// SPDX-License-Identifier: GPL-3.0-or-later
// The archive page in Firefox ESR, driven through WebDriver BiDi by puppeteer-core: the
// addresses, the live region, Index Words, the focus ring and the phone layout. The rest of
// the page's behaviour is shown in Chromium (browser.test.mjs).
import assert from 'node:assert/strict';
import { after, before, describe, it } from 'node:test';
import { pathToFileURL } from 'node:url';

import puppeteer from 'puppeteer-core';

import { makeMainArchive, poll } from './fixtures.mjs';

let browser;
let main;

before(async () => {
  browser = await puppeteer.launch({ browser: 'firefox', headless: true,
    executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr' });
  main = makeMainArchive();
});

after(async () => {
  await browser?.close();
});

// One archive page; frames are found by their names, which they keep as they are rewritten.
class Archive {
  static async open(path, { width = 1200, height = 800, address = '' } = {}) {
    const page = await browser.newPage();
    await page.setViewport({ width, height });
    const archive = new Archive(page);
    page.on('pageerror', (error) => archive.errors.push(error.message));
    await page.goto(pathToFileURL(path).href + address);
    return archive;
  }

  constructor(page) { [this.page, this.errors] = [page, []]; }

  async frame(name) {
    for (const frame of this.page.frames()) {
      if (await frame.evaluate(() => window.name).catch(() => '') === name) return frame;
    }
    throw new Error(`no frame ${name}`);
  }

  text(name) { return this.page.evaluate((n) => frames[n].document.body.innerText, name); }
  waitText(name, text) { return poll(() => this.text(name), (t) => t.includes(text), `"${text}" in ${name}`); }
  said() { return this.page.evaluate(() => frames.control.document.getElementById('said').textContent); }
  address() { return this.page.evaluate(() => location.hash); }

  async click(name, selector) { await (await this.frame(name)).click(selector); }

  async close() {
    assert.deepEqual(this.errors, [], 'no script errors');
    await this.page.close();
  }
}

describe('Firefox ESR', () => {
  it('keeps the addresses, the history and the live region, and Index Words after typed text', async () => {
    const archive = await Archive.open(main.page);
    await archive.waitText('control', 'Start');
    await archive.click('control', 'a');
    await archive.waitText('show', 'Index Words:');
    const show = await archive.frame('show');
    await show.type('input[name=keywords]', 'holiday');
    await show.select('select[name=title]', 'harbour');
    assert.equal(await show.$eval('input[name=keywords]', (i) => i.value), 'holiday harbour ');
    await show.$eval('input[name=keywords]', (i) => { i.value = 'boat harbour'; });
    await archive.click('show', 'input[value=Search]');
    await archive.waitText('film', '3 pictures');
    assert.equal(await archive.said(), '3 pictures');
    await archive.click('film', 'a[data-n="1"]');
    await archive.waitText('show', '2 of 3');
    const ring = await (await archive.frame('film')).$eval('a[data-n="1"]', (a) => {
      const link = a.getBoundingClientRect(), image = a.firstChild.getBoundingClientRect();
      return link.height >= image.height && link.width >= image.width;
    });
    assert.ok(ring, 'the focus ring goes round the whole thumbnail');
    const address = await archive.address();
    await archive.page.reload();
    await archive.waitText('show', '2 of 3');
    assert.equal(await archive.address(), address);
    await archive.page.evaluate(() => history.back());
    await archive.waitText('show', 'Index Words:');
    await archive.page.evaluate(() => history.forward());
    await archive.waitText('show', '2 of 3');
    await archive.close();
  });

  it('lays out for a phone, swipes to the next picture, and Back closes it', async () => {
    const phone = await Archive.open(main.page, { width: 390, height: 844, address: '#search=' });
    await phone.page.waitForSelector('#grid a[data-n="5"]');
    assert.ok(await phone.page.evaluate(() => document.documentElement.scrollWidth <= innerWidth), 'no sideways scrolling');
    await phone.page.click('#grid a[data-n="0"]');
    const place = () => phone.page.evaluate(() => phone.viewer?.opener.isOpen && document.getElementById('place').textContent);
    await poll(place, (p) => p === '1 of 6', 'the viewer');
    await phone.page.mouse.move(300, 400);
    await phone.page.mouse.down();
    for (let x = 280; x >= 60; x -= 20) await phone.page.mouse.move(x, 400);
    await phone.page.mouse.up();
    await poll(place, (p) => p === '2 of 6', 'the next picture after a swipe');
    await phone.page.evaluate(() => history.back());
    await poll(() => phone.page.$('.pswp'), (v) => v === null, 'the viewer closed');
    await phone.close();
  });
});
