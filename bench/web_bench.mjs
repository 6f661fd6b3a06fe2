// The web page's figures in the machine's Chromium, against the bare page bench/web_baseline.html
// (the same 38 elements with their places, captions and colours, and no script). Both sites are
// served by scripts/serve_web.py on 127.0.0.1, their request logs kept out of the output.
// - What a first visit downloads: every request the server answered for a fresh context, the
//   service worker's own included; each address's body gzipped at level 9, and the bytes sent.
// - First paint of the whole opening board, and the Roll button taking a click: the game and the
//   bare page loaded interleaved, each in a fresh context (cold cache), nothing added to either
//   page; the game's ready moment is its own mark, 'tornel-ready'. Two more pages made from the
//   game's own page go round with them, for what the figures can show on this machine: the
//   board alone, without its program, and the board with a program that does nothing (an empty
//   module and a one-line script, fetched and started the way the game's are).
// - The same paint and the game's ready state on a 400 kbit/s link with 400 ms of latency.
// - A tap to the next frame that shows its result: real pointer input (mouse clicks, then
//   touch taps), timed in the page to the end of the next frame after the DOM changed, and by
//   the browser's own Event Timing entries, which run to that frame's presentation.
//
//   node bench/web_bench.mjs SITE_DIR RESULTS_JSON [RUNS] [PARTS]
// PARTS, a comma-separated choice of size, load, board, mouse, touch, runs only those.
import { spawn } from 'node:child_process';
import { copyFileSync, cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const { chromium } = createRequire(new URL('../tests/web/', import.meta.url))('playwright-core');
const [site, out, runsArg, partsArg] = process.argv.slice(2);
const RUNS = Number(runsArg ?? 15), WARM_UPS = 2, SLOW_RUNS = 7, BOARD_CHECKS = 7;
const MOUSE_TAPS = 200, TOUCH_TAPS = 100, PAUSE_MS = 60;
// 400 kbit/s both ways and 400 ms before each response, as Chromium's devtools apply them.
const SLOW_LINK = { offline: false, latency: 400, downloadThroughput: 50000, uploadThroughput: 50000 };
// The game's board fits the viewport; at this size it is drawn at twice the window's size, as the
// bare page draws its controls: 702 x 578 CSS px, so both pages paint the same area.
const VIEWPORT = { width: 800, height: 594 }, BOARD = [702, 578];
const root = fileURLToPath(new URL('..', import.meta.url));
const quantile = (xs, q) => [...xs].sort((a, b) => a - b)[Math.ceil(q * xs.length) - 1];
const median = xs => [...xs].sort((a, b) => a - b)[Math.floor((xs.length - 1) / 2)];

// A server whose log lines (one a request: "GET /path HTTP/1.1" status bytes-sent) are kept in
// `log` rather than printed.
function serve(dir) {
    const server = spawn('/usr/bin/python3', [join(root, 'scripts/serve_web.py'), dir, '--port', '0'],
        { stdio: ['ignore', 'pipe', 'pipe'] });
    const log = [];
    let partial = '';
    server.stderr.setEncoding('utf8').on('data', text => {
        const lines = (partial + text).split('\n');
        partial = lines.pop();
        log.push(...lines);
    });
    return new Promise((resolve, reject) => {
        server.stdout.once('data', d => {
            const found = /Serving Tornel at (\S+)/.exec(String(d));
            found ? resolve({ server, url: found[1], log }) : reject(new Error(`the server said ${d}`));
        });
        server.once('exit', code => reject(new Error(`the server ended with ${code}: ${log.join('\n')}`)));
    });
}

const ready = () => document.body?.dataset.state === 'ready';

// Every request the server answered while a fresh context opened the page, waited until it was
// ready and its service worker active, and one more second. Each address is counted once, its
// body fetched again here and gzipped at level 9; the bytes the server sent for every request,
// gzipped as the browser asked, are summed apart.
async function firstVisit(browser, site) {
    const from = site.log.length;
    const context = await browser.newContext({ viewport: VIEWPORT });
    const page = await context.newPage();
    await page.goto(site.url);
    await page.waitForFunction(ready);
    const worker = await page.evaluate(() => Promise.race([
        navigator.serviceWorker.ready.then(r => Boolean(r.active)), new Promise(r => setTimeout(r, 5000, false))]));
    await page.waitForTimeout(1000);
    await context.close();
    const requests = site.log.slice(from).map(line => {
        const [, method, path, status, sent] = /"(\S+) (\S+) [^"]*" (\d+) (\d+)$/.exec(line);
        return { method, path, status: Number(status), sent: Number(sent) };
    });
    const files = [];
    for (const path of new Set(requests.map(r => r.path))) {
        const body = Buffer.from(await (await fetch(new URL(path, site.url))).arrayBuffer());
        files.push({ path, requests: requests.filter(r => r.path === path).length, bytes: body.length,
            gzip9: gzipSync(body, { level: 9 }).length });
    }
    const sum = (xs, k) => xs.reduce((s, x) => s + x[k], 0);
    return { worker, requests, files, bytes: sum(files, 'bytes'), gzip9: sum(files, 'gzip9'), sent: sum(requests, 'sent') };
}

