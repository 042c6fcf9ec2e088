// The three browser engines a published page is tried in, behind one small interface: Chromium
// (Debian's, driven by playwright-core), Firefox ESR (Debian's, by puppeteer-core over WebDriver
// BiDi) and WebKitGTK (Debian's MiniBrowser, by selenium-webdriver through WebKitWebDriver, on
// a virtual X display). A missing browser or driver is a failure, never a skip.
//
//   const engine = await launchEngine('firefox');
//   const page = await engine.open(address, { width: 800, height: 600 });
//   await page.click(x, y); const picture = await page.grab(clip); await page.close();
//   await engine.close();
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';

import * as h from './harness.mjs';

export const engineNames = ['chromium', 'firefox', 'webkit'];

const firefoxPath = process.env.REELWRIGHT_FIREFOX ?? '/usr/bin/firefox-esr';
const webkitDriverPath = '/usr/bin/WebKitWebDriver';
const miniBrowserPath = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

const load = (name) => h.requireFromWeb(name);

async function freePort() {
  const probe = net.createServer().listen(0, '127.0.0.1');
  await new Promise((resolve) => probe.once('listening', resolve));
  const { port } = probe.address();
  await new Promise((resolve) => probe.close(resolve));
  return port;
}

async function listening(port, what) {
  await h.waitFor(what, () => new Promise((resolve) => {
    const socket = net.connect(port, '127.0.0.1', () => { socket.end(); resolve(true); });
    socket.on('error', () => resolve(false));
  }), 15000);
}

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

async function chromium() {
  const browser = await h.loadPlaywright().chromium.launch({ executablePath: h.chromiumPath });
  return {
    name: 'chromium',
    async open(address, viewport) {
      const page = await browser.newPage({ viewport });
      await page.goto(address);
      return {
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        grab: (clip) => h.grab(page, clip),
        click: (x, y) => page.mouse.click(x, y),
        press: (key) => page.keyboard.press(key),
        close: () => page.close(),
      };
    },
    close: () => browser.close(),
  };
}

async function firefox() {
  requireFile(firefoxPath, 'Firefox');
  const browser = await load('puppeteer-core').launch({
    browser: 'firefox', executablePath: firefoxPath, headless: true,
    // Playing with sound is allowed, as the other engines' test browsers allow it.
    extraPrefsFirefox: { 'media.autoplay.default': 0 },
  });
  return {
    name: 'firefox',
    async open(address, viewport) {
      const page = await browser.newPage();
      await page.setViewport(viewport);
      await page.goto(address);
      return {
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        grab: async (clip) => h.decodePng(Buffer.from(await page.screenshot({ clip }))),
        click: (x, y) => page.mouse.click(x, y),
        press: (key) => page.keyboard.press(key),
        close: () => page.close(),
      };
    },
    close: () => browser.close(),
  };
}

// WebKitGTK starts with no locale variables at all, as a browser started from a bare session
// does: its language is then no language tag.
async function webkit() {
  for (const [file, what] of [[webkitDriverPath, 'WebKitWebDriver'], [miniBrowserPath, 'MiniBrowser'],
    ['/usr/bin/Xvfb', 'Xvfb']])
    requireFile(file, what);
  const display = `:${90 + (process.pid % 400)}`;
  const xvfb = spawn('Xvfb', [display, '-screen', '0', '1600x1200x24', '-nolisten', 'tcp'], { stdio: 'ignore' });
  const port = await freePort();
  const environment = { PATH: process.env.PATH, HOME: process.env.HOME, DISPLAY: display };
  const server = spawn(webkitDriverPath, [`--port=${port}`], { env: environment, stdio: 'ignore' });
  const stop = () => { server.kill(); xvfb.kill(); };
  try {
    await listening(port, 'WebKitWebDriver');
  } catch (error) {
    stop();
    throw error;
  }
  const { Builder, Origin } = load('selenium-webdriver');
  const drivers = [];
  return {
    name: 'webkit',
    async open(address, viewport) {
      const driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { binary: miniBrowserPath, args: ['--automation'] },
      }).build();
      drivers.push(driver);
      // The window's size is asked for; the page's viewport follows from it.
      await driver.manage().window().setRect({ width: viewport.width, height: viewport.height });
      await driver.get(address);
      const call = (fn, arg) => driver.executeScript(`return (${fn})(arguments[0]);`, arg);
      return {
        evaluate: call,
        grab: async (clip) => crop(h.decodePng(Buffer.from(await driver.takeScreenshot(), 'base64')), clip),
        click: (x, y) => driver.actions().move({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT })
          .click().perform(),
        press: (key) => driver.actions().sendKeys(key).perform(),
        close: () => driver.quit(),
      };
    },
    async close() {
      for (const driver of drivers) await driver.quit().catch(() => {});
      stop();
    },
  };
}

export async function launchEngine(name) {
  return { chromium, firefox, webkit }[name]();
}

// Where the page's player lies in its viewport.
export async function playerBox(page, what) {
  return h.waitFor(`the player of ${what}`, () => page.evaluate(() => {
    const player = document.querySelector('ruffle-object, ruffle-embed');
    const box = player?.getBoundingClientRect();
    return box?.width ? { x: box.x, y: box.y, width: box.width, height: box.height } : null;
  }), 30000);
}

// Waits until the player shows a picture and the picture moves on; gives the picture's area.
export async function assertPlaysIn(page, what) {
  const box = await playerBox(page, what);
  const clip = { x: box.x + 20, y: box.y + 20, width: box.width - 40, height: box.height / 2 };
  await h.waitFor(`a picture in ${what}`, async () => h.spread(await page.grab(clip)) > 40, 30000);
  const first = await page.grab(clip);
  await h.waitFor(`the picture of ${what} to move on`, async () => h.difference(first, await page.grab(clip)) > 2, 15000);
  return { box, clip };
}
