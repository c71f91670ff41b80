// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The system's Chromium and Firefox ESR, headless, for the web tests and
// benchmarks, driven by puppeteer-core: Chromium through its DevTools
// protocol, Firefox through WebDriver BiDi. No browser is downloaded, and
// nothing reaches out to the network by itself. launch() is the page tests'
// view of them, the same as webkit.mjs gives of WebKit.
import puppeteer from "puppeteer-core";

export const kChromium = process.env.VELMORA_CHROMIUM || "/usr/bin/chromium";
export const kFirefox = process.env.VELMORA_FIREFOX || "/usr/bin/firefox-esr";

// A Chromium with a fresh profile of its own, in English (the language
// comes from the environment). Headless, it has no mouse of its own: it is
// told it has one, as a desktop has. A page's first paint is not held back
// while the page before it stays on screen, as for the start-up figures in
// the README. `switches`, for the benchmarks: these alone, in place of
// puppeteer's own for automation.
export const kChromiumSwitches = ["--no-sandbox", "--disable-gpu", "--disable-quic", "--disable-component-update",
    "--lang=en-US", "--disable-features=PaintHolding",
    "--blink-settings=primaryHoverType=2,availableHoverTypes=2,primaryPointerType=4,availablePointerTypes=4"];

export function launchChromium({ switches } = {}) {
    return puppeteer.launch({
        browser: "chrome",
        executablePath: kChromium,
        headless: true,
        defaultViewport: { width: 1280, height: 720 },
        // Scroll bars are part of the window's look.
        ignoreDefaultArgs: switches ? true : ["--hide-scrollbars"],
        args: switches ?? kChromiumSwitches,
        env: { ...process.env, LANG: "en_US.UTF-8", LANGUAGE: "en_US" },
    });
}

// A Firefox with a fresh profile of its own, in English, whose pages take
// their colour scheme from a preference.
function launchFirefox(scheme) {
    return puppeteer.launch({
        browser: "firefox",
        executablePath: kFirefox,
        headless: true,
        defaultViewport: { width: 1280, height: 720 },
        extraPrefsFirefox: {
            // 0: dark, 1: light, whatever the desktop says.
            "layout.css.prefers-color-scheme.content-override": scheme === "dark" ? 0 : 1,
            "intl.accept_languages": "en-US",
            "intl.locale.requested": "en-US",
        },
    });
}

// Resolves once the page's form is ready for typing.
export async function formReady(page) {
    await page.waitForFunction(() => performance.getEntriesByName("velmora-ready").length > 0);
}

// The page tests' engine, "chromium" or "firefox": pages opened with a
// viewport, scale and colour scheme, each in a browser context of its own
// (like a private window), or with profile set, in the browser's own
// profile, from which pages can be installed. Chromium sets a page's colour
// scheme; Firefox has a browser for each.
export async function launch(name) {
    const browsers = {};
    const browser = async (scheme) => (browsers[name === "chromium" ? "light" : scheme] ??=
        await (name === "chromium" ? launchChromium() : launchFirefox(scheme)));
    const version = await (await browser("light")).version();
    return {
        name,
        version,
        async open({ width = 1280, height = 720, scale = 1, scheme = "light", mobile = false,
                     profile = false } = {}) {
            const context = profile ? (await browser(scheme)).defaultBrowserContext()
                                    : await (await browser(scheme)).createBrowserContext();
            const page = await context.newPage();
            await page.setViewport({ width, height, deviceScaleFactor: scale, isMobile: mobile, hasTouch: mobile });
            if (name === "chromium") {
                await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
            }
            // A breach of the page's Content Security Policy is one of its errors.
            await page.evaluateOnNewDocument(() => addEventListener("securitypolicyviolation", (event) =>
                reportError(new Error(`CSP: ${event.effectiveDirective} blocks ${event.blockedURI}`))));
            const errors = [];
            page.on("pageerror", (error) => errors.push(String(error?.message ?? error)));
            return {
                errors: async () => errors,
                goto: (url) => page.goto(url),
                reload: () => page.reload(),
                evaluate: (expression) => page.evaluate(expression),
                clickAt: (x, y) => page.mouse.click(x, y),
                tapAt: mobile ? (x, y) => page.touchscreen.tap(x, y) : undefined,
                type: (text) => page.keyboard.type(text),
                // "Shift+Tab": the modifiers held down while the last key is pressed.
                async press(keys) {
                    const modifiers = keys.split("+");
                    const key = modifiers.pop();
                    for (const modifier of modifiers) {
                        await page.keyboard.down(modifier);
                    }
                    await page.keyboard.press(key);
                    for (const modifier of modifiers.reverse()) {
                        await page.keyboard.up(modifier);
                    }
                },
                screenshot: async (path) => Buffer.from(await page.screenshot({ path })),
                // The element the browser's accessibility tree names so, by
                // its id ("" for one without).
                async findRole(role, name) {
                    const element = await page.$(`::-p-aria(${name}[role="${role}"])`);
                    return element && await element.evaluate((found) => found.id);
                },
                setOffline: async (offline) => { await page.setOfflineMode(offline); return true; },
                // What keeps the page from being installed, and its manifest.
                installable: name === "chromium" ? async () => {
                    const cdp = await page.createCDPSession();
                    const errors = (await cdp.send("Page.getInstallabilityErrors")).installabilityErrors;
                    const manifest = await cdp.send("Page.getAppManifest");
                    return { errors: [...errors, ...manifest.errors], manifest: JSON.parse(manifest.data) };
                } : undefined,
                close: () => (profile ? page.close() : context.close()),
            };
        },
        async close() {
            await Promise.all(Object.values(browsers).map((each) => each.close()));
        },
    };
}
