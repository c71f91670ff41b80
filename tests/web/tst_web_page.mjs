// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The web edition on its real page in one of the three browser engines
// Debian ships (chromium, firefox or webkit; the first two driven by
// puppeteer.mjs here, WebKit by webkit.mjs): every scenario of
// tests/window_scenarios.txt, and what only the web has: the page's look
// from screenshots (also at twice the scale and with a dark colour scheme),
// the layout for phones where the engine has touch, clicks held until the
// module is there, the keyboard, the accessible roles and names as the
// browser gives them, axe-core, opening offline through the service worker,
// and velmora.html from disk.
//
//   node tests/web/tst_web_page.mjs ENGINE SITE_FOLDER VELMORA_HTML [SCREENSHOT_FOLDER]
//
// Serves SITE_FOLDER itself on 127.0.0.1 and stops the server at the end.
// Everything reaches the page through the engine's few verbs: open a page,
// evaluate, click at a place, type, press keys, screenshot, find by
// accessible role and name, go offline; where the engine has touch, tap at
// a place.
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { mkdirSync, readFileSync, readdirSync } from "node:fs";
import { dirname, join } from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath, pathToFileURL } from "node:url";

import { serve } from "../../scripts/serve-web.mjs";

const kEngines = ["chromium", "firefox", "webkit"];
const [engineName, site, singlePage, shots = "."] = process.argv.slice(2);
if (!kEngines.includes(engineName) || !site || !singlePage) {
    console.error("usage: node tests/web/tst_web_page.mjs chromium|firefox|webkit SITE_FOLDER VELMORA_HTML "
                  + "[SCREENSHOT_FOLDER]");
    process.exit(2);
}
mkdirSync(shots, { recursive: true });
const kScenarios = join(dirname(fileURLToPath(import.meta.url)), "..", "window_scenarios.txt");
const kTitle = "https://velmora.example Математика - двойки числа с равни суми";
const kFormColour = [192, 192, 255];
const kAxe = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
// Classic WebDriver gives WebKit no touch: the phone's checks are skipped there.
const kNoTouch = engineName === "webkit" && "webkit is driven without touch";

let engine;
let server;
let address;

before(async () => {
    ({ server, address } = await serve(site));
    engine = await (await import(engineName === "webkit" ? "./webkit.mjs" : "./puppeteer.mjs")).launch(engineName);
    console.log(`# ${engineName}: ${engine.version}`);
});

after(async () => {
    await engine?.close();
    server?.close();
});

// What a function of the page returns, run with the given arguments.
const run = (page, fn, ...args) => page.evaluate(`(${fn})(...${JSON.stringify(args)})`);

async function waitFor(page, fn, ...args) {
    for (let tries = 0; !(await run(page, fn, ...args)); ++tries) {
        assert.ok(tries < 200, `waited 10 s in vain for ${fn}`);
        await new Promise((done) => setTimeout(done, 50));
    }
}

const formReady = (page) => waitFor(page, () => performance.getEntriesByName("velmora-ready").length > 0);

// A page loaded and ready for typing. The scenarios run in the en-US
// language, whose decimal separator is the point.
async function openPage(options = {}, url = address) {
    const page = await engine.open(options);
    await page.goto(url);
    await formReady(page);
    return page;
}

// Clicks an element where it is drawn: the middle of its box.
async function click(page, selector, how = "clickAt") {
    const [x, y] = await run(page, (selector) => {
        const box = document.querySelector(selector).getBoundingClientRect();
        return [box.left + box.width / 2, box.top + box.height / 2];
    }, selector);
    await page[how](x, y);
}

// The id of the button with the given caption (in the form or the message).
const buttonId = (page, caption) => run(page, (caption) => {
    const button = [...document.querySelectorAll("button")].find((each) => each.textContent === caption);
    button.id ||= `button-${caption}`;
    return button.id;
}, caption);

async function pressButton(page, caption, how) {
    await click(page, `#${await buttonId(page, caption)}`, how);
}

async function typeInField(page, text) {
    await run(page, () => {
        const input = document.querySelector("#Combo1");
        input.focus();
        input.select();
    });
    await (text === "" ? page.press("Backspace") : page.type(text));
}

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

