// WebKitGTK for the browser tests: Debian's MiniBrowser, driven by selenium-webdriver through
// WebKitWebDriver, on a virtual X display of its own. engines.mjs gives it the same interface as
// the other engines.
import { spawn } from 'node:child_process';
import fs from 'node:fs';

import * as h from './harness.mjs';

const webkitDriverPath = '/usr/bin/WebKitWebDriver';
const miniBrowserPath = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

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

// WebKitGTK starts with no locale variables at all, as a browser started from a bare session
// does: its language is then no language tag.
export async function webkit({ webAssembly = true, scripts = true }) {
  for (const [file, what] of [[webkitDriverPath, 'WebKitWebDriver'], [miniBrowserPath, 'MiniBrowser'],
    ['/usr/bin/Xvfb', 'Xvfb']])
    h.requireFile(file, what);
  // A display number no other server holds (the last engine's may still be going away), and
  // its server listening before the browser looks for it.
  let number = 90 + (process.pid % 400);
  while (fs.existsSync(`/tmp/.X${number}-lock`) || fs.existsSync(`/tmp/.X11-unix/X${number}`)) number++;
  const display = `:${number}`;
  const xvfb = spawn('Xvfb', [display, '-screen', '0', '2560x1600x24', '-nolisten', 'tcp'], { stdio: 'ignore' });
  await h.waitFor(`the virtual display ${display}`, () => fs.existsSync(`/tmp/.X11-unix/X${number}`), 10000);
  // Its engine keeps WebAssembly whatever its options say in a release build.
  if (!webAssembly) throw new Error('WebKitGTK cannot be started without WebAssembly');
  // No session bus: where dbus-launch is installed, GTK would start one on the display for
  // every browser, with an accessibility bus behind it, and neither goes away with the display
  // (dozens were left over after a few test runs). Nor GTK's accessibility bridge.
  const environment = { PATH: process.env.PATH, HOME: process.env.HOME, DISPLAY: display,
    DBUS_SESSION_BUS_ADDRESS: 'disabled:', NO_AT_BRIDGE: '1' };
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
  const { Builder, Button, Key, Origin } = h.requireFromWeb('selenium-webdriver');
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
      // Under load the driver now and then answers a picture with an error and no message; the
      // next try has always worked. A browser that stops answering still fails at once.
      const picture = async () => {
        const take = () => ask('taking a picture', session.takeScreenshot());
        const data = await take().catch(async (error) => {
          if (error.name !== 'WebDriverError' || driver !== session) throw error;
          await h.sleep(200);
          return take();
        });
        return h.decodePng(Buffer.from(data, 'base64'));
      };
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
