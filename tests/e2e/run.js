// SPDX-License-Identifier: MIT
// Builds the demo project with pagloom-cli and drives the generated site in headless Chromium,
// once served over http://127.0.0.1 and once opened from file://.
//
//   node run.js --cli build/bin/pagloom-cli --project examples/demo/demo.plp
//   node run.js --site DIR        (check an already built site)
'use strict';

const assert = require('node:assert/strict');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { chromium } = require('playwright-core');

// What the demo project's menu must show: active main entries in order, the active sub
// entries of each (inactive ones and the inactive main entry "Winterdienst" never appear).
const MENU = [
  { text: 'Über uns', file: 'ueber-uns.htm', subs: [['Geschichte', 'geschichte.htm'], ['Unser Team', 'team.htm']] },
  {
    text: 'Pflanzen & Bäume',
    file: 'pflanzen.htm',
    subs: [['Stauden', 'stauden.htm'], ['Obstgehölze', 'obstgehoelze.htm'], ['Rosen neu', 'rosen.htm']],
  },
  { text: 'Aktuelles', file: 'aktuelles.htm', subs: [] },
  { text: 'Kontakt', file: 'kontakt.htm', subs: [['Anfahrt', 'anfahrt.htm'], ['Öffnungszeiten', 'oeffnungszeiten.htm']] },
];
// Background colours the demo's stylesheet gives the current entry of each level.
const MAIN_SELECTED_BG = 'rgb(76, 140, 43)';
const SUB_SELECTED_BG = 'rgb(213, 232, 196)';

const CHROMIUM_ARGS = [
  '--headless',
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];

function parseArgs(argv) {
  const opts = {};
  for (let i = 0; i < argv.length; i += 2) {
    const key = argv[i].replace(/^--/, '');
    if (!['cli', 'project', 'site'].includes(key) || argv[i + 1] === undefined) {
      throw new Error(`unknown or incomplete argument: ${argv[i]}`);
    }
    opts[key] = path.resolve(argv[i + 1]);
  }
  if (!opts.site && !(opts.cli && opts.project)) throw new Error('need --site DIR or --cli PATH --project FILE');
  return opts;
}

// The demo without its top frame: the menu and content frames then have other numbers.
function withoutTopFrame(project, dir) {
  const text = fs.readFileSync(project, 'latin1').replace(/^frametop=1\r$/m, 'frametop=0\r');
  assert.match(text, /^frametop=0\r$/m);
  const copy = path.join(dir, 'ohne-oben.plp');
  fs.writeFileSync(copy, text, 'latin1');
  return copy;
}

function buildDemo(cli, project, dest) {
  const r = spawnSync(cli, ['build', project, '--dest', dest], { encoding: 'utf8' });
  if (r.status !== 0) {
    throw new Error(`pagloom-cli exited with ${r.status}\nstdout:\n${r.stdout}\nstderr:\n${r.stderr}`);
  }
  assert.match(r.stdout, /Erstellen der Dateien fertig!/);
}

const TYPES = { '.htm': 'text/html', '.html': 'text/html', '.css': 'text/css', '.js': 'text/javascript', '.xml': 'text/xml' };

// A small static file server on 127.0.0.1; resolves to the server and its base address.
function serve(dir) {
  const server = http.createServer((req, res) => {
    const rel = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(dir, path.normalize(rel).replace(/^([/\\])+/, ''));
    if (!file.startsWith(dir) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404);
      res.end();
      return;
    }
    res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => resolve({ server, base: `http://127.0.0.1:${server.address().port}/` }));
  });
}

async function menuFrame(page) {
  const frame = page.frame({ name: 'links' });
  assert.ok(frame, 'frameset has a menu frame "links"');
  await frame.waitForSelector('ul.pagloom_men a');
  return frame;
}

// Main entries (text, href, target, id) and sub lists as the menu frame shows them now.
async function readMenu(frame) {
  return frame.evaluate(() => {
    const lists = Array.from(document.querySelectorAll('ul.pagloom_men, ul.pagloom_umen'));
    return lists.map((ul) => ({
      cls: ul.className,
      links: Array.from(ul.querySelectorAll('li > a')).map((a) => ({
        text: a.textContent,
        href: a.getAttribute('href'),
        target: a.getAttribute('target'),
        id: a.id,
      })),
    }));
  });
}

function flatten(lists, cls) {
  return lists.filter((l) => l.cls === cls).flatMap((l) => l.links);
}

async function waitForContent(page, file) {
  const content = page.frame({ name: 'rechts' });
  await content.waitForURL((u) => u.pathname.endsWith('/' + file));
  await content.waitForLoadState('load');
  return content;
}

async function selectedBackground(frame, id) {
  return frame.evaluate((i) => {
    const el = document.getElementById(i);
    return el ? getComputedStyle(el).backgroundColor : null;
  }, id);
}

async function clickEntry(page, frame, text, file) {
  await frame.getByRole('link', { name: text, exact: true }).click();
  return waitForContent(page, file);
}

