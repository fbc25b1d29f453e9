// SPDX-License-Identifier: GPL-3.0-or-later
// Archives for the browser tests, made by the real `lumvane` from generated pictures.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdirSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';

import { lumvane } from './page_script.mjs';

const samplePhotos = join(dirname(lumvane), 'make_sample_photos');

export const HOSTILE = {
  title: '<img src=x onerror="top.hacked=1">',
  subject: '</script><script>top.hacked=2</script>',
  comment: '"quoted" & <b>bold</b>',
  author: 'back\\slash',
};

// Six pictures in two folders, described by a tab catalog; one of them with hostile text.
export const PICTURES = [
  { folder: 'Coast', file: 'IMG_0001.jpg', title: 'Red boat at dawn', subject: 'boat harbour', date: 'March 5, 1999' },
  { folder: 'Coast', file: 'IMG_0002.jpg', title: 'Blue boats', subject: 'boats', date: 'March 1999' },
  { folder: 'Coast', file: 'IMG_0003.jpg', title: 'Church on the hill', subject: 'church', date: 'April 2, 1999' },
  { folder: 'Hills', file: 'IMG_0001.jpg', title: 'Two churches', subject: 'churches', date: 'May 1, 2000' },
  { folder: 'Hills', file: 'IMG_0002.jpg', title: HOSTILE.title, subject: HOSTILE.subject, comment: HOSTILE.comment, author: HOSTILE.author, date: 'June 1, 2001' },
  { folder: 'Hills', file: 'IMG_0003.jpg', title: 'Harbour lights over the old town of Kirchturmspitzenreparatur', subject: 'harbour', date: 'December 24, 2001' },
];

function makePhotos(folder, count, seed) {
  mkdirSync(folder, { recursive: true });
  execFileSync(samplePhotos, [folder, String(count), '320x240', String(seed)]);
}

// The archive folder of the six pictures, and the thumbnail name of each picture by position.
export function makeMainArchive() {
  const root = mkdtempSync(join(tmpdir(), 'lumvane-browser-'));
  makePhotos(join(root, 'photos', 'Coast'), 3, 1);
  makePhotos(join(root, 'photos', 'Hills'), 3, 2);
  const lines = ['SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate'];
  for (const p of PICTURES) {
    lines.push([join(root, 'photos', p.folder, p.file), p.title, p.subject, 'Travel', p.comment ?? '',
      p.author ?? 'Ann', p.date].join('\t'));
  }
  writeFileSync(join(root, 'photos', 'catalog.txt'), lines.join('\r\n') + '\r\n');
  const archive = join(root, 'archive');
  execFileSync(lumvane, ['catalog', join(root, 'photos', 'catalog.txt'), archive, '--copy', 'no', '--quiet']);
  const thumbs = readFileSync(join(archive, 'archive.txt'), 'utf8').trim().split(/\r\n/).slice(1)
    .map((line) => line.split('\t')[7]);
  return { archive, page: join(archive, 'archive.htm'), thumbs };
}

// An archive of an empty folder.
export function makeEmptyArchive() {
  const root = mkdtempSync(join(tmpdir(), 'lumvane-browser-empty-'));
  execFileSync(lumvane, ['scan', root, root, '--quiet']);
  return join(root, 'archive.htm');
}

// Folder names that a URL would misread unless each is percent-encoded.
export const MASTER_FOLDERS = ['Trip "#2"', '50% off', 'a?b & <c>', 'back\\slash', 'café 東京'];

// A master archive made by `lumvane master` over one archive of two pictures in each of
// MASTER_FOLDERS.
export function makeMasterArchive() {
  const root = mkdtempSync(join(tmpdir(), 'lumvane-browser-master-'));
  MASTER_FOLDERS.forEach((name, i) => {
    const photos = join(root, 'photos', String(i));
    makePhotos(photos, 2, 10 + i);
    execFileSync(lumvane, ['scan', photos, join(root, 'master', name), '--copy', 'no', '--quiet']);
  });
  execFileSync(lumvane, ['master', join(root, 'master'), '--quiet']);
  return join(root, 'master', 'archive.htm');
}

// A title that a page must show as text: quotes, markup, the end of a script, a line break.
export const EMBEDDED_TITLE = 'He said "hi" <b>bold</b> </script><script>top.hacked=3</script>\nsecond line';

// An archive made by `lumvane scan` of one photo that carries EMBEDDED_TITLE and the keyword
// "lighthouse" inside it (written with exiftool).
export function makeDescribedArchive() {
  const root = mkdtempSync(join(tmpdir(), 'lumvane-browser-described-'));
  const photos = join(root, 'photos');
  makePhotos(photos, 1, 5);
  execFileSync('exiftool', ['-q', '-overwrite_original', `-XMP-dc:Title=${EMBEDDED_TITLE}`,
    '-XMP-dc:Subject=lighthouse', join(photos, 'IMG_0001.jpg')]);
  execFileSync(lumvane, ['scan', photos, join(root, 'archive'), '--copy', 'no', '--quiet']);
  return join(root, 'archive', 'archive.htm');
}

