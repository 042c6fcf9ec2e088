// The three browser engines a published page is tried in, behind one small interface: Chromium
// (Debian's, driven by playwright-core), Firefox ESR (Debian's, by puppeteer-core over WebDriver
// BiDi) and WebKitGTK (Debian's MiniBrowser, by selenium-webdriver through WebKitWebDriver, on
// a virtual X display: engine_webkit.mjs). A missing browser or driver is a failure, never a skip.
//
//   await withEngine('firefox', { webAssembly: false }, async (engine) => {
//     const page = await engine.open(address, { width: 800, height: 600 });
//     await page.click(x, y); const picture = await page.grab(clip); await page.goto(other);
//     await page.close();
//   });
//
// Going to another address waits for its document, not for everything it loads. Keys are named as Playwright names them, with at most one modifier ("Shift+Tab").
// `open` takes `first`, a function run in every document before its own scripts, and `console`,
// called with the text of each message the page writes there (not in WebKitGTK). `grabQuietly`
// takes a picture without running anything in the page (not in WebKitGTK).
// Launch options, each as the engine offers it: `webAssembly: false` (a browser without it; not
// WebKitGTK), `scripts: false` (the page's own scripts do not run; the test's still do),
// `blockSound: true` (sound waits for a click; Chromium does so anyway).
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { webkit } from './engine_webkit.mjs';
import * as h from './harness.mjs';

// REELWRIGHT_ENGINES="webkit" (or a comma-separated list) tries a page in those only, by hand.
export const engineNames = process.env.REELWRIGHT_ENGINES?.split(',') ?? ['chromium', 'firefox', 'webkit'];

const firefoxPath = process.env.REELWRIGHT_FIREFOX ?? '/usr/bin/firefox-esr';
const pulseAudioPath = '/usr/bin/pulseaudio';

const load = (name) => h.requireFromWeb(name);

async function chromium({ webAssembly = true, scripts = true }) {
  // Without its JIT, Chromium's engine has no WebAssembly.
  const browser = await h.loadPlaywright().chromium.launch({
    executablePath: h.chromiumPath, args: webAssembly ? [] : ['--js-flags=--jitless'] });
  return {
    name: 'chromium',
    minimumWidth: 0,
    async open(address, viewport, { first, console } = {}) {
      const context = await browser.newContext({ viewport, javaScriptEnabled: scripts });
      const page = await context.newPage();
      if (first) await page.addInitScript(first);
      if (console) page.on('console', (message) => console(message.text()));
      await page.goto(address);
      let cdp;
      return {
        goto: (next) => page.goto(next, { waitUntil: 'domcontentloaded' }),
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        grab: (clip) => h.grab(page, clip),
        // Taken by the compositor: Playwright's own screenshot runs script in the page, which
        // the browser takes for a visitor's gesture.
        async grabQuietly(clip) {
          cdp ??= await page.context().newCDPSession(page);
          const { data } = await cdp.send('Page.captureScreenshot', { format: 'png', clip: { ...clip, scale: 1 } });
          return h.decodePng(Buffer.from(data, 'base64'));
        },
        screenshot: (file) => page.screenshot({ path: file }),
        click: (x, y) => page.mouse.click(x, y),
        dblclick: (x, y) => page.mouse.dblclick(x, y),
        move: (x, y) => page.mouse.move(x, y),
        down: () => page.mouse.down(),
        up: () => page.mouse.up(),
        press: (key) => page.keyboard.press(key),
        close: () => context.close(),
      };
    },
    close: () => browser.close(),
  };
}

// A sound server of its own with a null sink: headless Firefox starts no sound at all (its audio
// contexts stay suspended) where it finds no audio output.
async function nullSoundServer() {
  h.requireFile(pulseAudioPath, 'PulseAudio');
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'reelwright-sound-'));
  const socket = path.join(folder, 'native');
  const server = spawn(pulseAudioPath, ['--daemonize=no', '--exit-idle-time=-1', '--use-pid-file=no',
    '-n', '-L', 'module-null-sink', '-L', `module-native-protocol-unix socket=${socket} auth-anonymous=1`],
  { stdio: 'ignore', env: { ...process.env, HOME: folder, XDG_RUNTIME_DIR: folder } });
  await h.waitFor('the sound server', () => fs.existsSync(socket), 10000);
  return {
    address: `unix:${socket}`,
    stop() {
      server.kill();
      fs.rmSync(folder, { recursive: true, force: true });
    },
  };
}

