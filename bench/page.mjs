// The published page against the browser's own <video> player on the page's MP4 twin, side by
// side in one headless Chromium run: how soon a visitor sees something and sees it move (cold,
// warm from the cache, and on an emulated 10 Mbit/s line), the bytes of a first and a second
// visit, how far sound and picture lie apart, and the CPU the browser spends on playback.
// Figures are medians of RUNS, the two players taking turns. With BENCH_SUMMARY set, appends
// "name|value|target|load" lines to that file.
//
//   node bench/page.mjs [RUNS]     (default 3; run scripts/build first)
import fs from 'node:fs';
import path from 'node:path';

import * as h from '../tests/outside/players/browser/harness.mjs';
import { writeNativePage } from './native_page.mjs';
import { measureSync, publishSyncClip } from '../tests/batch/sync_probe.mjs';

const runs = Number(process.argv[2] ?? 3);
const mbit10 = { offline: false, latency: 20, downloadThroughput: 10e6 / 8, uploadThroughput: 10e6 / 8 };
const isVideo = (url) => /\.(flv|mp4)(\?|$)/.test(url);
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

// Runs in the page before its own scripts and notes, on the page's clock (from the start of
// the navigation), when the first thing showed in the player's place (the poster or a picture)
// and when the picture first moved: for the runtime, two changes a quarter second apart at
// most in the upper left of its canvas (away from the play button and the loading mark); for a
// <video>, its second frame.
const timingProbe = () => {
  const timing = (window.benchTiming = { visible: 0, moving: 0 });
  const seen = (kind, ms) => { if (!timing[kind]) timing[kind] = ms; };
  const sample = document.createElement('canvas');
  sample.width = sample.height = 8;
  const pen = sample.getContext('2d', { willReadFrequently: true });
  let last = null, lastChange = -1e9, frames = 0;
  const everyFrame = (now) => {
    const poster = document.querySelector('.reelwright-player img');
    if (poster?.complete && poster.naturalWidth && poster.getBoundingClientRect().width) seen('visible', now);
    for (const entry of performance.getEntriesByType('resource'))
      if (/\.jpg(\?|$)/.test(entry.name) && document.querySelector('video[poster]')) seen('visible', entry.responseEnd);
    const canvas = document.querySelector('ruffle-object, ruffle-embed')?.shadowRoot?.querySelector('canvas');
    if (canvas?.width) {
      pen.drawImage(canvas, canvas.width * 0.1, canvas.height * 0.1, canvas.width * 0.3, canvas.height * 0.3, 0, 0, 8, 8);
      const data = pen.getImageData(0, 0, 8, 8).data;
      let lit = 0, change = 0;
      for (let i = 0; i < data.length; i++) {
        if (i % 4 === 3) continue;
        lit += data[i];
        if (last) change += Math.abs(data[i] - last[i]);
      }
      if (lit > 0) seen('visible', now);
      // A 25 frames a second picture changes every second or third frame the browser draws.
      if (last && change / 192 > 3) {
        if (now - lastChange < 250) seen('moving', now);
        lastChange = now;
      }
      last = data;
    }
    const video = document.querySelector('video');
    if (video && !video.timed) {
      video.timed = true;
      const onFrame = (_, frame) => {
        frames += 1;
        seen('visible', frame.expectedDisplayTime);
        if (frames >= 2) seen('moving', frame.expectedDisplayTime);
        else video.requestVideoFrameCallback(onFrame);
      };
      video.requestVideoFrameCallback(onFrame);
    }
    if (!timing.moving) requestAnimationFrame(everyFrame);
  };
  requestAnimationFrame(everyFrame);
};

// Opens `address` in a new page of `context`, on `line` if given, and gives the times (s) to
// something visible and to a moving picture, with the bytes that came over the wire by then:
// all of them, and those of the runtime's own files.
async function openTimed(context, address, line) {
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  const wire = { all: 0, runtime: 0, video: 0 };
  const urls = new Map();
  cdp.on('Network.requestWillBeSent', (e) => urls.set(e.requestId, e.request.url));
  cdp.on('Network.loadingFinished', (e) => {
    const url = urls.get(e.requestId) ?? '';
    if (!url.startsWith('http')) return;
    const bytes = e.encodedDataLength ?? 0;
    if (isVideo(url)) wire.video += bytes;
    else wire.all += bytes;
    if (new URL(url).pathname.startsWith('/ruffle/')) wire.runtime += bytes;
  });
  await cdp.send('Network.enable');
  if (line) await cdp.send('Network.emulateNetworkConditions', line);
  await page.addInitScript(timingProbe);
  await page.goto(address, { waitUntil: 'commit' });
  const moved = await page.waitForFunction(() => window.benchTiming?.moving && window.benchTiming,
    null, { timeout: 90000, polling: 250 });
  const { visible, moving } = await moved.jsonValue();
  // The rest of what the page asks for before it plays on (the runtime fetches more after
  // its first picture): the network quiet for a second, the video aside.
  let before = -1;
  while (before !== wire.all) {
    before = wire.all;
    await h.sleep(1000);
  }
  return { page, visible: visible / 1000, moving: moving / 1000, wire };
}

// The CPU time (s) the browser and all its processes have spent, as the browser counts it.
async function cpuSeconds(browser) {
  browser.cdp ??= await browser.newBrowserCDPSession();
  const { processInfo } = await browser.cdp.send('SystemInfo.getProcessInfo');
  return processInfo.reduce((sum, p) => sum + p.cpuTime, 0);
}

