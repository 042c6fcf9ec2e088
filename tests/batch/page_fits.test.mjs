// The published page fits the screen it is shown on: a player wider than a phone shrinks to the
// phone's width keeping its shape, the page never scrolls sideways, and on a wide screen the
// player keeps its natural size. The runtime's own element is what is measured.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import * as h from '../outside/players/browser/harness.mjs';

const batch = path.join(h.programDir, 'reelwright-batch');
let work, server, address, browser, natural;

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
  ({ server, address } = await h.serveWithBatch(site));
  const { chromium } = h.loadPlaywright();
  browser = await chromium.launch({ executablePath: h.chromiumPath });
});

after(async () => {
  await browser?.close();
  server?.kill('SIGTERM');
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

test('the player fits a 320 px phone, keeps its shape, and keeps its size on wide screens', async () => {
  assert.ok(natural.width > 600, `the page's player is ${natural.width} px wide`);
  for (const width of [320, 768, 1920]) {
    const page = await browser.newPage({ viewport: { width, height: 800 } });
    await page.goto(address);
    const box = await h.assertPlays(page, `the page at ${width} px`);
    const scrollWidth = await page.evaluate(() => document.documentElement.scrollWidth);
    assert.ok(scrollWidth <= width, `at ${width} px the page is ${scrollWidth} px wide`);
    assert.ok(box.x >= 0 && box.x + box.width <= width, `at ${width} px: ${JSON.stringify(box)}`);
    const expected = Math.min(natural.width, width - 16);  // the page's margins
    assert.ok(Math.abs(box.width - expected) <= 1, `at ${width} px the player is ${box.width} wide`);
    const shape = box.width / box.height;
    assert.ok(Math.abs(shape - natural.width / natural.height) < 0.02, `at ${width} px: ${box.width}x${box.height}`);
    await page.close();
  }
});
