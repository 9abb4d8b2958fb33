// The live page: paints the frames the game sends and sends the viewer's keys and clicks back.
'use strict';

const screen = document.getElementById('screen');
const ctx = screen.getContext('2d');
const mapCanvas = document.getElementById('map');
const mapCtx = mapCanvas.getContext('2d');
let last = null;
let milestonesSeen = 0;
let logSeen = 0;
const view = { x: 0, y: 0, metresPerPixel: 2, follow: true };

function post(message) {
  return fetch('/input', { method: 'POST', body: JSON.stringify(message),
                           headers: { 'Content-Type': 'application/json' } }).catch(() => {});
}

function rgba(c) {
  return `rgba(${Math.round(c[0] * 255)},${Math.round(c[1] * 255)},${Math.round(c[2] * 255)},${c[3]})`;
}

function font(item) {
  return `${item.bold ? 'bold ' : ''}${item.size}px ${item.serif ? '"DejaVu Serif", serif' : '"DejaVu Sans", sans-serif'}`;
}

// Paints one draw item exactly as the screenshots' painter does.
function paintItem(item, w, h) {
  switch (item.k) {
    case 'gradient': {
      const g = ctx.createLinearGradient(0, 0, 0, h);
      g.addColorStop(0, rgba(item.fill));
      g.addColorStop(1, rgba(item.stroke));
      ctx.fillStyle = g;
      ctx.fillRect(0, 0, w, h);
      break;
    }
    case 'line':
      ctx.beginPath();
      ctx.moveTo(item.x, item.y);
      ctx.lineTo(item.x + (item.w || 0), item.y + (item.h || 0));
      ctx.strokeStyle = rgba(item.stroke);
      ctx.lineWidth = item.strokeWidth;
      ctx.stroke();
      break;
    case 'wash':
      ctx.fillStyle = rgba(item.fill);
      ctx.fillRect(0, 0, w, h);
      break;
    case 'box':
      ctx.translate(item.x, item.y);
      ctx.rotate((item.rotation || 0) * Math.PI / 180);
      ctx.beginPath();
      ctx.rect(-item.w / 2, -item.h / 2, item.w, item.h);
      ctx.fillStyle = rgba(item.fill);
      ctx.fill();
      ctx.strokeStyle = rgba(item.stroke);
      ctx.lineWidth = item.strokeWidth;
      ctx.stroke();
      if (item.text) {
        ctx.clip();
        ctx.font = font(item);
        ctx.fillStyle = rgba(item.ink);
        ctx.textBaseline = 'top';
        ctx.fillText(item.text, -item.w / 2 + 3 * h / 1080, -item.h / 2 + 2 * h / 1080);
      }
      break;
    case 'roundbox':
      ctx.beginPath();
      if (item.radius) ctx.roundRect(item.x, item.y, item.w, item.h, item.radius);
      else ctx.rect(item.x, item.y, item.w, item.h);
      ctx.fillStyle = rgba(item.fill);
      ctx.fill();
      if (item.stroke) {
        ctx.strokeStyle = rgba(item.stroke);
        ctx.lineWidth = item.strokeWidth;
        ctx.stroke();
      }
      break;
    case 'band': {
      const g = ctx.createLinearGradient(0, 0, w, 0);
      const c = item.fill;
      g.addColorStop(0, rgba([c[0], c[1], c[2], 0]));
      g.addColorStop(0.25, rgba(c));
      g.addColorStop(0.75, rgba(c));
      g.addColorStop(1, rgba([c[0], c[1], c[2], 0]));
      ctx.fillStyle = g;
      ctx.fillRect(0, item.y, w, item.h);
      break;
    }
    case 'text':
      ctx.font = font(item);
      ctx.textBaseline = 'alphabetic';
      if (item.stroke) {
        ctx.strokeStyle = rgba(item.stroke);
        ctx.lineWidth = item.strokeWidth;
        ctx.lineJoin = 'round';
        ctx.strokeText(item.text, item.x, item.y);
      }
      ctx.fillStyle = rgba(item.fill);
      ctx.fillText(item.text, item.x, item.y);
      break;
  }
}

function paintScreen(drawing) {
  screen.width = drawing.width;
  screen.height = drawing.height;
  for (const item of drawing.items) {
    ctx.save();
    if (item.scaleX) {
      ctx.translate(item.originX, 0);
      ctx.scale(item.scaleX, 1);
      ctx.translate(-item.originX, 0);
    }
    paintItem(item, drawing.width, drawing.height);
    ctx.restore();
  }
}

