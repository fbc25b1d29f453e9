// SPDX-License-Identifier: GPL-3.0-or-later
// Loads the archive page's script, exactly as `lumvane` writes it, into a vm context.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import vm from 'node:vm';

export const lumvane = process.env.LUMVANE_BIN ?? new URL('../../../build/bin/lumvane', import.meta.url).pathname;

// The text of an empty archive.htm made by a real scan of an empty folder.
export function emptyArchivePage() {
  const dir = mkdtempSync(join(tmpdir(), 'lumvane-page-'));
  try {
    execFileSync(lumvane, ['scan', dir, dir, '--quiet']);
    return readFileSync(join(dir, 'archive.htm'), 'utf8');
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
}

// A fresh context holding the page's functions and its empty catalog `cat`.
export function loadScript() {
  const page = emptyArchivePage();
  const context = vm.createContext({ setTimeout: () => 0 });
  for (let start = page.indexOf('<!-- begin script'); start >= 0;
    start = page.indexOf('<!-- begin script', start + 1)) {
    vm.runInContext(page.substring(start, page.indexOf('// end script -->', start)), context);
  }
  return context;
}

// Adds pictures given as partial records; returns them.
export function addPictures(context, pictures) {
  return pictures.map((p) => {
    const pic = new context.Pic(p.thumb ?? '_ABCDEF0.jpg', p.file ?? '', p.path ?? '', p.source ?? '',
      p.title ?? '', p.subject ?? '', p.category ?? '', p.comment ?? '', p.author ?? '', p.picdate ?? '');
    context.cat.add(pic);
    return pic;
  });
}

// The keywords of a KeywordList as an array.
export function words(list) {
  return Array.from({ length: list.count }, (_, i) => list.word[i]);
}