// An archive of one photo whose title was set with `lumvane edit` to EMBEDDED_TITLE, with the
// keyword "beacon".
export function makeEditedArchive() {
  const root = mkdtempSync(join(tmpdir(), 'lumvane-browser-edited-'));
  makePhotos(join(root, 'photos'), 1, 6);
  const archive = join(root, 'archive');
  execFileSync(lumvane, ['scan', join(root, 'photos'), archive, '--copy', 'no', '--quiet']);
  execFileSync(lumvane, ['edit', archive, '--set', '1', `title=${EMBEDDED_TITLE}`,
    'keywords=beacon', 'date=May 1, 2000']);
  return join(archive, 'archive.htm');
}

// An archive of `count` records over two photos, titled "boat 0", "boat 1", ...; the even ones
// also carry "harbour", so that a search for "boat harbour" lists them first.
export function makeLargeArchive(count) {
  const root = mkdtempSync(join(tmpdir(), 'lumvane-browser-large-'));
  const photos = join(root, 'photos');
  makePhotos(photos, 2, 7);
  const lines = ['SourceFile\tTitle\tSubject'];
  for (let i = 0; i < count; i++) {
    lines.push([join(photos, `IMG_000${1 + (i % 2)}.jpg`), `boat ${i}`, i % 2 ? '' : 'harbour'].join('\t'));
  }
  writeFileSync(join(root, 'catalog.txt'), lines.join('\r\n') + '\r\n');
  const archive = join(root, 'archive');
  execFileSync(lumvane, ['catalog', join(root, 'catalog.txt'), archive, '--copy', 'no', '--quiet']);
  return join(archive, 'archive.htm');
}

// A master made by `lumvane master` over `copies` copies of makeLargeArchive(`count`).
export function makeLargeMaster(copies, count) {
  const archive = dirname(makeLargeArchive(count));
  const master = join(dirname(archive), 'master');
  for (let i = 1; i <= copies; i++) cpSync(archive, join(master, `part ${i}`), { recursive: true });
  execFileSync(lumvane, ['master', master, '--quiet']);
  return join(master, 'archive.htm');
}

// An archive of two photos that carry their camera's facts and a GPS position, with renamed
// copies of the originals.
export function makeCameraArchive() {
  const root = mkdtempSync(join(tmpdir(), 'lumvane-browser-camera-'));
  const photos = join(root, 'photos');
  makePhotos(photos, 2, 8);
  execFileSync('exiftool', ['-q', '-overwrite_original', '-EXIF:Make=Canon', '-EXIF:Model=Canon EOS 5D',
    '-EXIF:FNumber=4', '-EXIF:ExposureTime=1/125', '-GPSLatitude=59.3293', '-GPSLatitudeRef=N',
    '-GPSLongitude=18.0686', '-GPSLongitudeRef=E', join(photos, 'IMG_0001.jpg')]);
  execFileSync(lumvane, ['scan', photos, join(root, 'archive'), '--copy', 'rename', '--quiet']);
  return join(root, 'archive', 'archive.htm');
}

// Two clips: H.264 that browsers play, HEVC that they do not; their copies in the archive.
export function makeClipArchive() {
  const root = mkdtempSync(join(tmpdir(), 'lumvane-browser-clips-'));
  const clips = join(root, 'clips');
  mkdirSync(clips);
  const make = (codec, name) => execFileSync('ffmpeg', ['-loglevel', 'error', '-f', 'lavfi', '-i',
    'testsrc=size=320x240:rate=10:duration=2', '-c:v', codec, '-pix_fmt', 'yuv420p', join(clips, name)]);
  make('libx264', 'MVI_0001.mp4');
  make('libx265', 'MVI_0002.mov');
  execFileSync(lumvane, ['scan', clips, join(root, 'archive'), '--copy', 'rename', '--quiet']);
  return join(root, 'archive', 'archive.htm');
}

// `read()` again and again until `accept` takes its value (a read that throws is read again);
// fails, naming `what`, after five seconds.
export async function poll(read, accept, what) {
  const deadline = Date.now() + 5000;
  let value;
  while (Date.now() < deadline) {
    value = await Promise.resolve().then(read).catch(() => undefined);
    if (value !== undefined && accept(value)) return value;
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
  assert.fail(`timed out waiting for ${what}; last seen: ${JSON.stringify(value)}`);
}
