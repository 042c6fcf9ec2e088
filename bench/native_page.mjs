// The page the published page is measured against: the browser's own <video> player on the
// published MP4 twin, as native.html beside the published page.
import fs from 'node:fs';
import path from 'node:path';

// The browser's own player on the twin, at the published player's size, starting by itself
// as the published page does.
export function writeNativePage(site) {
  const html = fs.readFileSync(path.join(site, 'index.html'), 'utf8');
  const [, width, height] = /<object [^>]*width="(\d+)" height="(\d+)"/.exec(html);
  const [clip] = fs.readdirSync(site).filter((name) => name.endsWith('.mp4'));
  const poster = clip.replace(/\.mp4$/, '.jpg');
  fs.writeFileSync(path.join(site, 'native.html'), `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><meta name="viewport" content="width=device-width">
<title>native</title></head><body>
<video src="${clip}" poster="${poster}" width="${width}" height="${height}" controls autoplay playsinline></video>
</body></html>
`);
}
