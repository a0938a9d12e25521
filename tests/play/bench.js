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

    // The card animating on its own: each step to another window slides its
    // window's picture in over 0.22 s. The frames of one slide arrive close
    // together and the next step starts another; a spell is a run of frames
    // less than 80 ms apart, and its rate is the slide as the page showed it.
    await page.mouse.move(pn.x, pn.y);
    await page.waitForFunction(() => window.__play.snapshot.card === 'com.apple.Notes' && window.__play.snapshot.preview.status === 'live');
    await page.waitForTimeout(1000);
    await page.evaluate(() => { window.__play.frameTimes.length = 0; });
    for (let i = 0; i < 20; i++) {
      // The command the page's "Next window" button sends, sent without moving
      // the browser's pointer off the card.
      // Notes has two windows and the card does not wrap, so it steps there and back.
      const step = i % 2 ? -1 : 1;
      await page.evaluate((step) => window.__play.sendLine(`{"command":"previewStep","args":{"step":${step}}}`), step);
      await page.waitForTimeout(400);
    }
    const times = await page.evaluate(() => window.__play.frameTimes.slice());
    const spells = [];
    let spell = [times[0]];
    for (let i = 1; i < times.length; i++) {
      if (times[i] - times[i - 1] < 80) spell.push(times[i]);
      else { spells.push(spell); spell = [times[i]]; }
    }
    spells.push(spell);
    const rates = spells.filter((s) => s.length >= 3).map((s) => (s.length - 1) / ((s[s.length - 1] - s[0]) / 1000));
    const gaps = spells.flatMap((s) => s.slice(1).map((t, i) => t - s[i]));
    results.slideFramesPerSecond = {
      spells: rates.length, min: Math.min(...rates), p50: percentile(rates, 0.5),
      frameGapMs: { p50: percentile(gaps, 0.5), p95: percentile(gaps, 0.95), max: Math.max(...gaps) },
    };
  } finally {
    await browser.close();
    await h.stopHost(child);
  }
  console.log(JSON.stringify(results, null, 2));
})().catch((error) => { console.error(error); process.exit(1); });