function toScreen(x, y) {
  return [mapCanvas.width / 2 + (x - view.x) / view.metresPerPixel,
          mapCanvas.height / 2 - (y - view.y) / view.metresPerPixel];
}

function paintMap(map) {
  if (view.follow) { view.x = map.player.x; view.y = map.player.y; }
  const m = mapCtx, W = mapCanvas.width, H = mapCanvas.height;
  m.fillStyle = '#101215';
  m.fillRect(0, 0, W, H);
  // A grid of world coordinates, its spacing a round number of metres.
  const step = [10, 25, 50, 100, 250, 500, 1000, 2500].find(s => s / view.metresPerPixel >= 60) || 5000;
  m.strokeStyle = '#22262e'; m.fillStyle = '#556'; m.font = '10px sans-serif'; m.lineWidth = 1;
  const x0 = view.x - W / 2 * view.metresPerPixel, y0 = view.y - H / 2 * view.metresPerPixel;
  for (let gx = Math.ceil(x0 / step) * step; gx < x0 + W * view.metresPerPixel; gx += step) {
    const [sx] = toScreen(gx, 0);
    m.beginPath(); m.moveTo(sx, 0); m.lineTo(sx, H); m.stroke(); m.fillText(gx, sx + 2, H - 4);
  }
  for (let gy = Math.ceil(y0 / step) * step; gy < y0 + H * view.metresPerPixel; gy += step) {
    const [, sy] = toScreen(0, gy);
    m.beginPath(); m.moveTo(0, sy); m.lineTo(W, sy); m.stroke(); m.fillText(gy, 2, sy - 2);
  }
  const dot = (x, y, r, colour) => {
    const [sx, sy] = toScreen(x, y);
    m.fillStyle = colour; m.beginPath(); m.arc(sx, sy, r, 0, 2 * Math.PI); m.fill();
    return [sx, sy];
  };
  for (const p of map.places) {
    const [sx, sy] = dot(p.x, p.y, 3, '#8a8f99');
    m.fillStyle = '#aab'; m.fillText(p.name, sx + 5, sy + 3);
  }
  for (const b of map.blips) {
    const [sx, sy] = toScreen(b.x, b.y);
    // Out of view: pinned to the edge towards it, with its distance, so the way is never lost.
    if (sx < 6 || sx > W - 6 || sy < 6 || sy > H - 6) {
      const [px, py] = toScreen(map.player.x, map.player.y);
      const dx = sx - px, dy = sy - py;
      const t = Math.min(dx ? (dx > 0 ? W - 8 - px : 8 - px) / dx : Infinity,
                         dy ? (dy > 0 ? H - 8 - py : 8 - py) / dy : Infinity);
      const ex = px + dx * t, ey = py + dy * t;
      m.fillStyle = '#e6b64a'; m.beginPath(); m.arc(ex, ey, 6, 0, 2 * Math.PI); m.fill();
      const label = `${b.name || 'blip'} ${distance(Math.hypot(b.x - map.player.x, b.y - map.player.y))}`;
      m.fillStyle = '#fe9';
      m.fillText(label, Math.min(Math.max(ex - m.measureText(label).width / 2, 2), W - m.measureText(label).width - 2),
                 ey > H / 2 ? ey - 10 : ey + 18);
      continue;
    }
    if (b.kind === 'radius' && b.radius) {
      m.strokeStyle = '#e6b64a'; m.beginPath();
      m.arc(sx, sy, b.radius / view.metresPerPixel, 0, 2 * Math.PI); m.stroke();
    }
    m.fillStyle = b.kind === 'route' ? '#f0d070' : '#e6b64a';
    m.fillRect(sx - 4, sy - 4, 8, 8);
    if (b.name) { m.fillStyle = '#fe9'; m.fillText(b.name, sx + 6, sy - 4); }
  }
  const sides = { hostile: '#e04040', gang: '#d07030', neutral: '#9aa' };
  for (const p of map.peds) {
    const [sx, sy] = dot(p.x, p.y, 3, sides[p.side] || '#9aa');
    if (p.state !== 'up') { m.fillStyle = '#fff'; m.fillText(p.state === 'dead' ? 'x' : 'v', sx + 4, sy); }
  }
  for (const v of map.vehicles) {
    const [sx, sy] = toScreen(v.x, v.y);
    m.strokeStyle = '#6ab0ff'; m.strokeRect(sx - 5, sy - 3, 10, 6);
  }
  for (const o of map.objects) {
    const [sx, sy] = toScreen(o.x, o.y);
    m.fillStyle = '#c9a0ff'; m.fillRect(sx - 2, sy - 2, 4, 4);
  }
  if (map.camera) {
    const [sx, sy] = toScreen(map.camera.x, map.camera.y);
    m.strokeStyle = '#7f7'; m.strokeRect(sx - 4, sy - 4, 8, 8);
    m.fillStyle = '#7f7'; m.fillText('camera', sx + 6, sy + 3);
  }
  // The player: a triangle pointing along the heading (0 faces north, turning anticlockwise).
  const [px, py] = toScreen(map.player.x, map.player.y);
  const a = map.player.heading * Math.PI / 180;
  m.save(); m.translate(px, py); m.rotate(-a);
  m.fillStyle = '#fff'; m.beginPath(); m.moveTo(0, -9); m.lineTo(6, 6); m.lineTo(-6, 6); m.closePath(); m.fill();
  m.restore();
}

