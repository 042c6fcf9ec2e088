// Values a project file controls stay values in the published page, seen in a real browser:
// videos whose names hold "&", "#", "%", "+", quotes or accents play, served by
// reelwright-batch --serve and by a plain static server alike, and script planted in the title,
// the affiliate ID, the redirect address or the external locations never runs; in Chromium,
// Firefox and WebKitGTK.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import * as h from '../outside/players/browser/harness.mjs';
import { assertPlaysIn, engineNames, withEngine } from '../outside/players/browser/engines.mjs';

const batch = path.join(h.programDir, 'reelwright-batch');
const names = ['Tom & Jerry.flv', 'take #1 100%+.flv', 'say "hi".flv', 'ünï été.flv',
  'my holiday (2024).flv'];
let work, site, preview, previewOrigin, plain, plainOrigin;
// The pages of hostile projects, by their names.
const pages = ['values', 'locations', 'script', 'schemes', 'script-address'];

// Every page in a frame of one page, side by side, so that each engine opens one page for all.
const framed = (files) => h.framesPage(files.map((file) => `${file}.html`), 360, 360);
const frameView = (files) => ({ width: files.length * 368, height: 380 });

// What a planted script would call, defined before anything of the page runs: it notes where
// it was planted.
const recorder = '<script>window.planted = []; window.plant = (where) => window.planted.push(where);</script>';

