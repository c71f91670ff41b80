// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// What the two WebDriver protocols share, for firefox.mjs (BiDi) and
// webkit.mjs (classic): input as action sequences, and a free port.
import { createServer } from "node:net";

// The key values of the keys the page tests press.
const kKeys = {
    Alt: "\uE00A", ArrowDown: "\uE015", ArrowUp: "\uE013", Backspace: "\uE003", Control: "\uE009",
    Enter: "\uE007", Escape: "\uE00C", Shift: "\uE008", Space: " ", Tab: "\uE004",
};

const keySource = (actions) => ({ type: "key", id: "keyboard", actions });

// "Shift+Tab": the modifiers held down while the last key is pressed.
export function pressActions(keys) {
    const values = keys.split("+").map((key) => kKeys[key] ?? key);
    return [keySource([
        ...values.map((value) => ({ type: "keyDown", value })),
        ...values.reverse().map((value) => ({ type: "keyUp", value })),
    ])];
}

export function typeActions(text) {
    return [keySource([...text].flatMap((value) => [{ type: "keyDown", value }, { type: "keyUp", value }]))];
}

// A click of the main mouse button at (x, y) CSS pixels of the viewport.
export function clickActions(x, y) {
    return [{
        type: "pointer", id: "mouse", parameters: { pointerType: "mouse" },
        actions: [
            { type: "pointerMove", x: Math.round(x), y: Math.round(y), origin: "viewport" },
            { type: "pointerDown", button: 0 },
            { type: "pointerUp", button: 0 },
        ],
    }];
}

// The text a function's call sends to the page: its value as JSON, so
// that every protocol gives it back the same way.
export const asJson = (expression) => `(async () => JSON.stringify(await (${expression})) ?? "null")()`;

export function freePort() {
    return new Promise((resolve, reject) => {
        const server = createServer().listen(0, "127.0.0.1", () => {
            const { port } = server.address();
            server.close(() => resolve(port));
        });
        server.once("error", reject);
    });
}