function text(el, value) { el.textContent = value; }

function distance(metres) {
  return metres >= 1000 ? `${(metres / 1000).toFixed(1)} km` : `${Math.round(metres)} m`;
}

// Blips first, then the campaign's places, each with its distance; a click goes there as a click
// on the map does.
function showPlaces(map) {
  const list = document.getElementById('places');
  // A blip at one of the campaign's places also says which, as the guidance line calls it so.
  const at = b => map.places.find(p => Math.hypot(p.x - b.x, p.y - b.y) < 30);
  // An unnamed blip on a ped says whose, so the list reads "blip (hostile ped)", not "blip".
  const on = b => map.peds.find(q => Math.hypot(q.x - b.x, q.y - b.y) < 3);
  const blipName = b => (b.name || 'blip') +
      (at(b) ? ` (${at(b).name})` : !b.name && on(b) ? ` (${on(b).side} ped)` : '');
  const rows = [...map.blips.map(b => ({ name: blipName(b), x: b.x, y: b.y, blip: true })),
                ...map.places.map(p => ({ name: p.name, x: p.x, y: p.y, blip: false }))];
  const shown = rows.map(r => `${r.name} ${distance(Math.hypot(r.x - map.player.x, r.y - map.player.y))}`);
  if (list.children.length === rows.length &&
      shown.every((t, i) => list.children[i].textContent === t)) return;
  list.replaceChildren(...rows.map((r, i) => {
    const li = document.createElement('li');
    li.textContent = shown[i];
    if (r.blip) li.className = 'blip';
    li.title = 'click: go there, shift-click: at once';
    li.onclick = e => post({ type: e.shiftKey ? 'teleport' : 'walk', x: r.x, y: r.y });
    return li;
  }));
}

function appendLines(list, lines, total, seen) {
  const el = document.getElementById(list);
  const first = total - lines.length;
  for (let i = Math.max(seen, first); i < total; i++) {
    const li = document.createElement('li');
    li.textContent = lines[i - first];
    el.appendChild(li);
  }
  while (el.children.length > 500) el.removeChild(el.firstChild);
  if (total > seen) el.scrollTop = el.scrollHeight;
  return total;
}

