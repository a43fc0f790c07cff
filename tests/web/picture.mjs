// Pixel queries on pictures of the game (the canvas in Chromium, the Linux build's window).
import { PNG } from 'pngjs';

export const WIDTH = 1024;
export const HEIGHT = 768;

// Inclusive rectangle: columns left..right, rows top..bottom counted down from the top.
export const box = (left, top, right, bottom) => ({ left, top, right, bottom });
export const grown = (b, by) => box(b.left - by, b.top - by, b.right + by, b.bottom + by);
export const describe = (b) => `columns ${b.left}..${b.right}, rows ${b.top}..${b.bottom}`;

// The whole window, or a part of it whose top left pixel is at left, top; pixels outside the
// part read as black.
export class Picture {
  constructor(width, height, rgba, left = 0, top = 0) {
    this.width = width;
    this.height = height;
    this.rgba = rgba;
    this.left = left;
    this.top = top;
  }

  static fromPng(buffer, left = 0, top = 0) {
    const png = PNG.sync.read(buffer);
    return new Picture(png.width, png.height, png.data, left, top);
  }

  whole() { return box(this.left, this.top, this.left + this.width - 1, this.top + this.height - 1); }

  // [r, g, b]; outside the picture, black.
  at(col, row) {
    col -= this.left;
    row -= this.top;
    if (col < 0 || row < 0 || col >= this.width || row >= this.height) return [0, 0, 0];
    const i = (row * this.width + col) * 4;
    return [this.rgba[i], this.rgba[i + 1], this.rgba[i + 2]];
  }

  sum(col, row) { const p = this.at(col, row); return p[0] + p[1] + p[2]; }

  clip(a) {
    const w = this.whole();
    return box(Math.max(a.left, w.left), Math.max(a.top, w.top),
      Math.min(a.right, w.right), Math.min(a.bottom, w.bottom));
  }

  *pixels(area) {
    const a = this.clip(area);
    for (let row = a.top; row <= a.bottom; ++row)
      for (let col = a.left; col <= a.right; ++col) yield [col, row, this.at(col, row)];
  }

  boundingBox(area, selected) {
    let found = null;
    for (const [col, row, p] of this.pixels(area)) {
      if (!selected(p)) continue;
      if (!found) found = box(col, row, col, row);
      found.left = Math.min(found.left, col);
      found.right = Math.max(found.right, col);
      found.top = Math.min(found.top, row);
      found.bottom = Math.max(found.bottom, row);
    }
    return found;
  }

  // Bounding box of the pixels whose brightest channel exceeds threshold, or null.
  litBox(area, threshold = 40) { return this.boundingBox(area, (p) => Math.max(...p) > threshold); }

  litCount(area, threshold = 40) {
    let n = 0;
    for (const [, , p] of this.pixels(area)) if (Math.max(...p) > threshold) ++n;
    return n;
  }

  medianBrightness(area) {
    const sums = [];
    for (const [, , p] of this.pixels(area)) sums.push(p[0] + p[1] + p[2]);
    sums.sort((x, y) => x - y);
    return sums.length ? sums[sums.length >> 1] : 0;
  }

  // Overlay pixels: brighter (channel sum) than the area's median by more than rise.
  brightBox(area, rise = 30) {
    const level = this.medianBrightness(area) + rise;
    return this.boundingBox(area, (p) => p[0] + p[1] + p[2] > level);
  }

  // Brightest less darkest channel sum over the area outside inner.
  ringSpread(area, inner) {
    let low = 765, high = 0;
    for (const [col, row, p] of this.pixels(area)) {
      if (col >= inner.left && col <= inner.right && row >= inner.top && row <= inner.bottom) continue;
      const s = p[0] + p[1] + p[2];
      low = Math.min(low, s);
      high = Math.max(high, s);
    }
    return high >= low ? high - low : 0;
  }

