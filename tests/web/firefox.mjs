// Plays steps.mjs in Firefox ESR over WebDriver BiDi, which the browser speaks itself, through
// node's own WebSocket (node 20: --experimental-websocket).
//
//   node --experimental-websocket firefox.mjs URL OUT_JSON SERVER_PID
import { spawn } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { clickActions, keyActions, play } from './steps.mjs';

const [url, out, server] = process.argv.slice(2);
// The page's colour scheme, as a player sets the website appearance in the settings.
const SCHEME_PREF = 'layout.css.prefers-color-scheme.content-override';
const SCHEMES = { dark: 0, light: 1 };

// System access lets the session set a preference in the browser's own window. The profile is
// a fresh one in the test's temporary folder, which the test removes.
const browser = spawn('firefox-esr', ['--headless', '--no-remote', '--remote-debugging-port=0',
    '--remote-allow-system-access', '--profile', mkdtempSync(join(tmpdir(), 'firefox-'))],
    { stdio: ['ignore', 'ignore', 'pipe'] });
const address = await new Promise((resolve, reject) => {
    let said = '';
    browser.stderr.on('data', d => {
        said += d;
        const found = said.match(/WebDriver BiDi listening on (ws:\/\/\S+)/);
        if (found) resolve(found[1]);
    });
    browser.on('exit', status => reject(new Error(`Firefox ended at start with ${status}: ${said}`)));
    setTimeout(() => reject(new Error(`Firefox did not listen within 20 s: ${said}`)), 20000).unref();
});

const socket = new WebSocket(`${address}/session`);
const answers = new Map(), troubles = [];
let lastId = 0;
socket.addEventListener('message', ({ data }) => {
    const m = JSON.parse(data);
    if (m.type === 'event') return heard(m);
    const answer = answers.get(m.id);
    answers.delete(m.id);
    if (m.type === 'success') answer?.resolve(m.result);
    else answer?.reject(new Error(`${m.error}: ${m.message}`));
});
await new Promise((resolve, reject) => {
    socket.addEventListener('open', resolve);
    socket.addEventListener('error', () => reject(new Error(`no BiDi session at ${address}`)));
});

const send = (method, params = {}) => new Promise((resolve, reject) => {
    answers.set(++lastId, { resolve, reject });
    socket.send(JSON.stringify({ id: lastId, method, params }));
});

function heard({ method, params }) {
    if (method === 'browsingContext.userPromptOpened') {
        troubles.push(`native ${params.type} "${params.message}"`);
        send('browsingContext.handleUserPrompt', { context: params.context, accept: false }).catch(() => {});
    } else if (params.level === 'error' || params.type === 'javascript') {
        troubles.push(`${params.type} ${params.level}: ${params.text}`);
    }
}

async function evaluate(context, expression) {
    const done = await send('script.evaluate', { expression, target: { context }, awaitPromise: true });
    if (done.type === 'exception') throw new Error(`in the page: ${done.exceptionDetails.text}`);
    return done.result.value;
}

await send('session.new', { capabilities: {} });
await send('session.subscribe', { events: ['log.entryAdded', 'browsingContext.userPromptOpened'] });
const chrome = (await send('browsingContext.getTree', { 'moz:scope': 'chrome' })).contexts[0].context;
// A tab of our own: the first one never has the focus, so a key there would not press a button.
const { context } = await send('browsingContext.create', { type: 'tab' });

const driver = {
    name: 'firefox',
    open: page => send('browsingContext.navigate', { context, url: page, wait: 'complete' }),
    reload: () => send('browsingContext.reload', { context, wait: 'complete' }),
    evaluate: expression => evaluate(context, expression),
    click: (x, y) => send('input.performActions', { context, actions: clickActions(x, y) }),
    press: key => send('input.performActions', { context, actions: keyActions(key) }),
    scheme: name => evaluate(chrome, `Services.prefs.setIntPref('${SCHEME_PREF}', ${SCHEMES[name]}); ''`),
    troubles: async () => troubles,

    async close() {
        await send('session.end').catch(() => {});
        socket.close();
        if (browser.exitCode !== null) return;
        browser.kill();
        await new Promise(resolve => browser.on('exit', resolve));
    },
};
await driver.scheme('light');
await play(driver, url, out, Number(server));
