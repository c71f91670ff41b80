// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The system's Chromium, headless, for the web tests and benchmarks: no
// browser is downloaded, and nothing reaches out to the network by itself.
// Driven by Playwright; launch() is the page tests' view of it, the same as
// firefox.mjs and webkit.mjs give of theirs.
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

import { chromium } from "playwright-core";

export const kChromium = process.env.VELMORA_CHROMIUM || "/usr/bin/chromium";

const kOptions = {
    executablePath: kChromium,
    headless: true,
    // Scroll bars are part of the window's look.
    ignoreDefaultArgs: ["--hide-scrollbars"],
    args: [
        "--no-sandbox",
        "--disable-gpu",
        "--disable-quic",
        "--no-first-run",
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-sync",
    ],
};

// A browser with a fresh profile of its own (Playwright makes one per launch,
// and its contexts are like private windows).
export function launchChromium() {
    return chromium.launch(kOptions);
}

// A browser context with the given profile folder, as a user's own browser
// is: pages can be installed from it.
export function launchChromiumWithProfile(folder, options = {}) {
    return chromium.launchPersistentContext(folder, { ...kOptions, ...options });
}

// Resolves once the page's form is ready for typing.
export async function formReady(page) {
    await page.waitForFunction(() => performance.getEntriesByName("velmora-ready").length > 0);
}

// The page tests' engine: pages opened with a viewport, scale, colour scheme
// and language, each in a context of its own.
export async function launch() {
    const browser = await launchChromium();
    const version = browser.version();
    return {
        name: "chromium",
        version,
        async open({ width = 1280, height = 720, scale = 1, scheme = "light", locale = "en-US",
                     mobile = false, profile = false } = {}) {
            const options = { viewport: { width, height }, deviceScaleFactor: scale, colorScheme: scheme, locale,
                              isMobile: mobile, hasTouch: mobile };
            // Only a page of a profile can be installed.
            const folder = profile ? mkdtempSync(join(tmpdir(), "velmora-profile-")) : null;
            const context = await (folder ? launchChromiumWithProfile(folder, options)
                                          : browser.newContext(options));
            const page = context.pages()[0] ?? await context.newPage();
            const errors = [];
            page.on("pageerror", (error) => errors.push(error.message));
            let cdp;
            return {
                errors: async () => errors,
                goto: (url) => page.goto(url),
                reload: () => page.reload(),
                evaluate: (expression) => page.evaluate(expression),
                clickAt: (x, y) => page.mouse.click(x, y),
                tapAt: mobile ? (x, y) => page.touchscreen.tap(x, y) : undefined,
                // Loads a page, returning once its document is there.
                startLoading: (url) => page.goto(url, { waitUntil: "commit" }),
                type: (text) => page.keyboard.type(text),
                press: (keys) => page.keyboard.press(keys),
                screenshot: (path) => page.screenshot({ path }),
                // The element the browser's accessibility tree names so,
                // by its id ("" for one without).
                async findRole(role, name) {
                    cdp ??= await context.newCDPSession(page);
                    const { nodes } = await cdp.send("Accessibility.queryAXTree", {
                        backendNodeId: (await cdp.send("DOM.getDocument", { depth: 0 })).root.backendNodeId,
                        role, accessibleName: name,
                    });
                    const node = nodes.find((each) => !each.ignored);
                    if (!node) {
                        return null;
                    }
                    const { node: element } = await cdp.send("DOM.describeNode",
                                                              { backendNodeId: node.backendDOMNodeId });
                    const attributes = element.attributes ?? [];
                    const at = attributes.indexOf("id");
                    return at < 0 || at % 2 ? "" : attributes[at + 1];
                },
                setOffline: async (offline) => { await context.setOffline(offline); return true; },
                // What keeps the page from being installed, and its manifest.
                installable: async () => {
                    cdp ??= await context.newCDPSession(page);
                    const errors = (await cdp.send("Page.getInstallabilityErrors")).installabilityErrors;
                    const manifest = await cdp.send("Page.getAppManifest");
                    return { errors: [...errors, ...manifest.errors], manifest: JSON.parse(manifest.data) };
                },
                close: async () => {
                    await context.close();
                    if (folder) {
                        rmSync(folder, { recursive: true, force: true });
                    }
                },
            };
        },
        close: () => browser.close(),
    };
}
