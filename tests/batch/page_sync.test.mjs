// Sound and picture of a published page stay together for the whole clip, as a visitor sees and
// hears them: when the browser lets the page start with sound, and under the browser's default
// rule, where the sound waits for a click while the picture runs on.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { after, before, test } from 'node:test';

import * as h from '../outside/players/browser/harness.mjs';
import { eventSeconds, measureSync, publishSyncClip } from './sync_probe.mjs';

const withinMs = 120;
let work, server, address;

before(async () => {
  h.requireTools();
  let site;
  ({ work, site } = publishSyncClip('page-sync-'));
  ({ server, address } = await h.serveWithBatch(site));
});

after(() => {
  server?.kill('SIGTERM');
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Plays the page through in a browser started with `args`, and checks that at least `least`
// flashes found their beep and that they lie within the mark of each other: the typical pair
// within `withinMs`, none more than twice that apart but the first `settling` pairs.
async function assertInStep(args, least, act, settling = 0) {
  const { chromium } = h.loadPlaywright();
  const browser = await chromium.launch({ executablePath: h.chromiumPath, args });
  try {
    const { offsets, flashes, beeps } = await measureSync(browser, address, undefined, act);
    const seen = `sound minus picture, ms: ${JSON.stringify(offsets)} (${flashes} flashes, ${beeps} beeps)`;
    assert.ok(offsets.length >= least, `too few flashes came with a beep: ${seen}`);
    assert.ok(Math.abs(median(offsets)) <= withinMs, `sound and picture apart: ${seen}`);
    assert.ok(offsets.slice(settling).every((offset) => Math.abs(offset) <= 2 * withinMs), `a pair far apart: ${seen}`);
  } finally {
    await browser.close();
  }
}

test('a page allowed to start with sound keeps it with the picture', async () => {
  // The poster may count as a flash of its own (its picture is the first bright frame), so all
  // events but one must pair.
  await assertInStep(['--autoplay-policy=no-user-gesture-required'], eventSeconds.length - 1);
});

test('sound held back until a click comes in step with the picture after it', async () => {
  // The click lands after the first three events; those in the four seconds after it go
  // unjudged, and the first pair after those counts towards the median only: the sound has
  // been seen a quarter second behind there (251, 278 and once 418 ms), in step from the next.
  await assertInStep([], eventSeconds.length - 5, async (page) => {
    await h.sleep(4000);
    await page.mouse.click(400, 80);
  }, 1);
});
