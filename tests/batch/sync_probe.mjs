// Measures how far sound and picture of a playing page lie apart, as a visitor meets them: a
// generated clip flashes white and beeps at the same irregular instants; in the page, every
// beep is found in what goes to the speakers and every flash in what is drawn, both on the
// page's own clock, and each beep is paired with its flash.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import * as h from '../outside/players/browser/harness.mjs';

// Whole seconds and irregular: any frame rate a preset may choose has a frame starting there,
// and no two gaps alike, so a pairing one event off cannot look right.
export const eventSeconds = [1, 3, 4, 7, 9, 10, 13, 16, 17];
const clipSeconds = 19;

// A dark clip with a half-second white flash and a 1 kHz beep at each event, published by
// reelwright-batch into a fresh site: { work, site }.
export function publishSyncClip(prefix, options = []) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), prefix));
  const site = path.join(work, 'site');
  fs.mkdirSync(site);
  const at = eventSeconds.map((t) => `between(t,${t},${t + 0.499})`).join('+');
  const clip = path.join(work, 'sync.mpg');
  execFileSync('ffmpeg', ['-v', 'error',
    '-f', 'lavfi', '-i', `color=c=0x202020:size=320x240:rate=25,drawbox=enable='${at}':color=white:t=fill`,
    '-f', 'lavfi', '-i', `aevalsrc='if(${at.replaceAll('0.499', '0.2')},0.8*sin(2*PI*1000*t),0)':s=44100`,
    '-t', `${clipSeconds}`, '-c:v', 'mpeg1video', '-q:v', '3', '-c:a', 'mp2', '-b:a', '192k', clip]);
  execFileSync(path.join(h.programDir, 'reelwright-batch'), ['--input', clip, '--output-folder', site, ...options],
    { stdio: ['ignore', 'ignore', 'pipe'] });
  return { work, site };
}

