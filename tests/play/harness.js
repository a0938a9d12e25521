// What the playground's browser tests and benchmark share: start
// orvane-host --serve on a free port, open Debian's Chromium through
// Playwright on a fresh profile, and find things on the simulated screen.
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');

const chromiumPath = process.env.ORVANE_CHROMIUM || '/usr/bin/chromium';
const chromiumFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// Starts the host; resolves with { child, url } once it prints the address.
function startHost(hostPath, extraArgs = []) {
  return new Promise((resolve, reject) => {
    const child = spawn(hostPath, ['--serve', '127.0.0.1:0', ...extraArgs], { stdio: ['ignore', 'pipe', 'inherit'] });
    let out = '';
    const timer = setTimeout(() => reject(new Error(`no address from orvane-host: ${out}`)), 20000);
    child.stdout.on('data', (chunk) => {
      out += chunk;
      const found = /play: open (http:\/\/\S+)/.exec(out);
      if (found) { clearTimeout(timer); resolve({ child, url: found[1] }); }
    });
    child.on('exit', (code) => { clearTimeout(timer); reject(new Error(`orvane-host exited ${code}: ${out}`)); });
  });
}

async function stopHost(child) {
  if (child.exitCode !== null) return child.exitCode;
  const exited = new Promise((resolve) => child.on('exit', (code) => resolve(code)));
  child.kill('SIGTERM');
  return exited;
}

async function openBrowser(options = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvane-play-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath, headless: true, args: chromiumFlags, ignoreDefaultArgs: ['--headless=new'],
    viewport: options.viewport || { width: 1600, height: 900 }, deviceScaleFactor: options.scale || 1,
    colorScheme: options.colorScheme || 'light',
    // Playwright's waitForFunction evaluates strings, which the page's own
    // Content-Security-Policy forbids; the policy is checked on its own.
    bypassCSP: true,
  });
  const page = context.pages()[0] || await context.newPage();
  return { context, page, close: async () => { await context.close(); fs.rmSync(profile, { recursive: true, force: true }); } };
}

// The page point over a screen point of the simulated Mac (origin top-left).
async function pagePoint(page, x, yTop) {
  return page.evaluate(([x, yTop]) => {
    const box = document.getElementById('screen').getBoundingClientRect();
    const screen = window.__play.system.screens[0].frame;
    return { x: box.left + (x / screen[2]) * box.width, y: box.top + (yTop / screen[3]) * box.height };
  }, [x, yTop]);
}

// The screen point (origin top-left) over the middle of the strip button
// whose label starts with prefix.
async function stripButton(page, prefix) {
  return page.evaluate((prefix) => {
    const { snapshot, system } = window.__play;
    const height = system.screens[0].frame[3];
    const control = snapshot.controls.find((c) => c.label.startsWith(prefix));
    if (!control) throw new Error(`no strip button ${prefix}: ${snapshot.controls.map((c) => c.label)}`);
    return { x: snapshot.frame.x + control.x + control.width / 2, y: height - (snapshot.frame.y + snapshot.frame.height / 2) };
  }, prefix);
}

// Keeps a copy of the canvas under a name, to compare regions with later.
async function keepPicture(page, name) {
  await page.evaluate((name) => {
    const canvas = document.getElementById('screen');
    window.__kept = window.__kept || {};
    window.__kept[name] = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
  }, name);
}

// The share of pixels (0..1) of a screen rectangle in points, top-left
// origin, that differ between the kept picture and the canvas now.
async function changedShare(page, name, rect) {
  return page.evaluate(([name, rect]) => {
    const canvas = document.getElementById('screen');
    const scale = canvas.width / window.__play.system.screens[0].frame[2];
    const x = Math.round(rect.x * scale), y = Math.round(rect.y * scale);
    const w = Math.round(rect.width * scale), h = Math.round(rect.height * scale);
    const now = canvas.getContext('2d').getImageData(x, y, w, h).data;
    const before = window.__kept[name];
    let changed = 0;
    for (let row = 0; row < h; row++)
      for (let col = 0; col < w; col++) {
        const a = ((y + row) * before.width + x + col) * 4, b = (row * w + col) * 4;
        if (Math.abs(before.data[a] - now[b]) + Math.abs(before.data[a + 1] - now[b + 1]) + Math.abs(before.data[a + 2] - now[b + 2]) > 24) changed++;
      }
    return changed / (w * h);
  }, [name, rect]);
}

// Polls the share of rect changed since the kept picture until it exceeds
// least or timeout passes (however long this machine takes to draw); resolves
// with the last share.
async function changedBeyond(page, name, rect, least, timeout = 8000) {
  let share = 0;
  for (const started = Date.now(); Date.now() - started < timeout && share <= least; await page.waitForTimeout(100))
    share = await changedShare(page, name, rect);
  return share;
}

// Resolves once the canvas shows a frame drawn after the host took every
// input sent so far; the input must change the picture (a pointer move, a
// focus ring, a caret), or no frame acknowledges it.
async function caughtUp(page, timeout = 15000) {
  const sent = await page.evaluate(() => window.__play.sent);
  await page.waitForFunction((sent) => window.__play.acknowledged >= sent, sent, { timeout, polling: 50 });
}

module.exports = { startHost, stopHost, openBrowser, pagePoint, stripButton, keepPicture, changedShare, changedBeyond, caughtUp };