// In the page from its first moment, for the whole-board check: what each frame was about to
// paint until the first contentful paint: the controls in #form, how many of those on show are
// laid out inside the viewport with the style sheet's absolute places, and whether the page had
// any text yet. A frame paints the DOM as it stands at its animation-frame callbacks, so the
// frame that made the first contentful paint is one of those recorded before that paint's time.
function probe() {
    window.tornelFrames = [];
    const painted = () => performance.getEntriesByName('first-contentful-paint').length > 0;
    const frame = ts => {
        const controls = [...document.querySelectorAll('#form > [data-control]')];
        const shown = controls.filter(c => !c.hidden);
        const placed = shown.filter(c => {
            const r = c.getBoundingClientRect();
            return getComputedStyle(c).position === 'absolute' && r.width > 0 && r.height > 0
                && r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight;
        });
        window.tornelFrames.push({ ts, controls: controls.length, shown: shown.length, placed: placed.length,
            text: Boolean(document.body?.innerText.trim()) });
        if (!painted() || window.tornelFrames.at(-1).ts < performance.getEntriesByName('first-contentful-paint')[0].startTime)
            requestAnimationFrame(frame);
    };
    requestAnimationFrame(frame);
}

// One page load in a fresh context: navigation start to its first contentful paint, to the
// end of its load event, and for a page with a program to its 'tornel-ready' mark; with `link`,
// over that emulated link; with `frames`, whether the first paint held the whole board (see
// probe), the only case where anything is added to the page.
const readyMark = () => performance.getEntriesByName('tornel-ready')[0]?.startTime;
async function load(browser, url, { game, link, frames }) {
    const context = await browser.newContext({ viewport: VIEWPORT });
    if (frames) await context.addInitScript(probe);
    const page = await context.newPage();
    if (link) await (await context.newCDPSession(page)).send('Network.emulateNetworkConditions', link);
    await page.goto(url, { timeout: 60000 });
    if (game) await page.waitForFunction(readyMark, null, { timeout: 60000 });
    await page.waitForFunction(() => performance.getEntriesByName('first-contentful-paint').length);
    const t = await page.evaluate(() => ({
        ready: performance.getEntriesByName('tornel-ready')[0]?.startTime, load: performance.getEntriesByType('navigation')[0].loadEventEnd,
        paint: performance.getEntriesByName('first-contentful-paint')[0].startTime,
        frames: window.tornelFrames,
        size: (r => [r.width, r.height])(document.querySelector('#form').getBoundingClientRect()),
    }));
    await context.close();
    t.figure = Math.max(game ? t.ready : t.load, t.paint);
    if (frames) {
        const before = t.frames.filter(f => f.ts <= t.paint);
        const drawn = before.filter(f => f.text || f.controls > 0);
        t.board = { framesBeforePaint: before.length, framesWithContent: drawn.length,
            whole: drawn.length > 0 && drawn.every(f => f.controls === 38 && f.placed === f.shown),
            first: drawn[0] ?? null };
        delete t.frames;
    }
    return t;
}

