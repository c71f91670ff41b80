// The system's Chromium, headless, for the web tests and benchmarks: no
// browser is downloaded, and nothing reaches out to the network by itself.
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
