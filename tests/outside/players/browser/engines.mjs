// The three browser engines a published page is tried in, behind one small interface: Chromium
// (Debian's, driven by playwright-core), Firefox ESR (Debian's, by puppeteer-core over WebDriver
// BiDi) and WebKitGTK (Debian's MiniBrowser, by selenium-webdriver through WebKitWebDriver, on
// a virtual X display). A missing browser or driver is a failure, never a skip.
//
//   const engine = await launchEngine('firefox', { webAssembly: false });
//   const page = await engine.open(address, { width: 800, height: 600 });
//   await page.click(x, y); const picture = await page.grab(clip); await page.goto(other);
//   await page.close();
//   await engine.close();
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

import * as h from './harness.mjs';

// REELWRIGHT_ENGINES="webkit" (or a comma-separated list) tries a page in those only, by hand.
export const engineNames = process.env.REELWRIGHT_ENGINES?.split(',') ?? ['chromium', 'firefox', 'webkit'];

const firefoxPath = process.env.REELWRIGHT_FIREFOX ?? '/usr/bin/firefox-esr';
const pulseAudioPath = '/usr/bin/pulseaudio';
const webkitDriverPath = '/usr/bin/WebKitWebDriver';
const miniBrowserPath = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

const load = (name) => h.requireFromWeb(name);

function requireFile(file, what) {
  if (!fs.existsSync(file)) throw new Error(`${what} ${file} is missing: run scripts/setup`);
}

// A picture of part of a whole-viewport PNG, in the shape harness.decodePng gives.
function crop(picture, clip) {
  const x0 = Math.round(clip.x), y0 = Math.round(clip.y);
  const width = Math.round(clip.width), height = Math.round(clip.height);
  const pixels = new Uint8Array(width * height * 4);
  for (let y = 0; y < height; y++) {
    const from = ((y0 + y) * picture.width + x0) * 4;
    pixels.set(picture.pixels.subarray(from, from + width * 4), y * width * 4);
  }
  return { width, height, pixels };
}

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
  requireFile(pulseAudioPath, 'PulseAudio');
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
  requireFile(firefoxPath, 'Firefox');
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

