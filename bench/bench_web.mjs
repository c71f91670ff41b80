// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The web edition's figures in headless Chromium: the size of what the page
// transfers, the start-up beside a static page with the same controls and no
// WebAssembly, each click at 1,000, 32,767 and 100,000 entries beside bare
// controls filled with the same texts, memory per entry, and Lighthouse's
// scores for a phone and a desktop. Prints figures; asserts nothing.
//
//   node bench/bench_web.mjs SITE_FOLDER VELMORA_HTML [--start-up | --clicks | --lighthouse]
//
// (--start-up: the sizes and the start-up alone; --clicks: the clicks and the
// memory alone; --lighthouse: the scores alone. Lighthouse comes from
// bench/package.json, which npm ci --prefix bench installs.)
//
// Chromium runs as a user's does: the whole browser, headless, with none of
// the switches puppeteer adds for automation (kSwitches below).
//
// A click's time is the script's, the style's and the layout's, forced at
// once after the click (painting is left out: headless Chromium paints on
// its own clock). Velmora's clicks and the floor's work take turns in one
// page, so that both meet the same page and the same moment; as with a
// user's click, the focus comes back to the number field from elsewhere.
// The page is cross-origin isolated, for timers of a few microseconds.
// Medians of several runs; the machine is shared, so repeat.
import { execFile } from "node:child_process";
import { cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, join, resolve } from "node:path";
import { pathToFileURL } from "node:url";
import { Worker } from "node:worker_threads";
import { gzipSync } from "node:zlib";

import { formReady, kChromium, kChromiumSwitches, launchChromium } from "../tests/web/puppeteer.mjs";
import { serve } from "../scripts/serve-web.mjs";

const [site, singlePage, only] = process.argv.slice(2);
if (!site || !singlePage || (only && !["--start-up", "--clicks", "--lighthouse"].includes(only))) {
    console.error("usage: node bench/bench_web.mjs SITE_FOLDER VELMORA_HTML [--start-up | --clicks | --lighthouse]");
    process.exit(2);
}
const kSizes = [1000, 32767, 100000];
const kStartRounds = 31;

// The browser as a user runs it: the whole of Chromium (not its headless
// shell), the sandbox aside (the benchmark may run as root), no GPU (the
// machine has none), and nothing fetched by the browser on its own, as for
// the tests. Left out are puppeteer's switches for automation:
// --enable-automation, the renderer's priority and timers kept up in the
// background (--disable-renderer-backgrounding,
// --disable-background-timer-throttling,
// --disable-backgrounding-occluded-windows), --disable-ipc-flooding-protection,
// --disable-dev-shm-usage, --disable-hang-monitor, --allow-pre-commit-input,
// --force-color-profile=srgb, --hide-scrollbars, --disable-extensions and the
// features it turns off (ProcessPerSiteUpToMainFrameThreshold,
// IsolateSandboxedIframes, OptimizationHints, Translate, MediaRouter, …).
const kSwitches = ["--headless=new", ...kChromiumSwitches, "--no-first-run", "--disable-sync",
                   "--disable-background-networking", "about:blank"];

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const kB = (bytes) => `${(bytes / 1000).toFixed(1)} KB`;
const ms = (value) => (value < 1 ? `${(value * 1000).toFixed(0)} µs` : `${value.toFixed(value < 10 ? 2 : 1)} ms`);
const row = (...cells) => console.log("  " + cells.map((cell, i) => String(cell).padEnd(i ? 22 : 38)).join(""));

// ---------------------------------------------------------------------------
function sizes() {
    console.log("Size (gzip at level 6, as a web host compresses):");
    let total = 0;
    // The licences' texts lie beside the page, which never fetches them.
    for (const file of readdirSync(site).sort().filter((name) => !name.endsWith(".txt"))) {
        const body = readFileSync(join(site, file));
        const packed = /\.(png)$/.test(file) ? body.length : gzipSync(body, { level: 6 }).length;
        total += packed;
        row(file, kB(body.length), kB(packed));
    }
    console.log(`  the folder transfers ${kB(total)} in all (target: at most 150 KB)`);
    const single = statSync(singlePage).size;
    console.log(`  velmora.html: ${kB(single)}, ${kB(gzipSync(readFileSync(singlePage)).length)} gzip`
                + " (target: at most 400 KB)");
}

