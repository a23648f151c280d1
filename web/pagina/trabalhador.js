// The simulation's worker: the one world of the page (the core as
// WebAssembly), run here so that the page never waits for a cycle. It answers
// the page's requests by id and, while running, sends frames.
'use strict';
importScripts('keldo.js');

let modulo = null;
let mundo = null;
let enviado = 0;          // bytes of the summary already sent to the page
let rodando = false;
let ciclosPorSegundo = 0; // 0: as fast as the machine goes
let quadrosPendentes = 0; // frames sent that the page has not drawn yet
let temporizador = null;

function novasLinhas() {
  const texto = mundo.resumoDesde(enviado);
  enviado = mundo.tamanhoResumo();
  return texto;
}

function estado(reiniciar) {
  if (reiniciar) enviado = 0;
  return {
    tempo: mundo.tempo(), geracao: mundo.geracao(), status: mundo.status(),
    semente: mundo.semente(), bitmapFundo: mundo.bitmapFundo(),
    obstaculos: mundo.obstaculos(), reiniciar: !!reiniciar, resumo: novasLinhas(),
    mostrarEnergia: mundo.valorParametro('mostrarEnergia') !== '0',
  };
}

function quadro() {
  // One bulk copy of the frame the core packed; its buffer moves to the page.
  const dados = mundo.quadro().slice();
  ++quadrosPendentes;
  postMessage({ tipo: 'quadro', dados, estado: estado(false) }, [dados.buffer]);
}

function parar(motivo) {
  rodando = false;
  clearTimeout(temporizador);
  temporizador = null;
  postMessage({ tipo: 'parado', motivo: motivo || '', estado: estado(false) });
}

// The next step at full speed: a message to itself, since a chain of
// setTimeout(0) waits at least 4 ms a step.
const proximoPasso = new MessageChannel();
let passoAgendado = false;
proximoPasso.port1.onmessage = () => {
  passoAgendado = false;
  passoDaExecucao();
};

// One step of a run: a single cycle at a set pace, or as many cycles as fit
// in about 15 ms, then a frame. At full speed a second frame may go while the
// page draws the first, so that the page need not wait a whole step for the
// next one; a page that draws nothing (a hidden tab) gets no more.
function passoDaExecucao() {
  temporizador = null;
  if (!rodando) return;
  const inicio = performance.now();
  do {
    if (mundo.executar(1) !== 1) return parar(mundo.parada());
  } while (ciclosPorSegundo === 0 && performance.now() - inicio < 15);
  if (quadrosPendentes < 2 || ciclosPorSegundo !== 0) quadro();
  if (ciclosPorSegundo) temporizador = setTimeout(passoDaExecucao, 1000 / ciclosPorSegundo);
  else {
    passoAgendado = true;
    proximoPasso.port2.postMessage(null);
  }
}

const operacoes = {
  async carregar() {
    modulo = await criarModuloKeldo();
    mundo = new modulo.MundoWeb();
    return { tabela: JSON.parse(modulo.tabelaParametros()), genes: JSON.parse(modulo.genes()) };
  },
  criar({ semente, nomes, valores, sobreOsAtuais }) {
    const mensagem = mundo.criar(semente >>> 0, nomes, valores, !!sobreOsAtuais);
    return { mensagem, estado: mensagem ? null : estado(true), parametros: parametros() };
  },
  definir({ nomes, valores }) {
    return { mensagem: mundo.definir(nomes, valores), parametros: parametros() };
  },
  abrir({ bytes, nome, semente }) {
    const mensagem = mundo.abrir(new Uint8Array(bytes), nome, semente >>> 0);
    return { mensagem, estado: mensagem ? null : estado(true), parametros: parametros() };
  },
  // `ciclos` cycles now (the scripting hook, "Passo"); a frame at the end.
  executar({ ciclos }) {
    const feitos = mundo.executar(ciclos >>> 0);
    const resposta = { feitos, parada: mundo.parada(), estado: estado(false) };
    quadro();
    return resposta;
  },
  salvar() {
    return { bytes: mundo.salvar().slice() };
  },
  resumo() {
    return { texto: mundo.resumo() };
  },
  iniciar({ velocidade }) {
    ciclosPorSegundo = velocidade;
    if (!rodando) {
      rodando = true;
      // A step still on its way from the last run goes on with this one.
      if (!passoAgendado) passoDaExecucao();
    }
    return {};
  },
  velocidade({ velocidade }) {
    ciclosPorSegundo = velocidade;
    return {};
  },
  parar() {
    if (rodando) parar('');
    return {};
  },
  quadro() {
    quadro();
    return {};
  },
};

// Every parameter's value in the world now, by name, for the form.
let nomesDaTabela = null;
function parametros() {
  if (!nomesDaTabela) nomesDaTabela = JSON.parse(modulo.tabelaParametros()).map((p) => p.nome);
  const valores = {};
  for (const nome of nomesDaTabela) valores[nome] = mundo.valorParametro(nome);
  return valores;
}

onmessage = async (evento) => {
  const pedido = evento.data;
  if (pedido.op === 'desenhado') {
    quadrosPendentes = Math.max(0, quadrosPendentes - pedido.quadros);
    return;
  }
  try {
    const resultado = await operacoes[pedido.op](pedido);
    const transferir = resultado && resultado.bytes ? [resultado.bytes.buffer] : [];
    postMessage({ id: pedido.id, resultado }, transferir);
  } catch (e) {
    rodando = false;
    postMessage({ id: pedido.id, erro: String(e && e.message ? e.message : e) });
  }
};
