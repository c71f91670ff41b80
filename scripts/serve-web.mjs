// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Serves a folder of static files on 127.0.0.1, as any static web host
// would: the web edition's folder for `make serve`, and for the web tests and
// benchmarks, which import serve() and close the server when they are done.
//
//   node scripts/serve-web.mjs FOLDER [PORT]   (PORT 0: any free port)
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, join, normalize, sep } from "node:path";
import { pathToFileURL } from "node:url";

const kTypes = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".mjs": "text/javascript; charset=utf-8",
    ".css": "text/css; charset=utf-8",
    ".wasm": "application/wasm",
    ".webmanifest": "application/manifest+json",
    ".json": "application/json",
    ".svg": "image/svg+xml",
    ".png": "image/png",
};

// Resolves to { server, address } once the server listens; `headers` are
// added to every answer. `answer`, for the tests, is awaited with each
// file's path and headers before the file is sent, and gives its headers.
export function serve(folder, { port = 0, headers = {}, answer = (path, given) => given } = {}) {
    const root = normalize(folder + sep);
    const server = createServer(async (request, response) => {
        const path = decodeURIComponent(new URL(request.url, "http://host").pathname);
        let file = normalize(join(root, path.endsWith("/") ? path + "index.html" : path));
        if (!file.startsWith(root) || (request.method !== "GET" && request.method !== "HEAD")) {
            response.writeHead(404).end();
            return;
        }
        try {
            const body = await readFile(file);
            response.writeHead(200, await answer(path, {
                "Content-Type": kTypes[extname(file)] || "application/octet-stream",
                "Content-Length": body.length,
                ...headers,
            }));
            response.end(request.method === "HEAD" ? undefined : body);
        } catch {
            response.writeHead(404).end();
        }
    });
    return new Promise((resolve, reject) => {
        server.once("error", reject);
        server.listen(port, "127.0.0.1", () =>
            resolve({ server, address: `http://127.0.0.1:${server.address().port}/` }));
    });
}

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) {
    const [folder, port = "8000"] = process.argv.slice(2);
    if (!folder) {
        console.error("usage: node scripts/serve-web.mjs FOLDER [PORT]");
        process.exit(2);
    }
    const { address } = await serve(folder, { port: Number(port) });
    console.log(`Velmora is served at ${address} (Ctrl+C stops the server)`);
}