const { chromium } = h.loadPlaywright();
const args = ['--autoplay-policy=no-user-gesture-required'];
const launch = () => chromium.launch({ executablePath: h.chromiumPath, args });
const viewport = { width: 1000, height: 700 };
const load = () => fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ');
const summary = [];
const note = (name, value, target = '') => {
  summary.push(`${name}|${value}|${target}|${load()}`);
};

h.requireTools();
// A moving picture everywhere (colour bars turning through the hues), 20 s with sound.
const { work, site } = h.publishClip('bench-page-', 20, 'testsrc2=size=320x240:rate=25,hue=H=2*PI*t');
const sync = publishSyncClip('bench-sync-');
writeNativePage(site);
writeNativePage(sync.site);
const { server, address } = await h.serveWithBatch(site);
const syncServer = await h.serveWithBatch(sync.site);
const players = { page: address, native: new URL('native.html', address).href };

try {
  const figures = { page: {}, native: {} };
  const add = (who, what, value) => (figures[who][what] ??= []).push(value);
  const browser = await launch();
  for (let run = 0; run < runs; run++) {
    for (const who of run % 2 ? ['native', 'page'] : ['page', 'native']) {
      // Cold: a fresh profile; warm: the same page again from its cache.
      const context = await browser.newContext({ viewport });
      const cold = await openTimed(context, players[who]);
      await cold.page.close();
      add(who, 'cold visible', cold.visible);
      add(who, 'cold moving', cold.moving);
      add(who, 'first visit bytes', cold.wire.all);
      const warm = await openTimed(context, players[who]);
      await warm.page.close();
      add(who, 'warm moving', warm.moving);
      add(who, 'second visit bytes', warm.wire.all);
      await context.close();

      const slow = await browser.newContext({ viewport });
      const line = await openTimed(slow, players[who], mbit10);
      await slow.close();
      add(who, '10 Mbit/s visible', line.visible);
      add(who, '10 Mbit/s moving', line.moving);
      add(who, '10 Mbit/s runtime transfer', line.wire.runtime / mbit10.downloadThroughput + mbit10.latency / 1000);
    }
  }
  await browser.close();

  // CPU over ten seconds of playback, each player in a browser of its own.
  for (const who of ['page', 'native']) {
    const own = await launch();
    const context = await own.newContext({ viewport });
    const { page } = await openTimed(context, players[who]);
    await h.sleep(2000);
    const from = await cpuSeconds(own);
    await h.sleep(10000);
    add(who, 'cpu share of a core', (await cpuSeconds(own) - from) / 10);
    await page.close();
    await own.close();
  }

  // Sound minus picture on the flash-and-beep clip.
  const syncBrowser = await launch();
  for (const who of ['page', 'native']) {
    for (let run = 0; run < Math.max(1, Math.min(runs, 2)); run++) {
      const address = who === 'page' ? syncServer.address : new URL('native.html', syncServer.address).href;
      const { offsets } = await measureSync(syncBrowser, address, viewport);
      if (offsets.length) add(who, 'sound minus picture ms', median(offsets));
    }
  }
  await syncBrowser.close();

  const m = (who, what) => median(figures[who][what] ?? [NaN]);
  const fixed = (v, digits = 2) => Number.isFinite(v) ? v.toFixed(digits) : 'n/a';
  console.log(`medians of ${runs} (page / the browser's own player on the twin):`);
  for (const what of Object.keys(figures.page))
    console.log(`  ${what.padEnd(28)} ${fixed(m('page', what)).padStart(12)} ${fixed(m('native', what)).padStart(12)}`);

  const transfer = m('page', '10 Mbit/s runtime transfer');
  note('page: something visible at 10 Mbit/s, s', fixed(m('page', '10 Mbit/s visible')), '<= 1');
  note('page: first moving frame at 10 Mbit/s, s (runtime transfer + 1)', fixed(m('page', '10 Mbit/s moving')),
    `<= ${fixed(transfer + 1)}`);
  for (const what of ['cold moving', 'warm moving', '10 Mbit/s moving'])
    note(`page / native: first moving frame, ${what.replace(' moving', '')}`, fixed(m('page', what) / m('native', what)));
  note('page: first visit, MB without the video', fixed(m('page', 'first visit bytes') / 2 ** 20));
  note('page: second visit, MB without the video', fixed(m('page', 'second visit bytes') / 2 ** 20), '<= 1');
  note('page: |sound minus picture|, ms', fixed(Math.abs(m('page', 'sound minus picture ms')), 0), '<= 120');
  note('native: |sound minus picture|, ms', fixed(Math.abs(m('native', 'sound minus picture ms')), 0));
  note('page / native: CPU during playback', fixed(m('page', 'cpu share of a core') / m('native', 'cpu share of a core')), '<= 2');
  if (process.env.BENCH_SUMMARY) fs.appendFileSync(process.env.BENCH_SUMMARY, summary.map((l) => `${l}\n`).join(''));
  else for (const line of summary) console.log(line);
} finally {
  server.kill('SIGTERM');
  syncServer.server.kill('SIGTERM');
  fs.rmSync(work, { recursive: true, force: true });
  fs.rmSync(sync.work, { recursive: true, force: true });
}