// ---------------------------------------------------------------------------
// A static page with the same controls: the page's own form as the module
// made it, saved without any script, its readiness marked where the form
// ends. Saved twice, under two names: the copy, loaded by turns with the
// others, shows how far one page differs from itself on this machine.
async function writeStaticPage(browser, address, folder) {
    const page = await (await browser.createBrowserContext()).newPage();
    await page.goto(address);
    await formReady(page);
    const html = await page.evaluate(() => {
        const copy = document.documentElement.cloneNode(true);
        // Without the page's policy, which would block the mark added below.
        copy.querySelectorAll("script, link[rel=manifest], dialog, meta[http-equiv]").forEach((e) => e.remove());
        copy.querySelector("#Combo1").setAttribute("autofocus", "");
        return "<!DOCTYPE html>\n" + copy.outerHTML;
    });
    await page.browserContext().close();
    const marked = html.replace("</main>", "</main><script>performance.mark(\"velmora-ready\")</script>");
    writeFileSync(join(folder, "static.html"), marked);
    writeFileSync(join(folder, "static-again.html"), marked);
}

// A tab in a browser context of its own, like a private window, whose
// pages register no service worker: every load is the browser's own.
async function newTab(browser) {
    const tab = await (await browser.createBrowserContext()).newPage();
    await tab.evaluateOnNewDocument(() => {
        navigator.serviceWorker.register = async () => {};
    });
    return tab;
}

// The time from navigation start to the form ready for typing, on the
// pages by turns: on a first visit, in a new tab with nothing cached
// (from `fresh`); on a return visit, reloaded in the same tab with its files
// in the browser's cache (from `kept`). Velmora's form is ready for typing
// once it takes typing and holds clicks for the module ("velmora-holding",
// right after the form, where the static page marks its readiness); the
// module binds to it later ("velmora-ready").
async function startUp(browser, fresh, kept) {
    const pages = { "Velmora": "index.html", "static page, same form": "static.html",
                    "static page again": "static-again.html" };
    const load = async (tab, url) => {
        await (url ? tab.goto(url) : tab.reload());
        await formReady(tab);
        return tab.evaluate(() => {
            const mark = (name) => performance.getEntriesByName(name)[0]?.startTime ?? NaN;
            const bound = mark("velmora-ready");
            const holding = mark("velmora-holding");
            return [Number.isFinite(holding) ? holding : bound, mark("first-contentful-paint"), bound];
        });
    };
    const results = {};
    const record = (name, visit, [ready, paint, bound]) => {
        const key = `${name}, ${visit}`;
        results[key] ??= { ready: [], paint: [], bound: [] };
        results[key].ready.push(ready);
        results[key].paint.push(paint);
        results[key].bound.push(bound);
    };
    const returning = {};
    for (const [name, file] of Object.entries(pages)) {
        returning[name] = await newTab(browser);
        await load(returning[name], kept + file);
    }
    for (let round = 0; round < kStartRounds; ++round) {
        for (const [name, file] of Object.entries(pages)) {
            const tab = await newTab(browser);
            record(name, "first visit", await load(tab, fresh + file));
            await tab.browserContext().close();
            record(name, "return visit", await load(returning[name]));
        }
    }
    for (const tab of Object.values(returning)) {
        await tab.browserContext().close();
    }
    console.log(`Start-up, from navigation start, median of ${kStartRounds} alternate loads (min to max):`);
    row("", "form ready for typing", "", "first contentful paint");
    for (const [key, { ready, paint }] of Object.entries(results).sort()) {
        // A reload that shows the same picture may record no first paint.
        const painted = paint.filter(Number.isFinite);
        row(key, ms(median(ready)), `(${ms(Math.min(...ready))}–${ms(Math.max(...ready))})`,
            painted.length ? `${ms(median(painted))} (${painted.length} of ${paint.length})` : "not recorded");
    }
    for (const [visit, target] of [["first visit", 1.25], ["return visit", 1.15]]) {
        const ratio = (name, what) => {
            const values = (page) => results[`${page}, ${visit}`][what].filter(Number.isFinite);
            return (median(values(name)) / median(values("static page, same form"))).toFixed(2);
        };
        console.log(`  ${visit}: Velmora ready ${ratio("Velmora", "ready")}× the static page`
                    + ` (target: at most ${target}×), first paint ${ratio("Velmora", "paint")}× (target: at most 1.1×);`
                    + ` the same page loaded again ${ratio("static page again", "ready")}×`
                    + ` and ${ratio("static page again", "paint")}×`);
    }
    console.log(`  Velmora's module bound to the form after `
                + `${ms(median(results["Velmora, first visit"].bound))} on a first visit, `
                + `${ms(median(results["Velmora, return visit"].bound))} on a return visit`);
}