// `blockSound`: the browser holds sound back until the visitor clicks, as browsers do by default.
async function firefox({ webAssembly = true, scripts = true, blockSound = false }) {
  h.requireFile(firefoxPath, 'Firefox');
  const sound = await nullSoundServer();
  let browser;
  try {
    browser = await load('puppeteer-core').launch({
      browser: 'firefox', executablePath: firefoxPath, headless: true,
      env: { ...process.env, PULSE_SERVER: sound.address },
      // Otherwise playing with sound is allowed, as the other engines' test browsers allow it.
      extraPrefsFirefox: { 'media.autoplay.default': blockSound ? 1 : 0, 'javascript.options.wasm': webAssembly,
        'javascript.enabled': scripts },
    });
  } catch (error) {
    sound.stop();
    throw error;
  }
  return {
    name: 'firefox',
    minimumWidth: 0,
    async open(address, viewport, { first, console } = {}) {
      const page = await browser.newPage();
      await page.setViewport(viewport);
      if (first) await page.evaluateOnNewDocument(first);
      if (console) page.on('console', (message) => console(message.text()));
      await page.goto(address);
      return {
        goto: (next) => page.goto(next, { waitUntil: 'domcontentloaded' }),
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        grab: async (clip) => h.decodePng(Buffer.from(await page.screenshot({ clip }))),
        // The browser's own picture of the viewport: no script runs in the page for it.
        grabQuietly: async (clip) => h.decodePng(Buffer.from(await page.screenshot({ clip }))),
        screenshot: (file) => page.screenshot({ path: file }),
        click: (x, y) => page.mouse.click(x, y),
        dblclick: (x, y) => page.mouse.click(x, y, { count: 2 }),
        move: (x, y) => page.mouse.move(x, y),
        down: () => page.mouse.down(),
        up: () => page.mouse.up(),
        async press(key) {
          const [modifier, main] = key.includes('+') ? key.split('+') : [null, key];
          if (modifier) await page.keyboard.down(modifier);
          // Over WebDriver BiDi the space bar is known by its character.
          await page.keyboard.press(main === 'Space' ? ' ' : main);
          if (modifier) await page.keyboard.up(modifier);
        },
        close: () => page.close(),
      };
    },
    async close() {
      await browser.close();
      sound.stop();
    },
  };
}

export async function launchEngine(name, options = {}) {
  return { chromium, firefox, webkit }[name](options);
}

// Starts engine `name` with `options`, hands it to `use`, and closes it whatever happens.
// WebKitGTK's web process now and then dies on an assertion of its own (the kernel logs an
// invalid-opcode trap in WebKitWebProcess) and leaves its page or frame white: there, a check
// that fails runs once more in a fresh browser, and the output says so.
export async function withEngine(name, options, use) {
  const attempts = name === 'webkit' ? 2 : 1;
  for (let attempt = 1; ; attempt++) {
    const engine = await launchEngine(name, options);
    try {
      return await use(engine);
    } catch (error) {
      if (attempt >= attempts) throw error;
      console.log(`# ${name}: once more, after: ${error.message}`);
    } finally {
      await engine.close();
    }
  }
}

// Where the page's player lies in its viewport. `framed`: the page is shown in a frame of the
// viewport's page, the first for `true` (as where a window cannot be made narrow enough), else
// the one of that index.
export async function playerBox(page, what, framed = false) {
  return h.waitFor(`the player of ${what}`, () => page.evaluate((framed) => {
    const frame = framed === false ? null : document.querySelectorAll('iframe')[framed === true ? 0 : framed];
    const shown = frame ? frame.contentDocument : framed === false ? document : null;
    const player = shown?.querySelector('ruffle-object, ruffle-embed');
    const box = player?.getBoundingClientRect();
    const at = frame?.getBoundingClientRect() ?? { x: 0, y: 0 };
    return box?.width ? { x: at.x + box.x, y: at.y + box.y, width: box.width, height: box.height } : null;
  }, framed), 30000);
}

// Waits until the player shows a picture and the picture moves on; gives the picture's area.
// On failure the page as it was is kept, and the message says where.
export async function assertPlaysIn(page, what, framed = false) {
  try {
    return await playsIn(page, what, framed);
  } catch (error) {
    const shot = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'reelwright-failure-')), 'page.png');
    await page.screenshot(shot).catch(() => {});
    error.message += ` (the page as it was: ${shot})`;
    throw error;
  }
}

async function playsIn(page, what, framed) {
  const box = await playerBox(page, what, framed);
  const clip = { x: box.x + 20, y: box.y + 20, width: box.width - 40, height: box.height / 2 };
  await h.waitFor(`a picture in ${what}`, async () => h.spread(await page.grab(clip)) > 40, 30000);
  // Three times: the page's poster can give way to a black player that then shows a message.
  for (const time of ['', ' again', ' a third time']) {
    const before = await page.grab(clip);
    await h.waitFor(`the picture of ${what} to move on${time}`, async () => h.difference(before, await page.grab(clip)) > 2, 25000);
  }
  return { box, clip };
}
