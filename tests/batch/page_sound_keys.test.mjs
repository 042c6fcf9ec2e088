// A visitor of a published page under the browser's default rule, which holds back sound until
// the visitor clicks: the playing player says so, and the first click gives sound, on the
// speaker too (never silence). By keyboard, Tab stops at the player once, its keys work there,
// and Tab and Shift+Tab go on to the rest of the page; the player is named after the video.
// The keys are tried in Chromium, Firefox and WebKitGTK.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { after, before, test } from 'node:test';

import * as h from '../outside/players/browser/harness.mjs';
import { engineNames, withEngine, playerBox } from '../outside/players/browser/engines.mjs';

let work, server, address, natural;
const title = 'Tom & "Jerry" <3';
// The player's layout on the page: its frame and bar, as its size file tells.
const geometry = () => h.playerGeometry('player.swf');

// Keeps every audio context the page makes, taps what each sends to the speakers, and reports
// the state of the runtime's context and the loudest sample lately sent, ten times a second.
// The page reports on its console: anything the test ran in the page, even the answer to a
// call from the page, would count as a click.
const tapAudio = () => {
  const contexts = [];
  const Native = window.AudioContext;
  window.AudioContext = class extends Native {
    constructor(...options) {
      super(...options);
      contexts.push(this);
    }
  };
  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (target, ...rest) {
    if (target instanceof AudioDestinationNode) {
      const context = target.context;
      if (!context.tap) {
        context.tap = context.createAnalyser();
        context.tap.fftSize = 2048;
      }
      connect.call(this, context.tap);
    }
    return connect.call(this, target, ...rest);
  };
  setInterval(() => {
    const context = contexts.find((c) => c.state !== 'closed');
    if (!context) return;
    let peak = 0;
    if (context.tap) {
      const samples = new Float32Array(context.tap.fftSize);
      context.tap.getFloatTimeDomainData(samples);
      for (const v of samples) peak = Math.max(peak, Math.abs(v));
    }
    console.debug(`sound ${JSON.stringify({ state: context.state, peak })}`);
  }, 100);
};

// What the page reported over the last half second: the last state and the loudest peak.
// `page.reports` holds what the page has said on its console since it was last looked at.
async function sound(page) {
  page.reports = [];
  await h.sleep(500);
  const reports = page.reports;
  if (!reports.length) return { state: 'none', peak: 0 };
  return { state: reports.at(-1).state, peak: Math.max(...reports.map((r) => r.peak)) };
}

before(async () => {
  h.requireTools();
  // A plain grey picture: the mark is the only thing drawn on it.
  let site;
  ({ work, site } = h.publishClip('page-sound-', 20, 'color=c=0x808080:size=320x240:rate=25', ['--title', title]));
  const html = fs.readFileSync(`${site}/index.html`, 'utf8');
  const [, width, height] = /<object [^>]*width="(\d+)" height="(\d+)"/.exec(html);
  natural = { width: Number(width), height: Number(height) };
  ({ server, address } = await h.serveWithBatch(site));
});

