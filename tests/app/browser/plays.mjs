// Opens each page address given on the command line in headless Chromium and waits until the
// player on it shows moving video. Exits 0 when every page plays; names the pages that do not.
// The browser tests of the window (publish_browser_test) run it on what the window published.
import * as h from '../../outside/players/browser/harness.mjs';

// The video area of a player drawn by the runtime: its upper part, clear of the control bar.
function videoArea(box) {
  return { x: box.x + 10, y: box.y + 10, width: box.width - 20, height: Math.max(10, box.height * 0.6) };
}

async function plays(browser, address) {
  const page = await browser.newPage({ viewport: { width: 900, height: 700 } });
  try {
    await page.goto(address);
    const player = page.locator('ruffle-object, ruffle-embed').first();
    await player.waitFor({ timeout: 20000 });
    const box = await h.waitFor('the player to take its place', async () => {
      const b = await player.boundingBox();
      return b && b.width > 40 && b.height > 40 ? b : null;
    }, 20000);
    const area = videoArea(box);
    await h.waitFor('the video to show', async () => h.spread(await h.grab(page, area)) > 60, 25000);
    // Moving: the picture changes, and changes again.
    for (const round of ['once', 'twice']) {
      const before = await h.grab(page, area);
      await h.waitFor(`the frames to change ${round}`,
        async () => h.difference(before, await h.grab(page, area)) > 1, 15000);
    }
  } finally {
    await page.close();
  }
}

const addresses = process.argv.slice(2);
const { chromium } = h.loadPlaywright();
const browser = await chromium.launch({ executablePath: h.chromiumPath });
let failures = 0;
for (const address of addresses) {
  try {
    await plays(browser, address);
    console.log(`plays: ${address}`);
  } catch (error) {
    failures++;
    console.error(`does not play: ${address}: ${error.message}`);
  }
}
await browser.close();
process.exit(failures === 0 && addresses.length > 0 ? 0 : 1);