async function singlePageStartUp(browser) {
    const ready = [];
    const paint = [];
    for (let round = 0; round < 5; ++round) {
        const page = await (await browser.createBrowserContext()).newPage();
        await page.setOfflineMode(true);
        await page.goto(pathToFileURL(resolve(singlePage)).href);
        await formReady(page);
        const [r, p] = await page.evaluate(() => [performance.getEntriesByName("velmora-ready")[0].startTime,
            performance.getEntriesByName("first-contentful-paint")[0]?.startTime ?? NaN]);
        ready.push(r);
        paint.push(p);
        await page.browserContext().close();
    }
    console.log(`  velmora.html from disk: first paint after ${ms(median(paint))}, ready after ${ms(median(ready))}`);
}

// ---------------------------------------------------------------------------
// In the page: the texts that Velmora's clicks and the floor's work with.
// `first` has `digits` characters; the others up to four.
function pageHelpers() {
    window.bench = {
        texts(count, digits) {
            const entries = ["1".repeat(digits)];
            for (let i = 1; i < count; ++i) {
                entries.push(String(1 + (i % (digits === 1 ? 9 : 9999))));
            }
            return entries;
        },
        // Velmora's page with `count` entries entered through «Въведи».
        fill(count, digits) {
            const field = document.getElementById("Combo1");
            const enter = document.getElementById("Command1_0");
            const start = performance.now();
            for (const text of window.bench.texts(count, digits)) {
                field.value = text;
                enter.click();
            }
            return performance.now() - start;
        },
    };
}

