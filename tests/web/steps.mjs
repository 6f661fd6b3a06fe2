// What a player does on the page and what is read back, said once for every browser engine.
// Each engine's driver (firefox.mjs, webkit.mjs; play.mjs drives Chromium with its own steps) only knows how to evaluate a
// script in the page, click at a point, press a key, reload and switch the colour scheme;
// these steps write down what they saw, for test_engines.py to hold against the one
// expected layout and the one rule of a roll:
// a whole game by clicks and keys, the result box closed by Enter, the fresh game, the focus
// ring in light and dark, and a reload once the site's server has stopped.
import { writeFileSync } from 'node:fs';

const TURNS = 100;
// Turns played with a key on the focused Roll button; every other turn is a click.
const KEY_TURNS = new Map([[0, 'Space'], [1, 'Enter'], [2, 'Space'], [3, 'Enter'], [60, 'Enter'], [61, 'Space']]);
// The keys as WebDriver names them.
const KEYS = { Enter: '\uE007', Space: '\uE00D' };

// In the page: every control as a player finds it, its place in CSS px at scale 1 and its
// colours as drawn. With measureHidden, a hidden control is shown for the instant of its
// measure, within one task, so no frame ever paints it. The narration is what the log gained
// since the last look, or null if any of it was not added at the log's end.
export function readWindow(measureHidden) {
    const form = document.querySelector('#form');
    const scale = parseFloat(getComputedStyle(document.body).getPropertyValue('--u'));
    const f = form ? form.getBoundingClientRect() : { left: 0, top: 0, width: 0, height: 0 };
    const controls = {};
    for (const el of document.querySelectorAll('#form [data-control]')) {
        const hidden = el.hidden || getComputedStyle(el).display === 'none';
        if (hidden && measureHidden) el.hidden = false;
        const r = el.getBoundingClientRect(), cs = getComputedStyle(el);
        controls[el.dataset.control] = {
            tag: el.tagName.toLowerCase(), text: el.textContent, hidden,
            rect: [r.left - f.left, r.top - f.top, r.width, r.height].map(v => v / scale),
            background: cs.backgroundColor,
            border: cs.borderTopStyle !== 'none' && parseFloat(cs.borderTopWidth) > 0,
            align: cs.textAlign, font: parseFloat(cs.fontSize) / scale, tabbable: el.tabIndex >= 0 && !hidden,
        };
        if (hidden && measureHidden) el.hidden = true;
    }
    const active = document.activeElement, log = [...document.querySelector('#narration')?.children ?? []];
    const said = window.tornelSaid ??= new WeakSet(), news = log.filter(p => !said.has(p));
    news.forEach(p => said.add(p));
    return {
        state: document.body.dataset.state, scale, size: [f.width / scale, f.height / scale], controls,
        focus: active?.dataset?.control ?? active?.id ?? active?.tagName ?? null,
        narration: news.every((p, i) => p === log[log.length - news.length + i])
            ? news.map(p => p.textContent).join(' ') : null,
        boxOpen: Boolean(document.querySelector('#message')?.open),
        title: document.title, form1Shown: document.body.innerText.includes('Form1'),
    };
}

export function readBox() {
    const box = document.querySelector('#message');
    return {
        open: Boolean(box?.open), modal: Boolean(box?.matches(':modal')), role: box?.getAttribute('role'),
        title: document.querySelector('#message-title')?.textContent,
        text: document.querySelector('#message-text')?.textContent,
        buttons: [...(box?.querySelectorAll('button') ?? [])].map(b => b.textContent),
        openBoxes: document.querySelectorAll('dialog[open]').length, state: document.body.dataset.state,
    };
}

// The focused element's ring as the engine draws it: an outline or a box shadow.
function readRing() {
    const el = document.activeElement, cs = getComputedStyle(el);
    return {
        focus: el?.dataset?.control ?? el?.tagName, dark: matchMedia('(prefers-color-scheme: dark)').matches,
        outline: [cs.outlineStyle, parseFloat(cs.outlineWidth) || 0], shadow: cs.boxShadow,
    };
}

// Keeps what must never happen in the page itself (WebKit's driver reports no console): a
// console error, an uncaught error, an unhandled rejection. Read back before the page goes.
function hook() {
    if (window.tornelTroubles) return;
    const troubles = window.tornelTroubles = [], error = console.error;
    console.error = (...args) => { troubles.push(`console.error ${args.join(' ')}`); error.apply(console, args); };
    addEventListener('error', e => troubles.push(`uncaught ${e.message}`));
    addEventListener('unhandledrejection', e => troubles.push(`unhandled rejection ${e.reason}`));
}

const centre = name => {
    const r = document.querySelector(`[data-control="${name}"]`).getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2];
};

// Runs fn(arg) in the page and brings back its JSON value; fn may return a promise.
async function read(driver, fn, arg = null) {
    const text = await driver.evaluate(
        `(async () => JSON.stringify((await (${fn})(${JSON.stringify(arg)})) ?? null))()`);
    return JSON.parse(text);
}

// Waits in the page until test(arg) holds, then returns then(); false once ms have passed.
// One round trip: WebDriver classic's cost tens of milliseconds.
function until(driver, test, arg = null, ms = 5000, then = () => true) {
    return read(driver, `async arg => { const test = ${test}, end = performance.now() + ${ms};
        while (!test(arg)) {
            if (performance.now() > end) return false;
            await new Promise(r => setTimeout(r, 10));
        }
        return (${then})(); }`, arg);
}

const ready = driver => until(driver, () => document.body.dataset.state === 'ready'
    && document.activeElement?.matches('[data-control^="Roll("]:not([hidden])'), null, 10000);