// The game, the bare page and the two reference pages, each loaded in turn, the order turning
// round by one page every round. Ratios are of medians to the bare page's, with the median of
// the per-round ratios beside them.
async function loads(browser, urls) {
    const names = Object.keys(urls), runs = Object.fromEntries(names.map(n => [n, []]));
    for (let i = 0; i < WARM_UPS + RUNS; i++) {
        for (let k = 0; k < names.length; k++) {
            const which = names[(i + k) % names.length];
            const t = await load(browser, urls[which], { game: which === 'game' || which === 'idle' });
            if (i >= WARM_UPS) runs[which].push(t);
        }
    }
    const m = (k, f) => median(runs[k].map(t => t[f]));
    const figures = k => {
        const pairs = f => runs[k].map((t, i) => t[f] / runs.baseline[i].paint);
        return { paintMs: m(k, 'paint'), paintRatio: m(k, 'paint') / m('baseline', 'paint'),
            paintPairRatio: median(pairs('paint')), paintPairRange: [Math.min(...pairs('paint')), Math.max(...pairs('paint'))],
            clickMs: m(k, 'figure'), clickRatio: m(k, 'figure') / m('baseline', 'paint'),
            clickPairRatio: median(pairs('figure')), readyMs: m(k, 'ready'), loadEndMs: m(k, 'load') };
    };
    const sameSize = Object.values(runs).flat().every(t => t.size.every((v, i) => Math.abs(v - BOARD[i]) < 0.5));
    return { runs, sameSize, pages: Object.fromEntries(names.map(n => [n, figures(n)])) };
}

// The reference pages, written from the game's own page into a copy of its site: the board alone
// (the start-up script taken out) and the board with a program that does nothing, fetched and
// started as the game's is (the start-up script's place taken by one that fetches and compiles
// an empty module, adds a one-line script that instantiates it, and then marks the page ready).
function referenceSites(dir) {
    const page = readFileSync(join(site, 'index.html'), 'utf8');
    const start = /<script data-program[^>]*>[\s\S]*?<\/script>\n/;
    if (!start.test(page)) throw new Error('the game\'s page has no start-up script where expected');
    const write = (name, html, files = {}) => {
        cpSync(site, join(dir, name), { recursive: true });
        writeFileSync(join(dir, name, 'index.html'), html);
        for (const [file, content] of Object.entries(files)) writeFileSync(join(dir, name, file), content);
        return join(dir, name);
    };
    const idleStart = `<script>setTimeout(function() {
  var program = fetch('idle.wasm').then(function(r) { return WebAssembly.compileStreaming(r); });
  window.idleStart = function() {
    program.then(function(m) { return WebAssembly.instantiate(m); }).then(function() {
      document.body.dataset.state = 'ready';
      performance.mark('tornel-ready');
    });
  };
  var script = document.createElement('script');
  script.src = 'idle.js';
  script.async = true;
  script.fetchPriority = 'high';
  document.head.appendChild(script);
}, 0);</script>
`;
    return {
        board: write('board', page.replace(start, '')),
        idle: write('idle', page.replace(/<meta http-equiv="Content-Security-Policy"[^>]*>\n/, '').replace(start, idleStart),
            { 'idle.wasm': Buffer.from([0, 0x61, 0x73, 0x6d, 1, 0, 0, 0]), 'idle.js': 'idleStart();\n' }),
    };
}

// The game loaded with the frame probe, on the plain link and on the slow one, interleaved.
async function boardAndSlowLink(browser, gameUrl) {
    const plain = [], slow = [];
    for (let i = 0; i < Math.max(SLOW_RUNS, BOARD_CHECKS); i++) {
        if (i < BOARD_CHECKS) plain.push(await load(browser, gameUrl, { game: true, frames: true }));
        if (i < SLOW_RUNS) slow.push(await load(browser, gameUrl, { game: true, frames: true, link: SLOW_LINK }));
    }
    const whole = runs => runs.filter(t => t.board.whole).length;
    return { plain: { runs: plain, whole: whole(plain) },
        slow: { runs: slow, whole: whole(slow), paintMs: median(slow.map(t => t.paint)),
            readyMs: median(slow.map(t => t.ready)), paintMaxMs: Math.max(...slow.map(t => t.paint)),
            readyMaxMs: Math.max(...slow.map(t => t.ready)) } };
}

