// What the browser tests share about the game: a session on the page, and where its view and
// overlay put things, as the desktop end-to-end tests measure them.
import assert from 'node:assert/strict';
import { mkdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import * as h from './harness.mjs';

export const TITLE_MS = 60000;  // compiling the wasm and the first frames, on the CPU
export const FRAME_MS = 30000;

// With ORBFALL_WEB_DUMP set to a directory, pictures a test names are saved there.
export function dump(name, picture) {
  const dir = process.env.ORBFALL_WEB_DUMP;
  if (!dir || !picture) return;
  mkdirSync(dir, { recursive: true });
  writeFileSync(path.join(dir, `${name}.png`), picture.toPng());
}

// The game's page in a fresh Chromium, its title screen drawn: runs fn(page, title), then
// requires that nothing reached the console. url defaults to the site folder, served.
export async function withGame(fn, { url } = {}) {
  const server = await h.serve(h.siteDir);
  try {
    return await h.withBrowser(async (browser) => {
      const page = await h.openPage(browser, url ?? server.url);
      const title = await h.waitForCanvas(page, h.showsTitleScreen, TITLE_MS, 200);
      page.titleDrawnMs = performance.now() - page.openedAt;
      if (!title) dump('no-title', page.lastGrab);
      assert.ok(title, `no title screen within ${TITLE_MS} ms; console: ${page.consoleLog.join(' | ')}`);
      const result = await fn(page, title);
      assert.deepEqual(page.consoleLog, [], 'messages on the console');
      return result;
    });
  } finally {
    await server.close();
  }
}

// P, then the first game frame; Q, then the title screen.
export async function startPlaying(page) {
  await h.tapKey(page, 'p');
  const frame = await h.waitForCanvas(page, h.showsGameFrame, FRAME_MS);
  if (!frame) dump('no-game-frame', page.lastGrab);
  assert.ok(frame, 'no game frame after P');
  return frame;
}

export async function endPlaying(page) {
  await h.tapKey(page, 'q');
  const title = await h.waitForCanvas(page, h.showsTitleScreen, FRAME_MS);
  if (!title) dump('no-title-after-q', page.lastGrab);
  assert.ok(title, 'no title screen after Q');
  return title;
}

// ---- The view ----

// Right of the centre, below the HUD: where the corner between the far wall and the right
// wall shows once the view turns right. The right wall is turned by 110 degrees, not 90, so
// it meets the far wall slightly beyond x = 50.
export const RIGHT_HALF = h.box(560, 120, 1015, 740);
const rad = Math.PI / 180;
const cornerBearing = Math.atan2(50 - (50 * Math.cos(110 * rad)) / (110 * Math.sin(110 * rad)), 50);
const columnsPerTangent = 512 / Math.tan(25 * rad) / (4 / 3);
export const cornerColumn = (yaw) => 512 + columnsPerTangent * Math.tan(cornerBearing - yaw * rad);
export const turnAtColumn = (col) => (cornerBearing - Math.atan((col - 512) / columnsPerTangent)) / rad;
export const cornerOf = (p) => p.verticalEdgeColumn(RIGHT_HALF);

// ---- The overlay ----

// The HUD as laid out: figures are double-height digits 10 rows tall resting on row 40. same:
// the element reads the same in any game's first seconds, so it must match the Linux build's.
export const HUD = [
  { what: 'SCORE', box: h.overlayTextBox(9, 21, 5), margin: 6, same: true },
  { what: 'TARGETS LEFT', box: h.overlayTextBox(452, 21, 12), margin: 6, same: true },
  { what: 'TIME', box: h.overlayTextBox(976, 21, 4), margin: 6, same: true },
  { what: 'FPS', box: h.overlayTextBox(988, 60, 3), margin: 4, same: true },
  { what: 'score 0', box: h.box(9, 30, 16, 39), margin: 6, same: true },
  { what: 'targets left 130', box: h.box(500, 30, 523, 39), margin: 6, same: true },
  { what: 'seconds left', box: h.box(997, 30, 1013, 39), margin: 6, same: false },
];

// The crosshair's area; its arms lie on row 384 and column 512, the pistol's 6 to 20 pixels
// out, 12 to 20 when a shot enlarges them.
export const CROSSHAIR = h.box(484, 356, 540, 412);

// Per arm (left, right, up, down): mean brightness of the arm's pixels between two distances
// from the centre (the two pixel rows or columns the line lies between) less that of those
// 5 further out across it.
export function armContrast(p, near, far) {
  const contrast = [];
  for (let arm = 0; arm < 4; ++arm) {
    let on = 0, beside = 0, n = 0;
    for (let d = near; d <= far; ++d) {
      for (const [across, away] of [[-1, -5], [0, 5]]) {
        if (arm < 2) {
          const col = arm === 0 ? 511 - d : 512 + d, row = 384 + across;
          on += p.sum(col, row); beside += p.sum(col, row + away);
        } else {
          const col = 512 + across, row = arm === 2 ? 383 - d : 384 + d;
          on += p.sum(col, row); beside += p.sum(col + away, row);
        }
        ++n;
      }
    }
    contrast.push((on - beside) / n);
  }
  return contrast;
}
export const armsDrawn = (p, near, far) => armContrast(p, near, far).every((c) => c > 30);
export const armsAbsent = (p, near, far) => armContrast(p, near, far).every((c) => c < 10);
export const crosshairNormal = (p) => armsDrawn(p, 8, 10) && armsDrawn(p, 14, 18);
export const crosshairEnlarged = (p) => armsAbsent(p, 8, 10) && armsDrawn(p, 14, 18);

// No target behind the crosshair: its surroundings are an even wall.
export function crosshairClear(p) {
  let low = 765, high = 0;
  for (const [col, row, q] of p.pixels(CROSSHAIR)) {
    if (row === 383 || row === 384 || col === 511 || col === 512) continue;
    const s = q[0] + q[1] + q[2];
    low = Math.min(low, s); high = Math.max(high, s);
  }
  return high - low <= 60;
}
