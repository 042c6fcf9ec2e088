// Pictures of every player in headless chromium: playing, paused, with its information box
// open, and in full screen (which fills the viewport headless); then each player on a page
// published with it, as a phone, a tablet and a wide screen show it, playing and paused at
// start; as PNG files in the folder given (scripts/player-screenshots).
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

import * as h from './harness.mjs';

const folder = path.resolve(process.argv[2] ?? path.join(h.sourceDir, 'build/player-screenshots'));
const WIDTH = 480;
fs.mkdirSync(folder, { recursive: true });
h.requireTools();

// A 16:9 clip, so the pictures also show how a video is letterboxed.
const media = h.makeMediaFolder(12, 'mandelbrot=size=640x360:rate=25');
const { server, origin } = await h.serve(media, (url) => url.pathname !== '/player.html' ? null :
  h.playerPage(url.searchParams.get('swf'), url.searchParams.get('vars'),
    Number(url.searchParams.get('width')), Number(url.searchParams.get('height'))));
const { chromium } = h.loadPlaywright();
const browser = await chromium.launch({ executablePath: h.chromiumPath });
try {
  for (const swf of h.playerNames()) {
    const { chrome, bar, buttonFromRight } = h.playerGeometry(swf);
    // The page size the program would give a 480 by 270 video.
    const width = WIDTH + 2 * chrome;
    const height = 270 + 2 * chrome + bar;
    const page = await browser.newPage({ viewport: { width, height } });
    const vars = 'contentPath=clip.flv&affiliateID=RW-20417&bufferTime=3&autoPlay=true' +
      '&startStreaming=true&hasVideoChrome=true';
    await page.goto(`${origin}/player.html?swf=${encodeURIComponent(swf)}&vars=${encodeURIComponent(vars)}&width=${width}&height=${height}`);
    await page.waitForSelector('ruffle-embed, ruffle-object');
    await h.sleep(5000);
    const stem = swf.replace(/\.swf$/, '');
    await page.screenshot({ path: path.join(folder, `${stem}-playing.png`) });
    await page.mouse.click(chrome + bar / 2, height - chrome - bar / 2);
    await h.sleep(600);
    await page.mouse.move(width / 2, 20);
    await h.sleep(300);
    await page.screenshot({ path: path.join(folder, `${stem}-paused.png`) });
    await page.mouse.click(width - chrome - buttonFromRight(2), height - chrome - bar / 2);
    await h.sleep(600);
    await page.screenshot({ path: path.join(folder, `${stem}-info.png`) });
    await page.mouse.click(width - chrome - buttonFromRight(2), height - chrome - bar / 2);
    // Full screen in a viewport of another shape, so that the picture is letterboxed anew.
    await page.setViewportSize({ width: 800, height: 600 });
    await page.mouse.click(width - chrome - buttonFromRight(1), height - chrome - bar / 2);
    await h.sleep(1000);
    await page.mouse.move(400, 20);
    await h.sleep(300);
    await page.screenshot({ path: path.join(folder, `${stem}-full-screen.png`) });
    await page.close();
  }

  // The published pages: one folder a player, each published twice, playing and paused.
  for (const swf of h.playerNames()) {
    const stem = swf.replace(/\.swf$/, '');
    const site = path.join(media, `site-${stem}`);
    fs.mkdirSync(site);
    // Paused at start (without preloading) is a setting of the job, not of the command line.
    const batch = path.join(h.programDir, 'reelwright-batch');
    const job = path.join(site, '..', `${stem}.reel`);
    execFileSync(batch, ['--input', path.join(media, 'clip.flv'), '--output-folder', site,
      '--output-html', 'playing.html', '--player', swf, '--title', 'Our holiday', '--save', job],
    { stdio: ['ignore', 'ignore', 'pipe'] });
    const settings = fs.readFileSync(job, 'latin1').replace('PAUSEDATSTART=0', 'PAUSEDATSTART=1')
      .replace('PRELOADMOVIE=1', 'PRELOADMOVIE=0').replace('OPHTML=playing.html', 'OPHTML=paused.html');
    fs.writeFileSync(job, settings, 'latin1');
    execFileSync(batch, [job], { stdio: ['ignore', 'ignore', 'pipe'] });
    const preview = await h.serveWithBatch(site);
    try {
      for (const width of [320, 768, 1920]) {
        for (const start of ['playing', 'paused']) {
          const page = await browser.newPage({ viewport: { width, height: width < 500 ? 640 : 800 } });
          await page.goto(new URL(`${start}.html`, preview.address).href);
          await page.waitForSelector('ruffle-embed, ruffle-object');
          await h.sleep(5000);
          await page.screenshot({ path: path.join(folder, `page-${stem}-${width}-${start}.png`) });
          await page.close();
        }
      }
    } finally {
      preview.server.kill('SIGTERM');
    }
  }
} finally {
  await browser.close();
  server.close();
  fs.rmSync(media, { recursive: true, force: true });
}
console.log(fs.readdirSync(folder).filter((name) => name.endsWith('.png')).join('\n'));
