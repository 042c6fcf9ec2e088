// Lighthouse on the published page and on the browser's own <video> player with the page's MP4
// twin, served by reelwright-batch --serve, each as a phone (Lighthouse's mobile defaults: a
// slow line and a slow processor, emulated) and as a desktop. Prints the four scores, the first
// and the largest paint, the blocking time and the bytes, ours beside the browser's.
//
//   node bench/lighthouse.mjs     (bench/lighthouse.sh installs Lighthouse first)
import { createRequire } from 'node:module';
import fs from 'node:fs';

import * as h from '../tests/outside/players/browser/harness.mjs';
import { writeNativePage } from './native_page.mjs';

const require = createRequire(new URL('./lighthouse/package.json', import.meta.url));
const { default: lighthouse } = await import(require.resolve('lighthouse'));
const chromeLauncher = await import(require.resolve('chrome-launcher'));
const { default: desktopConfig } = await import(require.resolve('lighthouse/core/config/desktop-config.js'));

// With a title, as a user's page has one.
const { work, site } = h.publishClip('bench-lighthouse-', 20, 'testsrc2=size=320x240:rate=25,hue=H=2*PI*t',
  ['--title', 'Our holiday']);
writeNativePage(site);
const { server, address } = await h.serveWithBatch(site);
const pages = { ours: address, native: address.replace(/index\.html$/, 'native.html') };

const chrome = await chromeLauncher.launch({
  chromePath: h.chromiumPath,
  chromeFlags: ['--headless=new', '--no-sandbox', '--autoplay-policy=no-user-gesture-required'],
});
const rows = [];
try {
  for (const form of (process.env.LIGHTHOUSE_FORMS ?? 'mobile desktop').split(' ')) {
    for (const [name, url] of Object.entries(pages)) {
      const result = await lighthouse(url, { port: chrome.port, output: 'json', logLevel: 'error' },
        form === 'desktop' ? desktopConfig : undefined);
      const { categories: c, audits: a } = result.lhr;
      const score = (key) => (c[key].score === null ? '-' : Math.round(c[key].score * 100));
      const ms = (key) => (a[key]?.numericValue === undefined ? '-' : Math.round(a[key].numericValue));
      rows.push({
        form, page: name,
        performance: score('performance'), accessibility: score('accessibility'),
        'best practices': score('best-practices'), seo: score('seo'),
        'FCP ms': ms('first-contentful-paint'), 'LCP ms': ms('largest-contentful-paint'),
        'TBT ms': ms('total-blocking-time'),
        'kB': Math.round((a['total-byte-weight']?.numericValue ?? 0) / 1024),
      });
      // LIGHTHOUSE_DETAILS=1: where the blocking time goes (the long tasks and the scripts).
      if (process.env.LIGHTHOUSE_DETAILS) {
        for (const task of a['long-tasks']?.details?.items ?? [])
          console.log(`${form} ${name}: long task at ${Math.round(task.startTime)} ms, ${Math.round(task.duration)} ms, ${task.url}`);
        for (const item of a['bootup-time']?.details?.items ?? [])
          console.log(`${form} ${name}: ${item.url}: script ${Math.round(item.scripting)} ms, parse ${Math.round(item.scriptParseCompile)} ms`);
      }
      for (const [key, audit] of Object.entries(a))
        if (audit.score !== null && audit.score < 1 && ['accessibility', 'best-practices']
          .some((category) => c[category].auditRefs.some((ref) => ref.id === key && ref.weight > 0)))
          console.log(`${form} ${name}: ${key}: ${audit.title}`,
            (audit.details?.items ?? []).map((item) => item.node?.snippet ?? item.source?.url ?? '').join(' '));
    }
  }
} finally {
  await chrome.kill();
  server.kill('SIGTERM');
  fs.rmSync(work, { recursive: true, force: true });
}
console.table(rows);
console.log('targets: accessibility 100, best practices 100, performance scored and at least 90 on desktop');