async function checkSite(context, url, label, topFrame = true) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(url);
  assert.equal(await page.title(), 'Gärtnerei Grünfeld - Demo', `${label}: frameset title`);
  assert.equal(!!page.frame({ name: 'oben' }), topFrame, `${label}: top frame`);
  let menu = await menuFrame(page);
  await waitForContent(page, 'erste.htm');

  // Start: every active main entry as a link into "rechts", no sub list, nothing selected.
  let lists = await readMenu(menu);
  assert.deepEqual(
    flatten(lists, 'pagloom_men').map((l) => [l.text, l.href, l.target]),
    MENU.map((m) => [m.text, m.file, 'rechts']),
    `${label}: main entries`,
  );
  assert.equal(flatten(lists, 'pagloom_umen').length, 0, `${label}: no sub entries before a click`);
  assert.ok(!lists.some((l) => l.links.some((a) => a.id)), `${label}: nothing selected at start`);
  assert.equal(await menu.locator('a[href="rosen.htm"] i').count(), 0, `${label}: sub entries are hidden`);

  // A main entry with sub entries: its page opens in the content frame, its subs appear
  // right after it, and it is marked current with the stylesheet's look.
  const withSubs = MENU[1];
  let content = await clickEntry(page, menu, withSubs.text, withSubs.file);
  assert.equal(await content.locator('h1').textContent(), withSubs.text, `${label}: content page of the clicked entry`);
  await menu.waitForSelector('ul.pagloom_umen a');
  lists = await readMenu(menu);
  assert.deepEqual(lists.map((l) => l.cls), ['pagloom_men', 'pagloom_umen', 'pagloom_men'], `${label}: list order`);
  assert.deepEqual(
    lists[1].links.map((l) => [l.text, l.href, l.target]),
    withSubs.subs.map(([t, f]) => [t, f, 'rechts']),
    `${label}: sub entries of the clicked entry`,
  );
  assert.deepEqual(flatten(lists, 'pagloom_men').filter((l) => l.id).map((l) => [l.text, l.id]), [[withSubs.text, 'men_selected']]);
  assert.equal(await selectedBackground(menu, 'men_selected'), MAIN_SELECTED_BG, `${label}: selected main entry styled`);
  assert.equal(await menu.locator('a[href="rosen.htm"] i').textContent(), 'neu', `${label}: tags in menu texts kept`);

  // A sub entry: it opens and becomes current, its main entry stays current.
  const [subText, subFile] = withSubs.subs[1];
  content = await clickEntry(page, menu, subText, subFile);
  assert.equal(await content.locator('h1').textContent(), subText);
  await menu.waitForSelector('#umen_selected');
  assert.equal(await menu.locator('#umen_selected').textContent(), subText, `${label}: clicked sub entry current`);
  assert.equal(await menu.locator('#men_selected').textContent(), withSubs.text);
  assert.equal(await selectedBackground(menu, 'umen_selected'), SUB_SELECTED_BG, `${label}: selected sub entry styled`);

  // A main entry without sub entries closes the other sub list.
  const plain = MENU[2];
  await clickEntry(page, menu, plain.text, plain.file);
  await menu.waitForFunction((t) => {
    const sel = document.getElementById('men_selected');
    return sel && sel.textContent === t && !document.querySelector('ul.pagloom_umen');
  }, plain.text);

  // A page reached without the menu (here: the content frame navigated directly) still
  // moves the menu's mark to its entry.
  const other = MENU[3];
  await page.frame({ name: 'rechts' }).goto(new URL(other.file, url).href);
  await menu.waitForFunction((t) => {
    const sel = document.getElementById('men_selected');
    return sel && sel.textContent === t && document.querySelector('ul.pagloom_umen');
  }, other.text);

  // Reloading the menu frame keeps the current entry.
  await menu.goto(new URL('menframe.htm', url).href);
  menu = await menuFrame(page);
  assert.equal(await menu.locator('#men_selected').textContent(), other.text, `${label}: state survives a menu reload`);

  assert.deepEqual(errors, [], `${label}: no script errors`);
  await page.close();
}

async function withBrowser(extraArgs, fn) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'pagloom-e2e-profile-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: [...CHROMIUM_ARGS, ...extraArgs],
  });
  try {
    await fn(context);
  } finally {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

async function main() {
  const opts = parseArgs(process.argv.slice(2));
  let site = opts.site;
  let tmp = null;
  let flat = null;
  if (!site) {
    tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'pagloom-e2e-site-'));
    site = path.join(tmp, 'demo');
    flat = path.join(tmp, 'ohne-oben');
    fs.mkdirSync(site);
    fs.mkdirSync(flat);
    buildDemo(opts.cli, opts.project, site);
    buildDemo(opts.cli, withoutTopFrame(opts.project, tmp), flat);
  }
  try {
    const { server, base } = await serve(site);
    try {
      await withBrowser([], (ctx) => checkSite(ctx, base + 'index.htm', 'http'));
      console.log('ok - demo site over http');
    } finally {
      server.close();
    }
    if (flat) {
      const other = await serve(flat);
      try {
        await withBrowser([], (ctx) => checkSite(ctx, other.base + 'index.htm', 'http, no top frame', false));
        console.log('ok - demo site without top frame over http');
      } finally {
        other.server.close();
      }
    }
    await withBrowser(['--allow-file-access-from-files'], (ctx) =>
      checkSite(ctx, pathToFileURL(path.join(site, 'index.htm')).href, 'file'),
    );
    console.log('ok - demo site over file://');
  } finally {
    if (tmp) fs.rmSync(tmp, { recursive: true, force: true });
  }
}

main().catch((e) => {
  console.error(e && e.stack ? e.stack : e);
  process.exit(1);
});
