// Browser-test harness: a local file server, headless Chromium driven by puppeteer-core, the
// canvas read as the player sees it, real input, and the Linux build under Xvfb to compare with.
import { spawn, execFile } from 'node:child_process';
import { createServer } from 'node:http';
import { mkdtempSync, rmSync, statSync, createReadStream, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { Picture, WIDTH, HEIGHT } from './picture.mjs';

export * from './picture.mjs';

export const projectRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const fromRoot = (p) => path.resolve(projectRoot, p);
export const webBuild = fromRoot(process.env.ORBFALL_WEB_BUILD || 'build/web');
export const siteDir = path.join(webBuild, 'site');
export const singleFile = path.join(webBuild, 'orbfall.html');
// ORBFALL_REF_BUILD names the native build's directory, or the game itself.
const refBuild = fromRoot(process.env.ORBFALL_REF_BUILD || 'build/web-ref');
export const referenceGame = existsSync(refBuild) && statSync(refBuild).isFile()
  ? refBuild : path.join(refBuild, 'src/orbfall');

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Runs check (sync or async) every intervalMs until it returns something truthy, which is
// returned; null once timeoutMs have passed.
export async function waitUntil(check, timeoutMs, intervalMs = 100) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const result = await check();
    if (result) return result;
    if (Date.now() >= end) return null;
    await sleep(intervalMs);
  }
}

// Rejects a promise that has not settled within ms.
export function within(promise, ms, what) {
  let timer;
  const timeout = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: no answer within ${ms} ms`)), ms);
  });
  return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}

// ---- The file server ----

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.wasm': 'application/wasm', '.png': 'image/png', '.ico': 'image/x-icon',
  '.json': 'application/json', '.css': 'text/css', '.data': 'application/octet-stream',
};

// Serves dir on 127.0.0.1 at a port the system picks; { url, close() }.
export async function serve(dir) {
  const server = createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    let file = path.join(dir, path.normalize(name));
    if (!file.startsWith(dir)) { res.writeHead(403).end(); return; }
    if (existsSync(file) && statSync(file).isDirectory()) file = path.join(file, 'index.html');
    if (!existsSync(file)) { res.writeHead(404).end(); return; }
    res.writeHead(200, {
      'Content-Type': types[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-store',
    });
    createReadStream(file).pipe(res);
  });
  await new Promise((resolve, reject) => server.listen(0, '127.0.0.1', resolve).on('error', reject));
  const { port } = server.address();
  return {
    url: `http://127.0.0.1:${port}/`,
    close: () => new Promise((resolve) => { server.closeAllConnections?.(); server.close(resolve); }),
  };
}

// ---- Chromium ----

export const chromiumPath = process.env.ORBFALL_CHROMIUM || '/usr/bin/chromium';
const chromiumFlags = [
  '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--no-first-run', '--disable-quic',
];

// Headless Chromium with an empty profile of its own; close() ends it and removes the profile.
export async function launchBrowser() {
  const profile = mkdtempSync(path.join(tmpdir(), 'orbfall-chromium-'));
  let browser;
  try {
    browser = await puppeteer.launch({
      executablePath: chromiumPath,
      headless: true,  // puppeteer 22 passes --headless=new
      args: chromiumFlags,
      userDataDir: profile,
      defaultViewport: null,
      protocolTimeout: 60000,
      timeout: 30000,
    });
  } catch (error) {
    rmSync(profile, { recursive: true, force: true });
    throw error;
  }
  const close = async () => {
    const child = browser.process();
    try { await within(browser.close(), 10000, 'closing Chromium'); } catch { child?.kill('SIGKILL'); }
    rmSync(profile, { recursive: true, force: true });
  };
  return { browser, close };
}

// Runs fn(browser) with a browser that is closed afterwards, whatever happens.
export async function withBrowser(fn) {
  const { browser, close } = await launchBrowser();
  try { return await fn(browser); } finally { await close(); }
}

// Chromium's own notes about the GL driver are not the page's.
const chromiumNote = /GL Driver Message/;

// A page at deviceScaleFactor 1, large enough for the canvas and the line under it, that
// records every console message and page error in page.consoleLog.
export async function openPage(browser, url, { timeoutMs = 30000 } = {}) {
  const page = await browser.newPage();
  page.consoleLog = [];
  page.on('console', (m) => {
    if (!chromiumNote.test(m.text())) page.consoleLog.push(`${m.type()}: ${m.text()}`);
  });
  page.on('pageerror', (e) => page.consoleLog.push(`page error: ${e.message ?? e}`));
  await page.setViewport({ width: 1280, height: 960, deviceScaleFactor: 1 });
  page.openedAt = performance.now();
  await page.goto(url, { waitUntil: 'load', timeout: timeoutMs });
  return page;
}

