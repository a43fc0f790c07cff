// The first seconds of a game in Chromium against the Linux build's: the HUD's labels and
// figures, the crosshair and the walls where and in the colours the Linux build draws them.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './harness.mjs';
import { withGame, startPlaying, dump, HUD, CROSSHAIR, crosshairNormal, crosshairClear,
  TITLE_MS, FRAME_MS } from './game.mjs';

const LEVELS = 3;  // per channel: what two rasterizers' lighting may differ by on a wall
const EVEN = 60;   // channel-sum spread of a wall with no target in front of it

// Patches of the far wall that the start view shows, clear of the overlay.
const walls = [[150, 200], [870, 200], [300, 560], [724, 560], [150, 700], [870, 700]].map(
  ([c, r]) => ({ what: `wall at ${c}, ${r}`, area: h.box(c - 12, r - 12, c + 12, r + 12),
    clear: (p, a) => p.ringSpread(a, h.box(0, 0, -1, -1)) <= EVEN, placed: () => null }));

// Each element: its area, when a picture shows it clear of targets, and why it is misplaced.
const elements = [
  ...HUD.map((e) => ({ what: e.what, area: h.grown(e.box, e.margin), same: e.same,
    clear: (p, a) => p.ringSpread(a, h.grown(e.box, 1)) <= EVEN,
    placed: (p) => h.overlayMismatch(p, e.box, e.margin) })),
  { what: 'crosshair', area: CROSSHAIR, clear: crosshairClear,
    placed: (p) => (crosshairNormal(p) ? null : 'no pistol crosshair') },
  ...walls,
].map((e) => ({ same: true, ...e }));

// Channel levels by which the pictures differ most over the area, and the pixels beyond LEVELS.
function difference(a, b, area) {
  let most = 0, beyond = 0;
  for (const [col, row, p] of a.pixels(area)) {
    const q = b.at(col, row);
    const d = Math.max(...p.map((v, i) => Math.abs(v - q[i])));
    most = Math.max(most, d);
    if (d > LEVELS) ++beyond;
  }
  return { most, beyond };
}

test('after P the HUD, crosshair and walls are where and as the Linux build draws them', async () => {
  const linux = await h.withReference(async (ref) => {
    assert.ok(await ref.waitForPicture(h.showsTitleScreen, TITLE_MS), 'no Linux title screen');
    await ref.focus();
    await ref.tapKey('p');
    const frames = [await ref.waitForPicture(h.showsGameFrame, FRAME_MS)];
    assert.ok(frames[0], 'no Linux game frame');
    while (frames.length < 15) { await h.sleep(400); frames.push(await ref.grab()); }
    return frames;
  });

  const found = new Map();  // what: the closest clear pair's difference, or why not yet
  const judge = (p) => {
    for (const e of elements) {
      if (found.get(e.what)?.most <= LEVELS || !e.clear(p, e.area)) continue;
      const why = e.placed(p);
      if (why) { found.set(e.what, { why }); continue; }
      if (!e.same) { found.set(e.what, { most: 0, beyond: 0 }); continue; }
      for (const l of linux.filter((f) => e.clear(f, e.area))) {
        const d = difference(p, l, e.area);
        if (!(found.get(e.what)?.most <= d.most)) found.set(e.what, d);
      }
    }
    return elements.every((e) => found.get(e.what)?.most <= LEVELS);
  };
  await withGame(async (page) => {
    await startPlaying(page);
    if (!(await h.waitUntil(async () => judge(page.lastGrab = await h.grabCanvas(page)), 20000, 200)))
      dump('hud-web', page.lastGrab);
  });
  for (const e of elements) {
    const f = found.get(e.what);
    console.log(`${e.what}: ${!f ? 'never seen clear of targets' : f.why
      ?? `differs from the Linux build by at most ${f.most} levels (${f.beyond} pixels beyond ${LEVELS})`}`);
  }
  for (const e of elements) assert.ok(found.get(e.what)?.most <= LEVELS, e.what);
});