function showPanels(f) {
  text(document.getElementById('status'),
       `frame ${f.frame}  |  ${(f.timeMs / 1000).toFixed(1)} s  |  ${f.paused ? 'paused' : f.speed + 'x'}` +
       (f.playing ? `  |  the scripted player plays ${f.playing}` : '') + `  |  from ${f.start}`);
  text(document.getElementById('guide'), f.guide);
  document.getElementById('pause').textContent = f.paused ? 'Resume' : 'Pause';
  text(document.getElementById('build'), f.build.fileTime
    ? `build ${f.build.id} of ${new Date(f.build.fileTime * 1000).toLocaleTimeString()}`
    : `build ${f.build.id}`);
  document.getElementById('playForMe').textContent =
    f.playing ? 'Take the keys back' : `Play for me: ${f.next}`;
  text(document.getElementById('played'), f.playing ? `playing ${f.playing}`
    : f.finished ? `finished ${f.finished}; next: ${f.next}` : '');
  showTimeline(f);
  const fault = document.getElementById('fault');
  fault.hidden = !f.fault;
  text(fault, f.fault ? 'Fault: ' + f.fault : '');
  milestonesSeen = appendLines('milestones', f.milestones.lines, f.milestones.total, milestonesSeen);
  logSeen = appendLines('log', f.log.lines, f.log.total, logSeen);

  const legend = document.getElementById('legend');
  if (!legend.children.length) {
    for (const k of f.keys) {
      const tr = legend.insertRow();
      tr.insertCell().textContent = k.key;
      tr.insertCell().textContent = k.controls.join(', ');
    }
    for (const [k, what] of [['W/A/S/D', 'walk and turn'], ['Shift', 'run'], ['F', 'knock down'],
                             ['X', 'kill'], ['L', 'loot'], ['B', 'pick up'], ['N', 'put down'],
                             ['V', 'enter or leave a vehicle'], ['1', 'draw a weapon']]) {
      const tr = legend.insertRow();
      tr.insertCell().textContent = k;
      tr.insertCell().textContent = what;
    }
  }
  const bound = new Set(f.keys.flatMap(k => k.controls));
  const asked = document.getElementById('asked');
  asked.replaceChildren(...f.asked.map(name => {
    const s = document.createElement('span');
    s.textContent = name;
    if (bound.has(name)) s.className = 'bound';
    return s;
  }));

  const stats = document.getElementById('stats');
  stats.replaceChildren();
  for (const [name, value] of [['character', f.stats.character],
                               ['money', '$' + f.stats.money.toFixed(2)],
                               ['health', f.stats.health],
                               ['rank', f.stats.rank], ['XP', f.stats.xp],
                               ['skill points', f.stats.skillPoints], ['story progress', f.stats.progress]]) {
    const tr = stats.insertRow();
    tr.insertCell().textContent = name;
    tr.insertCell().textContent = value === '' ? '-' : value;
  }

  const save = document.getElementById('save');
  save.replaceChildren();
  let section = null;
  for (const e of f.save) {
    if (e.section !== section) {
      section = e.section;
      save.appendChild(document.createTextNode(`[${section}]\n`));
    }
    const line = document.createElement('span');
    line.textContent = `${e.key}=${e.value}\n`;
    // Changed in the last ten seconds of game time.
    if (e.changed >= 0 && f.frame - e.changed < 300) line.className = 'changed';
    save.appendChild(line);
  }

  text(document.getElementById('callCount'), f.calls.count);
  const filter = document.getElementById('callFilter').value.toLowerCase();
  const calls = document.getElementById('calls');
  calls.replaceChildren(...f.calls.lines.filter(l => !filter || l.toLowerCase().includes(filter))
    .map(l => { const li = document.createElement('li'); li.textContent = l; return li; }));
}

// The timeline runs from frame 0 to now; while the viewer holds it, it shows the frame it would
// go back to, and letting go rewinds there (the game replays the session to that frame).
const timeline = document.getElementById('timeline');
let scrubbing = false;
function showTimeline(f) {
  text(document.getElementById('progress'), f.progress || f.replayed);
  timeline.disabled = !f.recorded;
  document.getElementById('download').hidden = !f.recorded;
  if (scrubbing) return;
  timeline.max = f.frame;
  timeline.value = f.frame;
  text(document.getElementById('timelineFrame'), f.frame);
}
timeline.addEventListener('pointerdown', () => { scrubbing = true; });
timeline.addEventListener('pointerup', () => setTimeout(() => { scrubbing = false; }, 200));
timeline.addEventListener('input', () => {
  scrubbing = true;
  text(document.getElementById('timelineFrame'), timeline.value);
});
timeline.addEventListener('change', () => {
  scrubbing = false;
  const frame = Number(timeline.value);
  if (last && frame < last.frame) post({ type: 'rewind', frame });
  // The keys go back to the game: an arrow on the timeline would rewind again.
  screen.focus();
});

