// The web edition in headless Chromium, on its real page: every scenario of
// tests/window_scenarios.txt, and what only the web has: the page's look from
// screenshots (also at twice the scale and with a dark colour scheme), the
// layout for phones, the keyboard, Chromium's accessibility tree and
// axe-core, opening offline through the service worker, and velmora.html
// from disk.
//
//   node tests/web/tst_web_page.mjs SITE_FOLDER VELMORA_HTML [SCREENSHOT_FOLDER]
//
// Serves SITE_FOLDER itself on 127.0.0.1 and stops the server at the end.
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

import { serve } from "../../scripts/serve-web.mjs";
import { formReady, launchChromium, launchChromiumWithProfile } from "./chromium.mjs";

const [site, singlePage, shots = "."] = process.argv.slice(2);
if (!site || !singlePage) {
    console.error("usage: node tests/web/tst_web_page.mjs SITE_FOLDER VELMORA_HTML [SCREENSHOT_FOLDER]");
    process.exit(2);
}
mkdirSync(shots, { recursive: true });
const kScenarios = join(dirname(fileURLToPath(import.meta.url)), "..", "window_scenarios.txt");
const kTitle = "https://velmora.example Математика - двойки числа с равни суми";
const kFormColour = [192, 192, 255];
const kAxe = createRequire(import.meta.url).resolve("axe-core/axe.min.js");

let browser;
let server;
let address;

before(async () => {
    ({ server, address } = await serve(site));
    browser = await launchChromium();
});

after(async () => {
    await browser?.close();
    server?.close();
});

// A page of its own context, loaded and ready for typing. The scenarios run
// in the en-US language, whose decimal separator is the point.
async function openPage(options = {}, url = address) {
    const context = await browser.newContext({ serviceWorkers: "block", locale: "en-US", ...options });
    const page = await context.newPage();
    const errors = [];
    page.on("pageerror", (error) => errors.push(error.message));
    await page.goto(url);
    await formReady(page);
    page.errors = errors;
    return page;
}

const field = (page) => page.locator("#Combo1");
const button = (page, caption) => page.getByRole("button", { name: caption, exact: true });

// ---------------------------------------------------------------------------
// The shared scenarios, read as tests/scenarios.h reads them.

function readScenarios(text) {
    const all = [];
    text.split("\n").forEach((raw, index) => {
        const line = raw.replace(/\r$/, "");
        if (line === "" || line.startsWith("#")) {
            return;
        }
        const blank = line.indexOf(" ");
        const verb = blank < 0 ? line : line.slice(0, blank);
        let argument = blank < 0 ? "" : line.slice(blank + 1);
        if (argument.length >= 2 && argument.startsWith('"') && argument.endsWith('"')) {
            argument = argument.slice(1, -1);
        }
        if (verb === "scenario") {
            all.push({ name: argument, lines: [] });
        } else if (all.length > 0) {
            all.at(-1).lines.push({ verb, argument, number: index + 1 });
        }
    });
    return all;
}

// A report or clipboard check's text: each line ended by a line end.
const lines = (argument) => (argument === "" ? "" : argument.split("; ").map((line) => line + "\n").join(""));

