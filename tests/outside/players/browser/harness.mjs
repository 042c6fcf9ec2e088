// What the browser tests and the screenshot script share: the media made for them, a static
// server on 127.0.0.1, pages that embed players the way a published page does, and pictures
// of what the browser shows.
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import net from 'node:net';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import zlib from 'node:zlib';

const here = path.dirname(new URL(import.meta.url).pathname);
export const sourceDir = process.env.REELWRIGHT_SOURCE_DIR ?? path.resolve(here, '../../../..');
export const programDir = process.env.REELWRIGHT_PROGRAM_DIR ?? path.join(sourceDir, 'build/reelwright');
export const resourcesDir = path.join(programDir, 'resources');
export const chromiumPath = process.env.REELWRIGHT_CHROMIUM ?? '/usr/bin/chromium';

// Missing pieces are failures: scripts/setup installs the browser and the runtime.
export function requireTools() {
  const missing = [];
  if (!fs.existsSync(chromiumPath)) missing.push(`the browser ${chromiumPath}`);
  if (!fs.existsSync(path.join(resourcesDir, 'ruffle', 'ruffle.js')))
    missing.push(`the web runtime ${path.join(resourcesDir, 'ruffle')}`);
  if (!fs.existsSync(path.join(resourcesDir, 'vidforge'))) missing.push('the encoder vidforge');
  if (!fs.existsSync(path.join(programDir, 'metastamp'))) missing.push('the metadata tool metastamp');
  if (missing.length) throw new Error(`missing ${missing.join(', ')}: run scripts/setup and scripts/build`);
}

// One file a browser engine needs (its browser, its driver), or a failure saying how to get it.
export function requireFile(file, what) {
  if (!fs.existsSync(file)) throw new Error(`${what} ${file} is missing: run scripts/setup`);
}

// A package of the tests' own npm folder (outside/players/web, pinned by its lock file).
export function requireFromWeb(name) {
  return createRequire(path.join(sourceDir, 'outside/players/web/package.json'))(name);
}

export function loadPlaywright() {
  return requireFromWeb('playwright-core');
}

export function playerNames() {
  return fs.readdirSync(resourcesDir).filter((name) => name.endsWith('.swf')).sort();
}

// What the player's size file tells of its layout: the chrome is half the width increment,
// the bar the rest of the height increment, and at the minimal width the seek bar is 40
// pixels long, so it is that much plus whatever a page has beyond the minimum. The buttons are
// squares of the bar's height less an eighth of it on each side; from the right end of the bar:
// full screen (1), information (2) and mute (3).
export function playerGeometry(swf) {
  const ini = fs.readFileSync(path.join(resourcesDir, swf.toLowerCase().replace(/\.swf$/, '.ini')), 'latin1');
  const [minimal, increments] = ini.split('[Increments]');
  const value = (text, key) => Number(new RegExp(`${key}=(\\d+)`).exec(text)[1]);
  const width = value(increments, 'Width');
  const bar = value(increments, 'Height') - width;
  const padding = Math.floor(bar / 8);
  return {
    chrome: width / 2,
    bar,
    seekLength: (pageWidth) => pageWidth - value(minimal, 'Width') + 40,
    // How far left of the bar's right edge the centre of a right-hand button lies.
    buttonFromRight: (place) => place * (bar - padding) - (bar - 2 * padding) / 2,
  };
}

// A short test clip turned into an FLV by our own encoder and given its keyframe index by our
// metadata tool, as publishing does, in a fresh folder. `source` is an
// ffmpeg lavfi video source.
export function makeMediaFolder(seconds = 4, source = 'testsrc=size=320x240:rate=25') {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'reelwright-players-'));
  const avi = path.join(folder, 'clip.avi');
  execFileSync('ffmpeg', ['-hide_banner', '-loglevel', 'error', '-y',
    '-f', 'lavfi', '-i', source, '-f', 'lavfi', '-i', 'sine=frequency=440', '-t', `${seconds}`, avi]);
  execFileSync(path.join(resourcesDir, 'vidforge'),
    ['-i', avi, '-b', '400', '-ab', '64', '-ar', '22050', '-ac', '1', path.join(folder, 'clip.flv')],
    { cwd: folder });
  execFileSync(path.join(programDir, 'metastamp'), [path.join(folder, 'clip.flv')]);
  fs.rmSync(avi);
  fs.writeFileSync(path.join(folder, 'next.html'), '<!doctype html><title>next</title><p>next page</p>');
  return folder;
}

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.swf': 'application/x-shockwave-flash', '.flv': 'video/x-flv', '.json': 'application/json',
};