// Runs in the page before its own scripts. Sound: every audio context the page makes gets a
// tap on what it sends to its speakers, which reports each beep's start on the context's clock,
// turned into the page's clock by the context's own account of when that sample is heard (its
// output latency included). Picture: each frame the browser draws, the middle of the runtime's
// canvas or of the <video> is looked at, and a flash reported with that frame's time. Reports go
// to the console: script run in the page from outside would count as a visitor's click.
export const syncProbe = () => {
  const report = (kind, ms) => console.debug(`sync ${JSON.stringify({ kind, ms })}`);
  const tapCode = `registerProcessor('sync-tap', class extends AudioWorkletProcessor {
    constructor() { super(); this.quiet = 1e9; }
    process(inputs) {
      const samples = inputs[0] && inputs[0][0];
      if (!samples) { this.quiet += 128; return true; }
      for (let i = 0; i < samples.length; i++) {
        if (Math.abs(samples[i]) > 0.1) {
          if (this.quiet > sampleRate * 0.3) this.port.postMessage(currentTime + i / sampleRate);
          this.quiet = 0;
        } else this.quiet++;
      }
      return true;
    }
  });`;
  const tapUrl = URL.createObjectURL(new Blob([tapCode], { type: 'text/javascript' }));
  const connect = AudioNode.prototype.connect;
  const Native = window.AudioContext;
  window.AudioContext = class extends Native {
    constructor(...options) {
      super(...options);
      this.waiting = [];
      this.audioWorklet.addModule(tapUrl).then(() => {
        this.tap = new AudioWorkletNode(this, 'sync-tap');
        connect.call(this.tap, this.destination);
        this.tap.port.onmessage = ({ data: heard }) => {
          const stamp = this.getOutputTimestamp();
          report('beep', stamp.performanceTime + (heard - stamp.contextTime) * 1000);
        };
        for (const node of this.waiting) connect.call(node, this.tap);
        this.waiting = null;
      });
    }
  };
  AudioNode.prototype.connect = function (target, ...rest) {
    const context = target?.context;
    if (target instanceof AudioDestinationNode && context.waiting !== undefined && this !== context.tap) {
      if (context.tap) connect.call(this, context.tap);
      else context.waiting?.push(this);
    }
    return connect.call(this, target, ...rest);
  };
  // The <video>'s sound reaches the tap through an audio context of its own.
  const heardVideos = new WeakSet();
  const hear = (video) => {
    if (heardVideos.has(video)) return;
    heardVideos.add(video);
    const context = new window.AudioContext();
    context.createMediaElementSource(video).connect(context.destination);
  };

  // A click changes what the sound does (it may let it out): the moment goes with the rest.
  addEventListener('pointerdown', (event) => report('click', event.timeStamp), true);

  const sample = document.createElement('canvas');
  sample.width = sample.height = 8;
  const pen = sample.getContext('2d', { willReadFrequently: true });
  let lit = false;
  const look = (source, width, height, ms) => {
    // The picture's middle, above any control bar.
    pen.drawImage(source, width * 0.45, height * 0.35, width * 0.1, height * 0.1, 0, 0, 8, 8);
    const { data } = pen.getImageData(0, 0, 8, 8);
    let sum = 0;
    for (let i = 0; i < data.length; i += 4) sum += data[i + 1];
    const bright = sum / (data.length / 4) > 160;
    if (bright && !lit) report('flash', ms);
    lit = bright;
  };
  const watchVideo = (video) => {
    hear(video);
    const onFrame = (now, frame) => {
      if (video.videoWidth) look(video, video.videoWidth, video.videoHeight, frame.expectedDisplayTime);
      video.requestVideoFrameCallback(onFrame);
    };
    video.requestVideoFrameCallback(onFrame);
  };
  const everyFrame = (now) => {
    const player = document.querySelector('ruffle-object, ruffle-embed');
    const canvas = player?.shadowRoot?.querySelector('canvas');
    // What the runtime drew in this frame is on screen with the next one.
    if (canvas?.width) look(canvas, canvas.width, canvas.height, now + 1000 / 60);
    const video = document.querySelector('video');
    if (video && !video.watched) {
      video.watched = true;
      watchVideo(video);
    }
    requestAnimationFrame(everyFrame);
  };
  requestAnimationFrame(everyFrame);
};

// Opens `address` in `browser` with the probe, lets the clip play through and gives the
// offsets, sound minus picture in ms, of every flash that has a beep within half a second, with
// the raw times of both (page clock) for a reader who wants to see why. `act` runs on the page
// once it is open, as a visitor would (a click on play, a pause); a flash in the four seconds
// after a click is left out: the browser opens its sound output after the click that allows
// sound, and the player puts the sound in step once that output runs (three seconds after the
// click a pair has still been seen 278 ms apart, the rest of the clip under 100).
const afterClickMs = 4000;

export async function measureSync(browser, address, viewport = { width: 800, height: 600 }, act = async () => {}) {
  const page = await browser.newPage({ viewport });
  const events = { beep: [], flash: [], click: [] };
  page.on('console', (message) => {
    const text = message.text();
    if (!text.startsWith('sync ')) return;
    const { kind, ms } = JSON.parse(text.slice(5));
    events[kind].push(ms);
  });
  await page.addInitScript(syncProbe);
  await page.goto(address);
  await act(page);
  await h.waitFor('the last flash and beep', async () =>
    events.flash.length >= eventSeconds.length && events.beep.length >= eventSeconds.length, (clipSeconds + 30) * 1000)
    .catch(() => {});
  await page.close();
  const offsets = [];
  for (const flash of events.flash) {
    if (events.click.some((click) => flash >= click && flash - click < afterClickMs)) continue;
    const nearest = events.beep.reduce((best, beep) => Math.abs(beep - flash) < Math.abs(best - flash) ? beep : best, Infinity);
    if (Math.abs(nearest - flash) < 500) offsets.push(Math.round(nearest - flash));
  }
  return { offsets, flashes: events.flash.length, beeps: events.beep.length, events };
}
