// Plays the web page of Tornel in the machine's Chromium and writes down what it saw, for
// test_page.py to hold against the one expected layout and the one rule of a roll:
// a whole game by clicks and keys with the result box, a phone's screen played by taps,
// offline play, the accessibility rules in light and dark, a failed click, a kept game, held
// keys, fitting screens, refused files, a slow link and an update behind a caching host.
//
//   node play.mjs URL OUT_JSON BUILD_DIR
import { chromium } from 'playwright-core';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { readBox, readWindow } from './steps.mjs';

const [url, out, build] = process.argv.slice(2);
const AXE = fileURLToPath(new URL('node_modules/axe-core/axe.min.js', import.meta.url));
const TURNS = 100;
// Turns played with a key on the focused Roll button; after the first four, Tab is pressed.
const KEY_TURNS = new Map([[0, 'Space'], [1, 'Enter'], [2, 'Space'], [3, 'Enter'], [60, 'Enter'], [61, 'Space']]);
const ESCAPE_AFTER = 10;
const seen = { troubles: [] };

// Writes down what must never happen: a native dialog, a console error (with messages of its
// own, any console message at all), an uncaught error or rejection, a request off the site.
function watch(page, where, messages = seen.troubles) {
    const host = new URL(url).hostname, anyMessage = messages !== seen.troubles;
    page.addInitScript(() => document.addEventListener('securitypolicyviolation',
        e => console.error(`breaks the page's policy: ${e.violatedDirective} ${e.blockedURI}`)));
    page.on('dialog', d => {
        messages.push(`${where}: native ${d.type()} "${d.message()}"`);
        d.dismiss().catch(() => {});
    });
    page.on('console', m => {
        if (m.type() === 'error' || anyMessage) messages.push(`${where}: console.${m.type()} ${m.text()}`);
    });
    page.on('pageerror', e => messages.push(`${where}: uncaught ${e.message}`));
    page.on('request', r => { if (new URL(r.url()).hostname !== host) messages.push(`${where}: request to ${r.url()}`); });
    page.setDefaultTimeout(5000);
    return page;
}

async function open(context, where, messages) {
    const page = watch(await context.newPage(), where, messages);
    await page.goto(url);
    await ready(page);
    return page;
}

const ready = page => page.waitForFunction(() => document.body.dataset.state === 'ready'
    && !document.querySelector('[data-control="Roll(1)"]')?.disabled);
const snap = (page, measureHidden = false) => page.evaluate(readWindow, measureHidden);
const roll = (page, player) => page.locator(`[data-control="Roll(${player})"]`);

async function centre(page, name) {
    const r = await page.locator(`[data-control="${name}"]`).boundingBox();
    return [r.x + r.width / 2, r.y + r.height / 2];
}

// One turn of player by click, tap or key; resolves once the turn has passed over or the box is up.
async function turn(page, player, how) {
    if (how === 'tap') await roll(page, player).tap();
    else if (how) await page.keyboard.press(how);
    else await page.mouse.click(...await centre(page, `Roll(${player})`));    // where a player clicks, no scrolling
    await page.waitForFunction(other => document.querySelector('#message')?.open
        || !document.querySelector(`[data-control="Roll(${other})"]`)?.hidden, 3 - player).catch(() => {});
}

// Evaluated by the driver, which the page's own script policy does not bind, as a tag would be.
async function axe(page) {
    await page.evaluate(readFileSync(AXE, 'utf8'));
    const result = await page.evaluate(() => axe.run({ runOnly: ['wcag2a', 'wcag2aa'] }));
    return result.violations.map(v => `${v.id}: ${v.nodes.map(n => n.target.join(' ')).join(', ')}`);
}