  // Pixels that differ at all (exact) or whose channel sums differ by more than threshold.
  countDiff(other, area = this.whole(), threshold = -1) {
    let n = 0;
    for (const [col, row, p] of this.pixels(area)) {
      const q = other.at(col, row);
      if (threshold < 0) {
        if (p[0] !== q[0] || p[1] !== q[1] || p[2] !== q[2]) ++n;
      } else if (Math.abs(p[0] + p[1] + p[2] - q[0] - q[1] - q[2]) > threshold) ++n;
    }
    return n;
  }

  // The column of an upright edge across the area (a wall corner with the view level): where
  // the strongest brightness step of each sampled row crosses its middle, averaged over the
  // rows that agree within a pixel; -1 unless at least half of them do.
  verticalEdgeColumn(area, minStep = 45) {
    const a = this.clip(area);
    const edges = [];
    let rows = 0;
    for (let row = a.top; row <= a.bottom; row += 4) {
      ++rows;
      let best = -1, bestStep = minStep;
      for (let col = a.left + 2; col <= a.right - 2; ++col) {
        const step = Math.abs(this.sum(col + 2, row) - this.sum(col - 2, row));
        if (step > bestStep) { bestStep = step; best = col; }
      }
      if (best < 0) continue;
      const mid = (this.sum(best - 2, row) + this.sum(best + 2, row)) / 2;
      for (let col = best - 2; col < best + 2; ++col) {
        const here = this.sum(col, row) - mid, next = this.sum(col + 1, row) - mid;
        // A pixel right at the middle is the crossing itself (and would divide 0 by 0).
        if (here === 0) { edges.push(col + 0.5); break; }
        if ((here < 0) !== (next < 0)) { edges.push(col + 0.5 + here / (here - next)); break; }
      }
    }
    if (!edges.length) return -1;
    edges.sort((x, y) => x - y);
    const median = edges[edges.length >> 1];
    const near = edges.filter((e) => Math.abs(e - median) <= 1);
    if (2 * near.length < rows) return -1;
    return near.reduce((t, e) => t + e, 0) / near.length;
  }

  toPng() {
    const png = new PNG({ width: this.width, height: this.height });
    this.rgba.copy ? this.rgba.copy(png.data) : png.data.set(this.rgba);
    return PNG.sync.write(png);
  }
}

// The title screen: its margins black and "ORBFALL" lit at columns 470..537, rows 188..198.
const marginPoints = [[5, 5], [1018, 5], [5, 762], [1018, 762], [512, 740], [300, 740], [724, 740]];
export function showsTitleScreen(p) {
  if (p.width !== WIDTH || p.height !== HEIGHT) return false;  // a whole window only
  if (marginPoints.some(([c, r]) => p.sum(c, r) !== 0)) return false;
  return p.litCount(box(460, 180, 560, 206)) >= 150;
}

// A game frame: the arena walls fill the view, so most of it is not black.
export function showsGameFrame(p) {
  let lit = 0, total = 0;
  for (let row = 16; row < HEIGHT; row += 32)
    for (let col = 16; col < WIDTH; col += 32) { ++total; if (p.sum(col, row) > 30) ++lit; }
  return lit * 10 >= total * 6;
}

// Where overlay capitals land: 11 rows high resting on row, 10 columns apart.
export const overlayTextBox = (col, row, characters) =>
  box(col, row - 11, col + 10 * (characters - 1) + 7, row - 1);

// The overlay element standing out in expected grown by margin covers expected, give or take
// a pixel; null when it does, else why not.
export function overlayMismatch(p, expected, margin) {
  const area = grown(expected, margin);
  const spread = p.ringSpread(area, grown(expected, 1));
  if (spread > 60) return `uneven surroundings of ${describe(expected)} (spread ${spread})`;
  const found = p.brightBox(area);
  if (!found) return `nothing stands out in ${describe(area)}`;
  const near = ['left', 'right', 'top', 'bottom'].every((k) => Math.abs(found[k] - expected[k]) <= 1);
  return near ? null : `found ${describe(found)}, expected ${describe(expected)}`;
}
