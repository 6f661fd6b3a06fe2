// Assembles the web site after a build, byte for byte the same for the same inputs. Every
// file the page loads is named after its contents (tornel.<hash>.js, .wasm, the manifest
// and the icons), so that any host may cache them for good and a page always gets a
// program and a script that belong together; only index.html and sw.js carry fixed names.
// index.html holds the opening board (from the board program, written from the control
// table), the style sheet and the start-up script inline, and a Content-Security-Policy
// that allows exactly those two by their hashes.
//
//   node make_site.mjs WEB_DIR ICON_DIR PROGRAM_DIR BOARD_JS SITE_DIR DESCRIPTION
import { createHash } from 'node:crypto';
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [web, icons, program, boardJs, site, description] = process.argv.slice(2);
const digest = (content, encoding) => createHash('sha256').update(content).digest(encoding);
const fill = (template, values) => template.replace(/@([A-Z_0-9]+)@/g, (all, key) => {
    if (!(key in values)) throw new Error(`nothing to fill in for @${key}@`);
    return values[key];
});

rmSync(site, { recursive: true, force: true });
mkdirSync(join(site, 'icons'), { recursive: true });
// Writes content under its name with the first 16 hex digits of its hash before the ending.
function hashed(name, content) {
    const dot = name.lastIndexOf('.');
    const path = `${name.slice(0, dot)}.${digest(content, 'hex').slice(0, 16)}${name.slice(dot)}`;
    writeFileSync(join(site, path), content);
    return path;
}

const names = {
    ICON_SVG: hashed('icons/tornel.svg', readFileSync(join(icons, 'tornel.svg'))),
    ICON_32: hashed('icons/tornel-32.png', readFileSync(join(icons, 'tornel-32.png'))),
    ICON_192: hashed('icons/tornel-192.png', readFileSync(join(icons, 'tornel-192.png'))),
    ICON_512: hashed('icons/tornel-512.png', readFileSync(join(icons, 'tornel-512.png'))),
    ICON_MASKABLE: hashed('icons/tornel-maskable.png', readFileSync(join(icons, 'tornel-maskable-512.png'))),
    SCRIPT: hashed('tornel.js', readFileSync(join(program, 'tornel.js'))),
    WASM: hashed('tornel.wasm', readFileSync(join(program, 'tornel.wasm'))),
    DESCRIPTION: description,
};
names.MANIFEST = hashed('manifest.webmanifest',
    fill(readFileSync(join(web, 'manifest.webmanifest.in'), 'utf8'), names));

// Comments and indentation are for the sources; the page goes without them.
const plainCss = (css) => css.replace(/\/\*[\s\S]*?\*\//g, '').replace(/\s+/g, ' ')
    .replace(/ ?([{};,]) ?/g, '$1').trim();
const plainJs = (js) => js.split('\n').map((line) => line.trim())
    .filter((line) => line && !line.startsWith('//')).join('\n');

const board = JSON.parse(execFileSync(process.execPath, ['--no-experimental-fetch', boardJs],
    { encoding: 'utf8' }));
const style = plainCss(readFileSync(join(web, 'tornel.css'), 'utf8') + board.css);
const boot = plainJs(readFileSync(join(web, 'boot.js'), 'utf8'));
const csp = ["default-src 'self'", `script-src 'self' 'wasm-unsafe-eval' 'sha256-${digest(boot, 'base64')}'`,
    `style-src 'self' 'sha256-${digest(style, 'base64')}'`, "img-src 'self'", "connect-src 'self'",
    "manifest-src 'self'", "worker-src 'self'", "object-src 'none'", "base-uri 'none'",
    "form-action 'none'"].join('; ');
writeFileSync(join(site, 'index.html'), fill(readFileSync(join(web, 'index.html'), 'utf8'), {
    ...names, CSP: csp, TITLE: board.title, STYLE: style, BOOT: boot,
    CONTROLS: board.controls, DESCRIPTIONS: board.descriptions,
}));

// The worker keeps what the page needs to play, and its icon; its cache is named after them
// all. The app icons are fetched by a browser only when it installs the game.
const files = ['./', ...[names.ICON_SVG, names.MANIFEST, names.SCRIPT, names.WASM].sort()];
const kept = files.map((file) => (file === './' ? readFileSync(join(site, 'index.html')) : file));
writeFileSync(join(site, 'sw.js'), fill(readFileSync(join(web, 'sw.js'), 'utf8'), {
    SITE_HASH: digest(kept.join('\n'), 'hex').slice(0, 16),
    SITE_FILES: files.map((file) => `'${file}'`).join(', '),
}));
