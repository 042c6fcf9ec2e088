// The default player on a slow line: the video trickles in at half its bit rate from a server
// that counts what it has sent, and the checks compare what the player shows with that.
// Playback never runs ahead of the data, waits and resumes; a seek beyond the loaded part
// lands there once it arrives; dragging the thumb moves the picture along. In Chromium, Firefox
// and WebKitGTK: the line is the test server's, not an engine's emulation.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';

import { engineNames, launchEngine } from './engines.mjs';
import * as h from './harness.mjs';

const SECONDS = 6;
const WIDTH = 480;
const HEIGHT = 320;
// The default player's seek bar: played part, thumb, loaded part and the rest.
const COLOURS = { played: [0x60, 0xb2, 0xf0], thumb: [0xff, 0xff, 0xff], loaded: [0x4f, 0x6f, 0x9c], track: [0x0b, 0x1c, 0x3a] };

let folder, server, origin, engine;
// The video as published, with its keyframe index, and as the encoder leaves it, without.
const videos = {};
// The slow video the latest request asked for, and how many of its bytes went out.
let flv, tagEnds;
let sent = 0;

// Where each FLV tag ends, with its time: what a player can have played once that many
// bytes have come.
function tagsOf(file) {
  const tags = [];
  for (let offset = 13; offset + 11 <= file.length;) {
    const size = file.readUIntBE(offset + 1, 3);
    const time = (file.readUIntBE(offset + 4, 3) | (file[offset + 7] << 24)) / 1000;
    offset += 11 + size + 4;
    tags.push({ end: offset, time });
  }
  return tags;
}
const timeOfBytes = (bytes) => Math.max(0, ...tagEnds.filter((tag) => tag.end <= bytes).map((tag) => tag.time));

