// SPDX-License-Identifier: GPL-3.0-or-later
// The page script's pure functions, run as the page carries them.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { describe, it } from 'node:test';

import { addPictures, loadScript, words } from './page_script.mjs';

const page = loadScript();

describe('sorting', () => {
  it('_array_qsort sorts the closed range lo..up alone, by default_cmp', () => {
    const part = [4, 3, 2, 1, 0];
    page._array_qsort(part, 1, 3, page.default_cmp);
    assert.deepEqual(part, [4, 1, 2, 3, 0]);
    const words = ['pear', 'apple', 'fig'];
    page.array_qsort(words, 0, 2, null);
    assert.deepEqual(words, ['apple', 'fig', 'pear']);
    page.array_qsort(null, 0, 3, null);
    assert.equal(page.default_cmp(2, 10), -1);
    assert.equal(page.default_cmp('x', 'x'), 0);
  });
});

describe('keywords', () => {
  it('drops stop words and apostrophe-s, lower-cases and ends every word in a space', () => {
    assert.deepEqual(words(page.parseKeywords("The cat's toys")), ['cat ', 'toys ']);
    assert.deepEqual(words(page.parseKeywords('A and an OR the')), []);
  });

  it('splits at every separator and keeps each word once', () => {
    assert.deepEqual(words(page.parseKeywords('a1,b2?c3-d4.e5\\f6/g7:h8;i9 j0\tk1\nl2\rm3\fn4\bo5 a1')),
      ['a1 ', 'b2 ', 'c3 ', 'd4 ', 'e5 ', 'f6 ', 'g7 ', 'h8 ', 'i9 ', 'j0 ', 'k1 ', 'l2 ', 'm3 ', 'n4 ', 'o5 ']);
  });

  it('keeps letters and digits of every script and drops punctuation', () => {
    assert.deepEqual(words(page.parseKeywords('Café "quoted" (1999)! 東京タワー Ελλάδα')),
      ['café ', 'quoted ', '1999 ', '東京タワー ', 'ελλάδα ']);
    assert.deepEqual(words(page.parseKeywords('!!! e-mail user@host')), ['e ', 'mail ', 'user@host ']);
  });

  it('checkPlural adds es or s, and nothing for words ending in s', () => {
    const list = page.parseKeywords('box church dish tree toys');
    page.checkPlural(list);
    assert.deepEqual(words(list), ['box ', 'church ', 'dish ', 'tree ', 'toys ',
      'boxes ', 'churches ', 'dishes ', 'trees ']);
    assert.deepEqual(words(page.checkPlural(page.parseKeywords('x'))), ['x ']);
  });
});

describe('dates', () => {
  it('monthnum reads the first three letters', () => {
    assert.equal(page.monthnum('January 1, 2000'), '01');
    assert.equal(page.monthnum('Dec'), '12');
    assert.equal(page.monthnum('june 1'), '00');
    assert.equal(page.monthnum(''), '00');
  });

  it('myDate makes a sortable key that keeps the text', () => {
    assert.equal(page.myDate('March 5, 1999'), '19990305March 5, 1999');
    assert.equal(page.myDate('March 15, 1999'), '19990315March 15, 1999');
    assert.equal(page.myDate('March 1999'), '19990300March 1999');
  });

  it('sortDates puts the date index in chronological order, month alone first', () => {
    const context = loadScript();
    addPictures(context, ['March 1, 1999', 'April 5, 1998', 'March 1999', 'December 31, 1998']
      .map((picdate) => ({ picdate })));
    context.sortDates();
    assert.deepEqual([...context.cat.picdate.words],
      ['April 5, 1998', 'December 31, 1998', 'March 1999', 'March 1, 1999']);
  });
});