// Serves the runtime from the program folder, and the players from it both at the top and
// under /players/; pages made by `pages(url)` where it gives one; everything else from `folder`.
// Keeps the address of every whole load: a ranged request is a player's look at a file's head
// (a paused start reads the video's duration from its first bytes), not a load of the file.
export function serve(folder, pages) {
  const requests = [];
  const server = http.createServer((request, response) => {
    if (!request.headers.range) requests.push(request.url);
    const url = new URL(request.url, 'http://127.0.0.1');
    const name = decodeURIComponent(url.pathname).replace(/^\/+/, '');
    const page = pages(url);
    if (page) {
      response.writeHead(200, { 'content-type': types['.html'] });
      response.end(page);
      return;
    }
    const fromProgram = name.startsWith('ruffle/') || name.endsWith('.swf');
    const file = fromProgram ? path.resolve(resourcesDir, name.replace(/^players\//, '')) : path.resolve(folder, name);
    if (name.includes('..') || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { 'content-type': types[path.extname(file)] ?? 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () =>
      resolve({ server, origin: `http://127.0.0.1:${server.address().port}`, requests }));
  });
}

const escapeHtml = (text) => text.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');

// The runtime's settings for our pages: play without a click-to-play overlay and draw with a
// renderer that works without a GPU.
export const runtimeConfig = {
  autoplay: 'on', unmuteOverlay: 'hidden', preferredRenderer: 'canvas', contextMenu: 'off',
  logLevel: 'warn', splashScreen: false,
};

// One player the way a published page holds it: <object> with <embed> inside, FlashVars on
// both. `swf` is the player's address as the page names it.
export function playerPage(swf, flashVars, width, height) {
  const vars = escapeHtml(flashVars);
  return `<!doctype html><html><head><meta charset="utf-8"><title>${escapeHtml(swf)}</title>
<style>html,body{margin:0;padding:0;background:#fff;overflow:hidden}</style>
<script>window.RufflePlayer = window.RufflePlayer || {}; window.RufflePlayer.config = ${JSON.stringify(runtimeConfig)};</script>
<script src="/ruffle/ruffle.js"></script></head><body>
<object width="${width}" height="${height}" data="${escapeHtml(swf)}" type="application/x-shockwave-flash">
<param name="movie" value="${escapeHtml(swf)}"><param name="FlashVars" value="${vars}">
<param name="allowScriptAccess" value="sameDomain"><param name="quality" value="high">
<param name="allowfullscreen" value="true">
<embed src="${escapeHtml(swf)}" width="${width}" height="${height}" flashvars="${vars}" type="application/x-shockwave-flash" allowscriptaccess="sameDomain" allowfullscreen="true">
</object></body></html>`;
}

// A row of frames, one page each, so that every player can navigate on its own and go to
// full screen.
export function framesPage(frames, width, height) {
  return `<!doctype html><html><head><meta charset="utf-8"><style>body{margin:0;display:flex;gap:8px}
iframe{border:0;width:${width}px;height:${height}px}</style></head><body>
${frames.map((src, i) => `<iframe name="tile${i}" src="${escapeHtml(src)}" allowfullscreen></iframe>`).join('\n')}
</body></html>`;
}

// Pixels of a PNG screenshot (8-bit RGB or RGBA, not interlaced) as RGBA.
export function decodePng(buffer) {
  let offset = 8;
  let width = 0, height = 0, channels = 0;
  const data = [];
  while (offset < buffer.length) {
    const length = buffer.readUInt32BE(offset);
    const type = buffer.toString('latin1', offset + 4, offset + 8);
    const body = buffer.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('unexpected PNG form');
      channels = { 2: 3, 6: 4 }[body[9]];
      if (!channels) throw new Error(`unexpected PNG colour type ${body[9]}`);
    } else if (type === 'IDAT') {
      data.push(body);
    }
    offset += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(width * height * 4);
  const previous = Buffer.alloc(stride);
  const line = Buffer.alloc(stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    raw.copy(line, 0, y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; x++) {
      const a = x >= channels ? line[x - channels] : 0;
      const b = previous[x];
      const c = x >= channels ? previous[x - channels] : 0;
      let add = 0;
      if (filter === 1) add = a;
      else if (filter === 2) add = b;
      else if (filter === 3) add = (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        add = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      line[x] = (line[x] + add) & 0xff;
    }
    line.copy(previous);
    for (let x = 0; x < width; x++) {
      pixels[(y * width + x) * 4] = line[x * channels];
      pixels[(y * width + x) * 4 + 1] = line[x * channels + 1];
      pixels[(y * width + x) * 4 + 2] = line[x * channels + 2];
      pixels[(y * width + x) * 4 + 3] = channels === 4 ? line[x * channels + 3] : 255;
    }
  }
  return { width, height, pixels };
}

export async function grab(page, clip) {
  return decodePng(await page.screenshot({ clip }));
}

// Mean absolute difference of two pictures of the same size, over all channels.
export function difference(a, b) {
  let sum = 0;
  for (let i = 0; i < a.pixels.length; i++) sum += Math.abs(a.pixels[i] - b.pixels[i]);
  return sum / a.pixels.length;
}

// Share of pixels that are nearly white.
export function whiteShare(picture) {
  let white = 0;
  for (let i = 0; i < picture.pixels.length; i += 4)
    if (picture.pixels[i] > 200 && picture.pixels[i + 1] > 200 && picture.pixels[i + 2] > 200) white++;
  return white / (picture.pixels.length / 4);
}

// Spread of brightness: 0 for a plain area, more once something is drawn on it.
export function spread(picture) {
  let min = 255, max = 0;
  for (let i = 0; i < picture.pixels.length; i += 4) {
    const v = (picture.pixels[i] + picture.pixels[i + 1] + picture.pixels[i + 2]) / 3;
    min = Math.min(min, v);
    max = Math.max(max, v);
  }
  return max - min;
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits until something listens on `port` of 127.0.0.1.
export async function waitForListener(port, what, timeoutMs = 15000) {
  await waitFor(what, () => new Promise((resolve) => {
    const socket = net.connect(port, '127.0.0.1', () => { socket.end(); resolve(true); });
    socket.on('error', () => resolve(false));
  }), timeoutMs);
}

// A port on 127.0.0.1 that nothing listens on now, for a server a test starts.
export async function freePort() {
  const probe = net.createServer().listen(0, '127.0.0.1');
  await new Promise((resolve) => probe.once('listening', resolve));
  const { port } = probe.address();
  await new Promise((resolve) => probe.close(resolve));
  return port;
}

// A browser that stops answering fails the wait at its end rather than holding the test until
// the test runner's own limit: each look at the condition gets the time left, and a little more.
export async function waitFor(what, condition, timeoutMs) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await within(condition(), end - Date.now() + 5000, `waiting for ${what}`);
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(150);
  }
}

// `promise`, or a failure naming `what` after `ms`.
export function within(promise, ms, what) {
  let timer;
  const limit = new Promise((resolve, reject) => {
    timer = setTimeout(() => reject(new Error(`no answer from the browser in ${Math.round(ms / 1000)} s ${what}`)), ms);
  });
  return Promise.race([promise, limit]).finally(() => clearTimeout(timer));
}

// reelwright-batch --serve on `site`, as a user previews a published folder: the process, and
// the address it prints first (the folder's page).
export async function serveWithBatch(site) {
  const server = spawn(path.join(programDir, 'reelwright-batch'), ['--serve', site],
    { stdio: ['ignore', 'pipe', 'inherit'] });
  const { value: address } = await readline.createInterface({ input: server.stdout })[Symbol.asyncIterator]().next();
  return { server, address };
}

// Waits until the page's player shows a picture and the picture moves on.
export async function assertPlays(page, what = page.url()) {
  const player = page.locator('ruffle-object, ruffle-embed').first();
  const box = await waitFor(`the player of ${what}`, () => player.boundingBox(), 30000);
  // The video area, inside the player's chrome.
  const clip = { x: box.x + 20, y: box.y + 20, width: box.width - 40, height: box.height / 2 };
  await waitFor(`a picture in ${what}`, async () => spread(await grab(page, clip)) > 40, 30000);
  const first = await grab(page, clip);
  await waitFor(`the picture of ${what} to move on`, async () => difference(first, await grab(page, clip)) > 2, 15000);
  return box;
}

// A fresh work folder with a `seconds`-long MPEG clip in it, published by reelwright-batch into
// its empty site/ as a user would publish it: { work, site }. `picture` is an ffmpeg lavfi
// video source; `options` go to reelwright-batch as well.
export function publishClip(prefix, seconds = 6, picture = 'testsrc2=size=320x240:rate=25', options = []) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), prefix));
  const site = path.join(work, 'site');
  fs.mkdirSync(site);
  const clip = path.join(work, 'clip.mpg');
  execFileSync('ffmpeg', ['-v', 'error', '-f', 'lavfi', '-i', picture,
    '-f', 'lavfi', '-i', 'sine=sample_rate=44100', '-t', `${seconds}`, '-c:v', 'mpeg1video', '-c:a', 'mp2', clip]);
  execFileSync(path.join(programDir, 'reelwright-batch'), ['--input', clip, '--output-folder', site, ...options],
    { stdio: ['ignore', 'ignore', 'pipe'] });
  return { work, site };
}
