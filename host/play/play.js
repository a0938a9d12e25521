// The playground's page: draws the frames the host sends, hands the pointer,
// the wheel and the keyboard to the simulated Mac, and offers the host's
// commands and the simulated system's verbs as controls. Everything it does
// is a line orvane-host would also take on its standard input.
'use strict';

const $ = (id) => document.getElementById(id);
const canvas = $('screen');
const context = canvas.getContext('2d', { alpha: false });

// What tests and benchmarks read.
const play = window.__play = {
  connected: false, frames: 0, frameTimes: [], latencies: [], snapshot: {}, system: {}, events: [],
  replies: [], configuration: {}, captures: [],
  // The last input sent, and the last input a drawn frame had seen.
  sent: 0, acknowledged: 0,
};

let socket = null;
let nextId = 1;
let nextSeq = 1;
const pendingMoves = new Map();  // seq -> time sent
let drawing = Promise.resolve();

function send(message) {
  if (!socket || socket.readyState !== WebSocket.OPEN) return;
  socket.send(JSON.stringify(message));
  if (message.seq) play.sent = message.seq;
}

function sendLine(line) {
  const id = nextId++;
  send({ t: 'line', line, id });
  return id;
}
play.sendLine = sendLine;

// ---- frames ---------------------------------------------------------------

function u16(view, at) { return view.getUint16(at, true); }
function u32(view, at) { return view.getUint32(at, true); }

function onFrame(buffer) {
  const view = new DataView(buffer);
  if (view.getUint8(0) !== 1) return;
  const count = u16(view, 2), sequence = u32(view, 4), ack = u32(view, 8);
  const width = u16(view, 12), height = u16(view, 14);
  const parts = [];
  let at = 16;
  for (let i = 0; i < count; i++) {
    const x = u16(view, at), y = u16(view, at + 2), length = u32(view, at + 8);
    const blob = new Blob([new Uint8Array(buffer, at + 12, length)], { type: 'image/png' });
    parts.push(createImageBitmap(blob).then((bitmap) => ({ x, y, bitmap })));
    at += 12 + length;
  }
  // Decoded in parallel, drawn in order, all parts of a frame at once.
  drawing = drawing.then(() => Promise.all(parts)).then((decoded) => {
    if (canvas.width !== width || canvas.height !== height) { canvas.width = width; canvas.height = height; }
    for (const { x, y, bitmap } of decoded) { context.drawImage(bitmap, x, y); bitmap.close(); }
    const now = performance.now();
    play.frames++;
    play.lastSequence = sequence;
    play.acknowledged = Math.max(play.acknowledged, ack);
    play.frameTimes.push(now);
    if (play.frameTimes.length > 600) play.frameTimes.shift();
    for (const [seq, sent] of pendingMoves) {
      if (seq <= ack) { play.latencies.push(now - sent); pendingMoves.delete(seq); }
    }
    if (play.latencies.length > 1000) play.latencies.shift();
  }).catch(() => {});
}

setInterval(() => {
  const now = performance.now();
  const recent = play.frameTimes.filter((t) => now - t < 1000).length;
  $('fps').textContent = `${recent} fps`;
  const last = play.latencies.slice(-20).sort((a, b) => a - b);
  $('latency').textContent = last.length ? `pointer → frame ${Math.round(last[Math.floor(last.length / 2)])} ms` : '';
  for (const [seq, sent] of pendingMoves) if (now - sent > 5000) pendingMoves.delete(seq);
}, 500);

// ---- input ------------------------------------------------------------------

function screenPoints() {
  const screen = (play.system.screens || [])[0];
  if (screen) return { width: screen.frame[2], height: screen.frame[3] };
  return { width: canvas.width / 2, height: canvas.height / 2 };
}

function pointOf(event) {
  const box = canvas.getBoundingClientRect();
  const size = screenPoints();
  const x = Math.max(0, Math.min(size.width, (event.clientX - box.left) / box.width * size.width));
  const y = Math.max(0, Math.min(size.height, (event.clientY - box.top) / box.height * size.height));
  return { x: Math.round(x * 2) / 2, y: Math.round(y * 2) / 2 };
}

function sendMove(point) {
  const seq = nextSeq++;
  pendingMoves.set(seq, performance.now());
  send({ t: 'move', seq, ...point });
  return seq;
}
play.sendMove = sendMove;

