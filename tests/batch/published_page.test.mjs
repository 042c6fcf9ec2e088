// A page published by reelwright-batch plays in a real browser, served by reelwright-batch
// --serve: the picture in the player keeps changing. With REELWRIGHT_SITE set to a published
// folder (scripts/run leaves demo/site/), that page is checked; otherwise a short clip is made
// and published here first.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { after, before, test } from 'node:test';

import * as h from '../outside/players/browser/harness.mjs';

let work, site, server, address, browser;

before(async () => {
  h.requireTools();
  site = process.env.REELWRIGHT_SITE;
  if (!site) {
    ({ work, site } = h.publishClip('published-page-'));
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
