// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// A picture of the web edition's page in headless Chromium, for the README:
// on a desktop's screen, or on a phone's (a SIZE narrower than the form, as
// 360x640, with touch).
//
//   node scripts/screenshot-web.mjs SITE_FOLDER OUTPUT.png [SCALE] [SIZE]
import { serve } from "./serve-web.mjs";
import { formReady, launchChromium } from "../tests/web/puppeteer.mjs";

const [site, output, scale = "1", size = "501x347"] = process.argv.slice(2);
const [width, height] = size.split("x").map(Number);
if (!site || !output || !(width > 0 && height > 0)) {
    console.error("usage: node scripts/screenshot-web.mjs SITE_FOLDER OUTPUT.png [SCALE] [WIDTHxHEIGHT]");
    process.exit(2);
}
const phone = width < 461;
const { server, address } = await serve(site);
const browser = await launchChromium();
try {
    const page = await browser.newPage();
    // Numbers as a Bulgarian user's browser writes them.
    await (await page.createCDPSession()).send("Emulation.setLocaleOverride", { locale: "bg-BG" });
    await page.setViewport({ width, height, deviceScaleFactor: Number(scale), isMobile: phone, hasTouch: phone });
    await page.goto(address);
    await formReady(page);
    const press = async (caption) => (await page.$(`::-p-aria(${caption}[role="button"])`))[phone ? "tap" : "click"]();
    for (const number of ["42", "7"]) {
        await page.type("#Combo1", number);
        await press("Въведи");
    }
    await press("Изведи");
    await page.type("#Combo1", "123");
    await page.evaluate(() => document.activeElement.blur());
    await page.screenshot({ path: output });
    console.log(`${output}: the page in Chromium ${(await browser.version()).replace("Chrome/", "")}, ${width} × ${height}`);
} finally {
    await browser.close();
    server.close();
}
