#!/usr/bin/env bash
# The web's own audits of the published page: Lighthouse (pinned in bench/lighthouse/) with
# Debian's Chromium, mobile and desktop, on the published page and on the browser's own <video>
# player with the same clip, side by side: the four scores, FCP, LCP, TBT and the bytes.
#
#   bench/lighthouse.sh       (run scripts/build first)
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/reelwright/reelwright-batch ] || { echo "no build/reelwright/reelwright-batch: run scripts/build first" >&2; exit 1; }
if [ ! bench/lighthouse/node_modules/.package-lock.json -nt bench/lighthouse/package-lock.json ]; then
  (cd bench/lighthouse && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi
exec node bench/lighthouse.mjs
