// The shipped pages in headless Chromium. Each skin is driven as the bar drives it, at the bar's
// narrow and usual widths: the capture box written in, 0, 1 and 30 captures, a click on every
// control. Fails on a script error, a control that calls no bridge method or the wrong one,
// content wider than the window, a cut control label or list entry without a tooltip, text
// below WCAG's contrast minimum, and a compact setting that does not survive a reload.
// Screenshots go to build/skins/.  Usage: node tests/skins/run.js
const fs = require('fs');
const path = require('path');
const puppeteer = require('puppeteer-core');
const es5Problems = require('./es5.js');

const root = path.resolve(__dirname, '../..');
const data = path.join(root, 'data');
const shots = path.join(root, 'build/skins');
const barScript = fs.readFileSync(path.join(__dirname, 'bar.js'), 'utf8');

const dataFile = (shipped) => shipped.xml ? fs.readFileSync(path.join(data, shipped.xml), 'latin1') : '';
const skin = (name) => ({ name, file: `Skins/${name}/${name}.htm`, xml: `Skins/${name}/${name}.xml`, widths: [220, 300] });
const help = fs.readdirSync(path.join(data, 'help')).filter((f) => f.endsWith('.htm'))
  .map((f) => ({ name: 'help-' + f.slice(0, -4), file: 'help/' + f, widths: [480] }));
const PAGES = [skin('Night'), skin('Meadow'), { name: 'safeshutdown', file: 'safeshutdown.htm', widths: [300, 800] }, ...help];
const HEIGHT = 560;
const COUNTS = [0, 1, 30];

// What each control, known by its accessible name, must ask of the bar; other reads are free.
const CONTROLS = [
  [/^open here/i, 'ListItemHere'], [/new window/i, 'ListItemNew'], [/^preview/i, 'ListItemPreview'],
  [/^remove/i, 'ListItemRemove'], [/^(select )?all\b/i, 'ListItemSelect'], [/^(select )?none\b|^clear/i, 'ListItemUnSelect'],
  [/^options/i, 'ShowOptions'], [/^help/i, 'ShowHelp'], [/^menu/i, 'ShowContextMenu'],
  [/^(compact|expand|full)/i, 'SaveXMLDATA'], [/shut ?down/i, 'SafeShutdown'],
];
const READS = new Set(['getXMLList', 'GetVersion', 'LoadXMLDATA', 'defaultLKCaptureListLarkspanUpdate']);

let passed = 0;
const failures = [];
function check(what, problems) {
  if (problems.length === 0) return passed++;
  failures.push(what);
  console.log(`FAIL ${what}\n  ${problems.join('\n  ')}`);
}

// In the page: what sticks out of the window, control labels that do not fit, and entries cut
// without a tooltip.
function layoutProblems() {
  const width = window.innerWidth;
  const out = [];
  const label = (e) => e.id ? '#' + e.id : e.tagName.toLowerCase() + (e.className ? '.' + String(e.className).split(' ')[0] : '') + ` "${(e.innerText || '').trim().replace(/\s+/g, ' ').slice(0, 20)}"`;
  const outside = (e) => { const r = e.getBoundingClientRect(); return r.width && (r.right > width + 0.5 || r.left < -0.5) && r; };
  for (const e of document.querySelectorAll('body *:not(option)')) {
    const r = outside(e);
    if (r && !outside(e.parentElement)) out.push(`${label(e)} spans ${Math.round(r.left)}..${Math.round(r.right)} px`);
    if (e.matches('a[href], button, [onclick]') && e.clientWidth && e.scrollWidth > e.clientWidth + 1) out.push(`${label(e)} needs ${e.scrollWidth} px, has ${e.clientWidth}`);
  }
  const box = document.getElementById('defaultLKCaptureListLarkspan');
  if (box) {
    box.dispatchEvent(new MouseEvent('mouseover', { bubbles: true }));
    const ctx = document.createElement('canvas').getContext('2d');
    ctx.font = getComputedStyle(box).font;
    for (const o of box.options) if (ctx.measureText(o.text).width > box.clientWidth - 8 && o.title !== o.text) out.push(`entry "${o.text.slice(0, 30)}" is cut and has no tooltip`);
  }
  if (document.documentElement.scrollWidth > width) out.push(`page is ${document.documentElement.scrollWidth} px wide`);
  return out;
}

