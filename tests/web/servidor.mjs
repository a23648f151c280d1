// A static file server on 127.0.0.1 for the browser test and the benchmark
// (any free port), with the MIME types the page needs.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';

const tipos = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.json': 'application/json', '.wasm': 'application/wasm', '.png': 'image/png',
};

export function servir(pasta) {
  const servidor = http.createServer((pedido, resposta) => {
    const caminho = decodeURIComponent(new URL(pedido.url, 'http://x').pathname);
    let arquivo = path.join(pasta, path.normalize(caminho).replace(/^(\.\.[/\\])+/, ''));
    if (arquivo.endsWith('/')) arquivo += 'index.html';
    fs.readFile(arquivo, (erro, dados) => {
      if (erro) { resposta.writeHead(404); resposta.end(); return; }
      resposta.writeHead(200, { 'Content-Type': tipos[path.extname(arquivo)] || 'application/octet-stream' });
      resposta.end(dados);
    });
  });
  return new Promise((resolve) => servidor.listen(0, '127.0.0.1', () => resolve(servidor)));
}
