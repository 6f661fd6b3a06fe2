// The web page's figures in the machine's Chromium: what a first visit downloads (each response
// body gzipped at level 9), navigation start to the Roll button taking a click against the bare
// page bench/web_baseline.html (interleaved, a fresh context each run: cold cache), and one turn
// inside the page. Both sites are served by scripts/serve_web.py on 127.0.0.1.
//
//   node bench/web_bench.mjs SITE_DIR RESULTS_JSON [RUNS]
import { spawn } from 'node:child_process';
import { copyFileSync, mkdtempSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const { chromium } = createRequire(new URL('../tests/web/', import.meta.url))('playwright-core');
const [site, out, runsArg] = process.argv.slice(2);
const RUNS = Number(runsArg ?? 15), WARM_UPS = 2, TIMED_TURNS = 400, BATCH = 10;
const root = fileURLToPath(new URL('..', import.meta.url));
const median = xs => [...xs].sort((a, b) => a - b)[Math.floor((xs.length - 1) / 2)];

function serve(dir) {
    const server = spawn('/usr/bin/python3', [join(root, 'scripts/serve_web.py'), dir, '--port', '0'],
        { stdio: ['ignore', 'pipe', 'inherit'] });
    return new Promise((resolve, reject) => {
        server.stdout.once('data', d => {
            const found = /Serving Tornel at (\S+)/.exec(String(d));
            found ? resolve({ server, url: found[1] }) : reject(new Error(`the server said ${d}`));
        });
        server.once('exit', code => reject(new Error(`the server ended with ${code}`)));
    });
}

const ready = () => document.body?.dataset.state === 'ready'
    && !document.querySelector('[data-control="Roll(1)"]')?.disabled;

// Every address a first visit fetches, the service worker's own fetches included, counted once:
// its body as the server sends it (fetched again here), and that body gzipped at level 9.
async function firstVisit(browser, url) {
    const context = await browser.newContext();
    const urls = new Set();
    context.on('request', r => urls.add(r.url()));
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(ready);
    await page.evaluate(() => Promise.race([navigator.serviceWorker?.ready, new Promise(r => setTimeout(r, 5000))]));
    await page.waitForTimeout(1000);
    await context.close();
    const files = [];
    for (const u of urls) {
        const body = Buffer.from(await (await fetch(u)).arrayBuffer());
        files.push({ url: u, bytes: body.length, gzip9: gzipSync(body, { level: 9 }).length });
    }
    return { files, bytes: files.reduce((s, f) => s + f.bytes, 0), gzip9: files.reduce((s, f) => s + f.gzip9, 0) };
}

// Milliseconds from navigation start to the Roll button taking a click: for both pages the
// later of the moment their button can take it and their first contentful paint (the button
// on the screen). The game's button can take it once the page says it is ready with Roll(1)
// enabled (a MutationObserver set before any of the page's scripts); the bare page's once its
// load event has ended.
async function load(browser, url, game) {
    const context = await browser.newContext();
    if (game) {
        await context.addInitScript(source => {
            const isReady = new Function(`return (${source})()`);
            new MutationObserver(() => { window.tornelReady ??= isReady() ? performance.now() : undefined; })
                .observe(document, { subtree: true, childList: true, attributes: true });
        }, ready.toString());
    }
    const page = await context.newPage();
    await page.goto(url);
    if (game) await page.waitForFunction(() => window.tornelReady);
    await page.waitForFunction(() => performance.getEntriesByName('first-contentful-paint').length);
    const t = await page.evaluate(() => ({
        ready: window.tornelReady, load: performance.getEntriesByType('navigation')[0].loadEventEnd,
        paint: performance.getEntriesByName('first-contentful-paint')[0].startTime,
    }));
    await context.close();
    return { ...t, figure: Math.max(game ? t.ready : t.load, t.paint) };
}

async function loads(browser, gameUrl, baseUrl) {
    const runs = { game: [], baseline: [] };
    for (let i = 0; i < WARM_UPS + RUNS; i++) {
        for (const which of i % 2 ? ['baseline', 'game'] : ['game', 'baseline']) {
            const t = await load(browser, which === 'game' ? gameUrl : baseUrl, which === 'game');
            if (i >= WARM_UPS) runs[which].push(t);
        }
    }
    const m = k => median(runs[k].map(t => t.figure));
    return { runs, gameMedianMs: m('game'), baselineMedianMs: m('baseline'), ratio: m('game') / m('baseline'),
        gameReadyMedianMs: median(runs.game.map(t => t.ready)),
        gamePaintMedianMs: median(runs.game.map(t => t.paint)),
        baselinePaintMedianMs: median(runs.baseline.map(t => t.paint)) };
}

// In the page: up to n turns in a row. Each is timed from the click to its return (the DOM
// changes of a turn are made inside the click) and to the end of the microtasks that follow it,
// where the page lets the next click in again; the mutations are counted at both moments, and
// once more after the page has had 50 ms to itself. A click that played no turn is counted too.
async function turns(n) {
    const rollOf = p => document.querySelector(`[data-control="Roll(${p})"]`);
    const observer = new MutationObserver(() => {});
    observer.observe(document.body, { subtree: true, childList: true, attributes: true, characterData: true });
    const r = { clickMs: [], doneMs: [], byReturn: 0, inMicrotasks: 0, late: 0, ignored: 0 };
    for (let i = 0; i < n; i++) {
        const player = rollOf(1).hidden ? 2 : 1;
        if (player === 2 && document.querySelector('[data-control="NumTurns"]').textContent === '49') break;
        const t0 = performance.now();
        rollOf(player).click();
        const t1 = performance.now();
        r.byReturn += observer.takeRecords().length;
        for (let tick = 0; tick < 5; tick++) await null;
        const t2 = performance.now();
        r.inMicrotasks += observer.takeRecords().length;
        r.clickMs.push(t1 - t0);
        r.doneMs.push(t2 - t0);
        r.ignored += !rollOf(player).hidden;
    }
    await new Promise(resolve => setTimeout(resolve, 50));
    r.late = observer.takeRecords().length;
    observer.disconnect();
    return r;
}

// Served cross-origin isolated (headers added on the way), so performance.now() ticks in
// microseconds rather than in tenths of a millisecond.
async function turnFigures(browser, url) {
    const context = await browser.newContext({ serviceWorkers: 'block' });
    await context.route('**/*', async route => {
        const response = await route.fetch();
        const isolating = { 'cross-origin-opener-policy': 'same-origin', 'cross-origin-embedder-policy': 'require-corp' };
        await route.fulfill({ response, headers: { ...response.headers(), ...isolating } });
    });
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(ready);
    const isolated = await page.evaluate(() => crossOriginIsolated);
    const all = { clickMs: [], doneMs: [], byReturn: 0, inMicrotasks: 0, late: 0, ignored: 0 };
    while (all.doneMs.length < TIMED_TURNS) {
        const b = await page.evaluate(turns, BATCH);
        for (const [k, v] of Object.entries(b)) all[k] = Array.isArray(v) ? all[k].concat(v) : all[k] + v;
        if (b.doneMs.length < BATCH) {            // the game's last turn, untimed, and its box
            await page.locator('[data-control="Roll(2)"]').click();
            await page.waitForFunction(() => document.querySelector('#message')?.open);
            await page.keyboard.press('Enter');
            await page.waitForFunction(ready);
        }
    }
    await context.close();
    return { isolated, turns: all.doneMs.length, medianMs: median(all.doneMs), minMs: Math.min(...all.doneMs),
        maxMs: Math.max(...all.doneMs), clickMedianMs: median(all.clickMs), mutationsByReturn: all.byReturn,
        mutationsInMicrotasks: all.inMicrotasks, mutationsAfter: all.late, ignoredClicks: all.ignored };
}

const baseDir = mkdtempSync(join(tmpdir(), 'tornel-baseline-'));
copyFileSync(join(root, 'bench/web_baseline.html'), join(baseDir, 'index.html'));
const servers = await Promise.all([serve(site), serve(baseDir)]);
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium' });
try {
    const [game, base] = servers.map(s => s.url);
    const results = { date: new Date().toISOString(), chromium: browser.version(), runs: RUNS,
        cache: 'cold (fresh context each run)' };
    results.size = await firstVisit(browser, game);
    results.load = await loads(browser, game, base);
    results.turn = await turnFigures(browser, game);
    writeFileSync(out, JSON.stringify(results, null, 1));
    const { size, load: l, turn: t } = results;
    const kib = b => (b / 1024).toFixed(1), ms = v => v.toFixed(1), us = v => (v * 1000).toFixed(0);
    console.log(`first visit: ${size.files.length} files, ${kib(size.bytes)} KiB, `
        + `gzip -9 each: ${kib(size.gzip9)} KiB (target <= 200 KiB)`);
    for (const f of size.files) console.log(`  ${f.url}  ${f.bytes} B, gzip -9 ${f.gzip9} B`);
    console.log(`load to Roll taking a click (later of ready / load end and first paint), median of ${RUNS}: `
        + `game ${ms(l.gameMedianMs)} ms, bare page ${ms(l.baselineMedianMs)} ms, ratio ${l.ratio.toFixed(2)} (target <= 1.3)`);
    console.log(`  game ready ${ms(l.gameReadyMedianMs)} ms; first contentful paint: game ${ms(l.gamePaintMedianMs)} ms, `
        + `bare page ${ms(l.baselinePaintMedianMs)} ms`);
    console.log(`turn in the page, median of ${t.turns}: ${us(t.medianMs)} µs to the end of its microtasks `
        + `(min ${us(t.minMs)}, max ${us(t.maxMs)}), ${us(t.clickMedianMs)} µs to the click's return (target < 1 ms)`);
    console.log(`  cross-origin isolated: ${t.isolated}; mutations by the return ${t.mutationsByReturn}, `
        + `in the microtasks ${t.mutationsInMicrotasks}, later ${t.mutationsAfter}; clicks that played no turn: ${t.ignoredClicks}`);
} finally {
    await browser.close();
    for (const { server } of servers) server.kill('SIGTERM');
}
