// The playground's figures for docs/benchmarks.md: frames per second while
// the card animates, pointer-to-frame latency, idle CPU of the host.
//   node bench.js ORVANE_HOST
'use strict';

const fs = require('fs');
const h = require('./harness');

function cpuSeconds(pid) {
  const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
  return (Number(fields[11]) + Number(fields[12])) / 100;  // utime + stime, in clock ticks of 1/100 s
}

function percentile(values, p) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))];
}

(async () => {
  const { child, url } = await h.startHost(process.argv[2]);
  const browser = await h.openBrowser({ scale: 2 });
  const { page } = browser;
  const results = {};
  try {
    await page.goto(url);
    await page.waitForFunction(() => window.__play.frames > 0 && window.__play.snapshot.controls);
    await page.waitForTimeout(2000);

    // Idle: one browser connected, nobody moves.
    const idleStart = cpuSeconds(child.pid);
    await page.waitForTimeout(10000);
    results.idleCpuPercent = ((cpuSeconds(child.pid) - idleStart) / 10) * 100;

    // Pointer to frame: alternate between two strip buttons; each move's
    // latency ends with the first drawn frame that acknowledges it.
    const a = await h.stripButton(page, 'Safari'), b = await h.stripButton(page, '邮件');
    const pa = await h.pagePoint(page, a.x, a.y), pb = await h.pagePoint(page, b.x, b.y);
    await page.evaluate(() => { window.__play.latencies.length = 0; });
    for (let i = 0; i < 80; i++) {
      const p = i % 2 ? pa : pb;
      await page.mouse.move(p.x, p.y);
      await page.waitForTimeout(120);
    }
    await page.waitForTimeout(500);
    const latencies = await page.evaluate(() => window.__play.latencies.slice());
    results.pointerLatencyMs = { samples: latencies.length, p50: percentile(latencies, 0.5), p95: percentile(latencies, 0.95), max: Math.max(...latencies) };

    // The card animating: it opens on a button, then follows the pointer
    // from button to button; frames counted over the spell.
    const away = await h.pagePoint(page, 700, 500);
    await page.mouse.move(away.x, away.y);
    await page.waitForFunction(() => window.__play.snapshot.card === '');
    const notes = await h.stripButton(page, '备忘录');
    const pn = await h.pagePoint(page, notes.x, notes.y);
    await page.mouse.move(pn.x, pn.y);
    await page.waitForFunction(() => window.__play.snapshot.card !== '');
    const framesBefore = await page.evaluate(() => window.__play.frames);
    const started = Date.now();
    const intervals = await page.evaluate(() => { window.__play.frameTimes.length = 0; });
    for (let i = 0; i < 12; i++) {
      const p = [pa, pb, pn][i % 3];
      await page.mouse.move(p.x, p.y, { steps: 6 });
      await page.waitForTimeout(250);
    }
    const seconds = (Date.now() - started) / 1000;
    const framesAfter = await page.evaluate(() => window.__play.frames);
    results.cardFramesPerSecond = (framesAfter - framesBefore) / seconds;
    void intervals;
  } finally {
    await browser.close();
    await h.stopHost(child);
  }
  console.log(JSON.stringify(results, null, 2));
})().catch((error) => { console.error(error); process.exit(1); });