// In Velmora's page, filled with `count` entries: each click of one kind,
// and the same work done on the floor, by turns. The floor is bare controls
// below the form (an edit field, its list, a hidden list, a text box of the
// report's size and font) and the least work of each click, with texts made
// beforehand.
function clicksBesideFloor({ count, digits, clicks, index, kind }) {
    const floor = document.createElement("div");
    floor.style = "position:relative;width:461px;height:315px;font:16px 'Times New Roman','Liberation Serif',serif";
    floor.innerHTML = `<input><ul role="listbox" hidden></ul><ul hidden></ul><textarea readonly></textarea>`;
    document.body.append(floor);
    const [bareField, bareList, bareHidden, bareReport] = floor.children;
    // Styled through the CSSOM: the page's policy blocks style attributes.
    bareField.style = "position:absolute;left:40px;top:64px;width:89px;height:27px;font:inherit";
    bareReport.style = "position:absolute;left:8px;top:184px;width:449px;height:121px;box-sizing:border-box;"
        + "overflow-y:scroll;resize:none;font:inherit;padding:2px 3px";

    const field = document.getElementById("Combo1");
    const report = document.getElementById("Text1_0");
    const button = document.getElementById(`Command1_${index}`);
    const settle = () => void (document.body.offsetHeight + report.scrollHeight + bareReport.scrollHeight);
    const timed = (work) => {
        settle();
        const start = performance.now();
        work();
        settle();
        return performance.now() - start;
    };

    const entries = window.bench.texts(count, digits);
    const sum = 10 ** digits - 1;
    const complements = entries.map((entry) => String(sum - Number(entry)));
    const items = (texts, attributes = "") => texts.map((text) => `<li${attributes}>${text}</li>`).join("");
    const fillFloor = () => {
        bareList.innerHTML = items(entries, ' role="option"');
        bareHidden.innerHTML = items(complements);
    };
    const reportText = entries.map((entry, k) => `${entry} + ${complements[k]} = ${sum}\r\n`).join("");
    const rebuilt = [2, 3, 4, 5, 6, 7, 8, 9].map((length) => items([
        ...entries.map((entry) => String(10 ** length - 1 - Number(entry))),
        String(10 ** length - 1 - Number("1".repeat(length)))]));
    fillFloor();

    const ours = [];
    const bare = [];
    for (let i = 0; i < clicks; ++i) {
        let bareWork;
        if (kind === "append" || kind === "rebuild") {
            field.value = bareField.value = kind === "append" ? "4242" : "1".repeat(i + 2);
            bareWork = () => {
                const option = document.createElement("li");
                option.setAttribute("role", "option");
                option.textContent = bareField.value;
                bareList.append(option);
                if (kind === "append") {
                    const item = document.createElement("li");
                    item.textContent = "5757";
                    bareHidden.append(item);
                } else {
                    bareHidden.innerHTML = rebuilt[i];
                }
                bareField.value = "";
                bareField.focus();
                bareField.select();
            };
        } else if (kind === "output") {
            report.value = bareReport.value = "";  // a new report each time, not the same text again
            bareWork = () => { bareReport.value = reportText; };
        } else {
            if (i > 0) {
                window.bench.fill(count, digits);  // a full book again
                fillFloor();
            }
            document.getElementById("Command1_2").click();  // and its report, to clear
            bareReport.value = reportText;
            bareWork = () => {
                bareList.textContent = "";
                bareHidden.textContent = "";
                bareField.value = "";
                bareReport.value = "";
            };
        }
        ours.push(timed(() => button.click()));
        bare.push(timed(bareWork));
    }
    return [ours, bare];
}

const kClicks = [
    // name, Velmora's button, digits of the first entry, clicks at each size
    { name: "«Въведи», appending", index: 0, digits: 4, clicks: [200, 200, 200], kind: "append" },
    { name: "«Въведи», rebuilding", index: 0, digits: 1, clicks: [8, 8, 8], kind: "rebuild" },
    { name: "«Изведи»", index: 2, digits: 4, clicks: [20, 10, 6], kind: "output" },
    { name: "«Изчисти»", index: 1, digits: 4, clicks: [6, 3, 2], kind: "clear" },
];

async function clicks(browser, address) {
    console.log("One click: script, style and layout, median (the floor's beside it):");
    row("", ...kSizes.map((n) => n.toLocaleString("en")));
    const fillTimes = [];
    for (const click of kClicks) {
        const cells = [];
        for (const [at, count] of kSizes.entries()) {
            const page = await (await browser.createBrowserContext()).newPage();
            await page.goto(address);
            await formReady(page);
            await page.evaluate(pageHelpers);
            const filling = await page.evaluate(([n, d]) => window.bench.fill(n, d), [count, click.digits]);
            if (click.kind === "append") {
                fillTimes.push([count, filling]);
            }
            const setup = { count, digits: click.digits, clicks: click.clicks[at], index: click.index,
                            kind: click.kind };
            const [ours, floor] = await page.evaluate(`(${clicksBesideFloor})(${JSON.stringify(setup)})`);
            await page.browserContext().close();
            cells.push(`${ms(median(ours))} (${ms(median(floor))})`);
        }
        row(click.name, ...cells);
    }
    console.log("  targets: every click at 1,000 within 16 ms; «Изведи» at 32,767 within 1.2× the floor");
    for (const [count, t] of fillTimes) {
        console.log(`  (entering ${count.toLocaleString("en")} numbers took ${ms(t)}: ${ms(t / count)} each)`);
    }
}