// The canvas' box on the page, in whole CSS pixels.
export async function canvasBox(page) {
  const r = await page.$eval('canvas', (c) => {
    const b = c.getBoundingClientRect();
    return { x: b.x, y: b.y, width: b.width, height: b.height };
  });
  return { x: Math.round(r.x), y: Math.round(r.y), width: Math.round(r.width), height: Math.round(r.height) };
}

// The canvas as shown on the page: a screenshot clipped to it, or to an area of it (a box in
// canvas pixels; smaller is quicker).
export async function grabCanvas(page, area) {
  const c = page.canvasAt ??= await canvasBox(page);
  const a = area ?? { left: 0, top: 0, right: c.width - 1, bottom: c.height - 1 };
  const clip = { x: c.x + a.left, y: c.y + a.top, width: a.right - a.left + 1, height: a.bottom - a.top + 1 };
  const png = await page.screenshot({ type: 'png', clip, captureBeyondViewport: false });
  return Picture.fromPng(Buffer.from(png), a.left, a.top);
}

// Grabs every intervalMs until check(picture) holds; that picture, or null after timeoutMs
// (the last grab is then in page.lastGrab).
export async function waitForCanvas(page, check, timeoutMs, intervalMs = 100, area = undefined) {
  return waitUntil(async () => {
    page.lastGrab = await grabCanvas(page, area);
    return check(page.lastGrab) ? page.lastGrab : null;
  }, timeoutMs, intervalMs);
}

// From now on, an area (a box in canvas pixels) of every frame the game draws, read back in
// the page as the frame ends. A screenshot takes most of a second where the browser draws on
// the CPU, longer than a moment's effect stays on the screen; this misses no frame.
export async function recordFrames(page, area) {
  await page.evaluate((a, height) => {
    const canvas = document.querySelector('canvas');
    const gl = canvas.getContext('webgl');
    const width = a.right - a.left + 1, rows = a.bottom - a.top + 1;
    const frames = window.orbfallFrames = [];
    let pending = false;
    const read = () => {
      pending = false;
      const data = new Uint8Array(width * rows * 4);
      gl.readPixels(a.left, height - 1 - a.bottom, width, rows, gl.RGBA, gl.UNSIGNED_BYTE, data);
      frames.push(data);
      if (frames.length > 600) frames.shift();
    };
    // Every frame begins with a clear; the pass that draws it has ended by the next microtask.
    const clear = gl.clear.bind(gl);
    gl.clear = (mask) => {
      clear(mask);
      if (!pending) { pending = true; queueMicrotask(read); }
    };
  }, area, HEIGHT);
  page.recordedArea = area;
}

// The frames recorded since the last call, oldest first, as pictures the right way up.
export async function recordedFrames(page) {
  const frames = await page.evaluate(() => window.orbfallFrames.splice(0).map((f) => Array.from(f)));
  const a = page.recordedArea, width = a.right - a.left + 1, rows = a.bottom - a.top + 1;
  return frames.map((f) => {
    const rgba = Buffer.alloc(f.length);
    for (let row = 0; row < rows; ++row)  // GL counts rows up from the bottom
      rgba.set(f.slice((rows - 1 - row) * width * 4, (rows - row) * width * 4), row * width * 4);
    return new Picture(width, rows, rgba, a.left, a.top);
  });
}

// Waits until the recorded frames show, in order, one frame passing each check in turn;
// returns how many checks were passed within timeoutMs.
export async function waitForFrames(page, checks, timeoutMs) {
  let passed = 0;
  await waitUntil(async () => {
    for (const frame of await recordedFrames(page))
      if (passed < checks.length && checks[passed](frame)) ++passed;
    return passed === checks.length;
  }, timeoutMs);
  return passed;
}

// ---- Input, through the DevTools Input domain ----

// A key held long enough for the game's next tick to see it.
export async function tapKey(page, key, holdMs = 100) {
  await page.keyboard.down(key);
  await sleep(holdMs);
  await page.keyboard.up(key);
}

export async function holdKey(page, key, ms) { await tapKey(page, key, ms); }

export async function pointerLocked(page) {
  return page.evaluate(() => document.pointerLockElement !== null
    && document.pointerLockElement.tagName === 'CANVAS');
}