describe('names and titles', () => {
  it('nextfile moves the eighth character one place on in its group of eight, after any folder', () => {
    const cases = [['_K7Q2M40.jpg', '_K7Q2M41.jpg'], ['_K7Q2M48.jpg', '_K7Q2M49.jpg'],
      ['_K7Q2M4H.jpg', '_K7Q2M4J.jpg'], ['_K7Q2M4R.jpg', '_K7Q2M4S.jpg'],
      ['Summer 2001/_K7Q2M40.jpg', 'Summer 2001/_K7Q2M41.jpg'], ['a/b/_K7Q2M4R.jpg', 'a/b/_K7Q2M4S.jpg']];
    // the last of each run of eight, unknown characters and short names stay
    for (const name of ['_K7Q2M4Z.jpg', '_K7Q2M47.jpg', '_K7Q2M4G.jpg', '_K7Q2M4E.jpg', 'a.jpg', '']) {
      cases.push([name, name]);
    }
    for (const [name, next] of cases) assert.equal(page.nextfile(name), next);
  });

  it('shortTitle breaks long words at nine, twelve and thirteen more, cuts at a late space, escapes', () => {
    const long = 'The harbour at dawn with the fishing fleet going out';
    const cases = [['Harbour at dawn', 'Harbour at dawn'], [long, long],
      ['Supercalifragilistic', 'Supercali<br>fragilistic'],
      ['Pneumonoultramicroscopicsilicovolcano', 'Pneumonou<br>ltramicrosco<br>picsilicov'],
      ['At the Kirchturmspitzenreparatur', 'At the Ki<br>rchturmspitz<br>enreparatur'],
      ['Old town Marktplatzbrunnenfest', 'Old town Marktplatzbr<br>unnenfest'],
      ['A abcdefghijklmnopqrstuvwxyzAB more words', 'A abcdefg<br>hijklmnopqrs<br>tuvwxyzAB'],
      ['<b>bold</b>', '&lt;b&gt;bold&lt;/b&gt;'],
      ['<script>alert(1)</script>', '&lt;script&gt;a<br>lert(1)&lt;/script&gt;']];
    for (const [title, shown] of cases) assert.equal(page.shortTitle(title), shown, title);
    assert.equal(page.htmlText('5" & <b>'), '5&quot; &amp; &lt;b&gt;', 'safe inside an attribute too');
  });
});

describe('catalog and search', () => {
  it('numbers pictures from one and indexes words, folders and dates', () => {
    const context = loadScript();
    const [first, second] = addPictures(context, [
      { title: 'Red boat', comment: 'boat at sea', path: 'C:\\PHOTOS\\Trip', picdate: 'May 1, 2000' },
      { title: 'constructor __proto__ toString', path: '', picdate: '' },
    ]);
    assert.equal(first.num, 1);
    assert.equal(second.num, 2);
    assert.deepEqual([...context.cat.title.words], ['red ', 'boat ', 'at ', 'sea ', 'constructor ', '__proto__ ', 'tostring ']);
    assert.deepEqual([...context.cat.path.words], ['C:\\photos\\trip']);
    assert.deepEqual([...context.cat.picdate.words], ['May 1, 2000']);
  });

  it('scores one point per matching keyword and lists higher scores first', () => {
    const context = loadScript();
    const pics = addPictures(context, [
      { title: 'red car' },
      { title: 'red boat', comment: 'a boat' },
      { title: 'blue boat' },
      { title: 'green tree' },
    ]);
    const listed = (found) => Array.from({ length: found.count }, (_, i) => [found.item[i].object.num, found.item[i].score]);
    const found = context.cat.title.find(context.parseKeywords('red boat'));
    assert.deepEqual(listed(found), [[2, 2], [1, 1], [3, 1]], 'equal scores keep the order found');
    context.results = found;  // a search adds to the sorted list, as the one by date after words
    assert.deepEqual(listed(context.cat.title.find(context.parseKeywords('car'))), [[2, 2], [1, 2], [3, 1]]);
    assert.equal(pics.length, 4);
  });

  it('a search that hits every picture of a large archive scores each once', () => {
    const context = loadScript();
    addPictures(context, Array.from({ length: 10000 }, (_, i) => ({ title: `holiday ${i}` })));
    const found = context.cat.title.find(context.parseKeywords('holiday'));
    assert.equal(found.count, 10000);
    assert.ok(Array.from({ length: found.count }, (_, i) => found.item[i].score).every((s) => s === 1));
  });
});

