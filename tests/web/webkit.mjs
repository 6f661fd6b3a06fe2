// Plays steps.mjs in WebKitGTK's MiniBrowser through WebKitWebDriver (WebDriver classic over
// plain HTTP), on an X server of its own.
//
//   node webkit.mjs URL OUT_JSON SERVER_PID
import { spawn } from 'node:child_process';
import { createServer } from 'node:net';
import { clickActions, keyActions, play } from './steps.mjs';

const [url, out, server] = process.argv.slice(2);
const BROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const started = [];

function start(argv, options) {
    const child = spawn(argv[0], argv.slice(1), options);
    started.push(child);
    return child;
}

// Xvfb names its display on fd 3 once it listens; two started at once may race for one.
function display() {
    const xvfb = start(['Xvfb', '-displayfd', '3', '-screen', '0', '1280x1024x24', '-dpi', '96', '-nolisten',
        'tcp', '-noreset'], { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    return new Promise((resolve, reject) => {
        let said = '';
        xvfb.stdio[3].on('data', d => {
            said += d;
            if (said.includes('\n')) resolve(`:${said.trim()}`);
        });
        xvfb.on('exit', () => reject(new Error('Xvfb ended at start')));
    });
}

const freePort = () => new Promise(resolve => {
    const probe = createServer().listen(0, '127.0.0.1', () => {
        const { port } = probe.address();
        probe.close(() => resolve(port));
    });
});

let DISPLAY;
for (let tries = 0; !DISPLAY; tries++)
    DISPLAY = await display().catch(e => { if (tries === 3) throw e; });
const port = await freePort();
// No session bus: the browser must start none that would outlive the test.
start(['WebKitWebDriver', `--port=${port}`], {
    stdio: 'ignore', env: { ...process.env, DISPLAY, DBUS_SESSION_BUS_ADDRESS: 'disabled:', NO_AT_BRIDGE: '1' } });
const base = `http://127.0.0.1:${port}`;

async function call(method, path, body) {
    const answer = await fetch(`${base}${path}`, { method, body: body && JSON.stringify(body),
        headers: { 'Content-Type': 'application/json' } });
    const { value } = await answer.json();
    if (!answer.ok) throw new Error(`${path}: ${value.error}: ${value.message}`);
    return value;
}

let session;
async function newSession(dark) {
    if (session) await call('DELETE', `/session/${session}`);
    const args = ['--automation', '--full-screen', ...(dark ? ['--dark-mode'] : [])];
    session = (await call('POST', '/session', { capabilities: { alwaysMatch: {
        'webkitgtk:browserOptions': { binary: BROWSER, args } } } })).sessionId;
}

for (let tries = 0; !session; tries++) {
    await newSession(false).catch(e => { if (tries > 50) throw e; });
    if (!session) await new Promise(r => setTimeout(r, 100));
}

const on = (path, body) => call('POST', `/session/${session}${path}`, body);
// A script sent right after a reload may come back as "Could not parse script result": once more.
async function evaluate(expression) {
    const script = `const done = arguments[0]; ${expression}.then(done, e => done({ thrown: String(e) }));`;
    const run = () => on('/execute/async', { script, args: [] });
    const value = await run().catch(e => { if (/Could not parse/.test(e.message)) return run(); throw e; });
    if (value?.thrown) throw new Error(`in the page: ${value.thrown}`);
    return value;
}

const driver = {
    name: 'webkit',
    open: page => on('/url', { url: page }),
    reload: () => on('/refresh', {}),
    evaluate,
    click: (x, y) => on('/actions', { actions: clickActions(x, y) }),
    press: key => on('/actions', { actions: keyActions(key) }),
    // MiniBrowser takes its colour scheme at start: a session of its own.
    scheme: name => newSession(name === 'dark'),
    troubles: async () => [],
    async close() {
        if (session) await call('DELETE', `/session/${session}`).catch(() => {});
        for (const child of started.reverse()) {
            if (child.exitCode !== null) continue;
            child.kill();
            await new Promise(resolve => child.on('exit', resolve));
        }
    },
};
await play(driver, url, out, Number(server));
