// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The system's WebKitGTK, for the page tests: its MiniBrowser driven by
// WebKitWebDriver over classic W3C WebDriver, through selenium-webdriver. It
// needs an X display (the test runs under scripts/with-xvfb.sh). Each page
// is a session, a MiniBrowser of its own; the scale comes from GDK_SCALE, so
// each scale has a driver of its own. launch() is the page tests' view of
// it, the same as puppeteer.mjs gives of Chromium and Firefox.
import { existsSync, writeFileSync } from "node:fs";

import { Builder, By, Key } from "selenium-webdriver";
import { DriverService } from "selenium-webdriver/remote/index.js";

export const kMiniBrowser = process.env.VELMORA_MINIBROWSER
    || ["webkitgtk-6.0", "webkit2gtk-4.1", "webkit2gtk-4.0"]
        .map((folder) => `/usr/lib/x86_64-linux-gnu/${folder}/MiniBrowser`).find(existsSync);
export const kDriver = process.env.VELMORA_WEBKIT_DRIVER || "/usr/bin/WebKitWebDriver";

// The keys the page tests press, by their names there.
const kKeys = {
    Alt: Key.ALT, ArrowDown: Key.ARROW_DOWN, ArrowUp: Key.ARROW_UP, Backspace: Key.BACK_SPACE,
    Control: Key.CONTROL, Enter: Key.ENTER, Escape: Key.ESCAPE, Shift: Key.SHIFT, Tab: Key.TAB,
};

// The page's uncaught errors and breaches of its Content Security Policy,
// kept from its start as far as a script run after loading can.
const kKeepErrors = `
    window.velmoraErrors ??= [];
    addEventListener("error", (event) => velmoraErrors.push(event.message));
    addEventListener("unhandledrejection", (event) => velmoraErrors.push(String(event.reason)));
    addEventListener("securitypolicyviolation", (event) =>
        velmoraErrors.push(\`CSP: \${event.effectiveDirective} blocks \${event.blockedURI}\`));`;

// A WebKitWebDriver on a free port of 127.0.0.1, with MiniBrowser's
// environment: the scale, and English.
function startDriver(scale) {
    const service = new DriverService.Builder(kDriver).setLoopback(true).setEnvironment({
        ...process.env, GDK_SCALE: String(scale), GDK_DPI_SCALE: "1", LANG: "en_US.UTF-8", LANGUAGE: "en_US",
    }).build();
    return { service, address: service.start() };
}

export async function launch() {
    const drivers = {};
    const open = async ({ width = 1280, height = 720, scale = 1, scheme = "light" } = {}) => {
        drivers[scale] ??= startDriver(scale);
        const driver = await new Builder().usingServer(await drivers[scale].address).withCapabilities({
            browserName: "MiniBrowser",
            "webkitgtk:browserOptions": {
                binary: kMiniBrowser,
                args: ["--automation", ...(scheme === "dark" ? ["--dark-mode"] : [])],
            },
        }).build();
        // The value of an expression, awaited in the page, as JSON.
        const evaluate = async (expression) => {
            const { value, error } = await driver.executeAsyncScript(`const done = arguments[0];
                (async () => JSON.stringify(await (${expression})) ?? "null")()
                    .then((value) => done({ value }), (error) => done({ error: String(error) }));`);
            if (error !== undefined) {
                throw new Error(error);
            }
            return JSON.parse(value);
        };
        // The window's size is its viewport's plus what it draws around it.
        const window = driver.manage().window();
        await window.setRect({ width, height });
        const [innerWidth, innerHeight, screenWidth, screenHeight] =
            await evaluate("[innerWidth, innerHeight, screen.width, screen.height]");
        const outer = { width: 2 * width - innerWidth, height: 2 * height - innerHeight };
        // Centred on the screen, under the X server's pointer, where a
        // display with no window manager gives a window the keyboard (and
        // the page its focus and focus rings).
        await window.setRect({ ...outer, x: Math.round((screenWidth - outer.width) / 2),
                               y: Math.round((screenHeight - outer.height) / 2) });
        const perform = async (actions) => {
            await actions.perform();
            await driver.actions().clear();
        };
        const load = async (url) => {
            await (url === undefined ? driver.navigate().refresh() : driver.get(url));
            await driver.executeScript(kKeepErrors);
        };
        return {
            version: (await driver.getCapabilities()).get("browserVersion"),
            errors: () => evaluate("window.velmoraErrors ?? []"),
            goto: (url) => load(url),
            reload: () => load(),
            evaluate,
            clickAt: (x, y) => perform(driver.actions({ async: true })
                .move({ x: Math.round(x), y: Math.round(y), duration: 0 }).press().release()),
            type: (text) => perform(driver.actions({ async: true }).sendKeys(text)),
            // "Shift+Tab": the modifiers held down while the last key is pressed.
            press(keys) {
                const values = keys.split("+").map((key) => kKeys[key] ?? key);
                let actions = driver.actions({ async: true });
                values.forEach((value) => { actions = actions.keyDown(value); });
                values.reverse().forEach((value) => { actions = actions.keyUp(value); });
                return perform(actions);
            },
            async screenshot(path) {
                const png = Buffer.from(await driver.takeScreenshot(), "base64");
                writeFileSync(path, png);
                return png;
            },
            // The element whose computed role and label (WebKit's
            // accessibility) are these, by its id ("" for one without).
            async findRole(role, name) {
                for (const element of await driver.findElements(By.css("body *"))) {
                    // Hidden elements are no part of the accessibility tree
                    // (WebKit computes a role for them all the same).
                    const found = await element.getAriaRole().catch(() => null) === role
                        && await element.getAccessibleName().catch(() => null) === name
                        && await element.isDisplayed();
                    if (found) {
                        return await element.getDomAttribute("id") ?? "";
                    }
                }
                return null;
            },
            // WebDriver has no way to take a WebKit page offline.
            setOffline: async () => false,
            close: () => driver.quit(),
        };
    };
    const first = await open();
    const version = first.version;
    await first.close();
    return {
        name: "webkit",
        version,
        open,
        async close() {
            await Promise.all(Object.values(drivers).map((each) => each.service.kill()));
        },
    };
}