async function wholeGame(context) {
    const page = await open(context, 'game');
    seen.opening = await snap(page, true);
    seen.axeOpening = await axe(page);
    seen.turns = [];
    seen.tabs = [];
    for (let k = 0; k < TURNS; k++) {
        const player = 1 + k % 2, how = KEY_TURNS.get(k);
        const focusBefore = how ? await page.evaluate(() => document.activeElement?.dataset?.control ?? null) : null;
        await turn(page, player, how);
        seen.turns.push({ how: how ?? 'click', focusBefore, after: await snap(page) });
        if (k < 4) {
            const focus = [];
            for (let t = 0; t < 3; t++) {
                await page.keyboard.press('Tab');
                focus.push(await page.evaluate(() => document.activeElement?.dataset?.control
                    ?? document.activeElement?.tagName));
            }
            seen.tabs.push(focus);
            await roll(page, 2 - k % 2).focus();
        }
        if (k === 2) seen.logTree = await logTree(page);
        if (k === ESCAPE_AFTER) {
            const before = await snap(page);
            await page.keyboard.press('Escape');
            seen.escape = { before, after: await snap(page) };
        }
    }
    await page.waitForFunction(() => document.querySelector('#message')?.open);
    seen.box = await page.evaluate(readBox);
    const behind = await snap(page);
    for (const name of ['Roll(1)', 'Die(3)', 'Instructions'])
        await page.mouse.click(...await centre(page, name));
    await page.click('#message-text');
    await page.waitForTimeout(300);
    seen.boxClicks = { behind, after: await snap(page), box: await page.evaluate(readBox) };
    seen.axeBox = await axe(page);
    await page.keyboard.press('Enter');
    await ready(page);
    seen.fresh = await snap(page, true);
    await page.close();
}

async function phone(browser) {
    const context = await browser.newContext({
        viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 });
    const page = await open(context, 'phone');
    seen.phone = await page.evaluate(() => {
        const d = document.documentElement, f = document.querySelector('#form').getBoundingClientRect();
        const r = document.querySelector('[data-control="Roll(1)"]').getBoundingClientRect();
        return { scroll: [d.scrollWidth, d.scrollHeight], viewport: [innerWidth, innerHeight],
            form: [f.left, f.top, f.right, f.bottom], rollHeight: r.height };
    });
    seen.phone.before = await snap(page);
    seen.phone.turns = [];
    for (let k = 0; k < 4; k++) {
        await turn(page, 1 + k % 2, 'tap');
        seen.phone.turns.push({ how: 'tap', after: await snap(page) });
    }
    await context.close();
}

async function offline(browser) {
    const context = await browser.newContext();
    const page = await open(context, 'offline');
    await page.evaluate(() => Promise.race([navigator.serviceWorker.ready, new Promise(r => setTimeout(r, 5000))]));
    await page.reload();
    await ready(page);
    seen.offline = { controlled: await page.evaluate(() => Boolean(navigator.serviceWorker.controller)) };
    await context.setOffline(true);
    await page.reload();
    await ready(page);
    seen.offline.before = await snap(page);
    await turn(page, 1);
    seen.offline.after = await snap(page);
    await context.close();
}

async function dark(browser) {
    const context = await browser.newContext({ colorScheme: 'dark' });
    const page = await open(context, 'dark');
    seen.axeDark = await axe(page);
    await context.close();
}

// A caption spoilt through the page, as the rules never write one, then a click on Roll(1).
async function failure(context) {
    const messages = [];
    const page = await open(context, 'failure', messages);
    const where = await centre(page, 'Roll(1)');
    await page.evaluate(() => { document.querySelector('[data-control="Score(1)"]').textContent = 'x'; });
    await page.mouse.click(...where);
    await page.waitForFunction(() => document.querySelector('#message')?.open);
    seen.failure = { box: await page.evaluate(readBox) };
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => document.body.dataset.state === 'ended').catch(() => {});
    const before = await snap(page);
    await page.mouse.click(...where);
    await page.waitForTimeout(300);
    Object.assign(seen.failure, {
        before, after: await snap(page), messages,
        ended: await page.evaluate(() => ({
            shown: Boolean(document.querySelector('#ended')?.checkVisibility()),
            text: document.querySelector('#ended')?.innerText ?? '',
            reload: Boolean(document.querySelector('#reload')?.checkVisibility()),
        })),
    });
    await page.click('#reload');
    seen.failure.reloaded = await ready(page).then(() => true, () => false);
}

// The live region as Chromium's accessibility tree holds it: its last child's text, and
// whether any node under the log is ignored.
async function logTree(page) {
    const { nodes } = await (await page.context().newCDPSession(page)).send('Accessibility.getFullAXTree');
    const byId = new Map(nodes.map(n => [n.nodeId, n]));
    const under = n => [n, ...(n.childIds ?? []).flatMap(id => byId.has(id) ? under(byId.get(id)) : [])];
    const log = nodes.find(n => n.role?.value === 'log');
    const last = log && byId.get(log.childIds.at(-1));
    return { ignored: log ? under(log).filter(n => n.ignored).length : -1, children: log?.childIds.length ?? 0,
        last: last ? under(last).filter(n => n.role?.value === 'StaticText').map(n => n.name.value).join('') : null,
        newest: await page.evaluate(() => document.querySelector('#narration').lastElementChild?.textContent) };
}