canvas.addEventListener('mousemove', (event) => sendMove(pointOf(event)));
canvas.addEventListener('click', (event) => {
  canvas.focus();
  send({ t: 'click', button: 0, seq: nextSeq++, ...pointOf(event) });
});
canvas.addEventListener('contextmenu', (event) => {
  event.preventDefault();
  send({ t: 'click', button: 2, seq: nextSeq++, ...pointOf(event) });
});
let wheel = null;
canvas.addEventListener('wheel', (event) => {
  event.preventDefault();
  const scale = event.deltaMode === 1 ? 16 : event.deltaMode === 2 ? 400 : 1;
  if (!wheel) {
    wheel = { dx: 0, dy: 0 };
    requestAnimationFrame(() => { send({ t: 'wheel', seq: nextSeq++, dx: wheel.dx, dy: wheel.dy }); wheel = null; });
  }
  wheel.dx += event.deltaX * scale;
  wheel.dy += event.deltaY * scale;
}, { passive: false });
canvas.addEventListener('keydown', (event) => {
  if (event.ctrlKey || event.metaKey || event.altKey) return;
  if (event.key === 'Escape' || event.key === 'Backspace') {
    send({ t: 'key', key: event.key, seq: nextSeq++ });
    event.preventDefault();
    return;
  }
  if (event.key.length === 1) { send({ t: 'type', text: event.key, seq: nextSeq++ }); event.preventDefault(); }
});

// ---- the side panel ---------------------------------------------------------

document.querySelectorAll('.tabs button').forEach((tab) => tab.addEventListener('click', () => {
  document.querySelectorAll('.tabs button').forEach((t) => t.classList.toggle('on', t === tab));
  document.querySelectorAll('.pane').forEach((p) => p.classList.toggle('on', p.id === `pane-${tab.dataset.tab}`));
}));

document.querySelectorAll('[data-line]').forEach((button) => button.addEventListener('click', () => {
  sendLine(button.dataset.line);
  if (button.dataset.then) sendLine(button.dataset.then);
}));

function selectedApp() { return $('app').value; }
$('launch').addEventListener('click', () => sendLine(`!launch ${selectedApp()}`));
$('quit').addEventListener('click', () => sendLine(`!quit ${selectedApp()}`));
let windowsOpened = 0;
$('openWindow').addEventListener('click', () => {
  const n = ++windowsOpened;
  const frame = [160 + 30 * (n % 8), 200 + 20 * (n % 8), 720, 460];
  sendLine(`!window open ${selectedApp()} ${JSON.stringify({ title: `Window ${n}`, frame })}`);
});
function appearance(dark) {
  sendLine(`!appearance ${dark ? 'dark' : 'light'}`);
  sendLine(JSON.stringify({ command: 'appearance', args: { dark } }));
}
$('light').addEventListener('click', () => appearance(false));
$('dark').addEventListener('click', () => appearance(true));
const mainScreen = { frame: [0, 0, 1512, 982], backingScale: 2 };
$('oneScreen').addEventListener('click', () => sendLine(`!screens ${JSON.stringify([mainScreen])}`));
$('secondScreen').addEventListener('click', () =>
  sendLine(`!screens ${JSON.stringify([mainScreen, { frame: [1512, 0, 1920, 1080], backingScale: 1 }])}`));
$('notch').addEventListener('click', () => sendLine(`!screens ${JSON.stringify([{ ...mainScreen, safeAreaTop: 32 }])}`));
$('keepHidden').addEventListener('change', (event) => {
  const args = { ...play.configuration, dockPersistent: event.target.checked };
  sendLine(JSON.stringify({ command: 'configure', args }));
});
$('reduceMotion').addEventListener('change', (event) => sendLine(`!motion ${event.target.checked ? 'reduced' : 'full'}`));
$('capture').addEventListener('click', () => send({ t: 'capture' }));
$('lineForm').addEventListener('submit', (event) => {
  event.preventDefault();
  const line = $('lineInput').value.trim();
  if (line) sendLine(line);
});

function pill(id, yes, text) {
  const element = $(id);
  element.textContent = text;
  element.classList.toggle('yes', !!yes);
  element.classList.toggle('no', !yes);
}