// A left click where the pointer is: under the pointer lock, moving it would turn the view.
export async function click(page, holdMs = 50) {
  await page.mouse.down();
  await sleep(holdMs);
  await page.mouse.up();
}

// Moves the pointer to the canvas' centre, clicks, and waits until the page holds the
// pointer lock; false if it does not.
export async function capturePointer(page, timeoutMs = 5000) {
  const b = await canvasBox(page);
  page.pointerAt = { x: b.x + b.width / 2, y: b.y + b.height / 2 };
  await page.mouse.move(page.pointerAt.x, page.pointerAt.y);
  await click(page);
  return waitUntil(() => pointerLocked(page), timeoutMs, 50);
}

// Moves the mouse by dx, dy in steps of at most 10 pixels, as a hand would.
export async function moveBy(page, dx, dy) {
  const from = page.pointerAt ?? { x: 0, y: 0 };
  const steps = Math.max(1, Math.ceil(Math.max(Math.abs(dx), Math.abs(dy)) / 10));
  page.pointerAt = { x: from.x + dx, y: from.y + dy };
  await page.mouse.move(page.pointerAt.x, page.pointerAt.y, { steps });
}

// ---- The Linux build on a private Xvfb ----

function run(file, args, options = {}) {
  return new Promise((resolve, reject) => {
    execFile(file, args, { timeout: 15000, maxBuffer: 64 << 20, encoding: 'buffer', ...options },
      (error, stdout) => (error ? reject(error) : resolve(stdout)));
  });
}

// The native game on an Xvfb of its own, driven with xdotool and grabbed with ImageMagick.
export class Reference {
  static async start(environment = {}) {
    const ref = new Reference();
    try {
      await ref.startServer();
      ref.game = spawn(referenceGame, [], {
        env: { ...process.env, ...environment, DISPLAY: ref.display },
        stdio: ['ignore', 'pipe', 'pipe'],
      });
      ref.output = '';
      ref.game.stdout.on('data', (d) => { ref.output += d; });
      ref.game.stderr.on('data', (d) => { ref.output += d; });
      ref.game.on('error', () => {});
      ref.window = await waitUntil(async () => {
        if (ref.game.exitCode !== null) throw new Error(`the Linux build exited: ${ref.output}`);
        try {
          const out = await ref.xdotool(['search', '--onlyvisible', '--name', '^Orbfall']);
          return out.toString().trim().split('\n')[0] || null;
        } catch { return null; }
      }, 30000);
      if (!ref.window) throw new Error('no window of the Linux build within 30 s');
    } catch (error) {
      ref.close();
      throw error;
    }
    return ref;
  }

  async startServer() {
    this.xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
      { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    this.xvfb.on('error', () => {});
    let number = '';
    const shown = new Promise((resolve) => {
      this.xvfb.stdio[3].on('data', (d) => { number += d; if (number.includes('\n')) resolve(); });
    });
    await within(shown, 10000, 'Xvfb');
    this.display = `:${number.trim()}`;
  }

  xdotool(args) { return run('xdotool', args, { env: { ...process.env, DISPLAY: this.display } }); }

  async grab() {
    const png = await run('import', ['-silent', '-window', this.window, 'png:-'],
      { env: { ...process.env, DISPLAY: this.display } });
    return Picture.fromPng(png);
  }

  async waitForPicture(check, timeoutMs, intervalMs = 200) {
    return waitUntil(async () => {
      this.lastGrab = await this.grab();
      return check(this.lastGrab) ? this.lastGrab : null;
    }, timeoutMs, intervalMs);
  }

  // Gives the window the focus; the game then captures the pointer.
  async focus() { await this.xdotool(['windowfocus', '--sync', this.window]); }

  async tapKey(keysym, holdMs = 100) {
    await this.xdotool(['keydown', keysym]);
    await sleep(holdMs);
    await this.xdotool(['keyup', keysym]);
  }

  async moveBy(dx, dy) { await this.xdotool(['mousemove_relative', '--', String(dx), String(dy)]); }

  async click() { await this.xdotool(['click', '1']); }

  close() {
    for (const child of [this.game, this.xvfb])
      if (child && child.exitCode === null && child.signalCode === null) child.kill('SIGKILL');
  }
}

// Runs fn(reference) with the Linux build, which is ended afterwards, whatever happens.
export async function withReference(fn, environment) {
  const ref = await Reference.start(environment);
  try { return await fn(ref); } finally { ref.close(); }
}

export { WIDTH, HEIGHT };