const snap = (driver, measureHidden = false) => read(driver, readWindow, measureHidden);
const boxOpen = driver => until(driver, () => document.querySelector('#message')?.open);

// What the page's watch kept, and any file it fetched from off the site.
async function gather(driver, seen) {
    seen.troubles.push(...await read(driver, () => [...window.tornelTroubles ?? ['the page lost its watch'],
        ...performance.getEntriesByType('resource').map(e => e.name)
            .filter(name => new URL(name).origin !== location.origin).map(name => `request to ${name}`)]));
}

// Where each control's centre is, read once per page: the window keeps its scale.
let centres = new Map();

async function load(driver, seen, how) {
    centres = new Map();
    await how();
    await read(driver, hook);
    if (!await ready(driver)) seen.troubles.push('the page did not get ready with a Roll button focused');
}

async function clickOn(driver, name) {
    if (!centres.has(name)) centres.set(name, await read(driver, centre, name));
    const [x, y] = centres.get(name);
    await driver.click(Math.round(x), Math.round(y));
}

// One turn of player by click or key; once the turn has passed over or the box is up, the
// window as it is then.
async function turn(driver, player, how) {
    if (how) await driver.press(how);
    else await clickOn(driver, `Roll(${player})`);
    return await until(driver, other => document.querySelector('#message')?.open
        || !document.querySelector(`[data-control="Roll(${other})"]`)?.hidden, 3 - player, 5000, readWindow)
        || snap(driver);
}

async function wholeGame(driver, url, seen) {
    await load(driver, seen, () => driver.open(url));
    seen.opening = await snap(driver, true);
    seen.turns = [];
    for (let k = 0; k < TURNS; k++) {
        const player = 1 + k % 2, how = KEY_TURNS.get(k);
        const focusBefore = how ? (await snap(driver)).focus : null;
        seen.turns.push({ how: how ?? 'click', focusBefore, after: await turn(driver, player, how) });
        if (k === 0) seen.rings.light = await read(driver, readRing);
    }
    await boxOpen(driver);
    seen.box = await read(driver, readBox);
    const behind = await snap(driver);
    for (const name of ['Roll(1)', 'Die(3)', 'Instructions'])
        await clickOn(driver, name);
    await new Promise(r => setTimeout(r, 300));
    seen.boxClicks = { behind, after: await snap(driver), box: await read(driver, readBox) };
    await driver.press('Enter');
    await ready(driver);
    seen.fresh = await snap(driver, true);
    seen.rings.fresh = await read(driver, readRing);
    await gather(driver, seen);
}

// Whose Roll button shows: a page that keeps the game over a reload may not open at player 1.
const toRoll = async driver => (await snap(driver)).controls['Roll(1)']?.hidden ? 2 : 1;

// A key turn in the dark scheme, whose Roll button must show its focus as in the light one.
async function dark(driver, url, seen) {
    await driver.scheme('dark');
    await load(driver, seen, () => driver.open(url));
    await turn(driver, await toRoll(driver), 'Space');
    seen.rings.dark = await read(driver, readRing);
    await gather(driver, seen);
}

// Once the service worker is ready, the next visit is in its hands (WebKit does not always
// hand it the page that was open while it started); then the site's server stops, and the
// page must load again and a roll must play.
async function offline(driver, url, seen, server) {
    await load(driver, seen, () => driver.open(url));
    await read(driver, () => Promise.race([navigator.serviceWorker.ready, new Promise(r => setTimeout(r, 10000))]));
    await gather(driver, seen);
    await load(driver, seen, () => driver.reload());
    seen.offline = { controlled: await read(driver, () => Boolean(navigator.serviceWorker.controller)) };
    await gather(driver, seen);
    process.kill(server, 'SIGTERM');
    for (let tries = 0; await fetch(url).then(() => true, () => false); tries++) {
        if (tries > 100) throw new Error('the server did not stop');
        await new Promise(r => setTimeout(r, 50));
    }
    await load(driver, seen, () => driver.reload());
    seen.offline.before = await snap(driver);
    seen.offline.after = await turn(driver, await toRoll(driver));
    await gather(driver, seen);
}

// Plays every step with driver against the site at url, whose server is process server,
// and writes what it saw to out; the driver is closed at the end.
export async function play(driver, url, out, server) {
    const seen = { engine: driver.name, troubles: [], rings: {}, times: {} };
    const started = performance.now();
    try {
        for (const [name, part] of [['game', wholeGame], ['dark', dark], ['offline', offline]]) {
            const begun = performance.now();
            try {
                await part(driver, url, seen, server);
            } catch (e) {
                (seen.errors ??= []).push(`${name}: ${e.message.split('\n')[0]}`);
            }
            seen.times[name] = Math.round(performance.now() - begun);
        }
        seen.troubles.push(...await driver.troubles());
    } finally {
        await driver.close().catch(e => (seen.errors ??= []).push(`close: ${e.message}`));
        seen.times.all = Math.round(performance.now() - started);
        writeFileSync(out, JSON.stringify(seen));
    }
}

// The pointer click and the key press as WebDriver actions, in its classic and BiDi forms alike.
export const clickActions = (x, y) => [{
    type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: [
        { type: 'pointerMove', x, y, duration: 0 }, { type: 'pointerDown', button: 0 },
        { type: 'pointerUp', button: 0 }],
}];
export const keyActions = key => [{
    type: 'key', id: 'keyboard', actions: [{ type: 'keyDown', value: KEYS[key] }, { type: 'keyUp', value: KEYS[key] }],
}];