// ---------------------------------------------------------------------------
// The page's renderer's resident memory, the module's memory and the page's
// script heap, with an empty book and with 100,000 entries; beside it the
// floor: the static page with the same texts put into two bare lists.
//
// The browser runs other renderers beside the page's: the first tab's, and
// for each window, the pages of its own address bar
// (chrome://omnibox-popup.top-chrome/), some 100 MB resident each, most of it
// the browser's own code and data shared between them. The page's is the
// one whose processor time grows while the page keeps busy for a moment.
async function memory(browser, address) {
    const count = 100000;
    const cdpBrowser = await browser.target().createCDPSession();
    const renderers = async () => new Map((await cdpBrowser.send("SystemInfo.getProcessInfo")).processInfo
        .filter(({ type }) => type === "renderer").map(({ id, cpuTime }) => [id, cpuTime]));
    const pageRenderer = async (page) => {
        const before = await renderers();
        await page.evaluate(() => { for (const end = performance.now() + 300; performance.now() < end;); });
        const busy = [...await renderers()].map(([id, time]) => [time - (before.get(id) ?? 0), id]);
        return { id: busy.sort(([a], [b]) => b - a)[0][1], count: busy.length };
    };
    const measure = async (file, fill) => {
        const page = await (await browser.createBrowserContext()).newPage();
        await page.goto(address + file);
        await formReady(page);
        await page.evaluate(pageHelpers);
        const cdp = await page.createCDPSession();
        const renderer = await pageRenderer(page);
        const sample = async () => {
            await cdp.send("HeapProfiler.collectGarbage");
            const status = readFileSync(`/proc/${renderer.id}/status`, "utf8");
            const resident = Number(/VmRSS:\s+(\d+)/.exec(status)[1]) * 1024;
            const heap = (await cdp.send("Runtime.getHeapUsage")).usedSize;
            const module = await page.evaluate(() => (typeof wasmMemory === "undefined" ? 0 : wasmMemory.buffer.byteLength));
            const nodes = (await cdp.send("Memory.getDOMCounters")).nodes;
            return { resident, heap, module, nodes };
        };
        const empty = await sample();
        await page.evaluate(fill, count);
        const full = await sample();
        await page.browserContext().close();
        return { empty, full, renderers: renderer.count, per: (key) => ((full[key] - empty[key]) / count).toFixed(0) };
    };
    const ours = await measure("index.html", (n) => window.bench.fill(n, 4));
    const floor = await measure("static.html", (n) => {
        const list = (texts) => {
            const element = document.createElement("ul");
            element.hidden = true;
            element.append(...texts.map((text) => Object.assign(document.createElement("li"), { textContent: text })));
            document.body.append(element);
        };
        const entries = window.bench.texts(n, 4);
        list(entries);
        list(entries.map((entry) => String(9999 - Number(entry))));
    });
    console.log(`Memory, empty book and ${count.toLocaleString("en")} entries:`);
    const MB = (bytes) => `${(bytes / 1e6).toFixed(1)} MB`;
    console.log(`  the page's renderer resident ${MB(ours.empty.resident)} → ${MB(ours.full.resident)}:`
                + ` ${ours.per("resident")} bytes per entry (floor ${MB(floor.empty.resident)} →`
                + ` ${MB(floor.full.resident)}: ${floor.per("resident")}), one of the browser's ${ours.renderers} renderers`);
    console.log(`  of which the module's memory ${ours.per("module")}, the script heap ${ours.per("heap")} bytes per entry;`
                + ` ${((ours.full.nodes - ours.empty.nodes) / count).toFixed(1)} page nodes per entry`
                + ` (floor ${((floor.full.nodes - floor.empty.nodes) / count).toFixed(1)})`);
}

// ---------------------------------------------------------------------------
// Lighthouse on the folder as a web host serves it, in a phone's screen with
// its slow network and CPU (simulated) and in a desktop's: the four
// categories' scores and the main thread's blocking time, medians of five
// runs each, since one run moves with whatever else the machine does.
const kLighthouseRuns = 5;