// In the page: every piece of visible text with its colour (alpha times the opacity above it)
// and the boxes of its lines.
function texts() {
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  const found = [];
  for (let n; (n = walker.nextNode());) {
    const e = n.parentElement;
    if (!n.data.trim() || e.closest('select, script, style')) continue;
    const range = document.createRange();
    range.selectNodeContents(n);
    const rects = [...range.getClientRects()].filter((r) => r.width > 1 && r.height > 1 && r.right > 0 && r.left < innerWidth && r.top < innerHeight);
    if (!rects.length) continue;
    const s = getComputedStyle(e);
    const rgba = s.color.match(/[\d.]+/g).map(Number);
    let alpha = rgba.length > 3 ? rgba[3] : 1;
    for (let a = e; a; a = a.parentElement) alpha *= Number(getComputedStyle(a).opacity);
    const px = parseFloat(s.fontSize);
    const large = px >= 24 || (px >= 18.66 && Number(s.fontWeight) >= 700);
    found.push({ text: n.data.trim().slice(0, 30), rgb: rgba.slice(0, 3), alpha, min: large ? 3 : 4.5,
      rects: rects.map((r) => [r.left, r.top, r.right, r.bottom].map(Math.round)) });
  }
  return found;
}

// In the page: the lowest contrast of each text against every pixel drawn behind it (the
// screenshot was taken with the text made transparent).
async function contrastProblems(items, png) {
  const img = new Image();
  img.src = 'data:image/png;base64,' + png;
  await img.decode();
  const canvas = document.createElement('canvas');
  canvas.width = img.width;
  canvas.height = img.height;
  const ctx = canvas.getContext('2d');
  ctx.drawImage(img, 0, 0);
  const lum = (c) => c.map((v) => (v /= 255) <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4)
    .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
  const out = [];
  for (const t of items) {
    let worst = 21;
    for (const [l, top, r, b] of t.rects) {
      const w = Math.min(r, img.width) - Math.max(l, 0);
      const h = Math.min(b, img.height) - Math.max(top, 0);
      if (w <= 0 || h <= 0) continue;
      const px = ctx.getImageData(Math.max(l, 0), Math.max(top, 0), w, h).data;
      for (let i = 0; i < px.length; i += 4) {
        const bg = [px[i], px[i + 1], px[i + 2]];
        const fg = lum(t.rgb.map((c, k) => t.alpha * c + (1 - t.alpha) * bg[k]));
        const back = lum(bg);
        worst = Math.min(worst, (Math.max(fg, back) + 0.05) / (Math.min(fg, back) + 0.05));
      }
    }
    if (worst < t.min) out.push(`"${t.text}" ${worst.toFixed(2)}:1, needs ${t.min}:1`);
  }
  return out;
}

async function checkLook(page, what, shot) {
  await page.mouse.move(0, 0);
  await page.evaluate(() => document.activeElement && document.activeElement.blur());
  check(`${what}: fits`, await page.evaluate(layoutProblems));
  const items = await page.evaluate(texts);
  const hide = await page.addStyleTag({ content: '* { color: transparent !important; text-shadow: none !important; }' });
  const png = await page.screenshot({ encoding: 'base64' });
  await hide.evaluate((e) => e.remove());
  check(`${what}: contrast`, await page.evaluate(contrastProblems, items, png));
  await page.screenshot({ path: path.join(shots, shot + '.png') });
}

// The page's controls with their accessible names and the bridge method each name stands for;
// the compact toggle last.
async function controlsOf(page) {
  const controls = [];
  for (const handle of await page.$$('a[href], button, input, [onclick]')) {
    const name = await handle.evaluate((e) => (e.getAttribute('aria-label') || e.innerText || '').trim().replace(/\s+/g, ' '));
    const row = CONTROLS.find(([pattern]) => pattern.test(name));
    controls.push({ handle, name, want: row ? row[1] : null });
  }
  return controls.sort((a, b) => (a.want === 'SaveXMLDATA') - (b.want === 'SaveXMLDATA'));
}

