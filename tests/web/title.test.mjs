// The title screen in Chromium: the Linux build's to the pixel, served or opened from disk.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';
import * as h from './harness.mjs';
import { withGame, dump, TITLE_MS } from './game.mjs';

test('the title screen is the Linux build\'s, to the pixel', async () => {
  const linux = await h.withReference((ref) => ref.waitForPicture(h.showsTitleScreen, TITLE_MS));
  assert.ok(linux, 'no title screen from the Linux build');
  await withGame(async (page, title) => {
    const differing = title.countDiff(linux);
    console.log(`title screen: ${differing} of ${h.WIDTH * h.HEIGHT} pixels differ from the Linux build's;`
      + ` drawn ${Math.round(page.titleDrawnMs)} ms after the page was opened`);
    if (differing) { dump('title-web', title); dump('title-linux', linux); }
    assert.equal(differing, 0);
  });
});

test('orbfall.html opened from disk shows the title screen', async () => {
  await withGame(async (page, title) => {
    assert.match(page.url(), /^file:/);
    assert.ok(h.showsTitleScreen(title));
  }, { url: pathToFileURL(h.singleFile).href });
});
