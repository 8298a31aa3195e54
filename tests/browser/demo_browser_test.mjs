// End-to-end run of the demo site in headless Chromium (Debian's chromium,
// driven over the DevTools protocol by playwright-core; no browser is
// downloaded).
//   node demo_browser_test.mjs BASE-URL ARTIFACT-DIR [CHROMIUM]
// Checks: the fact page shows the Swedish letters right; its tab links reach
// their sections; the language switch leads to the English (and German) page
// of the same customer; the result list's index links reach each customer;
// the month chooser of the tips page works; the bad-call page; and no request
// for the site's own resources fails. Screenshots go to ARTIFACT-DIR.
import { chromium } from 'playwright-core';
import { mkdirSync } from 'node:fs';

const [base, artifacts, exe = '/usr/bin/chromium'] = process.argv.slice(2);
if (!base || !artifacts) {
  console.error('usage: node demo_browser_test.mjs BASE-URL ARTIFACT-DIR [CHROMIUM]');
  process.exit(2);
}
mkdirSync(artifacts, { recursive: true });
const prog = `${base}/cgi-win/vemlo3.exe`;
const listQuery = 'vad=K&omrade=01&omrade=03&omrade=12&omrade=14&omrade=23&mall=lista';

// The whole run is bounded.
const watchdog = setTimeout(() => { console.error('FAIL: the browser run took too long'); process.exit(1); }, 150000);

let failures = 0;
const check = (ok, what) => {
  if (ok) { console.log(`ok   ${what}`); } else { failures++; console.log(`FAIL ${what}`); }
};