// Every control once; each must call its own bridge method and no other action. With 30
// entries in the list, so that All, None and the rest have work.
async function clickEvery(page, what) {
  const problems = [];
  for (const { handle, name, want } of await controlsOf(page)) {
    if (!want) { problems.push(`control "${name}" has no name that says what it does`); continue; }
    await page.evaluate(() => { __bar.reset(30); __bar.calls.length = 0; });
    await handle.click();
    const actions = (await page.evaluate(() => __bar.calls)).filter((c) => !READS.has(c));
    if (!actions.length || actions.some((c) => c !== want)) problems.push(`"${name}" called [${actions}], wants ${want}`);
  }
  // The list itself: picking entries tells the bar, a double click previews.
  await page.evaluate(() => { __bar.calls.length = 0; });
  await page.select('#defaultLKCaptureListLarkspan', 'Key2');
  await page.click('#defaultLKCaptureListLarkspan', { count: 2 });
  const calls = await page.evaluate(() => __bar.calls);
  for (const want of ['defaultLKCaptureListLarkspanUpdate', 'ListItemPreview']) if (!calls.includes(want)) problems.push(`the list did not call ${want}`);
  check(`${what}: controls`, problems);
}

async function open(browser, shipped, width, xml, withBridge) {
  const page = await browser.newPage();
  page.setDefaultTimeout(10000);
  const errors = [];
  page.on('pageerror', (e) => errors.push('script error: ' + e.message));
  page.on('requestfailed', (r) => errors.push('not loaded: ' + r.url()));
  await page.setViewport({ width, height: HEIGHT });
  await page.evaluateOnNewDocument(`(${barScript})(${JSON.stringify(xml)}, ${withBridge})`);
  await page.goto('file://' + path.join(data, shipped.file), { waitUntil: 'load' });
  await page.evaluate(() => __bar.loaded());
  return { page, errors };
}

// The compact setting, toggled and the page loaded again, with the bar's data file and without
// a bar at all.
async function compactSurvives(browser, shipped, withBridge) {
  const { page, errors } = await open(browser, shipped, 300, dataFile(shipped), withBridge);
  const toggle = (await controlsOf(page)).pop();
  await toggle.handle.click();
  const before = await page.evaluate(() => document.body.className);
  const saved = await page.evaluate(() => __bar.data);
  await page.close();
  // Through the bar the setting must come back from its data file alone: a fresh profile.
  const again = await open(withBridge ? await browser.createBrowserContext() : browser, shipped, 300, saved, withBridge);
  const after = await again.page.evaluate(() => document.body.className);
  check(`${shipped.name}: compact setting kept ${withBridge ? 'through the bar' : 'without a bar'}`,
    [...errors, ...again.errors, ...(before === after ? [] : [`body class "${after}" after reload, "${before}" before`])]);
  await (withBridge ? again.page.browserContext().close() : again.page.close());
}

async function main() {
  fs.mkdirSync(shots, { recursive: true });
  check('scripts parse as ECMAScript 5', es5Problems(data));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--force-color-profile=srgb'],
    ignoreDefaultArgs: ['--hide-scrollbars'],
  });
  try {
    for (const shipped of PAGES) {
      for (const width of shipped.widths) {
        const what = `${shipped.name} at ${width} px`;
        const { page, errors } = await open(browser, shipped, width, dataFile(shipped), true);
        if (!shipped.xml) {
          await checkLook(page, what, `${shipped.name}-${width}`);
        } else {
          for (const n of COUNTS) {
            await page.evaluate((count) => __bar.reset(count), n);
            await checkLook(page, `${what}, ${n} captured`, `${shipped.name}-${width}-${n}`);
          }
          await clickEvery(page, what);
          await checkLook(page, `${what}, compact`, `${shipped.name}-${width}-compact`);
          await clickEvery(page, `${what}, compact`);
        }
        check(`${what}: no script error`, [...new Set([...errors, ...await page.evaluate(() => __bar.errors)])]);
        await page.close();
      }
      if (shipped.xml) for (const withBridge of [true, false]) await compactSurvives(browser, shipped, withBridge);
    }
  } finally {
    await browser.close();
  }
  console.log(`skins: ${passed} passed, ${failures.length} failed`);
  process.exitCode = failures.length ? 1 : 0;
}

setTimeout(() => { console.log('skins: timed out'); process.exit(1); }, 120000).unref();
main().catch((e) => { console.log('skins: ' + (e.stack || e)); process.exit(1); });