// In the page: for each tap (a click made by a pointer, not by a key), the click's time stamp,
// when the click's first listener and the page's DOM changes were done, and when the next frame
// after those changes ran its animation-frame callbacks and had ended (a message posted from
// those callbacks runs once the frame's style, layout and paint are done). The browser's Event
// Timing entries of 16 ms and more come alongside. Like the page, the probe listens to clicks
// only, no pointer or touch event.
function tapProbe() {
    const taps = { log: [], events: [], waiting: [] };
    window.tornelTaps = taps;
    let tap = null;
    addEventListener('click', e => {
        if (e.detail === 0) return;
        tap = { input: e.timeStamp, handlerStart: performance.now(), pointer: e.pointerType };
    }, true);
    new MutationObserver(() => {
        if (!tap) return;
        const t = tap;
        t.changed = performance.now();
        requestAnimationFrame(() => {
            t.frame = performance.now();
            const channel = new MessageChannel();
            channel.port1.onmessage = () => {
                t.frameEnd = performance.now();
                taps.log.push(t);
                taps.waiting = taps.waiting.filter(([n, resolve]) => taps.log.length < n || resolve());
            };
            channel.port2.postMessage(null);
        });
        tap = null;
    }).observe(document, { subtree: true, childList: true, attributes: true, characterData: true });
    new PerformanceObserver(list => {
        for (const e of list.getEntries())
            taps.events.push({ name: e.name, startTime: e.startTime, duration: e.duration,
                processingStart: e.processingStart, processingEnd: e.processingEnd, interactionId: e.interactionId });
    }).observe({ type: 'event', durationThreshold: 16, buffered: true });
    taps.wait = n => new Promise(resolve => {
        if (taps.log.length >= n) resolve();
        else taps.waiting.push([n, resolve]);
    });
}

// Taps on the Roll button on show, by the mouse or by touch, with a pause after each as a
// player leaves; the game's last turn brings the result box, which Enter closes untimed.
async function taps(browser, url, count, touch) {
    const context = await browser.newContext({ viewport: VIEWPORT, hasTouch: touch });
    await context.addInitScript(tapProbe);
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(ready);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForTimeout(500);
    const centres = {};
    for (let i = 0; i < count; i++) {
        const player = await page.evaluate(() => (document.querySelector('[data-control="Roll(1)"]').hidden ? 2 : 1));
        if (!centres[player]) {
            const b = await page.locator(`[data-control="Roll(${player})"]`).boundingBox();
            centres[player] = [b.x + b.width / 2, b.y + b.height / 2];
        }
        if (touch) await page.touchscreen.tap(...centres[player]);
        else await page.mouse.click(...centres[player]);
        await page.evaluate(n => window.tornelTaps.wait(n), i + 1);
        if (await page.evaluate(() => document.querySelector('#message').open)) {
            await page.keyboard.press('Enter');
            await page.waitForFunction(ready);
        }
        await page.waitForTimeout(PAUSE_MS);
    }
    await page.waitForTimeout(200);
    const { log, events } = await page.evaluate(() => ({ log: window.tornelTaps.log, events: window.tornelTaps.events }));
    await context.close();
    // A tap's Event Timing figure is its click's entry; a click with none took under 16 ms.
    const byClick = new Map(events.filter(e => e.name === 'click').map(e => [Math.round(e.startTime * 10), e]));
    for (const t of log) t.eventMs = byClick.get(Math.round(t.input * 10))?.duration ?? null;
    const frameEnd = log.map(t => t.frameEnd - t.input), frame = log.map(t => t.frame - t.input);
    const handler = log.map(t => t.changed - t.handlerStart);
    const eventMs = q => {
        const reported = log.map(t => t.eventMs ?? 0);
        const v = quantile(reported, q);
        return v === 0 ? '< 16' : v;
    };
    return { touch, taps: log.length, log, eventEntries: events.length,
        frameEndMedianMs: median(frameEnd), frameEndP95Ms: quantile(frameEnd, 0.95), frameEndMaxMs: Math.max(...frameEnd),
        frameMedianMs: median(frame), handlerMedianMs: median(handler), handlerP95Ms: quantile(handler, 0.95),
        clicksOf16MsOrMore: log.filter(t => t.eventMs !== null).length, eventMedianMs: eventMs(0.5), eventP95Ms: eventMs(0.95) };
}