const state = (page) => run(page, () => {
    const input = document.querySelector("#Combo1");
    return {
        field: input.value,
        selected: document.activeElement === input && input.selectionStart === 0
            && input.selectionEnd === input.value.length,
        entries: [...document.querySelectorAll("#Combo1_list > li")].map((li) => li.textContent).join(" "),
        complements: [...document.querySelectorAll("#List1 > li")].map((li) => li.textContent).join(" "),
        report: document.querySelector("#Text1_0").value,
        expanded: { true: "yes", false: "no" }[input.getAttribute("aria-expanded")] ?? "neither",
        listShown: document.querySelector("#Combo1_list").checkVisibility(),
        message: document.querySelector("dialog[open]")?.innerText ?? null,
    };
});

// Where a label draws its text: the gaps between the text's drawn extent and
// the label's box on the left and on the right.
const labelGaps = (page, text) => run(page, (text) => {
    const label = [...document.querySelectorAll(".velmora-label")].find((each) => each.textContent === text);
    const range = document.createRange();
    range.selectNodeContents(label);
    const drawn = range.getBoundingClientRect();
    const box = label.getBoundingClientRect();
    return [drawn.left - box.left, box.right - drawn.right];
}, text);

async function playScenario(page, scenario) {
    let messages = 0;
    for (const { verb, argument, number } of scenario.lines) {
        const where = `line ${number} (${verb} ${argument})`;
        switch (verb) {
        case "type":
            await typeInField(page, argument);
            break;
        case "press": {
            await pressButton(page, argument);
            // The too-large message: counted, read, and closed with «Добре».
            const { message } = await state(page);
            if (message !== null) {
                messages += 1;
                assert.match(message, /^Velmora\s+Числото е твърде голямо/, where);
                // The page's own close handler runs before the one waited for here.
                await run(page, () => {
                    window.reportClosed = new Promise((done) =>
                        document.querySelector("dialog[open]").addEventListener("close", done, { once: true }));
                });
                await pressButton(page, "Добре");
                await run(page, () => window.reportClosed.then(() => true));
            }
            break;
        }
        case "key":
            await run(page, () => document.querySelector("#Combo1").focus());
            await page.press({ Enter: "Enter", Esc: "Escape" }[argument]);
            break;
        case "open":
            await click(page, ".velmora-drop");
            break;
        case "pick":
            if (!(await state(page)).listShown) {
                await click(page, ".velmora-drop");
            }
            await click(page, `#Combo1_list > li:nth-child(${Number(argument)})`);
            await waitFor(page, () => !document.querySelector("#Combo1_list").checkVisibility());
            break;
        case "copy":
            await run(page, () => document.querySelector("#Text1_0").focus());
            await page.press("Control+A");
            await page.press("Control+C");
            break;
        case "field":
        case "entries":
        case "complements":
        case "expanded":
            assert.equal((await state(page))[verb], argument, where);
            break;
        case "selected":
            assert.equal((await state(page)).selected, true, where);
            break;
        case "report":
            assert.equal((await state(page)).report, lines(argument), where);
            break;
        case "report-begins":
            assert.ok((await state(page)).report.startsWith(argument), where);
            break;
        case "clipboard": {
            // Pasted with Ctrl+V into a box of its own, as a user would.
            await run(page, () => {
                const box = document.body.appendChild(document.createElement("textarea"));
                box.id = "pasted";
                box.focus();
            });
            await page.press("Control+V");
            const pasted = await run(page, () => document.querySelector("#pasted").value);
            await run(page, () => document.querySelector("#pasted").remove());
            assert.equal(pasted, lines(argument), where);
            break;
        }
        case "messages":
            assert.equal(messages, Number(argument), where);
            break;
        case "label": {
            const [alignment, text] = [argument.slice(0, argument.indexOf(" ")),
                                       argument.slice(argument.indexOf(" ") + 1)];
            const [left, right] = await labelGaps(page, text);
            const centred = Math.abs(left - right) <= 2;
            assert.ok(alignment === "centre" ? centred : !centred && left <= 4,
                      `${where}: gaps ${left} and ${right}`);
            break;
        }
        default:
            assert.fail(`line ${number}: no such step or check: ${verb}`);
        }
    }
}

