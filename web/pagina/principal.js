// The page: a thin layer over the worker's world. It draws frames, shows the
// summary as charts, fills the parameters form from the core's table and
// offers the scripting hook window.keldo. No rule of the model lives here.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  let t = {};             // the texts of the chosen language
  let tabela = [];        // the parameter table, from the core
  let genes = [];
  let resumo = '';        // the summary so far, the bytes of keldo-run --summary
  let colunas = [];       // summary columns parsed for the charts
  let nomesColunas = [];
  let rodando = false;
  let semente = 0;
  let ultimoQuadro = null;
  let desenho = null;
  let graficosSujos = false;
  let quadrosDesenhados = 0;
  let mostrarEnergia = false; // the world's mostrarEnergia: numbers beside the items
  let quadrosRecebidos = 0; // since the last one drawn, which the worker is told
  const velocidades = [1, 2, 5, 10, 30, 60, 0];

  // --- the worker, one request at a time per id ---
  const trabalhador = new Worker('trabalhador.js');
  let proximoId = 1;
  const pendentes = new Map();
  function pedir(op, args = {}, transferir = []) {
    const id = proximoId++;
    return new Promise((resolve, reject) => {
      pendentes.set(id, { resolve, reject });
      trabalhador.postMessage({ id, op, ...args }, transferir);
    });
  }
  trabalhador.onmessage = (e) => {
    const m = e.data;
    if (m.id) {
      const p = pendentes.get(m.id);
      pendentes.delete(m.id);
      if (m.erro) p.reject(new Error(m.erro)); else p.resolve(m.resultado);
    } else if (m.tipo === 'quadro') {
      aplicarEstado(m.estado);
      ultimoQuadro = m.dados;
      ++quadrosRecebidos;
    } else if (m.tipo === 'parado') {
      aplicarEstado(m.estado);
      mostrarRodando(false);
      if (m.motivo) avisar(t.atencao, m.motivo);
    }
  };
  // Operations that change the world wait for each other, in order.
  let fila = Promise.resolve();
  function emOrdem(f) {
    const r = fila.then(f);
    fila = r.catch(() => {});
    return r;
  }

  // --- texts ---
  async function carregarTextos(idioma) {
    t = await (await fetch(`i18n/${idioma}.json`)).json();
    document.documentElement.lang = idioma;
    for (const el of document.querySelectorAll('[data-t]')) el.textContent = t[el.dataset.t];
    $('idioma').value = idioma;
    mostrarRodando(rodando);
    preencherLegenda();
    $('velocidade').title = t.velocidades[$('velocidade').value];
    construirGraficos();
    descreverFormulario();
  }
  function idiomaInicial() {
    const salvo = localStorage.getItem('keldo.idioma');
    if (salvo) return salvo;
    return (navigator.language || 'pt').toLowerCase().startsWith('en') ? 'en' : 'pt';
  }

  function avisar(titulo, texto) {
    $('avisoTitulo').textContent = titulo;
    $('avisoTexto').textContent = texto;
    const d = $('aviso');
    if (!d.open) d.showModal();
  }

  // --- state from the worker ---
  function aplicarEstado(e) {
    if (!e) return;
    if (e.reiniciar) {
      resumo = '';
      colunas = [];
      nomesColunas = [];
    }
    if (e.resumo) anexarResumo(e.resumo);
    $('status').textContent = e.status;
    semente = e.semente;
    $('sementeAtual').textContent = String(e.semente);
    if (desenho) desenho.definirObstaculos(e.obstaculos);
    mostrarEnergia = e.mostrarEnergia;
  }
  function anexarResumo(texto) {
    resumo += texto;
    for (const linha of texto.split('\n')) {
      if (!linha) continue;
      const campos = linha.split(';');
      if (!nomesColunas.length) {
        nomesColunas = campos;
        colunas = campos.map(() => []);
        continue;
      }
      for (let i = 0; i < campos.length; ++i) colunas[i].push(Number(campos[i]));
    }
    graficosSujos = true;
  }
  function coluna(nome) { return colunas[nomesColunas.indexOf(nome)] || []; }

  // --- the arena ---
  function quadroAQuadro() {
    if (ultimoQuadro) {
      desenho.desenhar(ultimoQuadro, mostrarEnergia);
      ultimoQuadro = null;
      ++quadrosDesenhados;
      trabalhador.postMessage({ op: 'desenhado', quadros: quadrosRecebidos });
      quadrosRecebidos = 0;
    }
    if (graficosSujos) atualizarGraficos();
    requestAnimationFrame(quadroAQuadro);
  }
  function preencherLegenda() {
    const ul = $('legenda');
    ul.textContent = '';
    const imagens = [...Arena.imagens(), ...Arena.amostrasObstaculo()];
    t.legenda.forEach((texto, i) => {
      const li = document.createElement('li');
      li.append(imagens[i], texto);
      ul.append(li);
    });
  }

  // --- charts (uPlot) ---
  let graficos = [];
  let ultimoGrafico = 0;
  function largura(el) { return Math.max(200, el.clientWidth || 320); }
  function construirGraficos() {
    if (!t.populacao || !window.uPlot) return;
    for (const g of graficos) g.destroy();
    graficos = [];
    const porGeracoes = $('eixoGeracoes').checked;
    const eixoX = { label: porGeracoes ? t.geracao : t.tempo };
    const cores = ['#2a7', '#b80', '#555', '#37c', '#c33', '#83c', '#0aa'];
    const serie = (label, i) => ({ label, stroke: cores[i % cores.length], width: 1.5 });
    const opcoes = (titulo, nomes, el, faixa) => ({
      title: titulo, width: largura(el), height: 170,
      scales: { x: { time: false }, y: faixa ? { range: faixa } : {} },
      axes: [eixoX, {}],
      series: [{ label: eixoX.label }, ...nomes.map(serie)],
    });
    const elP = $('graficoPopulacao'), elA = $('graficoAlelos'), elH = $('graficoHeterozigose');
    const g = genes[$('gene').value] || genes[0];
    if (!g) return;
    graficos.push(new uPlot(opcoes(t.populacao, [t.adultos, t.ovos, t.alimentos], elP), [[]], elP));
    graficos.push(new uPlot(opcoes(t.frequencias.replace('%1', g.nome), g.letras, elA, [0, 1]), [[]], elA));
    if (g.autossomico)
      graficos.push(new uPlot(opcoes(t.heterozigose.replace('%1', g.nome), ['Ho', 'He'], elH, [0, 1]), [[]], elH));
    elH.hidden = !g.autossomico;
    graficosSujos = true;
  }
  function atualizarGraficos() {
    const agora = performance.now();
    if (agora - ultimoGrafico < 250 || !graficos.length) return;
    ultimoGrafico = agora;
    graficosSujos = false;
    const x = coluna($('eixoGeracoes').checked ? 'geracao' : 'tempo');
    graficos[0].setData([x, coluna('adultos'), coluna('ovos'), coluna('alimentos')]);
    const g = genes[$('gene').value];
    // A one-bit gene's summary column is its capital allele; the other is the rest.
    const alelos = g.letras.length === 4 ? g.letras.map(coluna)
      : [coluna(g.sigla), coluna(g.sigla).map((v) => 1 - v)];
    graficos[1].setData([x, ...alelos]);
    if (graficos[2]) graficos[2].setData([x, coluna('Ho' + g.sigla), coluna('He' + g.sigla)]);
  }

  // --- the parameters form, from the core's table ---
  function construirFormulario() {
    const f = $('parametros');
    f.textContent = '';
    for (const p of tabela) {
      if (!p.noDialogo) continue;
      const rotulo = document.createElement('label');
      rotulo.textContent = p.nome;
      rotulo.htmlFor = 'p_' + p.nome;
      let campo;
      if (p.escolhas) {
        campo = document.createElement('select');
        for (const v of p.escolhas.split(',')) campo.append(new Option(v, v));
      } else {
        campo = document.createElement('input');
        campo.inputMode = 'numeric';
      }
      campo.id = 'p_' + p.nome;
      campo.name = p.nome;
      f.append(rotulo, campo);
    }
    const acoes = document.createElement('div');
    acoes.className = 'acoes';
    const ok = document.createElement('button');
    ok.textContent = t.aplicar;
    ok.dataset.t = 'aplicar';
    acoes.append(ok);
    f.append(acoes);
    f.onsubmit = (e) => { e.preventDefault(); aplicarFormulario(); };
    descreverFormulario();
  }
  // The one-line descriptions: the core's (Portuguese) unless the language's
  // catalogue has its own.
  function descreverFormulario() {
    for (const p of tabela) {
      const campo = $('p_' + p.nome);
      if (!campo) continue;
      const descricao = (t.descricoes && t.descricoes[p.nome]) || p.descricao;
      campo.previousElementSibling.title = descricao;
      campo.title = descricao + (p.escolhas ? '' : ` (${p.minimo}..${p.maximo})`);
    }
  }
  function preencherFormulario(valores) {
    for (const [nome, valor] of Object.entries(valores || {})) {
      const campo = $('p_' + nome);
      if (campo) campo.value = valor;
    }
  }
  // The desktop dialog's checks and messages: an integer in the dialog's range.
  function lerFormulario() {
    const nomes = [], valores = [];
    for (const p of tabela) {
      if (!p.noDialogo) continue;
      const campo = $('p_' + p.nome);
      const texto = campo.value.trim();
      if (!p.escolhas) {
        const semSinal = p.tipo === 'semSinal';
        if (!/^[-+]?\d+$/.test(texto) || (semSinal && /^[-+]/.test(texto))) {
          return { erro: semSinal ? t.positivo : t.inteiro, campo };
        }
        const n = Number(texto);
        if (n < p.minimo || n > p.maximo)
          return { erro: t.intervalo.replace('%1', p.minimo).replace('%2', p.maximo), campo };
        nomes.push(p.nome); valores.push(String(n));
      } else {
        nomes.push(p.nome); valores.push(texto);
      }
    }
    return { nomes, valores };
  }
  async function aplicarFormulario() {
    const r = lerFormulario();
    if (r.erro) {
      avisar(t.titulo, r.erro);
      r.campo.focus();
      return false;
    }
    const resposta = await emOrdem(() => pedir('definir', { nomes: r.nomes, valores: r.valores }));
    if (resposta.mensagem) { avisar(t.titulo, resposta.mensagem); return false; }
    preencherFormulario(resposta.parametros);
    return true;
  }

  // --- worlds ---
  function sementeAleatoria() { return crypto.getRandomValues(new Uint32Array(1))[0]; }
  // Every way a world is made goes through here: the buttons and window.keldo.
  function criarMundo(s, definicoes, sobreOsAtuais) {
    return emOrdem(async () => {
      const r = await pedir('criar', {
        semente: s, nomes: Object.keys(definicoes), valores: Object.values(definicoes).map(String), sobreOsAtuais,
      });
      if (r.mensagem) return r.mensagem;
      aplicarEstado(r.estado);
      preencherFormulario(r.parametros);
      await pedir('quadro');
      return '';
    });
  }
  function abrirMundo(bytes, nome, s) {
    return emOrdem(async () => {
      const copia = new Uint8Array(bytes).slice();
      const r = await pedir('abrir', { bytes: copia.buffer, nome, semente: s }, [copia.buffer]);
      if (r.mensagem) return r.mensagem;
      aplicarEstado(r.estado);
      preencherFormulario(r.parametros);
      await pedir('quadro');
      return '';
    });
  }
  function executar(ciclos) {
    return emOrdem(async () => {
      await pararExecucao();
      const r = await pedir('executar', { ciclos });
      aplicarEstado(r.estado);
      if (r.parada) avisar(t.atencao, r.parada);
      return r.feitos;
    });
  }
  async function salvar() {
    const r = await emOrdem(() => pedir('salvar'));
    return new Uint8Array(r.bytes);
  }
  async function pararExecucao() {
    if (!rodando) return;
    mostrarRodando(false);
    await pedir('parar');
  }
  function mostrarRodando(sim) {
    rodando = sim;
    $('iniciar').textContent = sim ? t.parar : t.iniciar;
    $('passo').disabled = sim;
  }
  async function novoComAvisos(s) {
    const mensagem = await criarMundo(s, {}, true);
    if (mensagem) avisar(t.titulo, mensagem);
  }
  function baixar(nome, bytes, tipo) {
    const url = URL.createObjectURL(new Blob([bytes], { type: tipo }));
    const a = document.createElement('a');
    a.href = url; a.download = nome;
    document.body.append(a); a.click(); a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  }

  function ligarComandos() {
    $('novo').onclick = async () => { await pararExecucao(); await novoComAvisos(sementeAleatoria()); };
    $('mesmoMundo').onclick = async () => { await pararExecucao(); await novoComAvisos(semente); };
    $('criarComSemente').onclick = async () => {
      const texto = $('sementeDigitada').value.trim();
      if (!/^\d+$/.test(texto) || Number(texto) > 4294967295) {
        avisar(t.titulo, t.intervalo.replace('%1', 0).replace('%2', 4294967295));
        return;
      }
      await pararExecucao();
      await novoComAvisos(Number(texto));
    };
    $('iniciar').onclick = async () => {
      if (rodando) return pararExecucao();
      mostrarRodando(true);
      await pedir('iniciar', { velocidade: velocidades[$('velocidade').value] });
    };
    $('passo').onclick = () => executar(1);
    $('velocidade').oninput = () => {
      $('velocidade').title = t.velocidades[$('velocidade').value];
      pedir('velocidade', { velocidade: velocidades[$('velocidade').value] });
    };
    $('abrir').onclick = () => $('arquivo').click();
    $('arquivo').onchange = async () => {
      const arquivo = $('arquivo').files[0];
      $('arquivo').value = '';
      if (!arquivo) return;
      await pararExecucao();
      const mensagem = await abrirMundo(await arquivo.arrayBuffer(), arquivo.name, sementeAleatoria());
      if (mensagem) avisar(t.titulo, mensagem);
    };
    $('salvar').onclick = async () => baixar('mundo.gen', await salvar(), 'application/octet-stream');
    $('csv').onclick = () => baixar('resumo.csv', new TextEncoder().encode(resumo), 'text/csv');
    $('idioma').onchange = () => {
      localStorage.setItem('keldo.idioma', $('idioma').value);
      carregarTextos($('idioma').value);
    };
    $('gene').onchange = construirGraficos;
    $('eixoGeracoes').onchange = construirGraficos;
    let redimensionar = null;
    window.addEventListener('resize', () => {
      clearTimeout(redimensionar);
      redimensionar = setTimeout(construirGraficos, 200);
    });
  }

  // --- start ---
  async function iniciar() {
    desenho = new Arena.Desenho($('arena'));
    const carga = await pedir('carregar');
    tabela = carga.tabela;
    genes = carga.genes;
    $('gene').textContent = '';
    genes.forEach((g, i) => $('gene').append(new Option(g.nome, i)));
    await carregarTextos(idiomaInicial());
    construirFormulario();
    ligarComandos();
    requestAnimationFrame(quadroAQuadro);
    await novoComAvisos(sementeAleatoria());
  }

  const pronto = iniciar();
  // The scripting hook: the same code paths as the buttons.
  window.keldo = {
    pronto,
    async criar(s, valores = {}) { await pronto; return criarMundo(s >>> 0, valores, false); },
    async executar(ciclos) { await pronto; return executar(ciclos); },
    resumo() { return resumo; },
    async salvar() { await pronto; return salvar(); },
    async abrir(bytes, s = sementeAleatoria(), nome = 'mundo.gen') {
      await pronto;
      const mensagem = await abrirMundo(bytes, nome, s >>> 0);
      if (mensagem) avisar(t.titulo, mensagem);
      return mensagem;
    },
    semente() { return semente; },
    // Frames the arena has drawn since the page loaded (for the benchmark).
    quadrosDesenhados() { return quadrosDesenhados; },
    // Starts or stops the run as the button does, at a speed of the slider (0..6, 6: maximum).
    async rodar(sim, velocidade = 6) {
      await pronto;
      $('velocidade').value = velocidade;
      $('velocidade').oninput();
      if (sim !== rodando) await $('iniciar').onclick();
    },
  };
})();
