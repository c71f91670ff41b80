// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The system's Firefox ESR, headless, for the page tests: driven through
// WebDriver BiDi over its own web socket (no geckodriver needed). Each page
// is a browsing context in a user context of its own (like a private
// window); a dark colour scheme has a browser of its own, as Firefox takes
// it from a preference.
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

import WebSocket from "ws";

import { asJson, clickActions, pressActions, typeActions } from "./webdriver.mjs";

export const kFirefox = process.env.VELMORA_FIREFOX || "/usr/bin/firefox-esr";

// A Firefox with a fresh profile, and a BiDi session to it.
async function startFirefox(scheme) {
    const profile = mkdtempSync(join(tmpdir(), "velmora-firefox-"));
    const prefs = {
        // 0: dark, 1: light, whatever the desktop says.
        "layout.css.prefers-color-scheme.content-override": scheme === "dark" ? 0 : 1,
        "browser.shell.checkDefaultBrowser": false,
        "datareporting.policy.dataSubmissionEnabled": false,
        "app.update.disabledForTesting": true,
    };
    writeFileSync(join(profile, "user.js"), Object.entries(prefs)
        .map(([name, value]) => `user_pref(${JSON.stringify(name)}, ${JSON.stringify(value)});\n`).join(""));
    const child = spawn(kFirefox, ["--headless", "--no-remote", "--profile", profile,
                                   "--remote-debugging-port=0", "about:blank"],
                        { stdio: ["ignore", "ignore", "pipe"] });
    const socketAddress = await new Promise((resolve, reject) => {
        let said = "";
        child.stderr.on("data", (chunk) => {
            said += chunk;
            const found = said.match(/WebDriver BiDi listening on (ws:\/\/\S+)/);
            if (found) {
                resolve(found[1]);
            }
        });
        child.once("exit", () => reject(new Error(`Firefox stopped: ${said}`)));
    });
    child.stderr.resume();

    const socket = new WebSocket(`${socketAddress}/session`);
    await new Promise((resolve, reject) => {
        socket.once("open", resolve);
        socket.once("error", reject);
    });
    let last = 0;
    const waiting = new Map();
    const listeners = new Set();
    socket.on("message", (data) => {
        const message = JSON.parse(data);
        if (message.id !== undefined) {
            const { resolve, reject, method } = waiting.get(message.id);
            waiting.delete(message.id);
            if (message.type === "error") {
                reject(new Error(`${method}: ${message.error}: ${message.message}`));
            } else {
                resolve(message.result);
            }
        } else {
            listeners.forEach((listener) => listener(message));
        }
    });
    const send = (method, params = {}) => new Promise((resolve, reject) => {
        last += 1;
        waiting.set(last, { resolve, reject, method });
        socket.send(JSON.stringify({ id: last, method, params }));
    });
    const { capabilities } = await send("session.new", { capabilities: {} });
    await send("session.subscribe", { events: ["log.entryAdded"] });
    return {
        send,
        listeners,
        version: capabilities.browserVersion,
        async close() {
            await send("browser.close").catch(() => {});
            socket.close();
            if (child.exitCode === null) {
                await new Promise((resolve) => child.once("exit", resolve));
            }
            rmSync(profile, { recursive: true, force: true });
        },
    };
}

export async function launch() {
    const browsers = { light: await startFirefox("light") };
    return {
        name: "firefox",
        version: browsers.light.version,
        async open({ width = 1280, height = 720, scale = 1, scheme = "light", locale = "en-US" } = {}) {
            browsers[scheme] ??= await startFirefox(scheme);
            const { send, listeners } = browsers[scheme];
            const { userContext } = await send("browser.createUserContext");
            const { context } = await send("browsingContext.create", { type: "window", userContext });
            await send("browsingContext.setViewport",
                       { context, viewport: { width, height }, devicePixelRatio: scale });
            await send("emulation.setLocaleOverride", { locale, userContexts: [userContext] });
            const errors = [];
            const listener = ({ method, params }) => {
                if (method === "log.entryAdded" && params.type === "javascript" && params.level === "error"
                    && params.source.context === context) {
                    errors.push(params.text);
                }
            };
            listeners.add(listener);
            const perform = (actions) => send("input.performActions", { context, actions });
            return {
                errors: async () => errors,
                goto: (url) => send("browsingContext.navigate", { context, url, wait: "complete" }),
                reload: () => send("browsingContext.reload", { context, wait: "complete" }),
                async evaluate(expression) {
                    const answer = await send("script.evaluate", {
                        expression: asJson(expression), target: { context }, awaitPromise: true,
                    });
                    if (answer.type === "exception") {
                        throw new Error(answer.exceptionDetails.text);
                    }
                    return JSON.parse(answer.result.value);
                },
                clickAt: (x, y) => perform(clickActions(x, y)),
                type: (text) => perform(typeActions(text)),
                press: (keys) => perform(pressActions(keys)),
                async screenshot(path) {
                    const { data } = await send("browsingContext.captureScreenshot", { context });
                    const png = Buffer.from(data, "base64");
                    writeFileSync(path, png);
                    return png;
                },
                // The element Firefox's accessibility tree names so, by its
                // id ("" for one without).
                async findRole(role, name) {
                    const { nodes } = await send("browsingContext.locateNodes", {
                        context, locator: { type: "accessibility", value: { role, name } },
                    });
                    return nodes.length === 0 ? null : nodes[0].value.attributes?.id ?? "";
                },
                async setOffline(offline) {
                    await send("emulation.setNetworkConditions", {
                        networkConditions: offline ? { type: "offline" } : null, contexts: [context],
                    });
                    return true;
                },
                async close() {
                    listeners.delete(listener);
                    await send("browser.removeUserContext", { userContext });
                },
            };
        },
        async close() {
            await Promise.all(Object.values(browsers).map((browser) => browser.close()));
        },
    };
}