const baseDir = mkdtempSync(join(tmpdir(), 'tornel-baseline-'));
copyFileSync(join(root, 'bench/web_baseline.html'), join(baseDir, 'index.html'));
const references = referenceSites(baseDir);
const servers = await Promise.all([serve(site), serve(baseDir), serve(references.board), serve(references.idle)]);
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium' });
const loadAverage = () => readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ');
try {
    const [game, base, board, idle] = servers;
    const results = { date: new Date().toISOString(), chromium: browser.version(), runs: RUNS,
        cache: 'cold (fresh context each run)' };
    // The machine's load average as each part starts, and at the end.
    results.loadAverage = [];
    const chosen = (partsArg ?? 'size,load,board,mouse,touch').split(',');
    const part = async (name, run) => {
        if (!chosen.includes(name)) return;
        results.loadAverage.push(`${name} ${loadAverage()}`);
        results[name] = await run();
    };
    await part('size', () => firstVisit(browser, game));
    await part('load', () => loads(browser, { game: game.url, baseline: base.url, board: board.url, idle: idle.url }));
    await part('board', () => boardAndSlowLink(browser, game.url));
    await part('mouse', () => taps(browser, game.url, MOUSE_TAPS, false));
    await part('touch', () => taps(browser, game.url, TOUCH_TAPS, true));
    results.loadAverage.push(`end ${loadAverage()}`);
    writeFileSync(out, JSON.stringify(results, null, 1));

    const { size, load: l, board: b } = results;
    const kib = v => (v / 1024).toFixed(1), ms = v => (typeof v === 'number' ? v.toFixed(1) : v);
    console.log(`load average (1, 5, 15 min) as each part started: ${results.loadAverage.join('; ')}`);
    if (size) {
        console.log(`first visit: ${size.requests.length} requests of ${size.files.length} addresses, service worker `
            + `${size.worker ? 'active' : 'NOT active'}; bodies ${kib(size.bytes)} KiB, gzip -9 each `
            + `${kib(size.gzip9)} KiB (target <= 64 KiB); sent over the wire ${kib(size.sent)} KiB`);
        for (const f of size.files)
            console.log(`  ${f.path}  x${f.requests}  ${f.bytes} B, gzip -9 ${f.gzip9} B`);
    }
    if (l) {
        const g = l.pages.game, base = l.pages.baseline;
        console.log(`first contentful paint, median of ${RUNS} interleaved cold loads: game ${ms(g.paintMs)} ms, `
            + `bare page ${ms(base.paintMs)} ms, ratio ${g.paintRatio.toFixed(2)} (target <= 1.1); per round: median `
            + `${g.paintPairRatio.toFixed(2)}, ${g.paintPairRange.map(v => v.toFixed(2)).join('-')}; all boards `
            + `${BOARD.join(' x ')} px: ${l.sameSize}`);
        console.log(`Roll taking a click (later of ready / load end and first paint): game ${ms(g.clickMs)} ms `
            + `(ready ${ms(g.readyMs)}), bare page ${ms(base.clickMs)} ms (load end ${ms(base.loadEndMs)}), ratio `
            + `${g.clickRatio.toFixed(2)} (target <= 1.3); per round: median ${g.clickPairRatio.toFixed(2)}`);
        for (const [name, what] of [['board', 'the board alone'], ['idle', 'the board with a program that does nothing']]) {
            const r = l.pages[name];
            console.log(`  ${what}: first paint ${ms(r.paintMs)} ms, ratio ${r.paintRatio.toFixed(2)} (per round `
                + `${r.paintPairRatio.toFixed(2)}); taking a click ${ms(r.clickMs)} ms, ratio ${r.clickRatio.toFixed(2)}`);
        }
    }
    if (b) {
        console.log(`whole board at the first paint: ${b.plain.whole} of ${b.plain.runs.length} probed loads, `
            + `${b.slow.whole} of ${b.slow.runs.length} on the slow link`);
        console.log(`400 kbit/s, 400 ms link, median of ${SLOW_RUNS}: first paint ${ms(b.slow.paintMs)} ms (max `
            + `${ms(b.slow.paintMaxMs)}; target <= 2000), ready ${ms(b.slow.readyMs)} ms (max ${ms(b.slow.readyMaxMs)}; target <= 3000)`);
    }
    for (const t of [results.mouse, results.touch].filter(Boolean)) {
        console.log(`${t.touch ? 'touch taps' : 'mouse clicks'}, ${t.taps}: input to the end of the next frame `
            + `median ${ms(t.frameEndMedianMs)} ms, p95 ${ms(t.frameEndP95Ms)} ms, max ${ms(t.frameEndMaxMs)} ms `
            + `(target median <= 17, p95 <= 33); to that frame's callbacks median ${ms(t.frameMedianMs)} ms`);
        console.log(`  Event Timing, click to the next paint: median ${ms(t.eventMedianMs)} ms, p95 ${ms(t.eventP95Ms)} ms `
            + `(${t.clicksOf16MsOrMore} clicks of 16 ms or more); the page's click handling median `
            + `${ms(t.handlerMedianMs)} ms, p95 ${ms(t.handlerP95Ms)} ms`);
    }
} finally {
    await browser.close();
    for (const { server } of servers) server.kill('SIGTERM');
    rmSync(baseDir, { recursive: true, force: true });
}
