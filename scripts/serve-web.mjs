#!/usr/bin/env node
// Serves a folder on 127.0.0.1, gzip-compressed where the browser takes it,
// as a static host would serve the web page.
// Usage: node scripts/serve-web.mjs FOLDER [PORT]   (PORT 0 or none: any free one)
// Prints the address once it listens.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { gzipSync } from 'node:zlib';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.txt': 'text/plain; charset=utf-8',
  '.png': 'image/png',
};

export function startServer(folder, port = 0) {
  const root = resolve(folder);
  // Compressed once per file and version.
  const compressed = new Map();
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    const file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
    if (file !== root && !file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    let body;
    let version;
    try {
      version = (await stat(file)).mtimeMs;
      body = await readFile(file);
    } catch {
      response.writeHead(404, { 'content-type': 'text/plain' }).end('not found');
      return;
    }
    const headers = {
      'content-type': kTypes[extname(file)] ?? 'application/octet-stream',
      'cache-control': 'no-cache',
    };
    if (/\bgzip\b/.test(request.headers['accept-encoding'] ?? '')) {
      const cached = compressed.get(file);
      if (cached?.version !== version) compressed.set(file, { version, body: gzipSync(body, { level: 9 }) });
      body = compressed.get(file).body;
      headers['content-encoding'] = 'gzip';
    }
    headers['content-length'] = body.length;
    response.writeHead(200, headers).end(request.method === 'HEAD' ? undefined : body);
  });
  return new Promise((ready, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => ready(server));
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [folder, port] = process.argv.slice(2);
  if (folder === undefined) {
    console.error('usage: node scripts/serve-web.mjs FOLDER [PORT]');
    process.exit(2);
  }
  const server = await startServer(folder, Number(port ?? 0));
  console.log(`http://127.0.0.1:${server.address().port}/`);
}
