// The web edition in a real browser (Debian's chromium, headless, driven by
// puppeteer-core): through the page's own code (window.keldo) a world gives
// the same summary and ".gen" bytes as keldo-run from the same seed and
// parameters, a ".gen" of keldo-run goes on identically, a damaged file gets
// the desktop's message and keeps the world, and the page logs no error.
// Screenshots at 1024x768 and 390x844 go to SITE-capturas/.
// Usage: node navegador.mjs SITE KELDO_RUN; exit 77 (skipped) without a site.
import { createRequire } from 'node:module';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { servir } from './servidor.mjs';

const raiz = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const [site, keldoRun] = process.argv.slice(2).map((p) => path.resolve(p));
const chromium = process.env.KELDO_CHROMIUM || '/usr/bin/chromium';
for (const [o, falta] of [[path.join(site, 'keldo.wasm'), 'the web edition (make web)'],
  [chromium, 'chromium (apt-get install chromium)'],
  [path.join(raiz, 'web/node_modules/puppeteer-core'), 'puppeteer-core (make web)']]) {
  if (!fs.existsSync(o)) {
    console.log(`skipped: no ${falta} at ${o}`);
    process.exit(77);
  }
}
const puppeteer = createRequire(path.join(raiz, 'web/package.json'))('puppeteer-core');

const temp = fs.mkdtempSync(path.join(os.tmpdir(), 'keldo-web-'));
let falhas = 0;
function verificar(condicao, texto) {
  console.log(`${condicao ? 'ok  ' : 'FAIL'} ${texto}`);
  if (!condicao) falhas++;
}
function keldoRunCom(args) {
  execFileSync(keldoRun, args, { cwd: temp, stdio: ['ignore', 'ignore', 'pipe'] });
}
const iguais = (a, b) => Buffer.compare(Buffer.from(a), Buffer.from(b)) === 0;

const conjuntos = {
  padrao: {},
  K1000: { numIndividuos: 1000, qtdAlimento: 40, nivelObstaculos: 30 },
};
const sementes = [1001, 7, 4000000000];
const ciclos = 500;