function showSystem(system) {
  play.system = system;
  showMenu(system.menu);
  const granted = system.screenCapture || {};
  pill('screenState', granted.recording ?? granted.granted ?? play.snapshot.screenCapture,
    (granted.recording ?? granted.granted ?? play.snapshot.screenCapture) ? 'granted' : 'not granted');
  pill('axState', (system.accessibility || {}).trusted, (system.accessibility || {}).trusted ? 'trusted' : 'not trusted');
  pill('appearanceState', true, system.appearance || '?');
  $('reduceMotion').checked = !!system.reduceMotion;
  const select = $('app');
  const current = select.value;
  const apps = new Map();
  for (const app of system.running || []) if (app.activationPolicy === 'regular' && !app.host) apps.set(app.bundleId, `${app.name} · running`);
  for (const id of system.known || []) if (!apps.has(id)) apps.set(id, id.replace(/^com\.[a-z]+\./, ''));
  const options = [...apps].map(([id, name]) => `${id}\u0000${name}`).join('|');
  if (select.dataset.options !== options) {
    select.dataset.options = options;
    select.replaceChildren(...[...apps].map(([id, name]) => new Option(name, id)));
    if (apps.has(current)) select.value = current;
  }
}

// A click in the picture while a menu is open only closes it (as the verb
// says), so the open menu's items are offered as buttons that !choose them.
function showMenu(menu) {
  const bar = $('menuBar');
  const items = (menu && menu.items) || [];
  const key = JSON.stringify(items.map((item) => [item.title, item.enabled]));
  bar.hidden = !menu;
  if (bar.dataset.key === key) return;
  bar.dataset.key = key;
  $('menuItems').replaceChildren(...items.filter((item) => !item.separator).map((item) => {
    const button = document.createElement('button');
    button.textContent = item.title;
    button.disabled = !item.enabled;
    button.addEventListener('click', () => sendLine(`!choose ${item.title}`));
    return button;
  }));
}

function showSnapshot(data) {
  play.snapshot = data;
  $('snapshot').textContent = JSON.stringify(data, null, 2);
  pill('dockState', data.dockStatus && data.dockStatus !== '未开启', data.dockStatus || '?');
  if (play.system.screenCapture === undefined)
    pill('screenState', data.screenCapture, data.screenCapture ? 'granted' : 'not granted');
}

function clock(seconds) {
  const s = Math.floor(seconds);
  return `${Math.floor(s / 60)}:${String(s % 60).padStart(2, '0')}.${Math.floor((seconds - s) * 10)}`;
}

function logEntry(kind, at, detail, className) {
  const item = document.createElement('li');
  item.className = `fresh ${className || ''}`;
  const when = document.createElement('span');
  when.className = 'at';
  when.textContent = clock(at);
  const what = document.createElement('span');
  what.className = 'kind';
  what.textContent = kind;
  item.append(when, what);
  if (detail) {
    const pre = document.createElement('pre');
    pre.textContent = detail;
    item.append(pre);
  }
  const list = $('events');
  list.prepend(item);
  while (list.children.length > 300) list.lastChild.remove();
}

function onText(message) {
  switch (message.t) {
    case 'snapshot': showSnapshot(message.data); break;
    case 'system': showSystem(message); break;
    case 'configuration':
      play.configuration = message.data;
      $('keepHidden').checked = !!message.data.dockPersistent;
      break;
    case 'event': {
      play.events.push(message.event);
      const { kind, ...rest } = message.event;
      logEntry(kind, message.at, Object.keys(rest).length ? JSON.stringify(rest) : '');
      $('eventCount').textContent = play.events.length;
      break;
    }
    case 'reply':
      play.replies.push(message);
      $('lastReply').textContent = `${message.line}\n→ ${JSON.stringify(message.reply)}`;
      if (message.reply && message.reply.ok === false)
        logEntry('refused', performance.now() / 1000, `${message.line}\n${message.reply.error}`, 'reply');
      break;
    case 'typed':
      play.typed = message;
      if (message.reply && message.reply.ok === false) $('lastReply').textContent = `typing: ${message.reply.error}`;
      break;
    case 'captured': {
      play.captures = message.files;
      $('captures').replaceChildren(...message.files.map((name) => {
        const link = document.createElement('a');
        link.href = `/capture/${encodeURIComponent(name)}`;
        link.download = `orvane-${name}`;
        link.textContent = name.replace(/^\d+-/, '');
        return link;
      }));
      break;
    }
    default: break;
  }
}

function connect() {
  socket = new WebSocket(`${location.protocol === 'https:' ? 'wss' : 'ws'}://${location.host}/socket`);
  socket.binaryType = 'arraybuffer';
  socket.onopen = () => {
    play.connected = true;
    $('link').textContent = 'live';
    $('link').className = 'link on';
  };
  socket.onmessage = (event) => {
    if (typeof event.data === 'string') onText(JSON.parse(event.data));
    else onFrame(event.data);
  };
  socket.onclose = () => {
    play.connected = false;
    $('link').textContent = 'reconnecting';
    $('link').className = 'link off';
    setTimeout(connect, 1000);
  };
}
connect();
