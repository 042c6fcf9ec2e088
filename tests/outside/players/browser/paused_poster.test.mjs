// A page paused at start, without preloading, as a visitor first sees it: the poster that
// publishing writes beside the video under the big play button rather than black, and the
// video's real duration, while no more than the head of the video is fetched; the first press
// plays. Served the way a web host serves files, ranges included; seen in Chromium, Firefox and
// WebKitGTK.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { engineNames, withEngine } from './engines.mjs';
import * as h from './harness.mjs';

const WIDTH = 400;
const HEIGHT = 300;
let folder, server, origin;
// Bytes of each file sent so far, by path.
const sent = {};

before(async () => {
  h.requireTools();
  folder = h.makeMediaFolder(6, 'mandelbrot=size=640x360:rate=25');
  execFileSync(path.join(h.resourcesDir, 'webtwin'),
    [path.join(folder, 'clip.flv'), '--poster', path.join(folder, 'clip.jpg')]);
  // A second video twice as long, with no poster beside it.
  const long = h.makeMediaFolder(12);
  fs.copyFileSync(path.join(long, 'clip.flv'), path.join(folder, 'long.flv'));
  fs.rmSync(long, { recursive: true, force: true });

  server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    if (url.pathname === '/player.html') {
      response.writeHead(200, { 'content-type': 'text/html; charset=utf-8' });
      response.end(h.playerPage('/player.swf', url.searchParams.get('vars'), WIDTH, HEIGHT));
      return;
    }
    const name = url.pathname.slice(1);
    const file = name.startsWith('ruffle/') || name.endsWith('.swf') ? path.join(h.resourcesDir, name) : path.join(folder, name);
    if (name.includes('..') || !fs.existsSync(file)) {
      response.writeHead(404);
      response.end();
      return;
    }
    const size = fs.statSync(file).size;
    const range = /^bytes=(\d+)-(\d*)$/.exec(request.headers.range ?? '');
    const start = range ? Number(range[1]) : 0;
    const end = range && range[2] ? Math.min(Number(range[2]), size - 1) : size - 1;
    const types = { '.js': 'text/javascript', '.wasm': 'application/wasm', '.jpg': 'image/jpeg' };
    response.writeHead(range ? 206 : 200, {
      'content-type': types[path.extname(file)] ?? 'application/octet-stream',
      'content-length': end - start + 1,
      ...(range ? { 'content-range': `bytes ${start}-${end}/${size}` } : {}),
    });
    const stream = fs.createReadStream(file, { start, end });
    stream.on('data', (chunk) => { sent[url.pathname] = (sent[url.pathname] ?? 0) + chunk.length; });
    stream.pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  origin = `http://127.0.0.1:${server.address().port}`;
});

after(() => {
  server?.close();
  if (folder) fs.rmSync(folder, { recursive: true, force: true });
});

function openPaused(engine, video) {
  return engine.open(`${origin}/player.html?vars=${encodeURIComponent(`contentPath=${video}&autoPlay=false`)}`,
    { width: WIDTH, height: HEIGHT });
}

for (const name of engineNames) {
  test(`in ${name} a paused start shows the poster and the duration, fetches only the head, and plays on the first press`, async () => {
    await withEngine(name, {}, pausedStart);
  });
}

async function pausedStart(engine) {
  for (const file of Object.keys(sent)) delete sent[file];
  const { chrome, bar } = h.playerGeometry('player.swf');
  const picture = { x: chrome + 4, y: chrome + 4, width: WIDTH - 2 * chrome - 8, height: HEIGHT - 2 * chrome - bar - 8 };
  // A strip at the picture's left, clear of the big play button in the middle.
  const side = { ...picture, width: 60 };
  // The time text sits at the bar's right, left of the three buttons.
  const time = { x: WIDTH - chrome - 4 * bar - 30, y: HEIGHT - chrome - bar + 4, width: 3 * bar - 20 + 30, height: bar - 8 };

  const page = await openPaused(engine, 'clip.flv');
  await h.waitFor('the poster under the big play button', async () => h.spread(await page.grab(side)) > 60, 20000);
  await h.sleep(1500);
  const poster = await page.grab(picture);
  assert.ok(h.spread(await page.grab(side)) > 60, 'no picture before play');
  const shortClock = await page.grab(time);
  // Only the head of the video has come, not the video.
  const size = fs.statSync(path.join(folder, 'clip.flv')).size;
  assert.ok((sent['/clip.flv'] ?? 0) < size / 2, `before play ${sent['/clip.flv']} of ${size} bytes of the video were sent`);
  await page.click(WIDTH / 2, chrome + (HEIGHT - 2 * chrome - bar) / 2);
  await h.waitFor('the video to play over the poster', async () => h.difference(poster, await page.grab(picture)) > 5, 15000);
  await page.close();

  // The same without a poster and with a longer video: black, and another duration. (One page
  // after the other: one engine's driver holds one window at a time.)
  const long = await openPaused(engine, 'long.flv');
  await h.sleep(4000);
  assert.ok(h.spread(await long.grab(side)) < 30, 'a picture where no poster lies');
  const longClock = await long.grab(time);
  await long.close();
  const missing = await openPaused(engine, 'missing.flv');
  await h.sleep(4000);
  const noClock = await missing.grab(time);
  await missing.close();
  // One digit apart ("0:06" and "0:00") moves the mean by about 0.5; the same text, by 0.
  assert.ok(h.difference(shortClock, longClock) > 0.2, 'the time shows the same for a 6 and a 12 second video');
  assert.ok(h.difference(shortClock, noClock) > 0.2, 'the time shows the same with and without a video');
}