after(() => {
  server?.kill('SIGTERM');
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

// Opens the page, waits until the playing player shows its "Click for sound" mark, and gives
// where the mark, the picture's middle and the speaker lie.
async function openBlocked(engine) {
  const reports = { list: [] };
  const page = await engine.open(address, { width: 800, height: 600 }, {
    first: tapAudio,
    console: (text) => {
      if (text.startsWith('sound ')) reports.list.push(JSON.parse(text.slice(6)));
    },
  });
  Object.defineProperty(page, 'reports', { get: () => reports.list, set: (list) => { reports.list = list; } });
  // Where the player lies, from the page's own layout (a centred box 24 px from the top) rather
  // than asked of the page: the test asks nothing of the page before the click.
  const box = { x: (800 - natural.width) / 2, y: 24, ...natural };
  const { chrome, bar, buttonFromRight } = geometry();
  const places = {
    mark: { x: box.x + chrome + 4, y: box.y + chrome + 4, width: 150, height: 34 },
    picture: { x: box.x + box.width / 2, y: box.y + (box.height - bar) / 2 },
    speaker: { x: box.x + box.width - chrome - buttonFromRight(3), y: box.y + box.height - chrome - bar / 2 },
  };
  places.speakerArea = { x: places.speaker.x - 10, y: places.speaker.y - 10, width: 20, height: 20 };
  // The mark's white words are the only white there: the picture is grey, its sides black.
  await h.waitFor('the "Click for sound" mark', async () => h.whiteShare(await page.grabQuietly(places.mark)) > 0.03, 30000);
  const { state } = await sound(page);
  assert.equal(state, 'suspended', 'the browser let the page start sound on its own: nothing to test');
  return { page, places };
}

async function assertSoundComes(page, places, how) {
  await h.waitFor(`sound after ${how}`, async () => {
    const { state, peak } = await sound(page);
    return state === 'running' && peak > 0.02;
  }, 10000);
  await h.waitFor(`the mark to go after ${how}`, async () => h.whiteShare(await page.grabQuietly(places.mark)) < 0.003, 5000);
}

// WebKitGTK is left out: its WebDriver can run no script before the page's own to hear the
// sound, nor listen to the page's console, and anything asked of the page would count as a click.
for (const name of ['chromium', 'firefox']) {
  test(`in ${name} a blocked start says "click for sound"; a click on the picture or on the speaker gives sound; then the picture pauses and plays`, async () => {
    await withEngine(name, { blockSound: true }, soundAfterClick);
  });
}

async function soundAfterClick(engine) {
  const picture = await openBlocked(engine);
  await picture.page.click(picture.places.picture.x, picture.places.picture.y);
  await assertSoundComes(picture.page, picture.places, 'a click on the picture');
  // From then on a click on the picture pauses and plays, as on the browser's own player
  // (apart, so that no two make a double click).
  await h.sleep(600);
  await picture.page.click(picture.places.picture.x, picture.places.picture.y);
  await h.waitFor('silence once a click paused', async () => (await sound(picture.page)).peak < 0.002, 4000);
  await h.sleep(600);
  await picture.page.click(picture.places.picture.x, picture.places.picture.y);
  await h.waitFor('sound once a click played', async () => (await sound(picture.page)).peak > 0.02, 6000);
  await picture.page.close();

  const speaker = await openBlocked(engine);
  const { page, places } = speaker;
  const soundIcon = await page.grabQuietly(places.speakerArea);
  await page.click(places.speaker.x, places.speaker.y);
  await assertSoundComes(page, places, 'a click on the speaker');
  // Away from the speaker, which shows its hover colour under the mouse.
  await page.move(0, 0);
  await h.sleep(500);
  assert.ok(h.difference(soundIcon, await page.grabQuietly(places.speakerArea)) < 0.5,
    'the first click on the speaker struck it out');
  // From then on the speaker mutes as ever.
  await page.click(places.speaker.x, places.speaker.y);
  await page.move(0, 0);
  await h.waitFor('the speaker to mute on the second click',
    async () => h.difference(soundIcon, await page.grabQuietly(places.speakerArea)) > 2, 4000);
  await h.waitFor('silence once muted', async () => (await sound(page)).peak < 0.002, 4000);
  await page.close();
}

for (const name of engineNames) {
  test(`in ${name} Tab stops at the player once and goes on; its keys work there; it has a name`, async () => {
    await withEngine(name, {}, async (engine) => {
      const page = await engine.open(address, { width: 800, height: 600 });
      await tabAndKeys(page, name);
      await page.close();
    });
  });
}

async function tabAndKeys(page, name) {
  await playerBox(page, `the page in ${name}`);
  // The runtime has its movie: the player is there to take the keys.
  await h.waitFor(`the player to load in ${name}`, () =>
    page.evaluate(() => document.querySelector('ruffle-object, ruffle-embed')?.readyState >= 2), 30000);
  // The page around a pasted player: something to reach before and after it.
  await page.evaluate(() => {
    const link = (id) => Object.assign(document.createElement('a'), { id, href: `#${id}`, textContent: id });
    const box = document.querySelector('.reelwright-player');
    box.before(link('before'));
    box.after(link('after'));
  });
  const focused = () => page.evaluate(() => document.activeElement?.id || document.activeElement?.localName);
  const focusBefore = () => page.evaluate(() => document.getElementById('before').focus());
  await focusBefore();
  await page.press('Tab');
  await h.waitFor(`the player to take the focus in ${name}`, async () => (await focused()).startsWith('ruffle-'), 3000);

  // The keys reach it: M strikes out the speaker. (The links moved the player.)
  const box = await playerBox(page, `the page in ${name}`);
  const { chrome, bar, buttonFromRight } = geometry();
  const speaker = { x: box.x + box.width - chrome - buttonFromRight(3) - 10, y: box.y + box.height - chrome - bar / 2 - 10, width: 20, height: 20 };
  const icon = await page.grab(speaker);
  await page.press('m');
  await h.waitFor(`M to mute the player reached by Tab in ${name}`, async () => h.difference(icon, await page.grab(speaker)) > 2, 4000);

  await page.press('Tab');
  assert.equal(await focused(), 'after', `Tab stays in the player in ${name}`);
  await page.press('Shift+Tab');
  assert.ok((await focused()).startsWith('ruffle-'), `Shift+Tab does not come back to the player in ${name}`);
  await page.press('Shift+Tab');
  assert.equal(await focused(), 'before', `Shift+Tab stays in the player in ${name}`);

  // The player's block is a region and the player an application, both named after the video.
  assert.deepEqual(await page.evaluate(() => {
    const block = document.querySelector('.reelwright-player');
    const stop = document.querySelector('ruffle-object, ruffle-embed').shadowRoot?.getElementById('reelwright-stop');
    return { block: block.localName, label: block.getAttribute('aria-label'), role: stop?.getAttribute('role'),
      name: stop?.getAttribute('aria-label') };
  }), { block: 'section', label: `Video: ${title}`, role: 'application', name: `Video: ${title}` });
  // The stop Tab makes is that named element, and nothing hidden from assistive technology
  // takes the focus by Tab, in the runtime's own part of the page either.
  await focusBefore();
  await page.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.shadowRoot?.activeElement?.getAttribute('aria-label')),
    `Video: ${title}`);
  const hiddenStops = await page.evaluate(() => {
    const stops = [];
    const look = (root) => {
      for (const element of root.querySelectorAll('*')) {
        if (element.closest('[aria-hidden="true"]') && element.tabIndex >= 0 &&
            element.matches('input, button, select, textarea, a[href], [tabindex]'))
          stops.push(element.outerHTML.slice(0, 80));
        if (element.shadowRoot) look(element.shadowRoot);
      }
    };
    look(document);
    return stops;
  });
  assert.deepEqual(hiddenStops, []);
}