const browser = await chromium.launch({
  executablePath: exe,
  headless: true,
  chromiumSandbox: false,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
const context = await browser.newContext({ viewport: { width: 1200, height: 900 } });
const page = await context.newPage();

// Nothing leaves the loopback site; the site's own requests must all succeed.
const failed = [];
await context.route('**/*', (route) => {
  const url = route.request().url();
  return url.startsWith(base) ? route.continue() : route.abort();
});
page.on('requestfailed', (r) => { if (r.url().startsWith(base)) failed.push(`${r.url()} (${r.failure()?.errorText})`); });
page.on('response', (r) => { if (r.url().startsWith(base) && r.status() >= 400) failed.push(`${r.url()} (HTTP ${r.status()})`); });
const visited = [];
const open = async (url) => {
  const resp = await page.goto(url, { waitUntil: 'load' });
  visited.push(url);
  return resp;
};
const inView = (name) => page.evaluate((n) => {
  const a = document.querySelector(`a[name="${n}"]`);
  if (!a) return 'missing';
  const top = a.getBoundingClientRect().top;
  const bottom = window.scrollY + window.innerHeight >= document.documentElement.scrollHeight - 2;
  return (top >= -2 && top < 40) || (bottom && top >= -2 && top < window.innerHeight) ? 'ok' : `top ${top}`;
}, name);

// 1. The fact page in Swedish.
let resp = await open(`${prog}?kundid=1001`);
check(resp.status() === 200, 'fact page answers 200');
check((await page.evaluate(() => document.characterSet)).toLowerCase() === 'windows-1252', 'fact page is read as Windows-1252');
check((await page.textContent('h1')).trim() === 'Sjöviks Herrgård', 'heading shows the name with å and ö');
const body = await page.textContent('body');
check(body.includes('Ålviksvägen 12') && body.includes('Välkommen till'), 'address and description keep their Swedish letters');
check(!/Ã|Â|\uFFFD/.test(body), 'no mis-decoded letters on the page');
check(!body.includes('<!--'), 'no tag left unanswered in the text');
await page.screenshot({ path: `${artifacts}/fakta-sv.png`, fullPage: true });

// 2. Every tab link of the first tab row reaches its section.
const tabs = await page.$$eval('.flikrad', (rows) => [...rows[0].querySelectorAll('a[href^="#flik"]')].map((a) => a.getAttribute('href')));
check(tabs.length >= 6, `the first tab row links ${tabs.length} other tabs`);
for (const href of tabs) {
  await page.click(`.flikrad >> nth=0 >> a[href="${href}"]`);
  await page.waitForFunction((h) => location.hash === h, href);
  const where = await inView(href.slice(1));
  check(where === 'ok', `tab link ${href} reaches its section (${where})`);
  // The section's own tab row shows its tab selected.
  const code = href.slice(5).replace(/\d+$/, '');
  const selected = await page.evaluate((n) => {
    const row = document.querySelector(`a[name="${n}"]`).nextElementSibling;
    return [...row.querySelectorAll('img')].some((i) => !i.closest('a') && i.getAttribute('src').endsWith(`/flik${n.replace(/^flik/, '').replace(/\d+$/, '')}.gif`));
  }, href.slice(1));
  check(selected, `section ${code} draws its own tab selected`);
  await page.goto(`${prog}?kundid=1001`);
}

// 3. The language switch: English, then German, same customer.
await Promise.all([page.waitForNavigation(), page.click('.sprakval img[alt="English"]')]);
let url = new URL(page.url());
check(url.searchParams.get('sprak') === 'e' && url.searchParams.get('kundid') === '1001', `English link keeps the selection (${page.url()})`);
check(await page.getAttribute('html', 'lang') === 'en', 'the English template is used');
check((await page.textContent('h1')).trim() === 'Sjöviks Herrgård', 'English page shows the same customer');
check((await page.textContent('body')).includes('Welcome to'), 'English page shows the English description');
check(await page.$eval('.flikrad img', (i) => i.getAttribute('src').includes('/fakta/e/')), 'English tab images');
visited.push(page.url());
await page.screenshot({ path: `${artifacts}/fakta-en.png`, fullPage: true });
await Promise.all([page.waitForNavigation(), page.click('.sprakval img[alt="Deutsch"]')]);
url = new URL(page.url());
check(url.searchParams.get('sprak') === 'd' && url.searchParams.get('kundid') === '1001', 'German link keeps the selection');
check((await page.textContent('body')).includes('Willkommen auf'), 'German page shows the German description');
visited.push(page.url());
await page.screenshot({ path: `${artifacts}/fakta-de.png`, fullPage: true });

// 4. The result list: every index link reaches its customer's card.
resp = await open(`${prog}?${listQuery}`);
check(resp.status() === 200, 'result list answers 200');
const index = await page.$$eval('.kundlista a[href^="#"]', (as) => as.map((a) => [a.getAttribute('href'), a.textContent]));
check(index.length >= 5, `the index lists ${index.length} customers`);
for (const [href, name] of index) {
  await page.click(`.kundlista a[href="${href}"]`);
  await page.waitForFunction((h) => location.hash === h, href);
  const where = await inView(href.slice(1));
  const card = await page.evaluate((n) => document.querySelector(`a[name="${n}"]`)?.closest('td')?.querySelector('h2')?.textContent, href.slice(1));
  check(where === 'ok' && card === name, `index link ${href} reaches "${name}" (${where}, card "${card}")`);
}
await page.evaluate(() => window.scrollTo(0, 0));
await page.screenshot({ path: `${artifacts}/lista.png`, fullPage: true });
await open(`${prog}?${listQuery}&sprak=e`);
check((await page.textContent('h2')).includes('Results'), 'English result list');

// 5. The tips page and its month chooser.
await open(`${prog}?funktion=tips&mall=tips`);
const options = await page.$$eval('select[name=arman] option', (os) => os.map((o) => [o.value, o.selected]));
check(options.length === 9 && options.filter((o) => o[1]).length === 1, `month chooser: ${options.length} months, one chosen`);
check(await page.$$eval('.tipskort', (c) => c.length) >= 3, 'this month has its tips');
await page.screenshot({ path: `${artifacts}/tips.png`, fullPage: true });
const next = options[options.findIndex((o) => o[1]) + 1][0];
await Promise.all([page.waitForNavigation(), page.selectOption('select[name=arman]', next)]);
check(new URL(page.url()).searchParams.get('arman') === next, `choosing a month asks for ${next}`);
check(await page.$eval('select[name=arman] option:checked', (o) => o.value) === next, 'the chosen month stays chosen');
visited.push(page.url());

// 6. The bad call.
await open(prog);
check((await page.textContent('h1')).trim() === 'Felaktigt anrop', 'bad call shows its page');
await page.screenshot({ path: `${artifacts}/felaktigt-anrop.png`, fullPage: true });

// 7. No request for the site's own pages, pictures or stylesheet failed.
check(failed.length === 0, `no failed request for the site's own resources${failed.length ? ': ' + failed.join(', ') : ''}`);

await browser.close();
clearTimeout(watchdog);
console.log(`${visited.length} pages visited; screenshots in ${artifacts}`);
console.log(failures === 0 ? 'browser: all checks passed' : `browser: ${failures} checks failed`);
process.exit(failures === 0 ? 0 : 1);
