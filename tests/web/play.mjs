// Plays the web page of Tornel in the machine's Chromium and writes down what it saw, for
// test_page.py to hold against the one expected layout and the one rule of a roll:
// a whole game by clicks and keys with the result box, a phone's screen played by taps,
// offline play, the accessibility rules in light and dark, and a failed click.
//
//   node play.mjs URL OUT_JSON
import { chromium } from 'playwright-core';
import { readFileSync, writeFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

const [url, out] = process.argv.slice(2);
const AXE = fileURLToPath(new URL('node_modules/axe-core/axe.min.js', import.meta.url));
const TURNS = 100;
// Turns played with a key on the focused Roll button; after the first four, Tab is pressed.
const KEY_TURNS = new Map([[0, 'Space'], [1, 'Enter'], [2, 'Space'], [3, 'Enter'], [60, 'Enter'], [61, 'Space']]);
const ESCAPE_AFTER = 10;
const seen = { troubles: [] };

// In the page: every control as a player finds it, its place in CSS px at scale 1 and its colours
// as drawn. With
// measureHidden, a hidden control is shown for the instant of its measure, within one task,
// so no frame ever paints it.
function readWindow(measureHidden) {
    const form = document.querySelector('#form');
    const box = document.querySelector('#message');
    const scale = parseFloat(getComputedStyle(document.body).getPropertyValue('--u'));
    const f = form ? form.getBoundingClientRect() : { left: 0, top: 0, width: 0, height: 0 };
    const controls = {};
    for (const el of document.querySelectorAll('[data-control]')) {
        const hidden = el.hidden || getComputedStyle(el).display === 'none';
        if (hidden && measureHidden) el.hidden = false;
        const r = el.getBoundingClientRect(), cs = getComputedStyle(el);
        controls[el.dataset.control] = {
            tag: el.tagName.toLowerCase(), text: el.textContent, hidden,
            rect: [r.left - f.left, r.top - f.top, r.width, r.height].map(v => v / scale),
            background: cs.backgroundColor, colour: cs.color,
            border: cs.borderTopStyle !== 'none' && parseFloat(cs.borderTopWidth) > 0,
            align: cs.textAlign, font: parseFloat(cs.fontSize) / scale, tabbable: el.tabIndex >= 0 && !hidden,
        };
        if (hidden && measureHidden) el.hidden = true;
    }
    const active = document.activeElement;
    return {
        state: document.body.dataset.state, scale, size: [f.width / scale, f.height / scale], controls,
        focus: active?.dataset?.control ?? active?.id ?? active?.tagName ?? null,
        narration: document.querySelector('#narration')?.textContent ?? null, boxOpen: Boolean(box?.open),
        title: document.title, form1Shown: document.body.innerText.includes('Form1'),
    };
}

function readBox() {
    const box = document.querySelector('#message');
    return {
        open: Boolean(box?.open), modal: Boolean(box?.matches(':modal')), role: box?.getAttribute('role'),
        title: document.querySelector('#message-title')?.textContent,
        text: document.querySelector('#message-text')?.textContent,
        buttons: [...(box?.querySelectorAll('button') ?? [])].map(b => b.textContent),
        openBoxes: document.querySelectorAll('dialog[open]').length, state: document.body.dataset.state,
    };
}

// Writes down what must never happen: a native dialog, a console error (with messages of its
// own, any console message at all), an uncaught error or rejection, a request off the site.
function watch(page, where, messages = seen.troubles) {
    const origin = new URL(url).origin, anyMessage = messages !== seen.troubles;
    page.on('dialog', d => {
        messages.push(`${where}: native ${d.type()} "${d.message()}"`);
        d.dismiss().catch(() => {});
    });
    page.on('console', m => {
        if (m.type() === 'error' || anyMessage) messages.push(`${where}: console.${m.type()} ${m.text()}`);
    });
    page.on('pageerror', e => messages.push(`${where}: uncaught ${e.message}`));
    page.on('request', r => { if (!r.url().startsWith(origin)) messages.push(`${where}: request to ${r.url()}`); });
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
    await page.locator('#message-ok').click();
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
}

const browser = await chromium.launch({ executablePath: '/usr/bin/chromium' });
try {
    const context = await browser.newContext();
    const parts = [() => wholeGame(context), () => phone(browser), () => offline(browser), () => dark(browser),
        () => failure(context)];
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