// WebKitGTK starts with no locale variables at all, as a browser started from a bare session
// does: its language is then no language tag.
async function webkit({ webAssembly = true, scripts = true }) {
  for (const [file, what] of [[webkitDriverPath, 'WebKitWebDriver'], [miniBrowserPath, 'MiniBrowser'],
    ['/usr/bin/Xvfb', 'Xvfb']])
    requireFile(file, what);
  // A display number no other server holds (the last engine's may still be going away), and
  // its server listening before the browser looks for it.
  let number = 90 + (process.pid % 400);
  while (fs.existsSync(`/tmp/.X${number}-lock`) || fs.existsSync(`/tmp/.X11-unix/X${number}`)) number++;
  const display = `:${number}`;
  const xvfb = spawn('Xvfb', [display, '-screen', '0', '2560x1600x24', '-nolisten', 'tcp'], { stdio: 'ignore' });
  await h.waitFor(`the virtual display ${display}`, () => fs.existsSync(`/tmp/.X11-unix/X${number}`), 10000);
  // Its engine keeps WebAssembly whatever its options say in a release build.
  if (!webAssembly) throw new Error('WebKitGTK cannot be started without WebAssembly');
  const environment = { PATH: process.env.PATH, HOME: process.env.HOME, DISPLAY: display };
  // The driver in a process group of its own, with the browsers it starts: a session that no
  // longer answers goes with its group, and the next page starts afresh.
  let server, port;
  const stopServer = () => {
    try { process.kill(-server.pid, 'SIGKILL'); } catch {}
  };
  const startServer = async () => {
    port = await h.freePort();
    server = spawn(webkitDriverPath, [`--port=${port}`], { env: environment, stdio: 'ignore', detached: true });
    await h.waitForListener(port, 'WebKitWebDriver');
  };
  const stop = () => { stopServer(); xvfb.kill(); };
  try {
    await startServer();
  } catch (error) {
    stop();
    throw error;
  }
  const { Builder, Button, Key, Origin } = load('selenium-webdriver');
  // The other drivers' names of keys, in WebDriver's.
  const keys = { Space: Key.SPACE, ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT,
    Escape: Key.ESCAPE, Tab: Key.TAB, Enter: Key.ENTER, Shift: Key.SHIFT };
  let driver = null;
  // Every command gets an answer in time, or the session is given up and its browser stopped.
  const ask = async (what, command, ms = 30000) => {
    try {
      return await h.within(command, ms, what);
    } catch (error) {
      if (/no answer from the browser/.test(error.message)) await restart();
      throw error;
    }
  };
  const quit = async () => {
    const last = driver;
    driver = null;
    if (last && !(await h.within(last.quit(), 10000, 'quitting').then(() => true, () => false))) await restart();
  };
  async function restart() {
    driver = null;
    stopServer();
    await startServer();
  }
  return {
    name: 'webkit',
    // MiniBrowser's window keeps its toolbar's width at least.
    minimumWidth: 420,
    // WebKitWebDriver holds one session, one window, at a time: opening a page closes the last.
    async open(address, viewport, { first, console } = {}) {
      if (first || console) throw new Error('WebDriver runs no script before the page\'s own, nor hears its console');
      await quit();
      // Without the page's scripts; the driver's own still run.
      const args = ['--automation', ...(scripts ? [] : ['--enable-javascript=false'])];
      const session = await ask('starting MiniBrowser', new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { binary: miniBrowserPath, args },
      }).build());
      driver = session;
      // The window's size is what can be asked for: it is grown by what its toolbar takes, so
      // that the page gets the viewport wanted (never narrower than the toolbar).
      const window = session.manage().window();
      await ask('sizing the window', window.setRect({ width: viewport.width, height: viewport.height }));
      const inner = await ask('measuring the window', session.executeScript('return [window.innerWidth, window.innerHeight];'));
      await ask('sizing the window', window.setRect({ width: 2 * viewport.width - inner[0], height: 2 * viewport.height - inner[1] }));
      await ask(`loading ${address}`, session.get(address), 60000);
      // A function is called with `arg`; a string is an expression.
      const call = (fn, arg) => ask('running script', session.executeScript(
        typeof fn === 'string' ? `return ${fn};` : `return (${fn})(arguments[0]);`, arg));
      const picture = async () => h.decodePng(Buffer.from(await ask('taking a picture', session.takeScreenshot()), 'base64'));
      const at = (x, y) => ({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT });
      // The driver takes one input action at a time: checks that run side by side queue theirs.
      let queue = Promise.resolve();
      const input = (build) => {
        const done = queue.then(() => ask('giving input', build(session.actions()).perform()));
        queue = done.catch(() => {});
        return done;
      };
      return {
        goto: (next) => ask(`loading ${next}`, session.get(next), 60000),
        evaluate: call,
        grab: async (clip) => crop(await picture(), clip),
        screenshot: async (file) => fs.writeFileSync(file, await ask('taking a picture', session.takeScreenshot()), 'base64'),
        click: (x, y) => input((actions) => actions.move(at(x, y)).click()),
        dblclick: (x, y) => input((actions) => actions.move(at(x, y)).doubleClick()),
        move: (x, y) => input((actions) => actions.move(at(x, y))),
        down: () => input((actions) => actions.press(Button.LEFT)),
        up: () => input((actions) => actions.release(Button.LEFT)),
        press: (key) => input((actions) => {
          const [modifier, main] = key.includes('+') ? key.split('+') : [null, key];
          if (modifier) actions.keyDown(keys[modifier]);
          actions.sendKeys(keys[main] ?? main);
          if (modifier) actions.keyUp(keys[modifier]);
          return actions;
        }),
        close: () => (driver === session ? quit() : undefined),
      };
    },
    async close() {
      await quit();
      stop();
    },
  };
}

export async function launchEngine(name, options = {}) {
  return { chromium, firefox, webkit }[name](options);
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
export async function assertPlaysIn(page, what, framed = false) {
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