describe("window scenarios", () => {
    for (const scenario of readScenarios(readFileSync(kScenarios, "utf8"))) {
        test(scenario.name, async () => {
            const page = await openPage();
            try {
                await playScenario(page, scenario);
                assert.deepEqual(await page.errors(), []);
            } finally {
                await page.close();
            }
        });
    }
});

// ---------------------------------------------------------------------------
// The page's look, keyboard and accessibility.

// The colour at (x, y) CSS pixels of a screenshot of the whole viewport,
// decoded by the page's own browser.
async function screenshotPixels(page, path) {
    const scale = await run(page, () => devicePixelRatio);
    const png = await page.screenshot(path);
    const decoded = await run(page, async (base64) => {
        const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
        const bitmap = await createImageBitmap(new Blob([bytes], { type: "image/png" }));
        const canvas = document.createElement("canvas");
        canvas.width = bitmap.width;
        canvas.height = bitmap.height;
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

// The road of one number, on a page that has its form ready.
async function enterAndReport(page) {
    await typeInField(page, "42");
    await pressButton(page, "Въведи");
    await pressButton(page, "Изведи");
    assert.equal((await state(page)).report, "42 + 57 = 99\n");
}

describe("the page", () => {
    // At 100 %, and at twice the scale with a dark colour scheme: the same
    // form, in the same colours, legible, its report box with a scroll bar.
    // And at exactly the form's width, where the layout for phones stops.
    for (const [scale, scheme, width = 600] of [[1, "light"], [2, "dark"], [1, "light", 461]]) {
        const wide = width === 600 ? "" : `, ${width} px wide`;
        test(`looks like the window at ${scale * 100} % in a ${scheme} colour scheme${wide}`, async () => {
            const page = await openPage({ width, height: 400, scale, scheme });
            try {
                const layout = await run(page, (ids) => {
                    const form = document.querySelector(".velmora-form").getBoundingClientRect();
                    const place = (id) => {
                        const box = document.getElementById(id).getBoundingClientRect();
                        return [box.left - form.left, box.top - form.top, box.width, box.height];
                    };
                    const font = (id) => {
                        const style = getComputedStyle(document.getElementById(id));
                        // (WebKitGTK 2.54 gives the family names unquoted.)
                        const family = style.fontFamily.replaceAll('"', "");
                        return [family, style.fontSize, style.fontWeight, style.fontStyle].join(" ");
                    };
                    return {
                        title: document.title,
                        language: navigator.language,
                        lang: document.documentElement.lang,
                        icon: document.querySelector("link[rel=icon]")?.href ?? "",
                        scale: devicePixelRatio,
                        dark: matchMedia("(prefers-color-scheme: dark)").matches,
                        form: [form.left, form.top, form.width, form.height],
                        places: ids.map(place),
                        fonts: ids.map(font),
                        shown: ["List1", "Text1_1"].map((id) => document.getElementById(id).checkVisibility()),
                    };
                }, kControls.map(([id]) => id));
                assert.equal(layout.title, kTitle);
                assert.equal(layout.language, "en-US");
                assert.equal(layout.lang, "bg");
                assert.match(layout.icon, /velmora\.svg$/);
                assert.deepEqual([layout.scale, layout.dark], [scale, scheme === "dark"]);
                assert.deepEqual(layout.form.slice(2), [461, 315]);
                assert.deepEqual(layout.places, kControls.map(([, ...place]) => place.slice(0, 4)));
                for (const font of layout.fonts) {
                    assert.equal(font, "Times New Roman, Liberation Serif, serif 16px 400 normal");
                }
                assert.deepEqual(layout.shown, [false, false]);

                const [left, top] = layout.form;
                const pixel = await screenshotPixels(page, join(shots, `page-${scale * 100}-${scheme}${wide}.png`));
                const at = (x, y) => pixel(left + x, top + y);
                assert.deepEqual(at(4, 100), kFormColour);
                assert.deepEqual(at(455, 170), kFormColour);
                for (const [id, x, y, width, height, colour] of kControls) {
                    if (colour) {
                        assert.deepEqual(at(x + 4, y + 4), colour, id);
                        assert.deepEqual(at(x + width - 5, y + height - 5), colour, id);
                    }
                }
                // The report: dark text on a light ground, and its scroll
                // bar drawn in the room kept for it.
                let darkest = 255;
                for (let y = 186; y < 300; y += 1) {
                    for (let x = 12; x < 420; x += 1) {
                        darkest = Math.min(darkest, lightness(at(x, y)));
                    }
                }
                assert.ok(darkest < 80, `the report's text is dark: ${darkest}`);
                assert.ok(lightness(at(200, 300)) > 200, "the report's ground is light");
                // The bar, in its room or over the text (WebKit): a column
                // of grey along its right edge, 20 pixels high at least.
                let bar = 0;
                for (let x = 8 + 449 - 18; x < 8 + 449 - 1; x += 1) {
                    let run = 0;
                    for (let y = 186; y < 303; y += 1) {
                        const value = lightness(at(x, y));
                        run = value > 100 && value < 235 ? run + 1 : 0;
                        bar = Math.max(bar, run);
                    }
                }
                assert.ok(bar >= 20, `the report's scroll bar is drawn: ${bar} pixels high`);
                assert.deepEqual(await page.errors(), []);
            } finally {
                await page.close();
            }
        });
    }

    // A laptop's 1366 × 768 screen at 200 % and 300 % browser zoom, as on a
    // projector: the whole form in the browser's width, nothing to scroll
    // sideways, and at 200 % nothing to scroll at all.
    for (const [scale, width, height] of [[2, 683, 339], [3, 455, 226]]) {
        test(`stays whole at ${scale * 100} % zoom on a 1366 × 768 screen`, async () => {
            const page = await openPage({ width, height, scale });
            try {
                await enterAndReport(page);
                const sizes = await run(page, () => {
                    const root = document.documentElement;
                    const form = document.querySelector(".velmora-form").getBoundingClientRect();
                    return [root.scrollWidth - root.clientWidth, form.left >= 0 && form.right <= root.clientWidth,
                            root.scrollHeight - root.clientHeight];
                });
                assert.deepEqual(sizes.slice(0, 2), [0, true], "no sideways scrolling");
                assert.ok(scale > 2 || sizes[2] === 0, `at 200 %, ${sizes[2]} px to scroll down`);
            } finally {
                await page.close();
            }
        });
    }

    // On a phone in portrait, up to a screen 1 px narrower than the form, by
    // taps: the road of one number, the list of entries opened and an entry
    // chosen; the controls in the window's order and colours, every target
    // at least 44 px high and inside the screen, the report box down to the
    // screen's foot, nothing to scroll.
    for (const [width, height] of [[360, 640], [412, 915], [460, 800]]) {
        test(`is laid out for the finger on a ${width} × ${height} phone`, { skip: kNoTouch }, async () => {
            const page = await openPage({ width, height, mobile: true });
            try {
                await click(page, "#Combo1", "tapAt");
                await page.type("42");
                await pressButton(page, "Въведи", "tapAt");
                await pressButton(page, "Изведи", "tapAt");
                assert.equal((await state(page)).report, "42 + 57 = 99\n");
                await click(page, ".velmora-drop", "tapAt");
                await waitFor(page, () => document.querySelector("#Combo1_list").checkVisibility());
                await click(page, "#Combo1_list > li:nth-child(1)", "tapAt");
                await waitFor(page, () => !document.querySelector("#Combo1_list").checkVisibility());
                assert.equal((await state(page)).field, "42");
                await click(page, ".velmora-drop", "tapAt");
                await waitFor(page, () => document.querySelector("#Combo1_list").checkVisibility());
                await page.screenshot(join(shots, `page-phone-${width}.png`));

                const layout = await run(page, (ids) => {
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
                const order = kControls.map(([id], i) => [id, Math.round(layout.places[i].top),
                                                          Math.round(layout.places[i].left)])
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
                assert.deepEqual(await page.errors(), []);
            } finally {
                await page.close();
            }
        });
    }

    // Until the module is there, what is typed stays in the field and the
    // clicks are held, then played in order; what was typed after the last
    // one is put back, though the first one had the same text. The module
    // comes late, and as any file, not as application/wasm: compiled once
    // whole.
    test("holds what is typed and clicked while the module is on its way", async () => {
        let release;
        const released = new Promise((resolve) => { release = resolve; });
        const own = await serve(site, { answer: async (path, headers) => (path === "/velmora.wasm"
            ? (await released, { ...headers, "Content-Type": "application/octet-stream" }) : headers) });
        const page = await engine.open();
        try {
            await page.goto(own.address);
            await typeInField(page, "42");
            await pressButton(page, "Въведи");
            await page.type("7");
            await pressButton(page, "Въведи");
            await pressButton(page, "Изведи");
            await page.type("42");
            const held = await state(page);
            assert.ok(held.report.startsWith("Да се реализира"), held.report);
            assert.equal(await run(page, () => document.querySelectorAll(".velmora-waiting").length), 1);
            release();
            await formReady(page);
            const bound = await state(page);
            assert.deepEqual([bound.report, bound.field], ["42 + 57 = 99\n7 + 92 = 99\n", "42"]);
            assert.equal(await run(page, () => document.querySelectorAll(".velmora-waiting").length), 0);
            assert.deepEqual(await page.errors(), []);
        } finally {
            release();
            await page.close();
            own.server.close();
        }
    });

    // Where the module or its loader cannot be fetched, or the module stops
    // once bound: the page says which above the form, as wide as the form,
    // and turns the buttons off; what was typed stays in the field.
    const kNotLoaded = "Velmora не успя да се зареди. Проверете връзката с интернет и презаредете страницата.";
    for (const [what, missing, message] of [
        ["the module cannot be fetched", "/velmora.wasm", kNotLoaded],
        ["its loader cannot be fetched", "/velmora.js", kNotLoaded],
        ["the module stops", null, "Velmora спря поради грешка. Презаредете страницата."],
    ]) {
        test(`says so when ${what}`, async () => {
            const own = await serve(site, { answer: (path, headers) => {
                if (path === missing) {
                    throw new Error("not there");
                }
                return headers;
            } });
            const page = await engine.open();
            try {
                await page.goto(own.address);
                await typeInField(page, "42");
                if (!missing) {
                    // As when the module's code calls abort().
                    await formReady(page);
                    await run(page, () => { try { abort("stopped"); } catch { } });
                }
                await waitFor(page, () => document.querySelector("[role=alert]") !== null);
                const failed = await run(page, () => {
                    const alert = document.querySelector("[role=alert]");
                    const form = document.querySelector(".velmora-form");
                    return [alert.textContent, alert.nextElementSibling === form, alert.offsetWidth === form.offsetWidth,
                            document.querySelector("#Combo1").value,
                            [...form.querySelectorAll("button")].every((button) => button.disabled)];
                });
                assert.deepEqual(failed, [message, true, true, "42", true]);
            } finally {
                await page.close();
                own.server.close();
            }
        });
    }

    // Tab and Shift+Tab go through the controls in the window's tab order;
    // the focused one is marked; Space and Enter press a focused button.
    test("is used from the keyboard", async () => {
        const page = await openPage({ width: 600, height: 400 });
        try {
            const focused = () => run(page, () => document.activeElement.id);
            // The first number is typed where the focus is at the start.
            await waitFor(page, () => document.activeElement.id === "Combo1");
            await page.press("Shift+Tab");
            assert.equal(await focused(), "Text1_0");
            const order = ["Combo1", "Command1_0", "Command1_1", "Command1_2"];
            const forth = [];
            for (const id of order) {
                await page.press("Tab");
                forth.push(await focused());
                // The focus ring: dark, just left of the control, where the
                // form's own colour is otherwise.
                const box = await run(page, (id) => {
                    const { x, y, height } = document.getElementById(id).getBoundingClientRect();
                    return { x, y, height };
                }, id);
                const pixel = await screenshotPixels(page, join(shots, `focus-${id}.png`));
                assert.ok(lightness(pixel(box.x - 2, box.y + box.height / 2)) < 80, `focus ring of ${id}`);
            }
            assert.deepEqual(forth, order);
            const back = [];
            for (let i = 0; i < order.length; ++i) {
                await page.press("Shift+Tab");
                back.push(await focused());
            }
            assert.deepEqual(back, ["Command1_1", "Command1_0", "Combo1", "Text1_0"]);

            // Two numbers from the keyboard alone: Space on «Въведи», which
            // puts the focus back into the field; Enter on «Изведи».
            await page.press("Tab");
            for (const number of ["42", "7"]) {
                await page.type(number);
                await page.press("Tab");
                await page.press(" ");  // Space
                assert.equal(await focused(), "Combo1");
            }
            await page.press("Tab");
            await page.press("Tab");
            await page.press("Tab");
            await page.press("Enter");
            assert.equal((await state(page)).report, "42 + 57 = 99\n7 + 92 = 99\n");

            // The list of entries: Down opens it and walks it, stopping at
            // the last, Up walks back; Enter chooses, Alt+Down opens it
            // without choosing, Escape closes it, and so does leaving the
            // field, by Tab or by a click on the report box.
            await run(page, () => document.querySelector("#Combo1").focus());
            const combo = () => run(page, () => {
                const input = document.querySelector("#Combo1");
                const active = document.getElementById(input.getAttribute("aria-activedescendant"));
                return [input.value, input.getAttribute("aria-expanded"),
                        document.querySelector("#Combo1_list").checkVisibility(), active?.textContent ?? null];
            });
            for (const [keys, after] of [
                ["ArrowDown", ["", "true", true, "42"]],
                ["ArrowDown", ["", "true", true, "7"]],
                ["ArrowDown", ["", "true", true, "7"]],
                ["ArrowUp", ["", "true", true, "42"]],
                ["Enter", ["42", "false", false, null]],
                ["Alt+ArrowDown", ["42", "true", true, null]],
                ["Escape", ["42", "false", false, null]],
                ["Alt+ArrowDown", ["42", "true", true, null]],
                ["Tab", ["42", "false", false, null]],
            ]) {
                await page.press(keys);
                assert.deepEqual(await combo(), after, keys);
            }
            await run(page, () => document.querySelector("#Combo1").focus());
            await page.press("Alt+ArrowDown");
            await page.screenshot(join(shots, "list-open.png"));
            await click(page, "#Text1_0");
            assert.deepEqual(await combo(), ["42", "false", false, null], "a click on the report box");

            // Nine entries more, more than the open list shows: the drop
            // button, clicked from the report box, puts the focus into the
            // field, and Down walks to the last entry, scrolled into view.
            for (let number = 1; number <= 9; ++number) {
                await typeInField(page, String(number));
                await pressButton(page, "Въведи");
            }
            await click(page, "#Text1_0");
            await click(page, ".velmora-drop");
            for (let step = 0; step < 11; ++step) {
                await page.press("ArrowDown");
            }
            assert.deepEqual(await combo(), ["", "true", true, "9"], "Down to the last entry");
            assert.ok(await run(page, () => document.querySelector("#Combo1_active").getBoundingClientRect().bottom
                <= document.querySelector("#Combo1_list").getBoundingClientRect().bottom), "the last entry in view");
            assert.deepEqual(await page.errors(), []);
        } finally {
            await page.close();
        }
    });

    // axe-core, the standard checker, at a desktop's width in both colour
    // schemes, and at a phone's where the engine has touch, with an entry
    // made and the list of entries open: no breach of WCAG 2.2 A and AA, nor
    // of its best practices.
    for (const [width, scheme] of [[800, "light"], [800, "dark"], [360, "light"], [360, "dark"]]) {
        const phone = width < 461;
        test(`passes axe-core at ${width} px in a ${scheme} colour scheme`, { skip: phone && kNoTouch }, async () => {
            const page = await openPage({ width, height: 640, scheme, mobile: phone });
            try {
                await typeInField(page, "42");
                await pressButton(page, "Въведи");
                await page.press("ArrowDown");
                await page.evaluate(`(() => { ${kAxe}\n; return true; })()`);
                const violations = await run(page, async () => (await window.axe.run(document, {
                    runOnly: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"],
                })).violations.map(({ id, nodes }) => `${id}: ${nodes.map((node) => node.target).join(" ")}`));
                assert.deepEqual(violations, []);
            } finally {
                await page.close();
            }
        });
    }

    // What a screen reader reads: the element the browser finds by each
    // accessible role and name.
    test("has the window's accessible names, and no hidden control", async () => {
        const page = await openPage();
        try {
            assert.equal(await page.findRole("combobox", "Числа"), "Combo1");
            for (const caption of ["Въведи", "Изведи", "Изчисти"]) {
                assert.match(await page.findRole("button", caption) ?? "", /^Command1_/, caption);
            }
            assert.equal(await page.findRole("textbox", "Двойки числа"), "Text1_0");
            assert.deepEqual(await run(page, () => [document.querySelector("#Text1_0").readOnly,
                                                    document.querySelector("#Text1_0").tagName]),
                             [true, "TEXTAREA"]);
            // The hidden list of complements and the hidden text box are
            // found by no name of theirs.
            const hidden = await run(page, () => ["List1", "Text1_1"].map((id) => {
                const element = document.getElementById(id);
                return [element.tagName === "UL" ? "list" : "textbox",
                        element.getAttribute("aria-label") ?? element.textContent];
            }));
            for (const [role, name] of hidden) {
                assert.equal(await page.findRole(role, name), null, name);
            }
            assert.equal(await page.findRole("listbox", "Числа"), null, "the closed list of entries");

            // The open list of entries, and the too-large message.
            await typeInField(page, "42");
            await pressButton(page, "Въведи");
            await page.press("ArrowDown");
            assert.equal(await page.findRole("listbox", "Числа"), "Combo1_list");
            assert.notEqual(await page.findRole("option", "42"), null);
            await page.press("Escape");
            await typeInField(page, "1234567890");
            await pressButton(page, "Въведи");
            assert.notEqual(await page.findRole("alertdialog", "Velmora"), null);
            assert.equal(await run(page, () => document.querySelector("dialog").matches(":modal")), true);
            assert.notEqual(await page.findRole("button", "Добре"), null);
            assert.deepEqual(await page.errors(), []);
        } finally {
            await page.close();
        }
    });
});

// ---------------------------------------------------------------------------
// The two outputs: the folder for a web host, and velmora.html.

describe("the outputs", () => {
    test("the folder opens offline after one visit, and can be installed", async () => {
        // A server of its own, stopped for the second visit; the browser is
        // told to be offline as well where it can be.
        const own = await serve(site);
        const page = await openPage({ profile: true }, own.address);
        try {
            await waitFor(page, () => navigator.serviceWorker.controller !== null);
            assert.equal(await run(page, () => performance.getEntriesByType("resource")
                .filter((entry) => entry.name.endsWith("/velmora.wasm")).length), 1, "the module fetched once");

            // The service worker keeps every file of the folder but itself and
            // the licences' texts.
            const kept = await run(page, async () => {
                const cache = await caches.open((await caches.keys())[0]);
                return (await cache.keys()).map((request) => new URL(request.url).pathname).sort();
            });
            const files = readdirSync(site).filter((file) => file !== "sw.js" && !file.endsWith(".txt")).map((file) => "/" + file);
            assert.deepEqual(kept, ["/", ...files].sort());

            const manifest = await run(page, async () =>
                (await fetch(document.querySelector("link[rel=manifest]").href)).json());
            const { name, lang, display, icons } = manifest;
            assert.deepEqual([name, lang, display], ["Velmora", "bg", "standalone"]);
            assert.ok(icons.some((icon) => icon.sizes === "512x512"));
            if (page.installable) {
                assert.deepEqual((await page.installable()).errors, []);
            }

            own.server.close();
            own.server.closeAllConnections();
            const offline = await page.setOffline(true);
            console.log(`# ${engineName}: offline ${offline ? "by the browser and " : ""}with the server stopped`);
            await page.reload();
            await formReady(page);
            assert.equal(await run(page, () => document.title), kTitle);
            await enterAndReport(page);
            // A shared link's address, with a query.
            await page.goto(`${own.address}?from=link`);
            await formReady(page);
            assert.deepEqual(await page.errors(), []);
        } finally {
            await page.close();
            own.server.close();
        }
    });

    test("velmora.html opens from disk with no network", async () => {
        const page = await engine.open();
        try {
            const offline = await page.setOffline(true);
            await page.goto(pathToFileURL(singlePage).href);
            await formReady(page);
            assert.equal(await run(page, () => document.title), kTitle);
            await enterAndReport(page);
            const fetched = await run(page, () => performance.getEntriesByType("resource").map((entry) => entry.name));
            assert.deepEqual(fetched.filter((url) => !/^(file|data|blob):/.test(url)), [], `offline: ${offline}`);
            assert.deepEqual(await page.errors(), []);
        } finally {
            await page.close();
        }
    });
});
