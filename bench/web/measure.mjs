// The web build's figures in headless Chromium, against the Linux build on the same machine:
// ticks a second over a scripted full turn (alternating with the Linux build's tick_rate, both
// drawn on the CPU), the time from opening the page to the title screen, and the page's memory
// after 20 games against after the first.
//
//   node bench/web/measure.mjs [PAIRS]      (from tests/web's packages: bench/web/run)
//
// The game presents one frame a tick and clears the screen once a frame, so the page's frames
// are counted as its WebGL clears (those within a millisecond of one another are one frame),
// recorded by a wrapper put into the page before the game loads: the swap log's counterpart.
import { execFile } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import * as h from '../../tests/web/harness.mjs';

const WINDOW_MS = 10000;
const STEP_MS = 50;
const PIXELS_PER_STEP = 7;  // 0.25 degrees each: 35 degrees a second, a full turn in 10.3 s
const tickRate = path.resolve(h.projectRoot, process.env.ORBFALL_TICK_RATE || 'build/test/bench/tick_rate');

const loadAverage = () => Number(readFileSync('/proc/loadavg', 'utf8').split(' ')[0]);

// Put into the page before its scripts: the times of the WebGL clears, on the page's clock.
function recordClears() {
  const times = [];
  window.__orbfallClears = times;
  for (const type of [WebGLRenderingContext, window.WebGL2RenderingContext].filter(Boolean)) {
    const clear = type.prototype.clear;
    type.prototype.clear = function (mask) {
      const now = performance.now();
      if (!times.length || now - times[times.length - 1] > 1) times.push(now);
      return clear.call(this, mask);
    };
  }
}

// Frames in the first WINDOW_MS of the game, from the frames after P: the first may still be
// the title screen's.
function ticksInWindow(times) {
  if (times.length < 2) return -1;
  const first = times[1];
  return times.slice(1).filter((t) => t <= first + WINDOW_MS).length;
}

async function openGame(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 960, deviceScaleFactor: 1 });
  await page.evaluateOnNewDocument(recordClears);
  const opened = Date.now();
  await page.goto(url, { waitUntil: 'load', timeout: 60000 });
  const title = await h.waitForCanvas(page, h.showsTitleScreen, 60000, 20);
  if (!title) throw new Error('no title screen within 60 s');
  const seenMs = Date.now() - opened;
  const firstClearMs = await page.evaluate(() => window.__orbfallClears[0]);
  return { page, seenMs, firstClearMs };
}

async function browserTicks(url, turn) {
  return h.withBrowser(async (browser) => {
    const { page } = await openGame(browser, url);
    if (!(await h.capturePointer(page))) throw new Error('no pointer lock');
    const loadBefore = loadAverage();
    const pressed = await page.evaluate(() => performance.now());
    await h.tapKey(page, 'p', 30);
    for (let t = 0; t < WINDOW_MS + 1000; t += STEP_MS) {
      if (turn) await h.moveBy(page, PIXELS_PER_STEP, 0);
      await h.sleep(STEP_MS);
    }
    const times = await page.evaluate((from) => window.__orbfallClears.filter((t) => t > from), pressed);
    const ticks = ticksInWindow(times);
    console.log(`${(ticks * 1000 / WINDOW_MS).toFixed(1).padStart(5)} ticks/s  (${ticks} frames seen)`
      + `  load ${loadBefore.toFixed(2)} before, ${loadAverage().toFixed(2)} after  Chromium${turn ? '' : ', no turn'}`);
  });
}

function linuxTicks() {
  return new Promise((resolve, reject) => {
    execFile(tickRate, [], { env: { ...process.env, ORBFALL_E2E_GAME: h.referenceGame }, timeout: 180000 },
      (error, stdout, stderr) => {
        if (error) reject(new Error(`${tickRate}: ${stderr || error.message}`));
        else { process.stdout.write(stdout); resolve(); }
      });
  });
}

async function startUpAndMemory(url) {
  await h.withBrowser(async (browser) => {
    const { page, seenMs, firstClearMs } = await openGame(browser, url);
    console.log(`title screen: first frame drawn ${Math.round(firstClearMs)} ms after navigation began,`
      + ` seen in a screenshot ${seenMs} ms after page.goto`);
    const cdp = await page.createCDPSession();
    const memory = async () => {
      await cdp.send('HeapProfiler.collectGarbage');
      const m = await page.metrics();
      const wasm = await page.evaluate(() => {
        const mem = (typeof wasmMemory !== 'undefined' && wasmMemory)
          || (typeof Module !== 'undefined' && Module.asm && Module.asm.memory);
        if (mem) return mem.buffer.byteLength;
        return typeof Module !== 'undefined' && Module.HEAP8 ? Module.HEAP8.buffer.byteLength : -1;
      });
      return `JS heap ${(m.JSHeapUsedSize / 1024).toFixed(0)} KiB used of ${(m.JSHeapTotalSize / 1024).toFixed(0)} KiB,`
        + ` wasm memory ${wasm < 0 ? 'not reachable' : `${wasm / 1024} KiB`}`;
    };
    for (let game = 1; game <= 20; ++game) {
      await h.tapKey(page, 'p');
      if (!(await h.waitForCanvas(page, h.showsGameFrame, 30000))) throw new Error(`game ${game}: no frame`);
      await h.sleep(1000);
      await h.tapKey(page, 'q');
      if (!(await h.waitForCanvas(page, h.showsTitleScreen, 30000))) throw new Error(`game ${game}: no title`);
      if (game === 1 || game === 20) console.log(`after game ${game}: ${await memory()}`);
    }
  });
}

const pairs = Number(process.argv[2] ?? 3);
const server = await h.serve(h.siteDir);
try {
  await startUpAndMemory(server.url);
  await browserTicks(server.url, false);
  for (let pair = 0; pair < pairs; ++pair) {
    await linuxTicks();
    await browserTicks(server.url, true);
  }
} finally {
  await server.close();
}
