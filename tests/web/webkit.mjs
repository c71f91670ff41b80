// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The system's WebKitGTK, for the page tests: its MiniBrowser driven by
// WebKitWebDriver over classic W3C WebDriver. It needs an X display (the
// test runs under scripts/with-xvfb.sh). Each page is a session, a
// MiniBrowser of its own; the scale comes from GDK_SCALE, so each scale has
// a driver of its own, and the language from LANG.
import { spawn } from "node:child_process";
import { existsSync, writeFileSync } from "node:fs";

import { asJson, clickActions, freePort, pressActions, typeActions } from "./webdriver.mjs";

export const kMiniBrowser = process.env.VELMORA_MINIBROWSER
    || ["webkitgtk-6.0", "webkit2gtk-4.1", "webkit2gtk-4.0"]
        .map((folder) => `/usr/lib/x86_64-linux-gnu/${folder}/MiniBrowser`).find(existsSync);
export const kDriver = process.env.VELMORA_WEBKIT_DRIVER || "/usr/bin/WebKitWebDriver";

// A WebKitWebDriver on a free port, with MiniBrowser's environment.
async function startDriver(scale, locale) {
    const port = await freePort();
    const child = spawn(kDriver, [`--port=${port}`], {
        stdio: "ignore",
        env: { ...process.env, GDK_SCALE: String(scale), GDK_DPI_SCALE: "1",
               LANG: `${locale.replace("-", "_")}.UTF-8`, LANGUAGE: locale.replace("-", "_") },
    });
    const base = `http://127.0.0.1:${port}`;
    const call = async (method, path, body) => {
        const answer = await fetch(base + path, {
            method, headers: { "Content-Type": "application/json" },
            body: body === undefined ? undefined : JSON.stringify(body),
        });
        const { value } = await answer.json();
        if (!answer.ok) {
            throw new Error(`${method} ${path}: ${value.error}: ${value.message}`);
        }
        return value;
    };
    for (let tries = 0; ; ++tries) {
        try {
            await call("GET", "/status");
            break;
        } catch (error) {
            if (tries > 100 || child.exitCode !== null) {
                throw new Error(`WebKitWebDriver did not start: ${error.message}`);
            }
            await new Promise((done) => setTimeout(done, 100));
        }
    }
    return {
        call,
        async close() {
            if (child.exitCode === null) {
                child.kill();
                await new Promise((resolve) => child.once("exit", resolve));
            }
        },
    };
}

// The page's uncaught errors, kept from its start as far as a script run
// after loading can.
const kKeepErrors = `(() => {
    window.velmoraErrors ??= [];
    addEventListener("error", (event) => velmoraErrors.push(event.message));
    addEventListener("unhandledrejection", (event) => velmoraErrors.push(String(event.reason)));
})()`;

export async function launch() {
    const drivers = {};
    const driver = async (scale, locale) => (drivers[`${scale} ${locale}`] ??= await startDriver(scale, locale));
    const open = async ({ width = 1280, height = 720, scale = 1, scheme = "light", locale = "en-US" } = {}) => {
        const { call } = await driver(scale, locale);
        const { sessionId, capabilities } = await call("POST", "/session", {
            capabilities: {
                alwaysMatch: {
                    browserName: "MiniBrowser",
                    "webkitgtk:browserOptions": {
                        binary: kMiniBrowser,
                        args: ["--automation", ...(scheme === "dark" ? ["--dark-mode"] : [])],
                    },
                },
            },
        });
        const session = (method, path, body) => call(method, `/session/${sessionId}${path}`, body);
        // The window's size is its viewport's plus what it draws around it.
        await session("POST", "/window/rect", { width, height });
        const [innerWidth, innerHeight] = await evaluate("[innerWidth, innerHeight]");
        const [screenWidth, screenHeight] = await evaluate("[screen.width, screen.height]");
        const outer = { width: 2 * width - innerWidth, height: 2 * height - innerHeight };
        // Centred on the screen, under the X server's pointer, where a
        // display with no window manager gives a window the keyboard (and
        // the page its focus and focus rings).
        await session("POST", "/window/rect", {
            ...outer, x: Math.round((screenWidth - outer.width) / 2), y: Math.round((screenHeight - outer.height) / 2),
        });
        async function evaluate(expression) {
            const script = `const done = arguments[0];
                ${asJson(expression)}.then((value) => done({ value }), (error) => done({ error: String(error) }));`;
            const { value, error } = await session("POST", "/execute/async", { script, args: [] });
            if (error !== undefined) {
                throw new Error(error);
            }
            return JSON.parse(value);
        }
        const perform = async (actions) => {
            await session("POST", "/actions", { actions });
            await session("DELETE", "/actions");
        };
        const load = async (url) => {
            await (url === undefined ? session("POST", "/refresh", {}) : session("POST", "/url", { url }));
            await evaluate(kKeepErrors);
        };
        return {
            version: capabilities.browserVersion,
            errors: () => evaluate("window.velmoraErrors ?? []"),
            goto: (url) => load(url),
            reload: () => load(),
            evaluate,
            clickAt: (x, y) => perform(clickActions(x, y)),
            type: (text) => perform(typeActions(text)),
            press: (keys) => perform(pressActions(keys)),
            async screenshot(path) {
                const png = Buffer.from(await session("GET", "/screenshot"), "base64");
                writeFileSync(path, png);
                return png;
            },
            // The element whose computed role and label (WebKit's
            // accessibility) are these, by its id ("" for one without).
            async findRole(role, name) {
                const elements = await session("POST", "/elements", { using: "css selector", value: "body *" });
                for (const element of elements) {
                    const id = Object.values(element)[0];
                    // Hidden elements are no part of the accessibility tree
                    // (WebKit computes a role for them all the same).
                    const computed = (what) => session("GET", `/element/${id}/${what}`).catch(() => null);
                    if (await computed("computedrole") === role && await computed("computedlabel") === name
                        && await computed("displayed")) {
                        return await session("GET", `/element/${id}/attribute/id`) ?? "";
                    }
                }
                return null;
            },
            // WebDriver has no way to take a WebKit page offline.
            setOffline: async () => false,
            close: () => session("DELETE", ""),
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
            await Promise.all(Object.values(drivers).map((each) => each.close()));
        },
    };
}