async function playScenario(page, scenario) {
    let messages = 0;
    for (const { verb, argument, number } of scenario.lines) {
        const where = `line ${number} (${verb} ${argument})`;
        const state = () => page.evaluate(() => {
            const input = document.querySelector("#Combo1");
            return {
                field: input.value,
                selected: document.activeElement === input && input.selectionStart === 0
                    && input.selectionEnd === input.value.length,
                entries: [...document.querySelectorAll("#Combo1_list > li")].map((li) => li.textContent).join(" "),
                complements: [...document.querySelectorAll("#List1 > li")].map((li) => li.textContent).join(" "),
                report: document.querySelector("#Text1_0").value,
            };
        });
        switch (verb) {
        case "type":
            await field(page).fill("");
            await field(page).pressSequentially(argument);
            break;
        case "press":
            await button(page, argument).click();
            // The too-large message: counted, read, and closed with «Добре».
            if (await page.locator("dialog[open]").count() > 0) {
                messages += 1;
                const dialog = page.getByRole("alertdialog", { name: "Velmora" });
                assert.match(await dialog.innerText(), /^Velmora\s+Числото е твърде голямо/, where);
                // The page's own close handler runs before the one waited for here.
                await dialog.evaluate((element) => {
                    window.reportClosed = new Promise((done) =>
                        element.addEventListener("close", done, { once: true }));
                });
                await dialog.getByRole("button", { name: "Добре" }).click();
                await page.evaluate(() => window.reportClosed);
            }
            break;
        case "key":
            await field(page).press({ Enter: "Enter", Esc: "Escape" }[argument]);
            break;
        case "pick":
            await page.locator(".velmora-drop").click();
            await page.getByRole("option").nth(Number(argument) - 1).click();
            await page.getByRole("listbox").waitFor({ state: "hidden" });
            break;
        case "copy":
            await page.locator("#Text1_0").focus();
            await page.keyboard.press("Control+A");
            await page.keyboard.press("Control+C");
            break;
        case "field":
            assert.equal((await state()).field, argument, where);
            break;
        case "selected":
            assert.equal((await state()).selected, true, where);
            break;
        case "entries":
        case "complements":
            assert.equal((await state())[verb], argument, where);
            break;
        case "report":
            assert.equal((await state()).report, lines(argument), where);
            break;
        case "report-begins":
            assert.ok((await state()).report.startsWith(argument), where);
            break;
        case "clipboard":
            assert.equal(await page.evaluate(() => navigator.clipboard.readText()), lines(argument), where);
            break;
        case "messages":
            assert.equal(messages, Number(argument), where);
            break;
        default:
            assert.fail(`line ${number}: no such step or check: ${verb}`);
        }
    }
}

describe("window scenarios", () => {
    for (const scenario of readScenarios(readFileSync(kScenarios, "utf8"))) {
        test(scenario.name, async () => {
            // The clipboard is read through the page, with the user's leave.
            const page = await openPage({ permissions: ["clipboard-read", "clipboard-write"] });
            try {
                await playScenario(page, scenario);
                assert.deepEqual(page.errors, []);
            } finally {
                await page.context().close();
            }
        });
    }
});

// ---------------------------------------------------------------------------
// The page's look, keyboard and accessibility.

// The colour at (x, y) CSS pixels of a screenshot of the whole viewport,
// decoded by the page's own browser.
async function screenshotPixels(page, path) {
    const scale = await page.evaluate(() => devicePixelRatio);
    const png = await page.screenshot({ path });
    const decoded = await page.evaluate(async (base64) => {
        const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
        const bitmap = await createImageBitmap(new Blob([bytes], { type: "image/png" }));
        const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
        const context = canvas.getContext("2d");
        context.drawImage(bitmap, 0, 0);
        const data = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
        let binary = "";
        for (let i = 0; i < data.length; i += 0x8000) {
            binary += String.fromCharCode(...data.subarray(i, i + 0x8000));
        }
        return { width: bitmap.width, base64: btoa(binary) };
    }, png.toString("base64"));
    const data = Buffer.from(decoded.base64, "base64");
    return (x, y) => {
        const at = (Math.round(y * scale) * decoded.width + Math.round(x * scale)) * 4;
        return [data[at], data[at + 1], data[at + 2]];
    };
}

const lightness = ([r, g, b]) => (Math.max(r, g, b) + Math.min(r, g, b)) / 2;

// Each visible control's place in the form (CSS pixels: twips / 15) and the
// colour inside its border, as the window was drawn up; none: the browser's.
const kControls = [
    ["Label1_0", 64, 0, 329, 25, [255, 192, 128]],
    ["Label1_1", 40, 40, 89, 25, [255, 192, 128]],
    ["Combo1", 40, 64, 89, 27, null],
    ["Command1_0", 160, 64, 97, 25, [0, 255, 0]],
    ["Command1_2", 160, 104, 97, 25, [255, 0, 255]],
    ["Command1_1", 160, 144, 97, 25, [255, 0, 0]],
    ["Text1_0", 8, 184, 449, 121, null],
];