// Serves `folder` as any static web host does: the path decoded once, the file sent as is; but
// for the recorder given to every page first, so that any engine can be asked what ran.
function plainServer(folder) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).slice(1);
    const file = path.join(folder, name);
    if (name.split('/').includes('..') || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    const type = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
    response.writeHead(200, { 'content-type': type[path.extname(file)] ?? 'application/octet-stream' });
    if (file.endsWith('.html')) response.end(fs.readFileSync(file, 'utf8').replace('<head>', `<head>${recorder}`));
    else fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

function publish(args) {
  execFileSync(batch, args, { stdio: ['ignore', 'ignore', 'pipe'] });
}

before(async () => {
  h.requireTools();
  work = fs.mkdtempSync(path.join(os.tmpdir(), 'hostile-values-'));
  site = path.join(work, 'site');
  fs.mkdirSync(site);
  fs.mkdirSync(path.join(work, 'encoded'));
  const clip = path.join(work, 'clip.mpg');
  execFileSync('ffmpeg', ['-v', 'error', '-f', 'lavfi', '-i', 'testsrc2=size=320x240:rate=25',
    '-f', 'lavfi', '-i', 'sine=sample_rate=44100', '-t', '20', '-c:v', 'mpeg1video', '-c:a', 'mp2', clip]);
  publish(['--input', clip, '--output-folder', path.join(work, 'encoded')]);
  const flv = path.join(work, 'encoded', 'clip.flv');
  names.forEach((name, i) =>
    publish(['--input', flv, '--output-folder', site, '--output-video', name, '--output-html', `name${i}.html`]));

  // A project file as a hostile page or mail would hand it over: every value it controls
  // carries script.
  const plant = (where) => `<script>plant('${where}')</script><img src=x onerror="plant('${where}')">`;
  const project = (lines) => {
    const file = path.join(work, `${lines['OPHTML=']}.reel`);
    fs.writeFileSync(file, Object.entries(lines).map(([key, value]) => `${key}${value}`).join('\r\n'));
    publish([file]);
  };
  const common = { 'IPFLV=': flv, 'OPFOLDER=': site, 'OPVIDEO=': 'clip.flv', WHICHFILE: '=2' };
  const values = { 'TITLE=': `</title>${plant('title')}`,
    'AFFILID=': `a&redirectURL=javascript:plant('affiliate')"'>${plant('affiliate')}`,
    ENABLELINK: '=1', ENABLEREDIRECTURL: '=1', 'REDIRURL=': `x"'>${plant('redirect')}` };
  const locations = { PLAYERSURL: `=1,"'>${plant('players')}/`, VIDEOSURL: `=1,"'>${plant('videos')}/` };
  project({ ...common, 'OPHTML=': 'values', ...values });
  project({ ...common, 'OPHTML=': 'locations', ...locations });
  // The player block written by the external script instead of the page.
  project({ ...common, 'OPHTML=': 'script', ...values, ...locations, JSURL: '=1,player.js' });
  project({ ...common, 'OPHTML=': 'schemes', PLAYERSURL: "=1,javascript:plant('players')//",
    VIDEOSURL: "=1,javascript://%0aplant('videos')//" });
  project({ ...common, 'OPHTML=': 'script-address',
    JSURL: `=1,javascript:plant('script')//"'>${plant('script tag')}x.js` });

  fs.writeFileSync(path.join(site, 'names.html'), framed(names.map((_, i) => `name${i}`)));
  fs.writeFileSync(path.join(site, 'planted.html'), framed(pages));

  let address;
  ({ server: preview, address } = await h.serveWithBatch(site));
  previewOrigin = new URL(address).origin;
  plain = await plainServer(site);
  plainOrigin = `http://127.0.0.1:${plain.address().port}`;
});

after(() => {
  preview?.kill('SIGTERM');
  plain?.close();
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

const plantedTitle = `</title><script>plant('title')</script><img src=x onerror="plant('title')">`;

for (const name of engineNames) {
  test(`in ${name} videos with special characters in their names play from the preview and from a plain server`, async () => {
    await withEngine(name, {}, async (engine) => {
      // How a name is quoted is the page's and the engine's business, not the server's: one
      // server is enough for the other engines.
      const files = names.map((_, i) => `name${i}`);
      for (const origin of name === 'chromium' ? [previewOrigin, plainOrigin] : [plainOrigin]) {
        const page = await engine.open(`${origin}/names.html`, frameView(files));
        // All at once: they all started together, and none may have come to its end unseen.
        await Promise.all(names.map((video, i) => assertPlaysIn(page, `${video} from ${origin} in ${name}`, i)));
        await page.close();
      }
    });
  });

  // Served with the recorder, so that every engine can tell what ran.
  test(`in ${name} script planted in the values a project controls never runs`, async () => {
    await withEngine(name, {}, async (engine) => {
      const page = await engine.open(`${plainOrigin}/planted.html`, frameView(pages));
      // The page with the values still plays: they went in as values, and the player was not
      // led away. Meanwhile every other page had its time to run what it would.
      await assertPlaysIn(page, `values.html in ${name}`, pages.indexOf('values'));
      await h.sleep(1000);
      const seen = await page.evaluate(() => [...document.querySelectorAll('iframe')].map((frame) =>
        ({ page: frame.getAttribute('src'), title: frame.contentDocument.title, planted: frame.contentWindow.planted })));
      assert.equal(seen[pages.indexOf('values')].title, plantedTitle);
      assert.deepEqual(seen.map(({ page, planted }) => ({ page, planted })),
        pages.map((file) => ({ page: `${file}.html`, planted: [] })), name);
      await page.close();
    });
  });
}

// As the preview serves the pages, with the recorder set up by the browser; and any dialog a
// planted script opened is caught too.
test('script planted in the values a project controls never runs in the preview, nor opens a dialog', async () => {
  const { chromium } = h.loadPlaywright();
  const browser = await chromium.launch({ executablePath: h.chromiumPath });
  try {
    for (const file of pages) {
      const page = await browser.newPage({ viewport: { width: 900, height: 700 } });
      await page.addInitScript(() => {
        window.planted = [];
        window.plant = (where) => window.planted.push(where);
      });
      const dialogs = [];
      page.on('dialog', (dialog) => {
        dialogs.push(dialog.message());
        dialog.dismiss();
      });
      await page.goto(`${previewOrigin}/${file}.html`);
      if (file === 'values') {
        await h.assertPlays(page, `${file}.html`);
        assert.equal(await page.title(), plantedTitle);
      } else {
        await h.sleep(2000);
      }
      assert.deepEqual(await page.evaluate(() => window.planted), [], file);
      assert.deepEqual(dialogs, [], file);
      await page.close();
    }
  } finally {
    await browser.close();
  }
});