// Ten turns, then the page loaded again; kept data that is not a game; a new tab.
async function keptGame(browser) {
    const context = await browser.newContext();
    const page = await open(context, 'kept');
    for (let k = 0; k < 10; k++) await turn(page, 1 + k % 2);
    const before = await snap(page, true);
    await page.reload();
    await ready(page);
    seen.kept = { before, after: await snap(page, true) };
    await page.evaluate(() => sessionStorage.setItem('tornel-game', 'not a game'));
    await page.reload();
    await ready(page);
    seen.kept.spoilt = await snap(page, true);
    seen.kept.newTab = await snap(await open(context, 'kept, new tab'), true);
    await context.close();
}

// Enter, then Space, held down for as many repeats as a second of auto-repeat gives.
async function heldKeys(browser) {
    const context = await browser.newContext();
    const page = await open(context, 'held');
    seen.held = [await snap(page)];
    for (const key of ['Enter', 'Space']) {
        for (let r = 0; r < 30; r++) await page.keyboard.down(key);
        await page.keyboard.up(key);
        await page.waitForTimeout(200);
        seen.held.push(await snap(page));
    }
    await context.close();
}

// The board on a phone turned to landscape and back, and at 180 x 320 (a phone at 200% zoom).
async function fits(browser) {
    const context = await browser.newContext({ viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true });
    const page = await open(context, 'fits');
    seen.fits = [];
    for (const [width, height] of [[640, 360], [360, 640], [180, 320]]) {
        await page.setViewportSize({ width, height });
        await page.waitForTimeout(100);
        seen.fits.push(await page.evaluate(() => {
            const d = document.documentElement, f = document.querySelector('#form').getBoundingClientRect();
            return { viewport: [d.clientWidth, d.clientHeight], scroll: [d.scrollWidth, d.scrollHeight],
                form: [f.left, f.top, f.right, f.bottom] };
        }));
    }
    // The result box on the phone: a kept game one turn short of its end, then that turn.
    await page.setViewportSize({ width: 360, height: 640 });
    await page.evaluate(() => sessionStorage.setItem('tornel-game', '3fe0000000000000'.repeat(6 * 99)));
    await page.reload();
    await ready(page);
    await turn(page, 2, 'tap');
    seen.fitsBox = await page.evaluate(() => {
        const r = document.querySelector('#message').getBoundingClientRect();
        return { rect: [r.left, r.top, r.right, r.bottom], font: parseFloat(getComputedStyle(document.querySelector('#message')).fontSize),
            scale: parseFloat(getComputedStyle(document.body).getPropertyValue('--u')) };
    });
    await context.close();
    const noScript = await browser.newContext({ viewport: { width: 360, height: 640 }, javaScriptEnabled: false });
    const still = await noScript.newPage();
    await still.goto(url);
    seen.noscript = await still.evaluate(() => document.querySelector('.noscript')?.getBoundingClientRect().bottom);
    await noScript.close();
}

// A program or a script the server refuses: the page says so, and its Reload loads the game
// once the server answers again.
async function refusals(browser) {
    seen.refusals = {};
    for (const [file, pattern] of [['tornel.wasm', /\.wasm$/], ['tornel.js', /tornel\.[0-9a-f]+\.js$/]]) {
        const context = await browser.newContext();
        const messages = [];
        const page = watch(await context.newPage(), `refused ${file}`, messages);
        await page.route(pattern, r => r.fulfill({ status: 404, body: '' }));
        await page.goto(url);
        await page.waitForFunction(() => document.body.dataset.state === 'ended').catch(() => {});
        const said = await page.evaluate(() => document.querySelector('#ended')?.checkVisibility()
            && document.querySelector('#ended').innerText);
        await page.unroute(pattern);
        await page.click('#reload');
        const reloaded = await ready(page).then(() => true, () => false);
        seen.refusals[file] = { said, reloaded,
            uncaught: messages.filter(m => !/Failed to load resource/.test(m)) };
        await context.close();
    }
}