describe("the page", () => {
    // At 100 %, and at twice the scale with a dark colour scheme: the same
    // form, in the same colours, legible.
    for (const [scale, scheme] of [[1, "light"], [2, "dark"]]) {
        test(`looks like the window at ${scale * 100} % in a ${scheme} colour scheme`, async () => {
            const page = await openPage({ viewport: { width: 600, height: 400 }, deviceScaleFactor: scale,
                                          colorScheme: scheme });
            try {
                assert.equal(await page.title(), kTitle);
                const layout = await page.evaluate((ids) => {
                    const form = document.querySelector(".velmora-form").getBoundingClientRect();
                    const place = (id) => {
                        const box = document.getElementById(id).getBoundingClientRect();
                        return [box.left - form.left, box.top - form.top, box.width, box.height];
                    };
                    const report = document.querySelector("#Text1_0");
                    return {
                        lang: document.documentElement.lang,
                        icon: document.querySelector("link[rel=icon]")?.href ?? "",
                        form: [form.left, form.top, form.width, form.height],
                        places: ids.map(place),
                        fonts: ids.map((id) => getComputedStyle(document.getElementById(id)).font),
                        shown: ["List1", "Text1_1"].map((id) => document.getElementById(id).checkVisibility()),
                        scrollBar: report.offsetWidth - report.clientWidth,
                    };
                }, kControls.map(([id]) => id));
                assert.equal(layout.lang, "bg");
                assert.match(layout.icon, /velmora\.svg$/);
                assert.deepEqual(layout.form.slice(2), [461, 315]);
                assert.deepEqual(layout.places, kControls.map(([, ...place]) => place.slice(0, 4)));
                for (const font of layout.fonts) {
                    assert.equal(font, '16px "Times New Roman", "Liberation Serif", serif');
                }
                assert.deepEqual(layout.shown, [false, false]);
                assert.ok(layout.scrollBar > 0, "the report box has a vertical scroll bar");

                const [left, top] = layout.form;
                const pixel = await screenshotPixels(page, join(shots, `page-${scale * 100}-${scheme}.png`));
                const at = (x, y) => pixel(left + x, top + y);
                assert.deepEqual(at(4, 100), kFormColour);
                assert.deepEqual(at(455, 170), kFormColour);
                for (const [id, x, y, width, height, colour] of kControls) {
                    if (colour) {
                        assert.deepEqual(at(x + 4, y + 4), colour, id);
                        assert.deepEqual(at(x + width - 5, y + height - 5), colour, id);
                    }
                }
                // The report: dark text on a light ground.
                let darkest = 255;
                for (let y = 186; y < 300; y += 1) {
                    for (let x = 12; x < 420; x += 1) {
                        darkest = Math.min(darkest, lightness(at(x, y)));
                    }
                }
                assert.ok(darkest < 80, `the report's text is dark: ${darkest}`);
                assert.ok(lightness(at(200, 300)) > 200, "the report's ground is light");
                assert.deepEqual(page.errors, []);
            } finally {
                await page.context().close();
            }
        });
    }

    // On a phone in portrait, by taps: the road of one number, the list of
    // entries opened and an entry chosen; the controls in the window's order
    // and colours, every target at least 44 px high and inside the screen,
    // the report box down to the screen's foot, nothing to scroll.
    for (const [width, height] of [[360, 640], [412, 915]]) {
        test(`is laid out for the finger on a ${width} × ${height} phone`, async () => {
            const page = await openPage({ viewport: { width, height }, isMobile: true, hasTouch: true });
            try {
                await field(page).tap();
                await page.keyboard.type("42");
                await button(page, "Въведи").tap();
                await button(page, "Изведи").tap();
                assert.equal(await page.inputValue("#Text1_0"), "42 + 57 = 99\n");
                await page.locator(".velmora-drop").tap();
                await page.getByRole("option", { name: "42" }).tap();
                await page.getByRole("listbox").waitFor({ state: "hidden" });
                assert.equal(await field(page).inputValue(), "42");
                await page.locator(".velmora-drop").tap();
                await page.screenshot({ path: join(shots, `page-phone-${width}.png`) });

                const layout = await page.evaluate((ids) => {
                    const box = (element) => {
                        const { left, top, right, bottom, width, height } = element.getBoundingClientRect();
                        return { left, top, right, bottom, width, height };
                    };
                    const field = document.querySelector("#Combo1");
                    return {
                        places: ids.map((id) => box(document.getElementById(id))),
                        colours: ids.map((id) => getComputedStyle(document.getElementById(id)).backgroundColor),
                        targets: [...document.querySelectorAll("button, input, [role=option]")]
                            .filter((element) => element.checkVisibility())
                            .map((element) => ({ name: element.id || element.textContent || element.className,
                                                 ...box(element) })),
                        field: [field.inputMode, getComputedStyle(field).fontSize],
                        root: [document.documentElement.scrollWidth, document.documentElement.scrollHeight],
                    };
                }, kControls.map(([id]) => id));
                const visual = (place) => [Math.round(place.top), Math.round(place.left)];
                const order = kControls.map(([id], i) => [id, ...visual(layout.places[i])])
                    .sort((a, b) => a[1] - b[1] || a[2] - b[2]).map(([id]) => id);
                assert.deepEqual(order, kControls.map(([id]) => id), "the window's order");
                kControls.forEach(([id, , , , , colour], i) => {
                    assert.equal(layout.colours[i], colour ? `rgb(${colour.join(", ")})` : layout.colours[i], id);
                });
                assert.equal(layout.targets.length, 6, "the field, its drop button, three buttons and an entry");
                for (const target of layout.targets) {
                    const where = JSON.stringify(target);
                    assert.ok(target.height >= 44 && target.width >= 44, where);
                    assert.ok(target.left >= 0 && target.top >= 0 && target.right <= width && target.bottom <= height,
                              where);
                }
                assert.deepEqual(layout.field, ["numeric", "16px"], "the number pad, and no zoom on focus");
                assert.deepEqual(layout.root, [width, height], "nothing to scroll");
                const report = layout.places.at(-1);
                assert.ok(height - report.bottom <= 8 && report.height > height / 2, JSON.stringify(report));
                assert.deepEqual(page.errors, []);
            } finally {
                await page.context().close();
            }
        });
    }

    // Until the module is there, what is typed stays in the field and the
    // clicks are held, then played in order. The module comes late, and as
    // any file, not as application/wasm: compiled once whole.
    test("holds what is typed and clicked while the module is on its way", async () => {
        const context = await browser.newContext({ serviceWorkers: "block" });
        try {
            let release;
            const released = new Promise((resolve) => { release = resolve; });
            await context.route("**/velmora.wasm", async (route) => {
                await released;
                const response = await route.fetch();
                await route.fulfill({ response, headers: { ...response.headers(),
                                                          "content-type": "application/octet-stream" } });
            });
            const page = await context.newPage();
            const errors = [];
            page.on("pageerror", (error) => errors.push(error.message));
            await page.goto(address, { waitUntil: "domcontentloaded" });
            await field(page).pressSequentially("42");
            await button(page, "Въведи").click();
            await page.keyboard.type("7");
            await button(page, "Въведи").click();
            await button(page, "Изведи").click();
            await page.keyboard.type("1");
            assert.equal(await page.locator(".velmora-form.velmora-waiting").count(), 1);
            assert.ok((await page.inputValue("#Text1_0")).startsWith("Да се реализира"));
            release();
            await formReady(page);
            assert.equal(await page.inputValue("#Text1_0"), "42 + 57 = 99\n7 + 92 = 99\n");
            assert.equal(await field(page).inputValue(), "1");
            assert.equal(await page.locator(".velmora-waiting").count(), 0);
            assert.deepEqual(errors, []);
        } finally {
            await context.close();
        }
    });

    // Tab and Shift+Tab go through the controls in the window's tab order;
    // the focused one is marked; Space and Enter press a focused button.
    test("is used from the keyboard", async () => {
        const page = await openPage({ viewport: { width: 600, height: 400 } });
        try {
            const focused = () => page.evaluate(() => document.activeElement.id);
            // The first number is typed where the focus is at the start.
            await page.waitForFunction(() => document.activeElement.id === "Combo1");
            await page.locator("#Text1_0").focus();
            const order = ["Combo1", "Command1_0", "Command1_1", "Command1_2"];
            const forth = [];
            for (const id of order) {
                await page.keyboard.press("Tab");
                forth.push(await focused());
                // The focus ring: dark, just left of the control, where the
                // form's own colour is otherwise.
                const box = await page.locator(`#${id}`).boundingBox();
                const pixel = await screenshotPixels(page, join(shots, `focus-${id}.png`));
                assert.ok(lightness(pixel(box.x - 2, box.y + box.height / 2)) < 80, `focus ring of ${id}`);
            }
            assert.deepEqual(forth, order);
            const back = [];
            for (let i = 0; i < order.length; ++i) {
                await page.keyboard.press("Shift+Tab");
                back.push(await focused());
            }
            assert.deepEqual(back, ["Command1_1", "Command1_0", "Combo1", "Text1_0"]);

            // Two numbers from the keyboard alone: Space on «Въведи», which
            // puts the focus back into the field; Enter on «Изведи».
            await page.keyboard.press("Tab");
            for (const number of ["42", "7"]) {
                await page.keyboard.type(number);
                await page.keyboard.press("Tab");
                await page.keyboard.press("Space");
                assert.equal(await focused(), "Combo1");
            }
            await page.keyboard.press("Tab");
            await page.keyboard.press("Tab");
            await page.keyboard.press("Tab");
            await page.keyboard.press("Enter");
            assert.equal(await page.inputValue("#Text1_0"), "42 + 57 = 99\n7 + 92 = 99\n");

            // The list of entries: Down opens it and walks it, Enter chooses,
            // Alt+Down opens it without choosing, Escape closes it.
            await field(page).focus();
            const combo = () => page.evaluate(() => {
                const input = document.querySelector("#Combo1");
                const active = document.getElementById(input.getAttribute("aria-activedescendant"));
                return [input.value, input.getAttribute("aria-expanded"), active?.textContent ?? null];
            });
            await page.keyboard.press("ArrowDown");
            assert.deepEqual(await combo(), ["", "true", "42"]);
            await page.keyboard.press("ArrowDown");
            assert.deepEqual(await combo(), ["", "true", "7"]);
            await page.keyboard.press("Enter");
            assert.deepEqual(await combo(), ["7", "false", null]);
            await page.keyboard.press("Alt+ArrowDown");
            assert.deepEqual(await combo(), ["7", "true", null]);
            await page.screenshot({ path: join(shots, "list-open.png") });
            await page.keyboard.press("Escape");
            assert.deepEqual(await combo(), ["7", "false", null]);
            assert.deepEqual(page.errors, []);
        } finally {
            await page.context().close();
        }
    });

    // axe-core, the standard checker, at a desktop's and a phone's width in
    // both colour schemes, with an entry made and the list of entries open:
    // no breach of WCAG 2.2 A and AA, nor of its best practices.
    for (const [width, scheme] of [[800, "light"], [800, "dark"], [360, "light"], [360, "dark"]]) {
        test(`passes axe-core at ${width} px in a ${scheme} colour scheme`, async () => {
            const phone = width < 461 ? { isMobile: true, hasTouch: true } : {};
            const page = await openPage({ viewport: { width, height: 640 }, colorScheme: scheme, ...phone });
            try {
                await field(page).fill("42");
                await button(page, "Въведи").click();
                await field(page).press("ArrowDown");
                await page.addScriptTag({ path: kAxe });
                const { violations } = await page.evaluate(() => window.axe.run(document, {
                    runOnly: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"],
                }));
                assert.deepEqual(violations.map(({ id, nodes }) => `${id}: ${nodes.map((n) => n.target).join(" ")}`),
                                 []);
            } finally {
                await page.context().close();
            }
        });
    }

    // What a screen reader reads: Chromium's accessibility tree.
    test("has the window's accessible names, and no hidden control", async () => {
        const page = await openPage();
        try {
            const cdp = await page.context().newCDPSession(page);
            const tree = async () => (await cdp.send("Accessibility.getFullAXTree")).nodes
                .filter((node) => !node.ignored)
                .map((node) => ({
                    role: node.role?.value,
                    name: node.name?.value ?? "",
                    from: node.name?.sources?.find((source) => source.value)?.type,
                    properties: Object.fromEntries((node.properties ?? []).map((p) => [p.name, p.value.value])),
                }));
            const find = (nodes, role, name) => nodes.find((node) => node.role === role && node.name === name);
            let nodes = await tree();
            assert.ok(find(nodes, "RootWebArea", kTitle));
            assert.equal(find(nodes, "combobox", "Числа")?.from, "relatedElement", "named by its label");
            for (const caption of ["Въведи", "Изведи", "Изчисти"]) {
                assert.ok(find(nodes, "button", caption), caption);
            }
            const report = find(nodes, "textbox", "Двойки числа");
            assert.equal(report?.properties.readonly, true);
            assert.equal(report?.properties.multiline, true);
            assert.ok(find(nodes, "StaticText", "Velmora"));
            assert.ok(!nodes.some((node) => /Допълнения|Цитат|Неприятното/.test(node.name)));
            assert.ok(!nodes.some((node) => node.role === "listbox" || node.role === "dialog"));

            // The open list of entries, and the too-large message.
            await field(page).fill("42");
            await button(page, "Въведи").click();
            await field(page).press("ArrowDown");
            nodes = await tree();
            assert.ok(find(nodes, "listbox", "Числа") && find(nodes, "option", "42"));
            await field(page).press("Escape");
            await field(page).fill("1234567890");
            await button(page, "Въведи").click();
            nodes = await tree();
            const message = find(nodes, "alertdialog", "Velmora");
            assert.equal(message?.properties.modal, true);
            assert.ok(find(nodes, "button", "Добре"));
        } finally {
            await page.context().close();
        }
    });
});