const servidor = await servir(site);
const endereco = `http://127.0.0.1:${servidor.address().port}/index.html`;
const navegador = await puppeteer.launch({
  executablePath: chromium, headless: true,
  userDataDir: path.join(temp, 'perfil'),
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const erros = [];
try {
  const pagina = await navegador.newPage();
  pagina.on('console', (m) => { if (m.type() === 'error') erros.push(m.text()); });
  pagina.on('pageerror', (e) => erros.push(String(e)));
  await pagina.setViewport({ width: 1024, height: 768 });
  const inicio = Date.now();
  await pagina.goto(endereco, { waitUntil: 'load' });
  await pagina.evaluate(() => window.keldo.pronto);
  console.log(`page ready in ${Date.now() - inicio} ms`);

  for (const [nome, valores] of Object.entries(conjuntos)) {
    for (const s of sementes) {
      const sets = Object.entries(valores).flatMap(([k, v]) => ['--set', `${k}=${v}`]);
      const base = `${nome}-${s}`;
      keldoRunCom(['--seed', String(s), ...sets, '--cycles', String(ciclos),
        '--summary', `${base}.csv`, '--save', `${base}.gen`]);
      const r = await pagina.evaluate(async (s2, v2, c) => {
        const mensagem = await window.keldo.criar(s2, v2);
        const feitos = await window.keldo.executar(c);
        return { mensagem, feitos, resumo: window.keldo.resumo(), gen: Array.from(await window.keldo.salvar()) };
      }, s, valores, ciclos);
      verificar(r.mensagem === '' && r.feitos === ciclos, `${base}: world made, ${r.feitos} cycles`);
      verificar(r.resumo === fs.readFileSync(path.join(temp, `${base}.csv`), 'utf8'),
        `${base}: summary identical to keldo-run --summary (${r.resumo.length} bytes)`);
      verificar(iguais(r.gen, fs.readFileSync(path.join(temp, `${base}.gen`))),
        `${base}: .gen identical to keldo-run --save (${r.gen.length} bytes)`);
    }
  }

  // A project written by keldo-run, continued in both with the same seed.
  keldoRunCom(['K1000-1001.gen', '--seed', '99', '--cycles', '300', '--summary', 'cont.csv', '--save', 'cont.gen']);
  const genK = Array.from(fs.readFileSync(path.join(temp, 'K1000-1001.gen')));
  const c = await pagina.evaluate(async (bytes) => {
    const mensagem = await window.keldo.abrir(new Uint8Array(bytes), 99);
    await window.keldo.executar(300);
    return { mensagem, resumo: window.keldo.resumo(), gen: Array.from(await window.keldo.salvar()) };
  }, genK);
  verificar(c.mensagem === '', 'keldo-run project opened');
  verificar(c.resumo === fs.readFileSync(path.join(temp, 'cont.csv'), 'utf8'), 'continued: summary identical');
  verificar(iguais(c.gen, fs.readFileSync(path.join(temp, 'cont.gen'))), 'continued: .gen identical');

  // A damaged file and a foreign one: the desktop's message, the world kept.
  for (const [nome, bytes, esperado] of [
    ['cortado.gen', genK.slice(0, genK.length >> 1), 'Failed to open document.\nAn attempt was made to access cortado.gen past its end.'],
    ['foto.gen', Array.from(Buffer.from('\x89PNG\r\n\x1a\n not a project')), 'Vers\u00e3o inv\u00e1lida do arquivo!']]) {
    const d = await pagina.evaluate(async (b, n) => {
      const antes = { resumo: window.keldo.resumo(), gen: Array.from(await window.keldo.salvar()) };
      const mensagem = await window.keldo.abrir(new Uint8Array(b), 1, n);
      const caixa = document.getElementById('avisoTexto').textContent;
      document.getElementById('aviso').close();
      const depois = { resumo: window.keldo.resumo(), gen: Array.from(await window.keldo.salvar()) };
      return { mensagem, caixa, mantido: antes.resumo === depois.resumo && antes.gen.join() === depois.gen.join() };
    }, bytes, nome);
    verificar(d.mensagem === esperado,
      `${nome}: desktop message ${JSON.stringify(d.mensagem)}`);
    verificar(d.caixa === d.mensagem, `${nome}: the message is shown`);
    verificar(d.mantido, `${nome}: the world is kept`);
  }

  // The arena composed in memory paints what drawImage of each item's
  // picture over the background paints, items at the edges clipped; with the
  // energy shown, the numbers are written (cyan only for an individual at
  // its reproduction threshold).
  const arena = await pagina.evaluate(() => {
    const obstaculos = [[100, 100, 220, 180], [400, 300, 420, 320]];
    const itens = [[0, 0, 6, 40, 0], [99, 99, 7, 5, 0], [50, 50, 0, 777, 1], [50.5, 50.2, 3, 9, 0], [1, 98, 1, 1, 0],
      [98, 1, 2, 2, 0], [20, 30, 4, 3, 0], [21, 31, 5, 4, 0], [60, 40, 6, 55, 0], [33.3, 66.6, 7, 6, 0]];
    const dados = new Float32Array(itens.flat());
    const pixels = (comEnergia) => {
      const c = document.createElement('canvas');
      const d = new Arena.Desenho(c);
      d.definirObstaculos(JSON.stringify(obstaculos));
      d.desenhar(dados, comEnergia);
      return c.getContext('2d').getImageData(0, 0, 640, 480).data;
    };
    const r = document.createElement('canvas');
    r.width = 640; r.height = 480;
    const g = r.getContext('2d');
    g.drawImage(Arena.fundo(obstaculos), 0, 0);
    const imagens = Arena.imagens();
    for (const [x, y, i] of itens)
      g.drawImage(imagens[i], Arena.paraPixel(640, x) - 10, Arena.paraPixel(480, y) - 10);
    const a = pixels(false), b = g.getImageData(0, 0, 640, 480).data, e = pixels(true);
    let diferentes = 0, pintados = 0, comNumeros = 0, ciano = 0;
    for (let i = 0; i < a.length; i += 4) {
      if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2] || a[i + 3] !== b[i + 3]) ++diferentes;
      if (a[i] !== 153 || a[i + 1] !== 204 || a[i + 2] !== 255) ++pintados;
      if (e[i] !== a[i] || e[i + 1] !== a[i + 1] || e[i + 2] !== a[i + 2]) ++comNumeros;
      if (e[i] < 60 && e[i + 1] > 200 && e[i + 2] > 200) ++ciano;
    }
    return { diferentes, pintados, comNumeros, ciano };
  });
  verificar(arena.diferentes === 0 && arena.pintados > 2000,
    `arena frame as drawImage paints it (${arena.diferentes} pixels differ, ${arena.pintados} not field)`);
  verificar(arena.comNumeros > 100 && arena.ciano > 5,
    `arena with energy: ${arena.comNumeros} pixels of numbers, ${arena.ciano} cyan`);

  // Screenshots of a running world with its charts.
  const capturas = `${site}-capturas`;
  fs.mkdirSync(capturas, { recursive: true });
  await pagina.evaluate(() => window.keldo.criar(1001, { numIndividuos: 1000, qtdAlimento: 40, nivelObstaculos: 30 }));
  await pagina.click('#iniciar');
  for (const [l, a] of [[1024, 768], [390, 844]]) {
    await pagina.setViewport({ width: l, height: a });
    await new Promise((r) => setTimeout(r, 1500));
    const arquivo = path.join(capturas, `pagina-${l}x${a}.png`);
    await pagina.screenshot({ path: arquivo });
    console.log(`screenshot ${arquivo}`);
  }
  await pagina.click('#iniciar');

  // The page's own controls, in Portuguese, on a page of their own.
  const controles = await navegador.newPage();
  controles.on('console', (m) => { if (m.type() === 'error') erros.push(m.text()); });
  controles.on('pageerror', (e) => erros.push(String(e)));
  await controles.evaluateOnNewDocument(() => localStorage.setItem('keldo.idioma', 'pt'));
  await controles.setViewport({ width: 1024, height: 768 });
  await controles.goto(endereco, { waitUntil: 'load' });
  await controles.evaluate(() => window.keldo.pronto);
  const texto = (id) => controles.$eval('#' + id, (el) => el.textContent);
  const tempo = async () => Number((await texto('status')).match(/^Tempo: (\d+)/)[1]);
  const esperarTempo = (condicao) => controles.waitForFunction(
    new Function(`const m = document.getElementById('status').textContent.match(/^Tempo: (\\d+)/);
      return m && (${condicao})(Number(m[1]));`), { timeout: 30000 });
  const resumoDoKeldoRun = (s, c, sets = []) => {
    keldoRunCom(['--seed', String(s), ...sets, '--cycles', String(c), '--summary', 'controles.csv']);
    return fs.readFileSync(path.join(temp, 'controles.csv'), 'utf8');
  };

  const semente0 = await controles.evaluate(() => window.keldo.semente());
  await controles.click('#novo');
  await controles.waitForFunction((s0) => window.keldo.semente() !== s0, {}, semente0);
  await esperarTempo('(t) => t === 0');
  const semente1 = await controles.evaluate(() => window.keldo.semente());
  verificar(await texto('sementeAtual') === String(semente1), `Novo: a new world, seed ${semente1} shown`);
  await controles.click('#passo');
  await esperarTempo('(t) => t === 1');
  await controles.click('#passo');
  await esperarTempo('(t) => t === 2');
  verificar(await controles.evaluate(() => window.keldo.resumo()) === resumoDoKeldoRun(semente1, 2),
    'Passo twice: the summary of keldo-run --cycles 2');

  await controles.click('#iniciar');
  verificar(await texto('iniciar') === 'Parar' && await controles.$eval('#passo', (b) => b.disabled),
    'Iniciar: the button reads Parar, Passo disabled');
  await esperarTempo('(t) => t >= 50');
  await controles.click('#iniciar');
  await controles.waitForFunction(() => document.getElementById('iniciar').textContent === 'Iniciar');
  // The worker ends the cycles it was running: the status settles.
  let parado = -1;
  for (let i = 0; i < 20 && parado !== await tempo(); ++i) {
    parado = await tempo();
    await new Promise((r) => setTimeout(r, 300));
  }
  verificar(await tempo() === parado && !await controles.$eval('#passo', (b) => b.disabled),
    `Parar: stopped at cycle ${parado}, Passo enabled`);
  verificar(await controles.evaluate(() => window.keldo.resumo()) === resumoDoKeldoRun(semente1, parado),
    `Iniciar/Parar: the summary of keldo-run --cycles ${parado}`);

  // A world past the limit in a few cycles, through the form and a typed seed.
  const explosao = { numIndividuos: 1000, qtdAlimento: 2000, taxaReposicao: 500, energiaMin: 500, energiaMax: 500 };
  await controles.click('#painelParametros > summary');
  for (const [nome, valor] of Object.entries(explosao)) {
    await controles.$eval('#p_' + nome, (el, v) => { el.value = v; }, String(valor));
  }
  await controles.click('#parametros .acoes button');
  await controles.type('#sementeDigitada', '1');
  await controles.click('#criarComSemente');
  await controles.waitForFunction(() => window.keldo.semente() === 1);
  await esperarTempo('(t) => t === 0');
  await controles.click('#iniciar');
  await controles.waitForFunction(() => document.getElementById('aviso').open, { timeout: 30000 });
  verificar(await texto('avisoTitulo') === 'Aten\u00e7\u00e3o' && await texto('avisoTexto') ===
    'O mundo atingiu o limite de 300000 indiv\u00edduos e alimentos; a simula\u00e7\u00e3o foi parada.',
  `world limit: "${await texto('avisoTitulo')}: ${await texto('avisoTexto')}"`);
  verificar(await texto('iniciar') === 'Iniciar' && await tempo() === 4, 'world limit: stopped at cycle 4');
  const sets = Object.entries(explosao).flatMap(([k, v]) => ['--set', `${k}=${v}`]);
  let resumoLimite = '';
  try { resumoDoKeldoRun(1, 7, sets); } catch { resumoLimite = fs.readFileSync(path.join(temp, 'controles.csv'), 'utf8'); }
  verificar(await controles.evaluate(() => window.keldo.resumo()) === resumoLimite,
    'world limit: the summary keldo-run writes when it stops there');
  await controles.click('#aviso button');

  // The legend names everything the arena draws, each with its picture,
  // the two kinds of obstacle too.
  const legenda = await controles.$$eval('#legenda li', (ls) =>
    ls.map((li) => ({ texto: li.textContent, figura: !!li.querySelector('canvas') })));
  verificar(legenda.length === 10 && legenda.every((e) => e.figura) &&
    legenda.some((e) => e.texto === 'Obst\u00e1culo') && legenda.some((e) => e.texto === 'Obst\u00e1culo: \u00e1gua'),
  `legend: ${legenda.length} entries with pictures, obstacles among them`);

  // The form's descriptions follow the language: the core's words in
  // Portuguese, the catalogue's in English, for every field.
  const descricoes = () => controles.$$eval('#parametros label', (ls) => ls.map((l) => l.title));
  const emPortugues = await descricoes();
  await controles.select('#idioma', 'en');
  await controles.waitForFunction(() => document.getElementById('novo').textContent === 'New');
  const emIngles = await descricoes();
  verificar(emPortugues.includes('itens de alimento espalhados quando o mundo \u00e9 criado') &&
    emIngles.includes('food items scattered when the world is made') &&
    emIngles.every((d, i) => d && d !== emPortugues[i]),
  `form: ${emIngles.length} descriptions in English, none left in Portuguese`);

  // Layout: no two controls overlap, all within the width, the arena shown.
  for (const [l, a] of [[1024, 768], [390, 844]]) {
    await controles.setViewport({ width: l, height: a });
    await new Promise((r) => setTimeout(r, 400));
    const d = await controles.evaluate(() => {
      const caixas = [...document.querySelectorAll('button, select, input, a, summary, label, canvas#arena, #status')]
        .filter((el) => !el.closest('dialog') && !el.closest('#legenda'))
        .map((el) => ({ el, r: el.getBoundingClientRect() }))
        .filter(({ r }) => r.width > 0 && r.height > 0);
      const nome = (el) => el.id || el.textContent.trim().slice(0, 20) || el.tagName;
      const sobrepostos = [];
      for (let i = 0; i < caixas.length; ++i) for (let j = i + 1; j < caixas.length; ++j) {
        const p = caixas[i], q = caixas[j];
        if (p.el.contains(q.el) || q.el.contains(p.el)) continue; // a label around its field
        const x = Math.min(p.r.right, q.r.right) - Math.max(p.r.left, q.r.left);
        const y = Math.min(p.r.bottom, q.r.bottom) - Math.max(p.r.top, q.r.top);
        if (x > 0.5 && y > 0.5) sobrepostos.push(`${nome(p.el)}/${nome(q.el)}`);
      }
      const fora = caixas.filter(({ r }) => r.left < -0.5 || r.right > innerWidth + 0.5).map(({ el }) => nome(el));
      const arena = document.getElementById('arena').getBoundingClientRect();
      return {
        n: caixas.length, sobrepostos, fora, largura: document.documentElement.scrollWidth,
        arena: arena.top < innerHeight && arena.bottom > 0 && arena.width >= Math.min(300, innerWidth - 40),
      };
    });
    verificar(d.sobrepostos.length === 0, `${l}x${a}: ${d.n} controls, none overlapping ${d.sobrepostos.join(' ')}`);
    verificar(d.fora.length === 0 && d.largura <= l, `${l}x${a}: all within the width ${d.fora.join(' ')}`);
    verificar(d.arena, `${l}x${a}: the arena on the first screen`);
  }
} finally {
  await navegador.close();
  servidor.close();
}
verificar(erros.length === 0, `no console error${erros.length ? ': ' + erros.join(' | ') : ''}`);
fs.rmSync(temp, { recursive: true, force: true });
process.exit(falhas ? 1 : 0);
