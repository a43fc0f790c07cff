// Play in Chromium by real key and mouse events: the mouse turns the view, a click kicks the
// crosshair, E names the weapon, W moves the player, Q ends the game, Escape does not.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import * as h from './harness.mjs';
import { withGame, startPlaying, endPlaying, FRAME_MS, CROSSHAIR, cornerColumn, cornerOf,
  turnAtColumn, crosshairNormal, crosshairEnlarged, crosshairClear } from './game.mjs';

// Plays a game with the pointer captured by a click on the title screen.
const playing = (fn) => withGame(async (page) => {
  assert.ok(await h.capturePointer(page), 'no pointer lock after a click on the canvas');
  return fn(page, await startPlaying(page));
});

// Waits for the far right corner where a turn of degrees puts it; returns its column.
async function cornerAt(page, degrees) {
  const seen = await h.waitForCanvas(page, (p) => Math.abs(cornerOf(p) - cornerColumn(degrees)) <= 1, FRAME_MS);
  const column = cornerOf(seen ?? page.lastGrab);
  assert.ok(seen, `corner at column ${column}, expected ${cornerColumn(degrees)} for ${degrees} degrees`);
  return column;
}

test('the mouse turns the view both ways by a quarter degree a pixel', () => playing(async (page, ahead) => {
  assert.ok(cornerOf(ahead) < 0, 'a wall corner in view at the start');
  for (const [dx, degrees] of [[140, 35], [-60, 20]]) {
    await h.moveBy(page, dx, 0);
    const shown = turnAtColumn(await cornerAt(page, degrees));
    console.log(`turned by ${dx} pixels: the view shows ${shown.toFixed(2)} degrees right (${degrees} expected)`);
  }
}));

test('a click enlarges the crosshair for a moment', () => playing(async (page) => {
  let ready = null;
  for (let attempt = 0; attempt < 4 && !ready; ++attempt) {
    if (attempt > 0) await h.moveBy(page, 60, 0);  // a target on the line of sight: look away
    ready = await h.waitForCanvas(page, (p) => crosshairNormal(p) && crosshairClear(p), FRAME_MS / 4, 100, CROSSHAIR);
  }
  assert.ok(ready, 'no clear pistol crosshair to shoot with');
  await h.recordFrames(page, CROSSHAIR);
  await h.click(page, 0);
  const seen = await h.waitForFrames(page, [crosshairEnlarged, crosshairNormal], FRAME_MS);
  assert.ok(seen > 0, 'not enlarged after the click');
  assert.ok(seen > 1, 'still enlarged');
}));

test('E shows the weapon\'s name', () => playing(async (page) => {
  const notice = h.overlayTextBox(482, 80, 6);  // "PISTOL" centred on column 512, on row 80
  let why = '';
  for (let attempt = 0; attempt < 8 && why !== null; ++attempt) {
    await h.tapKey(page, 'e');  // again if a target passing behind the notice hid it
    await h.waitForCanvas(page, (p) => (why = h.overlayMismatch(p, notice, 6)) === null, 2500);
  }
  assert.equal(why, null);
}));

test('W moves the player; Q returns to the title and P starts afresh', () => playing(async (page) => {
  await h.moveBy(page, 80, 0);
  const start = await cornerAt(page, 20);
  await page.keyboard.down('w');  // towards the far wall: the corner off to the right moves right
  const moved = await h.waitForCanvas(page, (p) => cornerOf(p) >= start + 3, FRAME_MS);
  await page.keyboard.up('w');
  assert.ok(moved, `corner stayed near column ${cornerOf(page.lastGrab)} from ${start}`);
  await endPlaying(page);
  assert.ok(cornerOf(await startPlaying(page)) < 0, 'a new game does not start at the centre');
}));

test('Escape leaves the game running; a click takes the pointer back', () => playing(async (page) => {
  await h.tapKey(page, 'Escape');
  // A real Escape also frees the pointer, which a synthetic one does not: free it as it would.
  await page.evaluate(() => document.exitPointerLock());
  assert.ok(await h.waitUntil(async () => !(await h.pointerLocked(page)), 5000), 'pointer still held');
  const before = await h.grabCanvas(page);
  await h.sleep(1500);  // the targets drift on, the clock counts down
  const later = await h.grabCanvas(page);
  assert.ok(h.showsGameFrame(before) && h.showsGameFrame(later), 'no longer a game frame');
  assert.ok(later.countDiff(before, later.whole(), 24) > 0, 'the picture stood still');
  assert.ok(await h.capturePointer(page), 'no pointer lock after a click');
  await h.moveBy(page, 140, 0);
  await cornerAt(page, 35);
}));
