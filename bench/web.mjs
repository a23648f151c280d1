// The web edition's speed against keldo-run in the same run (not a test):
// individual-cycles per second of the page's worker in headless chromium
// (through window.keldo, timed in the page) and of native keldo-run, on the
// K1000 and D worlds of bench/mundos.sh, seed 1001; then the arena's frames
// per second with 1,000 individuals and with K1000 at full speed.
// Usage: node bench/web.mjs SITE KELDO_RUN   (make bench-web)
import { createRequire } from 'node:module';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { servir } from '../tests/web/servidor.mjs';

const raiz = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const [site, keldoRun] = process.argv.slice(2).map((p) => path.resolve(p));
const puppeteer = createRequire(path.join(raiz, 'web/package.json'))('puppeteer-core');
const temp = fs.mkdtempSync(path.join(os.tmpdir(), 'keldo-bench-web-'));
const mundos = {
  K1000: { ciclos: 3000, valores: { numIndividuos: 1000, qtdAlimento: 40, nivelObstaculos: 30 } },
  D: { ciclos: 20000, valores: {} },
};
const semente = 1001;
const repeticoes = 5;

// Individual-cycles: the living (adults and eggs) after every cycle, summed.
function individuosCiclos(resumo) {
  const linhas = resumo.trim().split('\n').slice(2);
  return linhas.reduce((soma, l) => { const c = l.split(';'); return soma + Number(c[1]) + Number(c[2]); }, 0);
}
// The fastest of the repetitions: on a shared machine, the one least slowed by other load.
const melhor = (v) => Math.min(...v);

const servidor = await servir(site);
const navegador = await puppeteer.launch({
  executablePath: process.env.KELDO_CHROMIUM || '/usr/bin/chromium', headless: true,
  userDataDir: path.join(temp, 'perfil'),
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const pagina = await navegador.newPage();
  await pagina.setViewport({ width: 1024, height: 768 });
  await pagina.goto(`http://127.0.0.1:${servidor.address().port}/index.html`);
  await pagina.evaluate(() => window.keldo.pronto);
  console.log('mundo  ciclos  ind-ciclos   web(s)  nativo(s)  web ind-ciclos/s  nativo ind-ciclos/s  razão');
  for (const [nome, { ciclos, valores }] of Object.entries(mundos)) {
    const web = [], nativo = [];
    let resumo = '';
    for (let r = 0; r < repeticoes; ++r) {
      const m = await pagina.evaluate(async (s, v, c) => {
        await window.keldo.criar(s, v);
        const t0 = performance.now();
        await window.keldo.executar(c);
        return { segundos: (performance.now() - t0) / 1000, resumo: window.keldo.resumo() };
      }, semente, valores, ciclos);
      web.push(m.segundos);
      resumo = m.resumo;
      const sets = Object.entries(valores).flatMap(([k, v]) => ['--set', `${k}=${v}`]);
      const t0 = process.hrtime.bigint();
      execFileSync(keldoRun, ['--seed', String(semente), ...sets, '--cycles', String(ciclos),
        '--summary', path.join(temp, 'r.csv')], { stdio: 'ignore' });
      nativo.push(Number(process.hrtime.bigint() - t0) / 1e9);
    }
    const mesmo = resumo === fs.readFileSync(path.join(temp, 'r.csv'), 'utf8');
    const ic = individuosCiclos(resumo);
    const w = melhor(web), n = melhor(nativo);
    console.log(`${nome.padEnd(6)} ${String(ciclos).padStart(6)} ${String(ic).padStart(11)} ${w.toFixed(3).padStart(8)} ` +
      `${n.toFixed(3).padStart(10)} ${Math.round(ic / w).toString().padStart(17)} ${Math.round(ic / n).toString().padStart(20)} ` +
      `${(n / w).toFixed(2).padStart(6)}${mesmo ? '' : '  (summaries differ!)'}`);
  }
  // The arena's frames per second while a world runs, and the items on screen
  // (the status line's Vivos at both ends).
  const arena = (velocidade, segundos) => pagina.evaluate(async (v, ms) => {
    const vivos = () => {
      const n = document.getElementById('status').textContent.match(/\d+/g).map(Number);
      return n[1];
    };
    await window.keldo.rodar(true, v);
    await new Promise((r) => setTimeout(r, 500));
    const q0 = window.keldo.quadrosDesenhados(), t0 = performance.now(), n0 = vivos();
    await new Promise((r) => setTimeout(r, ms));
    const q1 = window.keldo.quadrosDesenhados(), t1 = performance.now(), n1 = vivos();
    await window.keldo.rodar(false);
    return { fps: (q1 - q0) / ((t1 - t0) / 1000), n0, n1 };
  }, velocidade, segundos * 1000);
  // K1000 from its start at 60 cycles a second (a frame a cycle): few
  // enough cycles that the population stays near its 1,000.
  await pagina.evaluate((v) => window.keldo.criar(1001, v), mundos.K1000.valores);
  let q = await arena(5, 3);
  console.log(`arena, K1000 from the start, 60 cycles/s: ${q.fps.toFixed(1)} frames/s (${q.n0}..${q.n1} living)`);
  // K1000 as fast as the machine goes: the population soon passes 3,000.
  await pagina.evaluate((v) => window.keldo.criar(1001, v), mundos.K1000.valores);
  q = await arena(6, 3);
  console.log(`arena, K1000 at full speed: ${q.fps.toFixed(1)} frames/s (${q.n0}..${q.n1} living)`);
} finally {
  await navegador.close();
  servidor.close();
  fs.rmSync(temp, { recursive: true, force: true });
}
