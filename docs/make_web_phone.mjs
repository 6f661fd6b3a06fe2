// The web page on a phone's screen for the README: 360 x 640 CSS px at 2 device pixels per CSS
// px, after player 1's first roll, served by scripts/serve_web.py and drawn by the machine's
// Chromium with the npm packages of tests/web (npm ci --prefix tests/web).
//
//   node docs/make_web_phone.mjs SITE_DIR [OUT_PNG]   (default docs/web-phone.png)
import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';

const { chromium } = createRequire(new URL('../tests/web/', import.meta.url))('playwright-core');
const [site, out = fileURLToPath(new URL('web-phone.png', import.meta.url))] = process.argv.slice(2);
const serveWeb = fileURLToPath(new URL('../scripts/serve_web.py', import.meta.url));
const server = spawn('/usr/bin/python3', [serveWeb, site, '--port', '0'], { stdio: ['ignore', 'pipe', 'ignore'] });
const url = await new Promise(resolve =>
    server.stdout.once('data', d => resolve(/Serving Tornel at (\S+)/.exec(String(d))[1])));
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium' });
try {
    const page = await browser.newPage({
        viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true, deviceScaleFactor: 2 });
    await page.goto(url);
    await page.waitForFunction(() => document.body.dataset.state === 'ready');
    await page.locator('[data-control="Roll(1)"]').tap();
    await page.screenshot({ path: out });
} finally {
    await browser.close();
    server.kill('SIGTERM');
}
