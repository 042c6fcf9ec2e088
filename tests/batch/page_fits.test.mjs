// The published page fits the screen it is shown on: a player wider than a phone shrinks to the
// phone's width keeping its shape, the page never scrolls sideways, and on a wide screen the
// player keeps its natural size, in Chromium, Firefox and WebKitGTK. The runtime's own element is
// what is measured. Where an engine's window cannot be as narrow as a phone, the page is shown
// in a frame of the phone's width.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import * as h from '../outside/players/browser/harness.mjs';
import { assertPlaysIn, engineNames, withEngine } from '../outside/players/browser/engines.mjs';

const batch = path.join(h.programDir, 'reelwright-batch');
const widths = [320, 768, 1920];
let work, server, address, natural;

before(async () => {
  h.requireTools();
  work = fs.mkdtempSync(path.join(os.tmpdir(), 'page-fits-'));
  const site = path.join(work, 'site');
  fs.mkdirSync(site);
  // A video wider than any phone, made straight by the encoder at its size.
  const avi = path.join(work, 'wide.avi');
  const flv = path.join(work, 'wide.flv');
  execFileSync('ffmpeg', ['-v', 'error', '-f', 'lavfi', '-i', 'testsrc2=size=640x480:rate=25',
    '-f', 'lavfi', '-i', 'sine', '-t', '6', avi]);
  execFileSync(path.join(h.resourcesDir, 'vidforge'),
    ['-i', avi, '-b', '500', '-ab', '64', '-ar', '22050', '-ac', '1', flv], { cwd: work });
  execFileSync(batch, ['--input', flv, '--output-folder', site], { stdio: ['ignore', 'ignore', 'pipe'] });
  const html = fs.readFileSync(path.join(site, 'index.html'), 'utf8');
  const [, width, height] = /<object [^>]*width="(\d+)" height="(\d+)"/.exec(html);
  natural = { width: Number(width), height: Number(height) };
  for (const wide of widths) {
    fs.writeFileSync(path.join(site, `frame-${wide}.html`), `<!doctype html><title>${wide} px</title>
<style>body{margin:0}iframe{border:0;width:${wide}px;height:800px}</style><iframe src="index.html"></iframe>`);
  }
  ({ server, address } = await h.serveWithBatch(site));
});

after(() => {
  server?.kill('SIGTERM');
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

for (const name of engineNames) {
  test(`in ${name} the player fits a 320 px phone, keeps its shape, and keeps its size on wide screens`, async () => {
    assert.ok(natural.width > 600, `the page's player is ${natural.width} px wide`);
    await withEngine(name, {}, async (engine) => {
      for (const width of widths) {
        const framed = width < engine.minimumWidth;
        const shown = framed ? new URL(`frame-${width}.html`, address).href : address;
        const page = await engine.open(shown, { width: framed ? engine.minimumWidth : width, height: 800 });
        const what = `the page at ${width} px in ${name}`;
        const { box } = await assertPlaysIn(page, what, framed);
        const scrollWidth = await page.evaluate((framed) =>
          (framed ? document.querySelector('iframe').contentDocument : document).documentElement.scrollWidth, framed);
        assert.ok(scrollWidth <= width, `${what} is ${scrollWidth} px wide`);
        assert.ok(box.x >= 0 && box.x + box.width <= width, `${what}: ${JSON.stringify(box)}`);
        const expected = Math.min(natural.width, width - 16);  // the page's margins
        assert.ok(Math.abs(box.width - expected) <= 1, `${what}: the player is ${box.width} wide`);
        const shape = box.width / box.height;
        assert.ok(Math.abs(shape - natural.width / natural.height) < 0.02, `${what}: ${box.width}x${box.height}`);
        await page.close();
      }
    });
  });
}
