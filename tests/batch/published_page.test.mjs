// A page published by reelwright-batch plays in a real browser, served by reelwright-batch
// --serve: the picture in the player keeps changing. With REELWRIGHT_SITE set to a published
// folder (scripts/run leaves demo/site/), that page is checked; otherwise a short clip is made
// and published here first.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import * as h from '../outside/players/browser/harness.mjs';

const batch = path.join(h.programDir, 'reelwright-batch');
let work, site, server, address, browser;

before(async () => {
  h.requireTools();
  site = process.env.REELWRIGHT_SITE;
  if (!site) {
    work = fs.mkdtempSync(path.join(os.tmpdir(), 'published-page-'));
    site = path.join(work, 'site');
    fs.mkdirSync(site);
    const clip = path.join(work, 'clip.mpg');
    execFileSync('ffmpeg', ['-v', 'error', '-f', 'lavfi', '-i', 'testsrc2=size=320x240:rate=25',
      '-f', 'lavfi', '-i', 'sine=sample_rate=44100', '-t', '6', '-c:v', 'mpeg1video', '-c:a', 'mp2', clip]);
    execFileSync(batch, ['--input', clip, '--output-folder', site]);
  }
  ({ server, address } = await h.serveWithBatch(site));
  const { chromium } = h.loadPlaywright();
  browser = await chromium.launch({ executablePath: h.chromiumPath });
});

after(async () => {
  await browser?.close();
  server?.kill('SIGTERM');
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

test('the published page plays its video', async () => {
  // The address printed is the page's own.
  assert.match(address, /^http:\/\/127\.0\.0\.1:\d+\/index\.html$/);
  const page = await browser.newPage({ viewport: { width: 900, height: 700 } });
  await page.goto(address);
  await h.assertPlays(page);
});