async function lighthouse() {
    const cli = join(dirname(createRequire(import.meta.url).resolve("lighthouse/package.json")), "cli", "index.js");
    const { version } = createRequire(import.meta.url)("lighthouse/package.json");
    const { server, address } = await serve(site);
    const flags = "--headless=new --no-sandbox --disable-gpu --disable-quic --no-first-run"
                + " --disable-background-networking --disable-component-update --disable-sync";
    const audit = (preset) => new Promise((done, failed) => execFile(process.execPath, [
        cli, address, `--chrome-path=${kChromium}`, `--chrome-flags=${flags}`, "--output=json",
        "--output-path=stdout", "--quiet", ...(preset ? [`--preset=${preset}`] : []),
    ], { maxBuffer: 1 << 28 }, (error, stdout) => (error ? failed(error) : done(JSON.parse(stdout)))));
    try {
        console.log(`Lighthouse ${version} on the served folder, median of ${kLighthouseRuns} runs (min to max):`);
        for (const [name, preset] of [["phone", ""], ["desktop", "desktop"]]) {
            const runs = [];
            for (let run = 0; run < kLighthouseRuns; ++run) {
                runs.push(await audit(preset));
            }
            const scores = Object.keys(runs[0].categories).map((id) => {
                const each = runs.map((report) => Math.round(report.categories[id].score * 100));
                return `${runs[0].categories[id].title} ${median(each)}`
                       + (Math.min(...each) < Math.max(...each) ? ` (${Math.min(...each)}–${Math.max(...each)})` : "");
            });
            const blocking = runs.map((report) => report.audits["total-blocking-time"].numericValue);
            const whole = (value) => `${Math.round(value)} ms`;
            console.log(`  ${name}: ${scores.join(", ")}; total blocking time ${whole(median(blocking))}`
                        + ` (${whole(Math.min(...blocking))} to ${whole(Math.max(...blocking))})`);
            const csp = runs[0].audits["csp-xss"].details?.items ?? [];
            console.log(`  ${name}, its Content Security Policy: `
                        + (csp.map((item) => `${item.severity}: ${item.description}`).join("; ") || "nothing to note"));
        }
        console.log("  target: 100 in all four, for the phone and the desktop");
    } finally {
        server.close();
    }
}

// ---------------------------------------------------------------------------
// The server runs on a thread of its own, so that driving the browser does
// not hold up its answers. Files under cached/ may be kept by the browser;
// all others are fetched anew each time.
function startServer(folder) {
    // Code given as text is a CommonJS script to Node.js 18; it imports the
    // module itself.
    const worker = new Worker(`
        const { workerData, parentPort } = require("node:worker_threads");
        (async () => {
            const { serve } = await import(${JSON.stringify(new URL("../scripts/serve-web.mjs", import.meta.url).href)});
            const isolated = { "Cross-Origin-Opener-Policy": "same-origin", "Cross-Origin-Embedder-Policy": "require-corp" };
            const fresh = await serve(workerData, { headers: { ...isolated, "Cache-Control": "no-store" } });
            const kept = await serve(workerData, { headers: { ...isolated, "Cache-Control": "max-age=3600" } });
            parentPort.postMessage([fresh.address, kept.address]);
        })();
    `, { eval: true, workerData: folder });
    return new Promise((resolve) => worker.once("message", ([fresh, kept]) => resolve({ worker, fresh, kept })));
}

const folder = mkdtempSync(join(tmpdir(), "velmora-bench-"));
let server;
let browser;
try {
    cpSync(site, folder, { recursive: true });
    server = await startServer(folder);
    const address = server.fresh;
    browser = await launchChromium({ switches: kSwitches });
    console.log(`Web edition in headless Chromium ${(await browser.version()).replace("Chrome/", "")}`);
    if (only !== "--lighthouse") {
        await writeStaticPage(browser, address, folder);
    }
    if (!only || only === "--start-up") {
        sizes();
        await startUp(browser, address, server.kept);
        await singlePageStartUp(browser);
    }
    if (!only || only === "--clicks") {
        await clicks(browser, address);
        await memory(browser, address);
    }
    if (!only || only === "--lighthouse") {
        await lighthouse();
    }
} finally {
    await browser?.close();
    await server?.worker.terminate();
    rmSync(folder, { recursive: true, force: true });
}