// On a 400 kbit/s link with 400 ms of latency the opening board is painted before the
// program is ready.
async function slowLink(browser) {
    const context = await browser.newContext();
    await context.addInitScript(() => new MutationObserver(() => {
        if (document.body?.dataset.state === 'ready') window.readyAt ??= performance.now();
    }).observe(document, { subtree: true, attributes: true }));
    const page = watch(await context.newPage(), 'slow link');
    await (await context.newCDPSession(page)).send('Network.emulateNetworkConditions',
        { offline: false, latency: 400, downloadThroughput: 50000, uploadThroughput: 50000 });
    await page.goto(url, { waitUntil: 'commit' });
    await page.waitForFunction(() => window.readyAt, null, { timeout: 15000 });
    seen.slowLink = await page.evaluate(() => ({ ready: window.readyAt,
        paint: performance.getEntriesByName('first-contentful-paint')[0]?.startTime }));
    await context.close();
}

// A common static host: an hour of max-age on scripts, styles and images, none on the rest,
// and a new version of the site put in place of the old one.
function staticHost() {
    const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
        '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml', '.png': 'image/png' };
    const host = { root: null };
    host.server = createServer((request, response) => {
        const path = join(host.root, new URL(request.url, 'http://host').pathname.replace(/\/$/, '/index.html'));
        if (!existsSync(path)) return response.writeHead(404).end();
        response.writeHead(200, { 'Content-Type': types[extname(path)],
            ...(/\.(js|css|png|svg)$/.test(path) ? { 'Cache-Control': 'max-age=3600' } : {}) });
        response.end(readFileSync(path));
    });
    return new Promise(resolve => host.server.listen(0, '127.0.0.1', () => resolve(host)));
}

// Version B of the site: the same program with a byte more in its script and its module.
function versionB(build) {
    const dir = mkdtempSync(join(tmpdir(), 'tornel-b-')), program = join(dir, 'program');
    mkdirSync(program);
    writeFileSync(join(program, 'tornel.js'), readFileSync(join(build, 'web/program/tornel.js'), 'utf8') + '\n// B\n');
    writeFileSync(join(program, 'tornel.wasm'), Buffer.concat([readFileSync(join(build, 'web/program/tornel.wasm')),
        Buffer.from([0, 2, 1, 66])]));    // an empty custom section named "B"
    const web = fileURLToPath(new URL('../../web/', import.meta.url));
    execFileSync(process.execPath, [join(web, 'make_site.mjs'), web, fileURLToPath(new URL('../../packaging/icons/',
        import.meta.url)), program, join(build, 'web/board.js'), join(dir, 'site'), 'B']);
    return join(dir, 'site');
}

// Version A in play, then B on the server: every load pairs a script with its own program,
// B shows by the second reload, a page still running A plays on, and another app's cache stays.
async function update(browser, build) {
    const host = await staticHost(), site = `http://127.0.0.1:${host.server.address().port}/`;
    host.root = join(build, 'site');
    const context = await browser.newContext();
    const version = page => page.evaluate(() => document.querySelector('script[data-program]').dataset.program);
    try {
        const running = watch(await context.newPage(), 'update');
        await running.goto(site);
        await ready(running);
        await running.evaluate(() => navigator.serviceWorker.ready.then(() =>
            caches.open('another-app')).then(c => c.put('/kept', new Response('kept'))));
        const page = watch(await context.newPage(), 'update');
        await page.goto(site);
        await ready(page);
        const a = await version(page);
        host.root = versionB(build);
        seen.update = { versions: [] };
        for (let r = 0; r < 2; r++) {
            await page.reload();
            seen.update.versions.push({ ready: await ready(page).then(() => true, () => false), a: await version(page) === a });
            if (r === 0) await page.evaluate(async () => {    // the new worker, found on the way, taking over
                const registration = await navigator.serviceWorker.ready;
                await registration.update();
                const worker = registration.installing || registration.waiting;
                if (worker && worker.state !== 'activated')
                    await new Promise(r => worker.addEventListener('statechange', () => worker.state === 'activated' && r()));
            });
        }
        await turn(running, 1);
        seen.update.running = await snap(running);
        seen.update.caches = await page.evaluate(() => caches.keys());
    } finally {
        await context.close();
        host.server.close();
    }
}

const browser = await chromium.launch({ executablePath: '/usr/bin/chromium' });
try {
    const context = await browser.newContext();
    const parts = [() => wholeGame(context), () => phone(browser), () => offline(browser), () => dark(browser),
        () => failure(context), () => keptGame(browser), () => heldKeys(browser), () => fits(browser),
        () => refusals(browser), () => slowLink(browser), () => update(browser, build)];
    for (const part of parts) {
        try {
            await part();
        } catch (e) {
            (seen.errors ??= []).push(e.message.split('\n')[0]);
        }
    }
} finally {
    await browser.close();
    writeFileSync(out, JSON.stringify(seen));
}
