// A page published by reelwright-batch plays in a real browser, served by reelwright-batch
// --serve: the picture in the player keeps changing. With REELWRIGHT_SITE set to a published
// folder (scripts/run leaves demo/site/), that page is checked; otherwise a short clip is made
// and published here first.
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import { after, before, test } from 'node:test';

import * as h from '../outside/players/browser/harness.mjs';

const batch = path.join(h.programDir, 'reelwright-batch');
let work, site, server, browser;

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
  server = spawn(batch, ['--serve', site], { stdio: ['ignore', 'pipe', 'inherit'] });
  const { chromium } = h.loadPlaywright();
  browser = await chromium.launch({ executablePath: h.chromiumPath });
});

after(async () => {
  await browser?.close();
  server?.kill('SIGTERM');
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

test('the published page plays its video', async () => {
  const [address] = await readline.createInterface({ input: server.stdout })[Symbol.asyncIterator]()
    .next().then((line) => [line.value]);
  // The address printed is the page's own.
  assert.match(address, /^http:\/\/127\.0\.0\.1:\d+\/index\.html$/);
  const page = await browser.newPage({ viewport: { width: 900, height: 700 } });
  await page.goto(address);
  const player = page.locator('ruffle-object, ruffle-embed').first();
  const box = await h.waitFor('the player', () => player.boundingBox(), 30000);
  // The video area, inside the player's chrome.
  const clip = { x: box.x + 20, y: box.y + 20, width: box.width - 40, height: box.height - 80 };
  await h.waitFor('a picture', async () => h.spread(await h.grab(page, clip)) > 40, 30000);
  const first = await h.grab(page, clip);
  await h.waitFor('the picture to move on', async () => h.difference(first, await h.grab(page, clip)) > 2, 15000);
});
