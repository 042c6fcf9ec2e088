// What a published page costs its visitors over the wire, served by reelwright-batch --serve:
// the first visit gets the web runtime compressed, and a second visit in the same browser
// profile takes nearly everything from the browser's cache, asking only whether the page, its
// loader and its video changed. The figures are printed. The same holds on a web host: nginx with
// the lines the help page gives.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import * as h from '../outside/players/browser/harness.mjs';

let work, site, server, address, context;

before(async () => {
  h.requireTools();
  ({ work, site } = h.publishClip('published-wire-', 4));
  ({ server, address } = await h.serveWithBatch(site));
  const { chromium } = h.loadPlaywright();
  // A profile of its own on disk, as a visitor's browser has, with its disk cache.
  context = await chromium.launchPersistentContext(path.join(work, 'profile'),
    { executablePath: h.chromiumPath, viewport: { width: 900, height: 700 } });
});

after(async () => {
  await context?.close();
  server?.kill('SIGTERM');
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

// Opens `address` in a new tab of the profile, waits until the player shows, the runtime and
// the video have come and the network has been quiet a while, and gives every request with the bytes it took from the network
// (headers included; 0 for what came from the cache).
async function visit(address) {
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  const requests = new Map();
  cdp.on('Network.requestWillBeSent', (e) => {
    // Blob and data addresses the runtime makes for itself cost nothing on the wire.
    if (!e.request.url.startsWith('http')) return;
    requests.set(e.requestId, { url: e.request.url, bytes: 0, done: false, lastEvent: Date.now() });
  });
  // The status as it came over the wire: 304 where the cache's copy was still current.
  cdp.on('Network.responseReceivedExtraInfo', (e) => {
    const r = requests.get(e.requestId);
    if (r) r.wireStatus = e.statusCode;
  });
  cdp.on('Network.responseReceived', (e) => {
    const r = requests.get(e.requestId);
    if (!r) return;
    const headers = Object.fromEntries(Object.entries(e.response.headers)
      .map(([name, value]) => [name.toLowerCase(), value]));
    Object.assign(r, { status: e.response.status, encoding: headers['content-encoding'] ?? '',
      lastEvent: Date.now() });
  });
  for (const event of ['Network.loadingFinished', 'Network.loadingFailed']) {
    cdp.on(event, (e) => {
      const r = requests.get(e.requestId);
      if (r) Object.assign(r, { bytes: e.encodedDataLength ?? 0, done: true, lastEvent: Date.now() });
    });
  }
  await cdp.send('Network.enable');
  await page.goto(address);
  await h.waitFor('the player', () => page.locator('ruffle-object, ruffle-embed').first().boundingBox(), 30000);
  const all = () => [...requests.values()];
  await h.waitFor('the web runtime to load', () => all().some((r) => r.url.endsWith('.wasm') && r.done), 60000);
  await h.waitFor('the player to load its video', () => all().some((r) => r.url.endsWith('.flv') && r.done), 30000);
  await h.waitFor('the network to settle', () =>
    all().every((r) => r.done) && all().every((r) => Date.now() - r.lastEvent > 1500), 30000);
  await page.close();
  return all();
}

function report(title, requests) {
  const total = requests.reduce((sum, r) => sum + r.bytes, 0);
  console.log(`${title}: ${total} bytes in ${requests.length} requests`);
  for (const r of requests)
    console.log(`  ${String(r.bytes).padStart(9)}  ${r.wireStatus ?? r.status ?? '-'} ${r.encoding || 'identity'}  ${new URL(r.url).pathname}`);
  return total;
}

test('the runtime arrives compressed, and a second visit costs under 1 MB', async () => {
  assert.match(address, /^http:\/\/127\.0\.0\.1:\d+\/index\.html$/);

  // Publishing put the runtime's compressed copies beside it, none older than its file.
  const runtime = path.join(site, 'ruffle');
  const modules = fs.readdirSync(runtime).filter((name) => name.endsWith('.wasm'));
  assert.ok(modules.length > 0, 'no WebAssembly module in the published ruffle/');
  for (const name of fs.readdirSync(runtime).filter((n) => /\.(js|wasm)$/.test(n))) {
    for (const suffix of ['.br', '.gz']) {
      const copy = path.join(runtime, name + suffix);
      assert.ok(fs.existsSync(copy), `${name}${suffix} was not published`);
      assert.ok(fs.statSync(copy).mtimeMs >= fs.statSync(path.join(runtime, name)).mtimeMs,
        `${name}${suffix} is older than ${name}`);
    }
  }

  const first = await visit(address);
  const firstTotal = report('first visit', first);
  const wasm = first.find((r) => r.url.endsWith('.wasm'));
  const plainSize = fs.statSync(path.join(runtime, path.basename(new URL(wasm.url).pathname))).size;
  console.log(`  the WebAssembly module: ${plainSize} bytes on disk, ${wasm.bytes} over the wire (${wasm.encoding})`);
  assert.equal(wasm.status, 200);
  for (const r of first.filter((r) => new URL(r.url).pathname.startsWith('/ruffle/')))
    assert.match(r.encoding, /^(br|gzip)$/, `${r.url} came uncompressed`);
  assert.ok(wasm.bytes < plainSize / 2, `the module took ${wasm.bytes} of its ${plainSize} bytes`);
  assert.ok(firstTotal < plainSize / 2, `the first visit took ${firstTotal} bytes`);
  // Every request finds what it asks for: the page names its icon, so the browser does not go
  // looking for /favicon.ico.
  for (const r of first) assert.ok((r.status ?? 200) < 400, `${r.url} answered ${r.status}`);
  assert.ok(!first.some((r) => r.url.endsWith('/favicon.ico')), 'the browser asked for /favicon.ico');

  const second = await visit(address);
  const secondTotal = report('second visit', second);
  assert.ok(second.some((r) => new URL(r.url).pathname === '/index.html'), 'the page was not asked for');
  assert.ok(secondTotal < 1024 * 1024, `the second visit took ${secondTotal} bytes`);
});

// The lines the help page gives for nginx, as it shows them.
function helpPageNginxLines() {
  const help = fs.readFileSync(path.join(h.sourceDir, 'res/help/index.html'), 'utf8');
  const found = help.match(/<pre id="nginx-lines">([^<]*)<\/pre>/);
  assert.ok(found, 'the help page has no nginx lines');
  return found[1].replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&quot;/g, '"').replace(/&amp;/g, '&');
}

// Debian's nginx on 127.0.0.1 with a configuration and prefix of its own, serving `root` with
// `lines` in its server block: the process and the address of the page.
async function startNginx(root, lines) {
  const prefix = path.join(work, 'nginx');
  fs.mkdirSync(path.join(prefix, 'temp'), { recursive: true });
  const port = await h.freePort();
  const config = path.join(prefix, 'nginx.conf');
  fs.writeFileSync(config, `
load_module /usr/lib/nginx/modules/ngx_http_brotli_static_module.so;
${process.getuid() === 0 ? 'user root;' : ''}
daemon off;
master_process off;
pid ${prefix}/nginx.pid;
error_log ${prefix}/error.log;
events {}
http {
  include /etc/nginx/mime.types;
  access_log off;
  client_body_temp_path ${prefix}/temp/body;
  proxy_temp_path ${prefix}/temp/proxy;
  fastcgi_temp_path ${prefix}/temp/fastcgi;
  uwsgi_temp_path ${prefix}/temp/uwsgi;
  scgi_temp_path ${prefix}/temp/scgi;
  server {
    listen 127.0.0.1:${port};
    root ${root};
${lines}
  }
}
`);
  const nginx = spawn('/usr/sbin/nginx', ['-p', prefix, '-c', config, '-e', path.join(prefix, 'error.log')],
    { stdio: ['ignore', 'inherit', 'inherit'] });
  await h.waitForListener(port, 'nginx to listen', 10000);
  return { nginx, address: `http://127.0.0.1:${port}/index.html` };
}

test('on nginx with the help page\'s lines the page plays, the runtime comes compressed, and a return visit takes only the page', async () => {
  assert.ok(fs.existsSync('/usr/sbin/nginx'), 'nginx is missing: run scripts/setup');
  const { nginx, address: onNginx } = await startNginx(site, helpPageNginxLines());
  try {
    const first = await visit(onNginx);
    report('first visit on nginx', first);
    const runtime = first.filter((r) => new URL(r.url).pathname.startsWith('/ruffle/'));
    assert.ok(runtime.some((r) => r.url.endsWith('.wasm')), 'no WebAssembly was fetched');
    for (const r of runtime) assert.equal(r.encoding, 'br', `${r.url} came as ${r.encoding || 'identity'}`);

    const page = await context.newPage();
    await page.goto(onNginx);
    await h.assertPlays(page, 'the page on nginx');
    await page.close();

    const second = await visit(onNginx);
    const secondTotal = report('second visit on nginx', second);
    // The content-named files come from the cache without a question; the rest is asked
    // after and not sent again.
    for (const r of second.filter((r) => /[0-9a-f]{20}\.(wasm|js)$/.test(r.url)))
      assert.equal(r.bytes, 0, `${r.url} went over the wire again`);
    assert.ok(secondTotal < 64 * 1024, `the second visit took ${secondTotal} bytes`);
  } finally {
    nginx.kill('SIGTERM');
  }
});