// A refused stream (too many viewers) or a dropped one is opened again by the page itself, after
// a back-off that grows from half a second to four while the game does not answer.
let backOffMs = 500;
function connect() {
  const events = new EventSource('/events');
  events.onopen = () => {
    backOffMs = 500;
    text(document.getElementById('status'), 'connected');
  };
  events.onmessage = (e) => {
    const previous = last;
    last = JSON.parse(e.data);
    // A frame before the last one is a new game (a restart, or a rewind replaying from the
    // start): the milestones and the log it has are its own.
    if (previous && last.frame < previous.frame) {
      for (const list of ['milestones', 'log']) document.getElementById(list).replaceChildren();
      milestonesSeen = logSeen = 0;
    }
    paintScreen(last.screen);
    paintMap(last.map);
    showPlaces(last.map);
    showPanels(last);
  };
  events.onerror = () => {
    events.close();
    text(document.getElementById('status'), 'reconnecting...');
    setTimeout(connect, backOffMs);
    backOffMs = Math.min(backOffMs * 2, 4000);
  };
}

const held = new Set();
function onKey(e, down) {
  if (e.target.tagName === 'INPUT' || e.target.tagName === 'SELECT') return;
  if (down && e.repeat) { e.preventDefault(); return; }
  // The keypad's Enter accepts as the main one does.
  const code = e.code === 'NumpadEnter' ? 'Enter' : e.code;
  if (down) held.add(code); else held.delete(code);
  post({ type: 'key', key: code, down });
  e.preventDefault();
}
document.addEventListener('keydown', e => onKey(e, true));
document.addEventListener('keyup', e => onKey(e, false));
window.addEventListener('blur', () => {
  for (const code of held) post({ type: 'key', key: code, down: false });
  held.clear();
});

document.getElementById('pause').onclick = () => post({ type: last && last.paused ? 'resume' : 'pause' });
document.getElementById('step').onclick = () => post({ type: 'step' });
document.getElementById('speed').onchange = e => post({ type: 'speed', speed: Number(e.target.value) });
document.getElementById('playForMe').onclick = () => post({ type: 'playForMe', on: !(last && last.playing) });
document.getElementById('restart').onclick = () => {
  const from = document.getElementById('restartFrom').value;
  post({ type: 'restart', scenario: from });
};
document.getElementById('reload').onclick = () => post({ type: 'reload' });
document.getElementById('reloadReplay').onclick = () => post({ type: 'reloadAndReplay' });
document.getElementById('follow').onchange = e => { view.follow = e.target.checked; };
mapCanvas.addEventListener('wheel', e => {
  e.preventDefault();
  view.metresPerPixel = Math.min(50, Math.max(0.1, view.metresPerPixel * (e.deltaY > 0 ? 1.25 : 0.8)));
  if (last) paintMap(last.map);
});
let drag = null;
mapCanvas.addEventListener('mousedown', e => { drag = { x: e.clientX, y: e.clientY, moved: false }; });
mapCanvas.addEventListener('mousemove', e => {
  if (!drag) return;
  const scale = mapCanvas.width / mapCanvas.clientWidth;
  const dx = (e.clientX - drag.x) * scale, dy = (e.clientY - drag.y) * scale;
  if (Math.abs(dx) + Math.abs(dy) > 3) {
    drag.moved = true;
    view.follow = false;
    document.getElementById('follow').checked = false;
    view.x -= dx * view.metresPerPixel;
    view.y += dy * view.metresPerPixel;
    drag.x = e.clientX; drag.y = e.clientY;
    if (last) paintMap(last.map);
  }
});
mapCanvas.addEventListener('mouseup', e => {
  const moved = drag && drag.moved;
  drag = null;
  if (moved) return;
  const r = mapCanvas.getBoundingClientRect();
  const scale = mapCanvas.width / r.width;
  const sx = (e.clientX - r.left) * scale, sy = (e.clientY - r.top) * scale;
  let x = view.x + (sx - mapCanvas.width / 2) * view.metresPerPixel;
  let y = view.y - (sy - mapCanvas.height / 2) * view.metresPerPixel;
  // A click on a labelled place or a blip goes exactly there: prompts wait within a metre of
  // their point, closer than a pixel of a zoomed-out map.
  if (last) {
    let best = 8;
    for (const p of [...last.map.places, ...last.map.blips]) {
      const [px, py] = toScreen(p.x, p.y);
      const d = Math.hypot(px - sx, py - sy);
      if (d <= best) { best = d; x = p.x; y = p.y; }
    }
  }
  post({ type: e.shiftKey ? 'teleport' : 'walk', x, y });
});
screen.focus();
connect();
