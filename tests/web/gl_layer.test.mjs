// The GL layer against Mesa: the GL scenes program drawn by the desktop's Mesa under Xvfb and
// by glweb in Chromium, both single-sampled, compared pixel by pixel.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import path from 'node:path';
import * as h from './harness.mjs';
import { dump } from './game.mjs';

const refBuild = path.resolve(h.projectRoot, process.env.ORBFALL_REF_BUILD || 'build/web-ref');
const nativeScenes = path.join(refBuild, 'tests/glweb/gl_scenes');
const webScenes = path.join(h.webBuild, 'tests/glweb');

// Where the program draws what (rows counted from the top).
const TEXT = h.box(0, 0, 1023, 239);
const LINES = h.box(770, 70, 870, 170);  // the crosshair's arms, inside TEXT
const LIT = h.box(0, 240, 1023, 767);
const INSIDE_TOLERANCE = 8;  // levels per channel

const drawn = (p) => p.litCount(h.box(0, 0, 300, 60)) > 200 && p.litCount(LIT) > 50000;

async function nativePicture() {
  const ref = new h.Reference();
  try {
    await ref.startServer();
    ref.game = spawn(nativeScenes, [], {
      env: { ...process.env, DISPLAY: ref.display }, stdio: ['ignore', 'ignore', 'ignore'],
    });
    ref.game.on('error', () => {});
    ref.window = await h.waitUntil(async () => {
      try {
        const out = await ref.xdotool(['search', '--onlyvisible', '--name', '^GL scenes']);
        return out.toString().trim().split('\n')[0] || null;
      } catch { return null; }
    }, 30000);
    assert.ok(ref.window, 'no window of the desktop GL scenes');
    return await ref.waitForPicture(drawn, 20000);
  } finally {
    ref.close();
  }
}

async function webPicture() {
  const server = await h.serve(webScenes);
  try {
    return await h.withBrowser(async (browser) => {
      const page = await h.openPage(browser, `${server.url}gl_scenes.html`);
      return h.waitForCanvas(page, drawn, 60000, 200);
    });
  } finally {
    await server.close();
  }
}

const covered = (p) => p[0] > 0 || p[1] > 0 || p[2] > 0;
const inBox = (b, col, row) => col >= b.left && col <= b.right && row >= b.top && row <= b.bottom;

// Whether the 3 x 3 pixels around (col, row) are all covered alike in the picture.
function evenAround(picture, col, row) {
  const c = covered(picture.at(col, row));
  for (let dr = -1; dr <= 1; ++dr)
    for (let dc = -1; dc <= 1; ++dc) if (covered(picture.at(col + dc, row + dr)) !== c) return false;
  return true;
}

function compare(web, linux) {
  const f = { text: 0, lines: 0, coverage: 0, coverageInside: 0, inside: 0, maxInside: 0, overTolerance: 0 };
  for (let row = 0; row < h.HEIGHT; ++row) {
    for (let col = 0; col < h.WIDTH; ++col) {
      const a = web.at(col, row), b = linux.at(col, row);
      const diff = Math.max(Math.abs(a[0] - b[0]), Math.abs(a[1] - b[1]), Math.abs(a[2] - b[2]));
      if (inBox(LINES, col, row)) { if (diff) ++f.lines; continue; }
      if (inBox(TEXT, col, row)) { if (diff) ++f.text; continue; }
      const evenWeb = evenAround(web, col, row), evenLinux = evenAround(linux, col, row);
      if (covered(a) !== covered(b)) {
        ++f.coverage;
        if (evenWeb && evenLinux) ++f.coverageInside;  // not along an outline in either
        continue;
      }
      if (!covered(a) || !evenWeb || !evenLinux) continue;
      ++f.inside;
      f.maxInside = Math.max(f.maxInside, diff);
      if (diff > INSIDE_TOLERANCE) ++f.overTolerance;
    }
  }
  return f;
}

test('glweb draws the GL scenes as Mesa does', async () => {
  const linux = await nativePicture();
  assert.ok(linux, 'the desktop GL scenes drew nothing');
  const web = await webPicture();
  assert.ok(web, 'the page\'s GL scenes drew nothing');
  const f = compare(web, linux);
  console.log(`GL scenes, web against Mesa: text ${f.text} pixels differ; crosshair lines ${f.lines};`
    + ` lit surfaces: ${f.coverage} pixels covered differently, ${f.coverageInside} of them away from`
    + ` an outline; ${f.inside} inside pixels, largest channel difference ${f.maxInside},`
    + ` ${f.overTolerance} beyond ${INSIDE_TOLERANCE}`);
  if (f.text || f.lines || f.coverageInside || f.overTolerance) {
    dump('gl-scenes-web', web);
    dump('gl-scenes-linux', linux);
  }
  assert.equal(f.text, 0, 'text pixels differ');
  assert.equal(f.lines, 0, 'line pixels differ');
  assert.equal(f.coverageInside, 0, 'covered differently away from the outlines');
  assert.equal(f.overTolerance, 0, `inside pixels more than ${INSIDE_TOLERANCE} levels apart`);
});