before(async () => {
  h.requireTools();
  folder = h.makeMediaFolder(SECONDS);
  const avi = path.join(folder, 'plain.avi');
  execFileSync('ffmpeg', ['-v', 'error', '-f', 'lavfi', '-i', 'testsrc=size=320x240:rate=25',
    '-f', 'lavfi', '-i', 'sine=frequency=440', '-t', `${SECONDS}`, avi]);
  execFileSync(path.join(h.resourcesDir, 'vidforge'),
    ['-i', avi, '-b', '400', '-ab', '64', '-ar', '22050', '-ac', '1', path.join(folder, 'plain.flv')], { cwd: folder });
  for (const name of ['clip.flv', 'plain.flv']) videos[name] = fs.readFileSync(path.join(folder, name));
  assert.ok(videos['clip.flv'].includes('filepositions') && !videos['plain.flv'].includes('filepositions'));
  server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    if (url.pathname === '/player.html') {
      response.writeHead(200, { 'content-type': 'text/html; charset=utf-8' });
      response.end(h.playerPage('/player.swf', url.searchParams.get('vars'), WIDTH, HEIGHT));
      return;
    }
    const slow = /^\/slow\/(\w+\.flv)$/.exec(url.pathname);
    if (slow && videos[slow[1]]) {
      // Half the video's bit rate, a twentieth of it twenty times a second.
      flv = videos[slow[1]];
      tagEnds = tagsOf(flv);
      const rate = flv.length / SECONDS / 2;
      sent = 0;
      response.writeHead(200, { 'content-type': 'video/x-flv', 'content-length': flv.length });
      const timer = setInterval(() => {
        const next = Math.min(flv.length, sent + Math.ceil(rate / 20));
        response.write(flv.subarray(sent, next));
        sent = next;
        if (sent >= flv.length) {
          clearInterval(timer);
          response.end();
        }
      }, 50);
      response.on('close', () => clearInterval(timer));
      return;
    }
    const name = decodeURIComponent(url.pathname).replace(/^\/+/, '');
    const file = name.startsWith('ruffle/') || name.endsWith('.swf')
      ? path.join(h.resourcesDir, name) : path.join(folder, name);
    if (name.includes('..') || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    const type = { '.js': 'text/javascript', '.wasm': 'application/wasm', '.swf': 'application/x-shockwave-flash' }[path.extname(file)];
    response.writeHead(200, { 'content-type': type ?? 'application/octet-stream', 'content-length': fs.statSync(file).size });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  origin = `http://127.0.0.1:${server.address().port}`;
});

after(() => {
  server?.close();
  if (folder) fs.rmSync(folder, { recursive: true, force: true });
});

const geometry = () => {
  const { chrome: c, bar, seekLength } = h.playerGeometry('player.swf');
  return {
    video: { x: c + 4, y: c + 4, width: WIDTH - 2 * c - 8, height: HEIGHT - 2 * c - bar - 8 },
    seek: { x: c + bar, y: HEIGHT - c - bar / 2, width: seekLength(WIDTH) },
  };
};

// Opens the player and waits for its seek bar, empty or loaded at its end.
async function open(vars) {
  flv = undefined;
  sent = 0;
  const page = await engine.open(`${origin}/player.html?vars=${encodeURIComponent(vars)}`, { width: WIDTH, height: HEIGHT });
  const { seek } = geometry();
  await h.waitFor('the seek bar', async () => {
    const end = await page.grab({ x: seek.x + seek.width - 3, y: seek.y, width: 1, height: 1 });
    return ['track', 'loaded'].includes(nearest([...end.pixels.subarray(0, 3)]));
  }, 30000);
  return page;
}

function nearest(pixel) {
  const distance = (colour) => Math.max(...colour.map((v, c) => Math.abs(v - pixel[c])));
  return Object.keys(COLOURS).reduce((a, b) => (distance(COLOURS[a]) <= distance(COLOURS[b]) ? a : b));
}

// The time the seek bar shows: the middle of the white thumb along its row.
async function shownTime(page) {
  const { seek } = geometry();
  const row = await page.grab({ x: seek.x, y: seek.y, width: seek.width, height: 1 });
  const thumb = [];
  for (let x = 0; x < row.width; x++) {
    if (nearest([0, 1, 2].map((c) => row.pixels[x * 4 + c])) === 'thumb') thumb.push(x);
  }
  assert.ok(thumb.length > 0, 'no thumb on the seek bar');
  return (thumb.reduce((a, b) => a + b, 0) / thumb.length / seek.width) * SECONDS;
}

for (const name of engineNames) {
  describe(name, () => {
    before(async () => {
      engine = await launchEngine(name);
    });

    after(async () => {
      await engine?.close();
    });

    // Whether the video has its keyframe index is the player's business, not the engine's: the
    // other engines try the published form only.
    const cases = [['clip.flv', 'its keyframe index'], ...name === 'chromium' ? [['plain.flv', 'no index']] : []];
    for (const [video, what] of cases) {
      test(`on a slow line playback waits for the data and resumes, never ahead of it (${what})`, async () => {
        const page = await open(`contentPath=slow/${video}&affiliateID=&bufferTime=1.5&autoPlay=true&startStreaming=true&hasVideoChrome=true`);
        const area = geometry().video;
        await h.waitFor('the player to ask for the video', () => flv, 30000);
        const samples = [];
        while (sent < flv.length) {
          const data = timeOfBytes(sent);
          const shown = await shownTime(page);
          samples.push({ at: Date.now(), data, shown, picture: await page.grab(area) });
          assert.ok(shown <= data + 0.3, `the bar shows ${shown.toFixed(2)} s with ${data.toFixed(2)} s of data sent`);
          await h.sleep(200);
        }
        // A wait: the bar and the picture stand still for a second and a half while data comes,
        // then playback goes on from there.
        const waits = samples.filter((first, i) => samples.slice(i).some((last) =>
          last.at - first.at >= 1500 && Math.abs(last.shown - first.shown) < 0.05 && last.data > first.data + 0.3 &&
          h.difference(first.picture, last.picture) < 0.3 && first.shown > 0.1));
        assert.ok(waits.length > 0, `no wait seen: ${samples.map((s) => `${s.shown.toFixed(2)}/${s.data.toFixed(2)}`).join(' ')}`);
        const resumed = async () => (await shownTime(page)) > waits[waits.length - 1].shown + 0.5;
        await h.waitFor('playback to go on after the wait', resumed, 8000);
        await page.close();
      });
    }

    test('a seek beyond the loaded part lands there once the data arrives', async () => {
      const page = await open('contentPath=slow/clip.flv&affiliateID=&bufferTime=1&autoPlay=false&startStreaming=true&hasVideoChrome=true');
      const { video, seek } = geometry();
      await h.waitFor('the player to ask for the video', () => flv, 30000);
      // The first picture, held, beside the big play button; the download goes on.
      const side = { x: video.x + 10, y: video.y + 10, width: video.width / 4, height: video.height / 2 };
      await h.waitFor('the first picture', async () => h.spread(await page.grab(side)) > 40, 30000);
      assert.ok(sent < flv.length * 0.5, `the slow video came too fast (${sent} of ${flv.length} bytes)`);
      const poster = await page.grab(video);
      // Just after the keyframe at 4 s: the seek lands on it.
      const target = 4.2;
      await page.click(seek.x + seek.width * (target / SECONDS), seek.y);
      const near = async () => Math.abs((await shownTime(page)) - target) < 0.35;
      await h.waitFor('the bar to go to the target', near, 3000);
      // Looked at often: once the data is in, the bar must not show the old time for even the
      // frame before the runtime carries out the seek.
      while (sent < flv.length) {
        const shown = await shownTime(page);
        assert.ok(Math.abs(shown - target) < 0.35, `the bar went to ${shown.toFixed(2)} s while ${target} s loads`);
        await h.sleep(20);
      }
      await h.waitFor('the picture at the target', async () => h.difference(poster, await page.grab(video)) > 2, 5000);
      await h.sleep(1000);
      const shown = await shownTime(page);
      assert.ok(shown > 3.7 && shown < 4.5, `the seek landed at ${shown.toFixed(2)} s, not at ${target} s`);
      await page.close();
    });

    test('dragging the thumb moves the picture along before it is let go', async () => {
      const page = await open('contentPath=clip.flv&affiliateID=&bufferTime=1&autoPlay=false&startStreaming=true&hasVideoChrome=true');
      const { video, seek } = geometry();
      await h.waitFor('the first picture', async () => h.spread(await page.grab(video)) > 40, 30000);
      await h.sleep(1000);
      const start = await page.grab(video);
      await page.move(seek.x + 2, seek.y);
      await page.down();
      for (let step = 1; step <= 8; step++) {
        await page.move(seek.x + (seek.width * step) / 10, seek.y);
        await h.sleep(100);
      }
      await h.waitFor('the picture to follow the drag', async () => h.difference(start, await page.grab(video)) > 2, 5000);
      await page.up();
      await page.close();
    });
  });
}
