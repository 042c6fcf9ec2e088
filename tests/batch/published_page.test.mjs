// A page published by reelwright-batch plays in each of the three browser engines, served by
// reelwright-batch --serve: the picture in the player keeps changing, a click on it pauses it
// and another plays it again, and the page throws nothing. With REELWRIGHT_SITE set to a
// published folder (scripts/run leaves demo/site/), that page is checked; otherwise a short clip
// is made and published here first. The page also passes html-validate and the Nu Html Checker.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import { after, before, test } from 'node:test';

import * as h from '../outside/players/browser/harness.mjs';
import { assertPlaysIn, engineNames, withEngine } from '../outside/players/browser/engines.mjs';

let work, site, server, address;

before(async () => {
  h.requireTools();
  site = process.env.REELWRIGHT_SITE;
  if (!site) {
    ({ work, site } = h.publishClip('published-page-', 12));
  }
  ({ server, address } = await h.serveWithBatch(site));
});

after(() => {
  server?.kill('SIGTERM');
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

// How much the picture changes over `ms`.
async function changeOver(page, clip, ms) {
  const before = await page.grab(clip);
  await h.sleep(ms);
  return h.difference(before, await page.grab(clip));
}

for (const name of engineNames) {
  test(`the published page plays in ${name}, and a click on the picture pauses and plays it`, async () => {
    // The address printed is the page's own.
    assert.match(address, /^http:\/\/127\.0\.0\.1:\d+\/index\.html$/);
    await withEngine(name, {}, async (engine) => {
      const page = await engine.open(address, { width: 900, height: 700 });
      await page.evaluate(() => {
        window.pageErrors = [];
        window.addEventListener('error', (e) => window.pageErrors.push(String(e.message)));
      });
      const { clip } = await assertPlaysIn(page, `the page in ${name}`);
      // Where a browser holds the sound back, the first click only gives sound.
      const first = { x: clip.x + clip.width * 0.7, y: clip.y + clip.height * 0.5 };
      await page.click(first.x, first.y);
      await h.sleep(700);
      if (await changeOver(page, clip, 800) > 2) {
        await page.click(first.x, first.y);
        await h.sleep(700);
      }
      await h.waitFor(`the picture to stop after a click in ${name}`, async () => await changeOver(page, clip, 800) < 0.5, 5000);
      await page.click(first.x, first.y);
      await h.waitFor(`the picture to move again after a click in ${name}`, async () => await changeOver(page, clip, 500) > 2, 8000);
      assert.deepEqual(await page.evaluate(() => window.pageErrors), []);
      await page.close();
    });
  });
}

// The validator's recommended rules, but for what the page's own format asks for: the player
// block carries its own layout in style attributes (it is pasted into pages whose stylesheets we
// do not know), the FlashVars pairs' "&name=" in attributes are no character references to an
// HTML parser (the standard allows them there), and <param> is how <object> takes its values.
const publishedPage = () =>
  `${site}/${fs.readdirSync(site).find((name) => name.endsWith('.html') && name !== 'native.html')}`;

test('the published page passes html-validate', async () => {
  const { HtmlValidate } = h.requireFromWeb('html-validate');
  const validator = new HtmlValidate({
    extends: ['html-validate:recommended'],
    rules: { 'no-inline-style': 'off', 'unrecognized-char-ref': 'off' },
  });
  const report = await validator.validateString(fs.readFileSync(publishedPage(), 'utf8'));
  const errors = report.results.flatMap((result) => result.messages)
    .filter((m) => !(m.ruleId === 'element-permitted-content' && m.message.startsWith('<param>')))
    .map((m) => `${m.line}:${m.column} ${m.ruleId}: ${m.message}`);
  assert.deepEqual(errors, []);
});

// The Nu Html Checker (vnu.jar, pinned in the tests' npm folder; Java from scripts/setup), errors
// only, less the one the page's format asks for: <param> is how <object> takes its values, and
// the old players read their FlashVars from it.
test('the published page passes the Nu Html Checker', () => {
  const jar = h.requireFromWeb('vnu-jar');
  // It writes its report on the error stream, and exits 1 when the report holds errors.
  const run = spawnSync('java', ['-jar', String(jar), '--errors-only', '--format', 'json', publishedPage()],
    { encoding: 'utf8' });
  assert.ok(run.status === 0 || run.status === 1, `the checker did not run: ${run.error ?? run.stderr}`);
  const output = run.stderr.trim();
  const errors = JSON.parse(output || '{"messages":[]}').messages
    .filter((m) => !m.message.startsWith('The “param” element is obsolete'))
    .map((m) => `${m.lastLine}:${m.firstColumn} ${m.message}`);
  assert.deepEqual(errors, []);
});
