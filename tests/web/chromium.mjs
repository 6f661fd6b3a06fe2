// Plays steps.mjs in the machine's Chromium through playwright-core.
//
//   node chromium.mjs URL OUT_JSON SERVER_PID
import { chromium } from 'playwright-core';
import { play } from './steps.mjs';

const [url, out, server] = process.argv.slice(2);
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium' });
const page = await browser.newPage({ colorScheme: 'light' });
const troubles = [];
page.on('dialog', d => {
    troubles.push(`native ${d.type()} "${d.message()}"`);
    d.dismiss().catch(() => {});
});
page.on('console', m => { if (m.type() === 'error') troubles.push(`console.error ${m.text()}`); });
page.on('pageerror', e => troubles.push(`uncaught ${e.message}`));

await play({
    name: 'chromium',
    open: address => page.goto(address),
    reload: () => page.reload(),
    evaluate: expression => page.evaluate(expression),
    click: (x, y) => page.mouse.click(x, y),
    press: key => page.keyboard.press(key),
    scheme: colorScheme => page.emulateMedia({ colorScheme }),
    troubles: async () => troubles,
    close: () => browser.close(),
}, url, out, Number(server));