describe('the records block', () => {
  it('reads every value as the script would, repeats from the row before, and passes over a damaged row', () => {
    const context = loadScript();
    const bodies = ['plain', 'C:\\\\Photos\\\\Trip', 'He said \\x22hi\\x22 \\x3Cb>', 'line\\r\\nnext\\ttab',
      '\\x01\\x7F', 'May 1, 2000', 'caf\\u00e9 東京', '\\\\x22 stays', 'back\\\\'];
    const values = ['_ABCDEF0.jpg', ...bodies];
    const repeated = ['_ABCDEF1.jpg', '', ...bodies.slice(1).map(() => '"')];
    context.cat.addRecords(`\r\n${values.join('\t')}\r\n_BROKEN0.jpg\t\t"\r\n${repeated.join('\t')}\n`);
    assert.equal(context.cat.count, 2, 'the row without its ten values is passed over');
    const fields = (pic) => [pic.thumb, pic.file, pic.path, pic.source, pic.title, pic.subject,
      pic.category, pic.comment, pic.author, pic.picdate];
    const expected = values.map((body) => eval(`"${body}"`));
    assert.deepEqual(fields(context.cat.pic[0]), expected);
    assert.deepEqual(fields(context.cat.pic[1]), ['_ABCDEF1.jpg', '', ...expected.slice(2)]);
  });
});

describe('the viewer library the page carries', () => {
  it('is PhotoSwipe exactly as its npm package has it', () => {
    const dist = new URL('./node_modules/photoswipe/dist/', import.meta.url);
    const vendor = new URL('../../../page/vendor/', import.meta.url);
    for (const [ours, theirs] of [['photoswipe.umd.min.js', 'umd/photoswipe.umd.min.js'], ['photoswipe.css', 'photoswipe.css']]) {
      assert.ok(readFileSync(new URL(ours, vendor)).equals(readFileSync(new URL(theirs, dist))), ours);
    }
  });
});

describe('addresses and details', () => {
  it('an address names a search and a picture, whatever their text, and reads back', () => {
    const state = { search: 'a&b=c %41 #x +y', from: 'May 1, 2000', picture: '_ABC:2' };
    const address = page.addressOf(state);
    assert.equal(address, '#search=a%26b%3Dc%20%2541%20%23x%20%2By&from=May%201%2C%202000&picture=_ABC%3A2');
    assert.deepEqual({ ...page.stateOf(address) }, state);
    assert.deepEqual({ ...page.stateOf('#search=harbour+boat&picture=%E0%A4&x=1') }, { search: 'harbour boat' },
      'a "+" typed as a blank; a broken escape or an unknown part is left out');
    assert.deepEqual({ ...page.stateOf('') }, {});
  });

  it('pictures of one original are told apart by their place among its records', () => {
    const fresh = loadScript();
    const pics = addPictures(fresh, [{ thumb: '_A.jpg' }, { thumb: '_B.jpg' }, { thumb: '_A.jpg' }]);
    assert.deepEqual(pics.map((p) => fresh.pictureKey(p)), ['_A.jpg', '_B.jpg', '_A.jpg:2']);
  });

  it('details are shown as text, sizes rounded, and a place only when it is a position', () => {
    const pic = { thumb: 'Trip #2/_A.jpg', details: 'camera=<img src=x onerror=alert(1)>\ngps=1,2"\noriginal=a b.jpg\nbytes=4200000' };
    const html = page.detailsHtml(pic);
    assert.ok(html.includes('&lt;img src=x onerror=alert(1)&gt;'), html);
    assert.ok(!html.includes('geo:'), 'no map for a position that is not one');
    assert.ok(html.includes('href="Trip%20%232/a%20b.jpg"') && html.includes('Original, 4.2 MB'), html);
    assert.deepEqual([page.sizeText(999), page.sizeText(1500), page.sizeText('x')], ['999 bytes', '2 KB', '']);
  });

  it('a clip not copied is played from its file, a Windows drive\'s too', () => {
    assert.equal(page.fileUrl('/home/k/Trip #2', 'a b.mp4'), 'file:///home/k/Trip%20%232/a%20b.mp4');
    assert.equal(page.fileUrl('D:\\Clips\\', '50%.mov'), 'file:///D:/Clips/50%25.mov');
    assert.equal(page.clipOf({ thumb: '_A.jpg', path: '/c', source: 'x.mp4', details: 'clip=0:03\nvideo=hevc' }).url,
      'file:///c/x.mp4');
    assert.equal(page.clipOf({ thumb: '_A.jpg', details: 'camera=X' }), null);
    assert.equal(page.companionUrl({ thumb: 'T/_A.jpg' }, { live: '_A2.mov' }, 'live'), 'T/_A2.mov');
    assert.equal(page.companionUrl({ thumb: '_A.jpg', path: '/p' }, { raw_file: 'a.NEF' }, 'raw'), 'file:///p/a.NEF');
  });
});
