// The web edition in headless Chromium, on its real page: every scenario of
// tests/window_scenarios.txt, and what only the web has: the page's look from
// screenshots (also at twice the scale, with a dark colour scheme and on a
// narrow screen), the keyboard, Chromium's accessibility tree, opening
// offline through the service worker, and velmora.html from disk.
//
//   node tests/web/tst_web_page.mjs SITE_FOLDER VELMORA_HTML [SCREENSHOT_FOLDER]
//
// Serves SITE_FOLDER itself on 127.0.0.1 and stops the server at the end.
import { after, before, describe, test } from "node:test";
import assert from "node:assert/strict";
import { mkdirSync, readFileSync, readdirSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

import { serve } from "../../scripts/serve-web.mjs";
import { formReady, launchChromium } from "./chromium.mjs";

const [site, singlePage, shots = "."] = process.argv.slice(2);
if (!site || !singlePage) {
    console.error("usage: node tests/web/tst_web_page.mjs SITE_FOLDER VELMORA_HTML [SCREENSHOT_FOLDER]");
    process.exit(2);
}
mkdirSync(shots, { recursive: true });
const kScenarios = join(dirname(fileURLToPath(import.meta.url)), "..", "window_scenarios.txt");
const kTitle = "https://velmora.example Математика - двойки числа с равни суми";
const kFormColour = [192, 192, 255];

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
                complements: [...document.querySelector("#List1").options].map((o) => o.text).join(" "),
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
