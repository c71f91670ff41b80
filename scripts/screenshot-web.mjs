// A picture of the web edition's page in headless Chromium, for the README.
//
//   node scripts/screenshot-web.mjs SITE_FOLDER OUTPUT.png [SCALE]
import { serve } from "./serve-web.mjs";
import { formReady, launchChromium } from "../tests/web/chromium.mjs";

const [site, output, scale = "1"] = process.argv.slice(2);
if (!site || !output) {
    console.error("usage: node scripts/screenshot-web.mjs SITE_FOLDER OUTPUT.png [SCALE]");
    process.exit(2);
}
const { server, address } = await serve(site);
const browser = await launchChromium();
try {
    const page = await browser.newPage({ viewport: { width: 501, height: 347 }, deviceScaleFactor: Number(scale),
                                         locale: "bg-BG" });
    await page.goto(address);
    await formReady(page);
    await page.locator("#Combo1").fill("42");
    await page.getByRole("button", { name: "Въведи" }).click();
    await page.locator("#Combo1").fill("7");
    await page.getByRole("button", { name: "Въведи" }).click();
    await page.getByRole("button", { name: "Изведи" }).click();
    await page.locator("#Combo1").fill("123");
    await page.evaluate(() => document.activeElement.blur());
    await page.screenshot({ path: output });
    console.log(`${output}: the page in Chromium ${browser.version()}`);
} finally {
    await browser.close();
    server.close();
}