// ---------------------------------------------------------------------------
// The two outputs: the folder for a web host, and velmora.html.

// The road of one number, on a page that has its form ready.
async function enterAndReport(page) {
    await field(page).fill("42");
    await button(page, "Въведи").click();
    await button(page, "Изведи").click();
    assert.equal(await page.inputValue("#Text1_0"), "42 + 57 = 99\n");
}

describe("the outputs", () => {
    test("the folder opens offline after one visit, and can be installed", async () => {
        const profile = mkdtempSync(join(tmpdir(), "velmora-profile-"));
        const context = await launchChromiumWithProfile(profile);
        try {
            const page = context.pages()[0] ?? await context.newPage();
            await page.goto(address);
            await formReady(page);
            await page.waitForFunction(() => navigator.serviceWorker.controller !== null);

            // The service worker keeps every file of the folder but itself.
            const kept = await page.evaluate(async () => {
                const cache = await caches.open((await caches.keys())[0]);
                return (await cache.keys()).map((request) => new URL(request.url).pathname).sort();
            });
            const files = readdirSync(site).filter((file) => file !== "sw.js").map((file) => "/" + file);
            assert.deepEqual(kept, ["/", ...files].sort());

            const cdp = await context.newCDPSession(page);
            assert.deepEqual((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, []);
            const manifest = await cdp.send("Page.getAppManifest");
            assert.deepEqual(manifest.errors, []);
            const { name, lang, display, icons } = JSON.parse(manifest.data);
            assert.deepEqual([name, lang, display], ["Velmora", "bg", "standalone"]);
            assert.ok(icons.some((icon) => icon.sizes === "512x512"));

            await context.setOffline(true);
            await page.reload();
            await formReady(page);
            assert.equal(await page.title(), kTitle);
            await enterAndReport(page);
        } finally {
            await context.close();
            rmSync(profile, { recursive: true, force: true });
        }
    });

    test("velmora.html opens from disk with no network", async () => {
        const context = await browser.newContext({ offline: true });
        try {
            const page = await context.newPage();
            const addresses = [];
            page.on("request", (request) => addresses.push(request.url()));
            await page.goto(pathToFileURL(singlePage).href);
            await formReady(page);
            assert.equal(await page.title(), kTitle);
            await enterAndReport(page);
            assert.deepEqual(addresses.filter((url) => !/^(file|data):/.test(url)), []);
        } finally {
            await context.close();
        }
    });
});
