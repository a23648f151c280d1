// Invariants of the cell search (the rules it follows: RegrasVizinhanca.h):
// - reach is `Regras::quadradoNoAlcance` against `Regras::limiarQuadrado`;
//   cell bounds and whole-cell tests carry a margin (`margem`, `folga`) well
//   above float rounding, so a cell is taken whole only when every point in
//   it is within reach, and the rest are judged point by point;
// - a path is free when the masks share every rectangle (`Regras::caminhoLivre`);
//   along the columns the "before" masks only lose bits and the "beyond"
//   masks only gain them (empty columns inherit), so `colunasQueLiberam` is
//   one span found by halving; `caminhosDaLinha` ANDs (every point) and ORs
//   (some point) a row's masks;
// - ranks are places by position; blocks of 2^deslocamento ranks; the 8-bit
//   per-row counters are exact below 256 points of a block in a row (denser
//   rows keep 32-bit ones); each block's ranks are also kept in cell order;
// - ties go to the lower position; a cell of 32 or more points on one spot is
//   judged by one of them.
#include "sim/indices/BuscaCandidatos.h"
#include "sim/indices/ListaRascunho.h"
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>

namespace keldo::indices {

float BuscaCandidatos::limiarNovo(float alcance) const {
    if (alcance >= 0.0f && alcance < static_cast<float>(inteirosGuardados)) {
        const auto k = static_cast<size_t>(alcance);
        if (static_cast<float>(k) == alcance) {
            if (!limiarInteiroConhecido[k]) {
                limiarInteiro[k] = Regras::limiarQuadrado(alcance);
                limiarInteiroConhecido[k] = true;
            }
            return limiarInteiro[k];
        }
    }
    for (size_t k = 0; k < emCache; ++k)
        if (alcances[k] == alcance)
            return limiares[k];
    const size_t k = emCache < alcances.size() ? emCache++ : alcances.size() - 1;
    alcances[k] = alcance;
    limiares[k] = Regras::limiarQuadrado(alcance);
    return limiares[k];
}

void BuscaCandidatos::construir(const std::vector<PontoLista>& pontos,
                                const MapaObstaculos* mapaObstaculos) {
    mapa = mapaObstaculos;
    varre = pontos.size() < minimoParaContar;
    if (varre) {
        curta.construir(pontos, mapa);
        return;
    }
    lista = &pontos;
    medirCelulas(pontos);
    std::vector<uint16_t> celulaDe;
    contarPorCelula(pontos, celulaDe);
    const bool comValores =
        std::any_of(pontos.begin(), pontos.end(), [](const PontoLista& p) { return p.valor != 0; });
    std::vector<uint32_t> rankDoListado;
    ordenarPosicoes(pontos, rankDoListado);
    distribuirPontos(pontos, celulaDe, rankDoListado, comValores);
    construirMascarasDeCelulas(pontos, celulaDe);
    construirPontosComuns(comValores);
    construirContagens();
}

// The grid over the points' bounding box: its side, cell size and the slack
// for rounding; whole units of the arena for many points on it.
void BuscaCandidatos::medirCelulas(const std::vector<PontoLista>& pontos) {
    const size_t n = pontos.size();
    // Lists counted by cells want few rows and many whole cells.
    lado = 1;
    while (lado < 50 && static_cast<size_t>(lado * lado) * 6 < n)
        ++lado;
    double maxX = 0.0, maxY = 0.0;
    minX = minY = 0.0;
    valorMaximo = 0.0f;
    for (size_t k = 0; k < n; ++k) {
        const PontoLista& p = pontos[k];
        if (k == 0) {
            minX = maxX = p.x;
            minY = maxY = p.y;
            valorMaximo = p.valor;
        }
        minX = std::min(minX, static_cast<double>(p.x));
        maxX = std::max(maxX, static_cast<double>(p.x));
        minY = std::min(minY, static_cast<double>(p.y));
        maxY = std::max(maxY, static_cast<double>(p.y));
        valorMaximo = std::max(valorMaximo, p.valor);
    }
    tamanhoCelula = std::max({maxX - minX, maxY - minY, 1.0}) / lado;
    // Many points on the arena: one cell per whole coordinate, so that every
    // point of a cell shares its obstacle masks and a cell wholly within reach
    // is taken whole.
    porUnidade =
        n >= minimoPorUnidade && minX >= 0.0 && minY >= 0.0 && maxX < 100.0 && maxY < 100.0;
    if (porUnidade) {
        lado = 100;
        minX = minY = 0.0;
        tamanhoCelula = 1.0;
    }
    porCelula = 1.0 / tamanhoCelula;
    const double escala = std::max({std::fabs(minX), std::fabs(maxX), std::fabs(minY),
                                    std::fabs(maxY), std::fabs(static_cast<double>(valorMaximo))});
    margem = 1e-2 + 1e-5 * escala;
}

// Each listed point's cell, and each cell's count (in `inicio`, one place on).
void BuscaCandidatos::contarPorCelula(const std::vector<PontoLista>& pontos,
                                      std::vector<uint16_t>& celulaDe) {
    const size_t n = pontos.size();
    celulaDe.resize(n);
    inicio.assign(static_cast<size_t>(lado * lado) + 1, 0);
    for (size_t k = 0; k < n; ++k) {
        celulaDe[k] =
            static_cast<uint16_t>(celula(pontos[k].y, minY) * lado + celula(pontos[k].x, minX));
        ++inicio[celulaDe[k] + 1];
    }
    for (size_t c = 1; c < inicio.size(); ++c)
        inicio[c] += inicio[c - 1];
}

// Ranks, for counting by cells: list places when the positions ascend (every
// phase's list does); else each listed point's rank (`rankDoListado`) and
// each rank's position.
void BuscaCandidatos::ordenarPosicoes(const std::vector<PontoLista>& pontos,
                                      std::vector<uint32_t>& rankDoListado) {
    const size_t n = pontos.size();
    posicoesEmOrdem.clear();
    if (std::is_sorted(pontos.begin(), pontos.end(),
                       [](const PontoLista& a, const PontoLista& b) { return a.pos <= b.pos; }))
        return;
    posicoesEmOrdem.resize(n);
    std::vector<uint32_t> ordem(n);
    for (uint32_t k = 0; k < n; ++k)
        ordem[k] = k;
    std::sort(ordem.begin(), ordem.end(),
              [&](uint32_t a, uint32_t b) { return pontos[a].pos < pontos[b].pos; });
    rankDoListado.resize(n);
    for (uint32_t r = 0; r < n; ++r)
        rankDoListado[ordem[r]] = r;
}

// The points side by side in cell order (list order within a cell): their
// coordinates, values, ranks and, for cells not of whole units, masks.
void BuscaCandidatos::distribuirPontos(const std::vector<PontoLista>& pontos,
                                       const std::vector<uint16_t>& celulaDe,
                                       const std::vector<uint32_t>& rankDoListado,
                                       bool comValores) {
    const size_t n = pontos.size();
    for (auto* v : {&xs, &ys})
        redimensionarRascunho(*v, n);
    redimensionarRascunho(valores, comValores ? n : 0);
    redimensionarRascunho(rankDe, n);
    // Cells of whole units share their points' masks: those are looked up per cell.
    const size_t comMascaras = porUnidade ? 0 : n;
    for (auto* v : {&antesX, &depoisX, &antesY, &depoisY})
        redimensionarRascunho(*v, comMascaras);
    for (size_t k = 0; k < n; ++k) {
        const PontoLista& p = pontos[k];
        const uint32_t d = inicio[celulaDe[k]]++;
        xs[d] = p.x;
        ys[d] = p.y;
        if (comValores)
            valores[d] = p.valor;
        const uint32_t r = rankDoListado.empty() ? static_cast<uint32_t>(k) : rankDoListado[k];
        rankDe[d] = r;
        if (!posicoesEmOrdem.empty())
            posicoesEmOrdem[r] = p.pos;
        if (porUnidade)
            continue;
        const auto mx = mapa ? mapa->mascaraX(p.cx) : MapaObstaculos::MascarasEixo{};
        const auto my = mapa ? mapa->mascaraY(p.cy) : MapaObstaculos::MascarasEixo{};
        antesX[d] = mx.antes;
        depoisX[d] = mx.depois;
        antesY[d] = my.antes;
        depoisY[d] = my.depois;
    }
    // The cursors ran to each cell's end, which is the next cell's start.
    for (size_t c = inicio.size() - 1; c > 0; --c)
        inicio[c] = inicio[c - 1];
    inicio[0] = 0;
}

void BuscaCandidatos::construirPontosComuns(bool comValores) {
    const size_t celulas = inicio.size() - 1;
    noMesmoPonto.assign(celulas, 0);
    redimensionarRascunho(valorMaximoDaCelula, comValores ? celulas : 0);
    for (size_t c = 0; c < celulas; ++c) {
        const uint32_t de = inicio[c], ate = inicio[c + 1];
        if (ate - de < minimoNoPonto)
            continue;
        bool mesmo = true; // not a number is no spot: such a cell is judged point by point
        float maximo = valorDe(de);
        for (uint32_t k = de; k < ate; ++k) {
            mesmo = mesmo && xs[k] == xs[de] && ys[k] == ys[de];
            maximo = std::max(maximo, valorDe(k));
        }
        noMesmoPonto[c] = mesmo;
        if (comValores)
            valorMaximoDaCelula[c] = maximo;
    }
}

void BuscaCandidatos::construirMascarasDeCelulas(const std::vector<PontoLista>& pontos,
                                                 const std::vector<uint16_t>& celulaDe) {
    mascarasColuna.assign(static_cast<size_t>(lado), MascarasComuns{});
    mascarasLinha.assign(static_cast<size_t>(lado), MascarasComuns{});
    auto juntar = [](MascarasComuns& m, const MapaObstaculos::MascarasEixo& e) {
        m.antesE &= e.antes;
        m.depoisE &= e.depois;
        m.antesOu |= e.antes;
        m.depoisOu |= e.depois;
    };
    if (!mapa) { // nothing blocks: every path is free
        mascarasColuna.assign(static_cast<size_t>(lado), MascarasComuns{0, 0, 0, 0});
        mascarasLinha = mascarasColuna;
        return;
    }
    std::vector<uint8_t> comPontos(static_cast<size_t>(lado), 0);
    for (size_t k = 0; k < pontos.size(); ++k) {
        const int c = celulaDe[k];
        juntar(mascarasColuna[static_cast<size_t>(c % lado)], mapa->mascaraX(pontos[k].cx));
        juntar(mascarasLinha[static_cast<size_t>(c / lado)], mapa->mascaraY(pontos[k].cy));
        comPontos[static_cast<size_t>(c % lado)] = 1;
    }
    // An empty column takes the masks of its neighbours (it holds nothing to
    // judge), so that along the columns the "before" masks only lose bits and
    // the "beyond" masks only gain them: `colunasQueLiberam` relies on it.
    // The "before" masks come from the next column with points (none past
    // the last), the "beyond" masks from the previous one (none before the first).
    auto herdar = [&](bool paraTras, uint32_t MascarasComuns::*e, uint32_t MascarasComuns::*ou) {
        const size_t n = mascarasColuna.size();
        uint32_t herdadaE = 0, herdadaOu = 0;
        for (size_t k = 0; k < n; ++k) {
            const size_t i = paraTras ? n - 1 - k : k;
            MascarasComuns& m = mascarasColuna[i];
            if (comPontos[i]) {
                herdadaE = m.*e;
                herdadaOu = m.*ou;
            } else {
                m.*e = herdadaE;
                m.*ou = herdadaOu;
            }
        }
    };
    herdar(true, &MascarasComuns::antesE, &MascarasComuns::antesOu);
    herdar(false, &MascarasComuns::depoisE, &MascarasComuns::depoisOu);
}

// Blocks of at least 64 ranks, at most 32 blocks while a block's count fits 16
// bits. Fewer blocks keep the per-row counters small and a run's sum short; a
// pick reads only what the count took of its block, which larger blocks make
// little longer (measured on the crowded world: 32 beats 64 and 16).
void BuscaCandidatos::construirContagens() {
    const size_t n = rankDe.size();
    deslocamento = 6;
    while ((size_t{32} << deslocamento) < n && deslocamento < 15)
        ++deslocamento;
    const size_t blocos =
        std::max<size_t>(1, (n + (size_t{1} << deslocamento) - 1) >> deslocamento);
    blocosPorCelula = (blocos + 7) / 8 * 8; // whole vectors of eight counters
    const size_t linhas = static_cast<size_t>(lado);
    const size_t porLinha = (linhas + 1) * blocosPorCelula;
    antesNaLinha.assign(linhas * porLinha, 0);
    inicioNoBloco.assign(blocos * linhas, 0);
    // Cell by cell, in order: each block's points in a row, and before each cell.
    auto paraCadaPonto = [&](auto&& fazer) {
        for (size_t j = 0; j < linhas; ++j)
            for (size_t i = 0; i < linhas; ++i)
                for (uint32_t k = inicio[j * linhas + i]; k < inicio[j * linhas + i + 1]; ++k)
                    fazer(j, i, rankDe[k]);
    };
    paraCadaPonto([&](size_t j, size_t i, uint32_t r) {
        ++antesNaLinha[j * porLinha + (i + 1) * blocosPorCelula + (r >> deslocamento)];
        ++inicioNoBloco[(r >> deslocamento) * linhas + j];
    });
    for (size_t j = 0; j < linhas; ++j) {
        uint8_t* linha = antesNaLinha.data() + j * porLinha;
        for (size_t k = blocosPorCelula; k < porLinha; ++k)
            linha[k] = static_cast<uint8_t>(linha[k] + linha[k - blocosPorCelula]);
        densa[j] = false;
        for (size_t b = 0; b < blocos; ++b)
            densa[j] = densa[j] || inicioNoBloco[b * linhas + j] > 255;
    }
    // Full counters for the rows the narrow ones cannot count.
    size_t largas = 0;
    for (size_t j = 0; j < linhas; ++j)
        linhaLarga[j] = densa[j] ? static_cast<uint32_t>(largas++) : 0;
    antesNaLinhaLarga.assign(largas * porLinha, 0);
    if (largas > 0) {
        paraCadaPonto([&](size_t j, size_t i, uint32_t r) {
            if (densa[j])
                ++antesNaLinhaLarga[linhaLarga[j] * porLinha + (i + 1) * blocosPorCelula +
                                    (r >> deslocamento)];
        });
        for (size_t j = 0; j < linhas; ++j) {
            if (!densa[j])
                continue;
            uint32_t* linha = antesNaLinhaLarga.data() + linhaLarga[j] * porLinha;
            for (size_t k = blocosPorCelula; k < porLinha; ++k)
                linha[k] += linha[k - blocosPorCelula];
        }
    }
    // Counts to starts, within each block (every block but the last holds 2^deslocamento).
    for (size_t b = 0; b < blocos; ++b) {
        uint16_t* linha = inicioNoBloco.data() + b * linhas;
        uint16_t antes = 0;
        for (size_t j = 0; j < linhas; ++j)
            antes = static_cast<uint16_t>(antes + std::exchange(linha[j], antes));
    }
    redimensionarRascunho(doBloco, n);
    const uint32_t mascara = (uint32_t{1} << deslocamento) - 1;
    paraCadaPonto([&](size_t j, size_t, uint32_t r) {
        const uint32_t b = r >> deslocamento;
        doBloco[(b << deslocamento) + inicioNoBloco[b * linhas + j]++] =
            static_cast<uint16_t>(r & mascara);
    });
    // The cursors ran to each row's end, which is the next row's start.
    for (size_t b = 0; b < blocos; ++b) {
        uint16_t* linha = inicioNoBloco.data() + b * linhas;
        std::copy_backward(linha, linha + linhas - 1, linha + linhas);
        linha[0] = 0;
    }
    porBloco.assign(blocosPorCelula, 0);
    bitsDoBloco.assign((size_t{1} << deslocamento) / 64, 0);
    corridas.clear();
    nasBordas = 0;
}

BuscaCandidatos::Caminhos BuscaCandidatos::caminhosDaLinha(const Consulta& c, int j) const {
    const MascarasComuns& m = mascarasLinha[static_cast<size_t>(j)];
    return {(c.origem.y.antes & m.antesE) | (c.origem.y.depois & m.depoisE),
            (c.origem.y.antes & m.antesOu) | (c.origem.y.depois & m.depoisOu)};
}

// A rectangle the origin lies before is cleared by the columns before it, a
// prefix of them (the masks only lose such bits along the columns); one it
// lies beyond, by a suffix; any other by no column. So the columns clearing
// every rectangle of `deixadas` are one span, found by halving.
BuscaCandidatos::Colunas BuscaCandidatos::colunasQueLiberam(const Consulta& c, uint32_t deixadas,
                                                            bool todosOsPontos) const {
    const uint32_t antes = deixadas & c.origem.x.antes, depois = deixadas & c.origem.x.depois;
    if ((deixadas & ~(antes | depois)) != 0)
        return {0, 0};
    const MascarasComuns* m = mascarasColuna.data();
    int de = 0, ate = lado; // ate: the first column lacking a bit of `antes`
    for (int baixo = 0; baixo < ate;) {
        const int meio = (baixo + ate) / 2;
        const uint32_t k = todosOsPontos ? m[meio].antesE : m[meio].antesOu;
        if ((k & antes) == antes)
            baixo = meio + 1;
        else
            ate = meio;
    }
    for (int alto = lado; de < alto;) { // de: the first column holding every bit of `depois`
        const int meio = (de + alto) / 2;
        const uint32_t k = todosOsPontos ? m[meio].depoisE : m[meio].depoisOu;
        if ((k & depois) == depois)
            alto = meio;
        else
            de = meio + 1;
    }
    return {de, ate};
}

BuscaCandidatos::Alcance BuscaCandidatos::alcanceDe(float x, float y, float alcance) const {
    const double folga = margem + 1e-5 * std::max(std::fabs(x), std::fabs(y));
    // Within `dentro`, rounding cannot push a distance past the reach.
    const double dentro = alcance - folga;
    return {x, y, folga, alcance + folga, std::isinf(dentro) ? 0.0 : dentro};
}

bool BuscaCandidatos::faixasDaLinha(const Alcance& a, int j, Faixas& f) const {
    const double baixo = minY + j * tamanhoCelula, alto = baixo + tamanhoCelula;
    const double dy = std::max({0.0, baixo - a.y, a.y - alto}) - a.folga; // |dy| is at least this
    if (dy > a.raio)
        return false;
    const double meiaLargura = (dy > 0.0 ? std::sqrt(a.raio * a.raio - dy * dy) : a.raio) + a.folga;
    f.i0 = celula(a.x - meiaLargura, minX);
    f.i1 = celula(a.x + meiaLargura, minX);
    f.f0 = lado;
    f.f1 = lado - 1;
    const double dyMaximo = std::max(std::fabs(baixo - a.y), std::fabs(alto - a.y));
    if (!(a.dentro > 0.0 && dyMaximo < a.dentro))
        return true;
    const double meia = std::sqrt(a.dentro * a.dentro - dyMaximo * dyMaximo);
    // Cell i spans [minX + i * tamanho, minX + (i + 1) * tamanho].
    const double primeira = std::ceil((a.x - meia - minX) * porCelula);
    const double ultima = std::floor((a.x + meia - minX) * porCelula) - 1.0;
    f.f0 = primeira <= 0.0 ? 0 : primeira >= lado ? lado : static_cast<int>(primeira);
    f.f1 = ultima < 0.0 ? -1 : ultima >= lado - 1 ? lado - 1 : static_cast<int>(ultima);
    return true;
}

// Branch-free: whether a rim point is in reach is as good as a coin toss.
void BuscaCandidatos::contarPontos(const Consulta& c, uint32_t de, uint32_t ate, bool livre) const {
    if (bordas.size() < nasBordas + (ate - de))
        bordas.resize(std::max(2 * bordas.size(), nasBordas + (ate - de)));
    uint32_t* __restrict saida = bordas.data();
    size_t n = nasBordas;
    for (uint32_t k = de; k < ate; ++k) {
        saida[n] = rankDe[k];
        n += pontoPerto(c, k) & (livre || pontoLivre(c, k));
    }
    nasBordas = n;
}

uint32_t BuscaCandidatos::antesNaFronteira(size_t j, size_t fronteira, uint32_t bloco) const {
    const size_t porLinha = static_cast<size_t>(lado + 1) * blocosPorCelula;
    const size_t k = fronteira * blocosPorCelula + bloco;
    if (densa[j])
        return antesNaLinhaLarga[linhaLarga[j] * porLinha + k];
    return antesNaLinha[j * porLinha + k];
}

void BuscaCandidatos::somarCorrida(int j, int a, int b) const {
    const size_t porLinha = static_cast<size_t>(lado + 1) * blocosPorCelula;
    if (densa[static_cast<size_t>(j)]) {
        const uint32_t* antes =
            antesNaLinhaLarga.data() + linhaLarga[static_cast<size_t>(j)] * porLinha;
        for (size_t k = 0; k < blocosPorCelula; ++k)
            porBloco[k] = static_cast<uint16_t>(
                porBloco[k] + antes[static_cast<size_t>(b + 1) * blocosPorCelula + k] -
                antes[static_cast<size_t>(a) * blocosPorCelula + k]);
        corridas.push_back(
            {static_cast<uint16_t>(j), static_cast<uint16_t>(a), static_cast<uint16_t>(b)});
        return;
    }
    const uint8_t* antes = antesNaLinha.data() + static_cast<size_t>(j) * porLinha;
    const uint8_t* __restrict ate = antes + static_cast<size_t>(b + 1) * blocosPorCelula;
    const uint8_t* __restrict de = antes + static_cast<size_t>(a) * blocosPorCelula;
    uint16_t* __restrict soma = porBloco.data();
    for (size_t k = 0; k < blocosPorCelula; ++k)
        soma[k] = static_cast<uint16_t>(soma[k] + static_cast<uint8_t>(ate[k] - de[k]));
    corridas.push_back(
        {static_cast<uint16_t>(j), static_cast<uint16_t>(a), static_cast<uint16_t>(b)});
}

uint32_t BuscaCandidatos::contarPorCelulas(float x, float y, float alcance, int ox, int oy) const {
    corridas.clear();
    nasBordas = 0;
    const Consulta c = consulta(x, y, alcance, ox, oy);
    if (!(c.limiar >= 0.0f))
        return 0;
    std::fill(porBloco.begin(), porBloco.end(), uint16_t{0});
    const Alcance a = alcanceDe(x, y, alcance);
    const int linhaInicial = celula(y - alcance - 2 * a.folga, minY);
    const int linhaFinal = celula(y + alcance + 2 * a.folga, minY);
    // The columns whose paths clear what a row leaves are one span; rows
    // between the same rectangle edges leave the same, so a span is found once
    // for them.
    Colunas livres{}, talvez{};
    uint32_t deixadasLivre = 0, deixadasTalvez = 0;
    bool conhecidas = false;
    for (int j = linhaInicial; j <= linhaFinal; ++j) {
        Faixas f{0, -1, lado, lado - 1};
        if (!faixasDaLinha(a, j, f))
            continue;
        const Caminhos linha = caminhosDaLinha(c, j);
        const uint32_t deixaLivre = c.todos & ~linha.livre, deixaTalvez = c.todos & ~linha.talvez;
        if (!conhecidas || deixaLivre != deixadasLivre)
            livres = colunasQueLiberam(c, deixadasLivre = deixaLivre, true);
        if (!conhecidas || deixaTalvez != deixadasTalvez)
            talvez = colunasQueLiberam(c, deixadasTalvez = deixaTalvez, false);
        conhecidas = true;
        // The whole free cells are one run; the other cells that may hold a
        // point on a free path are looked at point by point.
        const uint32_t* comeco = inicio.data() + static_cast<size_t>(j * lado);
        auto pontoAPonto = [&](int de, int ate) {
            for (int i = de; i <= ate; ++i) {
                const bool livre = i >= livres.de && i < livres.ate;
                if (noMesmoPonto[static_cast<size_t>(j * lado + i)]) {
                    const uint32_t k = comeco[i];
                    if (pontoPerto(c, k) && (livre || pontoLivre(c, k)))
                        somarCorrida(j, i, i);
                    continue;
                }
                contarPontos(c, comeco[i], comeco[i + 1], livre);
            }
        };
        const int r0 = std::max({f.f0, f.i0, livres.de});
        const int r1 = std::min({f.f1, f.i1, livres.ate - 1});
        const int t0 = std::max(f.i0, talvez.de), t1 = std::min(f.i1, talvez.ate - 1);
        if (r0 <= r1) {
            pontoAPonto(t0, r0 - 1);
            somarCorrida(j, r0, r1);
            pontoAPonto(r1 + 1, t1);
        } else {
            pontoAPonto(t0, t1);
        }
    }
    for (size_t k = 0; k < nasBordas; ++k)
        ++porBloco[bordas[k] >> deslocamento];
    uint32_t total = 0;
    for (uint16_t b : porBloco)
        total += b;
    return total;
}

void BuscaCandidatos::marcarBloco(uint32_t bloco) const {
    std::fill(bitsDoBloco.begin(), bitsDoBloco.end(), uint64_t{0});
    uint64_t* __restrict bits = bitsDoBloco.data();
    const size_t porLinha = static_cast<size_t>(lado + 1) * blocosPorCelula;
    const uint16_t* inicioDaLinha = inicioNoBloco.data() + bloco * static_cast<size_t>(lado);
    for (const Corrida& k : corridas) {
        const uint32_t base = (bloco << deslocamento) + inicioDaLinha[k.linha];
        uint32_t de, ate;
        if (densa[k.linha]) {
            de = base + antesNaFronteira(k.linha, k.primeira, bloco);
            ate = base + antesNaFronteira(k.linha, k.ultima + size_t{1}, bloco);
        } else { // fewer than 256 points of the block in the row: the narrow counters are exact
            const uint8_t* antes = antesNaLinha.data() + k.linha * porLinha + bloco;
            ate = base + antes[(k.ultima + size_t{1}) * blocosPorCelula];
            de = base + antes[k.primeira * blocosPorCelula];
        }
        for (uint32_t p = de; p < ate; ++p)
            bits[doBloco[p] >> 6] |= uint64_t{1} << (doBloco[p] & 63u);
    }
    const uint32_t mascara = (uint32_t{1} << deslocamento) - 1;
    for (size_t k = 0; k < nasBordas; ++k) {
        const uint32_t r = bordas[k];
        bits[(r & mascara) >> 6] |= uint64_t{(r >> deslocamento) == bloco} << (r & 63u);
    }
}

uint32_t BuscaCandidatos::enesimaPorCelulas(uint32_t ordem) const {
    uint32_t bloco = 0;
    while (ordem >= porBloco[bloco])
        ordem -= porBloco[bloco++];
    marcarBloco(bloco);
    for (size_t w = 0; w < bitsDoBloco.size(); ++w) {
        uint64_t bits = bitsDoBloco[w];
        const auto n = static_cast<uint32_t>(std::popcount(bits));
        if (ordem >= n) {
            ordem -= n;
            continue;
        }
        for (; ordem > 0; --ordem)
            bits &= bits - 1;
        return posicaoDoRank((bloco << deslocamento) + static_cast<uint32_t>(w * 64) +
                             static_cast<uint32_t>(std::countr_zero(bits)));
    }
    return posicaoDoRank(static_cast<uint32_t>(rankDe.size()) - 1); // not reached
}

// Branch-free, so that the compiler can run it over several points at once.
void BuscaCandidatos::marcar(const Consulta& c, uint32_t de, uint32_t ate,
                             uint8_t* __restrict aceito) const {
    const float* __restrict px = xs.data() + de;
    const float* __restrict py = ys.data() + de;
    const uint32_t* __restrict ax = antesX.data() + de;
    const uint32_t* __restrict dx = depoisX.data() + de;
    const uint32_t* __restrict ay = antesY.data() + de;
    const uint32_t* __restrict dy = depoisY.data() + de;
    const uint32_t n = ate - de;
    for (uint32_t k = 0; k < n; ++k) {
        const float quadrado = Regras::quadradoDaDistancia(c.x, c.y, px[k], py[k]);
        const uint32_t partilham = (c.origem.x.antes & ax[k]) | (c.origem.x.depois & dx[k]) |
                                   (c.origem.y.antes & ay[k]) | (c.origem.y.depois & dy[k]);
        aceito[k] = static_cast<uint8_t>(Regras::quadradoNoAlcance(quadrado, c.limiar) &
                                         Regras::caminhoLivre(partilham, c.todos));
    }
}

int BuscaCandidatos::celula(double v, double minimo) const {
    const double q = (v - minimo) * porCelula;
    if (!(q >= 0.0))
        return 0;
    return q >= lado - 1 ? lado - 1 : static_cast<int>(q);
}

bool BuscaCandidatos::melhorPorCelulas(float x, float y, float alcance, int ox, int oy,
                                       Candidato& saida) const {
    const Consulta c = consulta(x, y, alcance, ox, oy);
    if (rankDe.empty())
        return false;
    const double folga = margem + 1e-5 * std::max(std::fabs(x), std::fabs(y));
    bool achou = false;
    float melhorPontos = 0.0f;
    // Once a point scores the most any can (the greatest value at distance 0),
    // only a lower place can take its lead; each cell holds its points in
    // list order when the places ascend, so a cell is read only up to the
    // leader's place (a crowd on one spot costs one point, not all of them).
    const bool celulasEmOrdem = posicoesEmOrdem.empty();
    bool imbativel = false;
    constexpr uint32_t bloco = 256;
    uint8_t aceito[bloco];
    auto pontuar = [&](uint32_t k) {
        const float d = std::sqrt(Regras::quadradoDaDistancia(x, y, xs[k], ys[k]));
        const float pontos = valorDe(k) - d;
        if (!achou || pontos > melhorPontos ||
            (pontos == melhorPontos && posicaoDe(k) < saida.pos)) {
            achou = true;
            melhorPontos = pontos;
            saida = {posicaoDe(k), d};
            imbativel = celulasEmOrdem && pontos >= valorMaximo;
        }
    };
    // The cell's points from `k` on that may still take the lead, judged one by one.
    auto examinarAteOLider = [&](uint32_t k, uint32_t fim) {
        for (; k < fim && posicaoDe(k) < saida.pos; ++k)
            if (pontoPerto(c, k) && (porUnidade || pontoLivre(c, k)))
                pontuar(k);
    };
    // A cell whose points share one spot: one distance and one path for all,
    // so its best is the first point (in list order) of the greatest score.
    auto examinarNoMesmoPonto = [&](size_t celula) {
        const uint32_t de = inicio[celula], ate = inicio[celula + 1];
        if (!pontoPerto(c, de) || !(porUnidade || pontoLivre(c, de)))
            return;
        const float d = std::sqrt(Regras::quadradoDaDistancia(x, y, xs[de], ys[de]));
        const float maior = valorMaximoDaCelula.empty() ? 0.0f : valorMaximoDaCelula[celula] - d;
        for (uint32_t k = de; k < ate; ++k)
            if (valorDe(k) - d == maior) {
                pontuar(k);
                return;
            }
        for (uint32_t k = de; k < ate; ++k) // not reached unless a value is not a number
            pontuar(k);
    };
    // Whole-unit cells: the path test once per cell, then only the distances.
    auto examinarPorCelula = [&](int j, int i0, int i1) {
        const uint32_t partilhaY = livreNaLinha(c, j);
        const uint32_t* linha = inicio.data() + static_cast<size_t>(j * lado);
        for (int i = i0; i <= i1; ++i) {
            if ((livreNaColuna(c, i) | partilhaY) != c.todos)
                continue;
            if (celulasEmOrdem && noMesmoPonto[static_cast<size_t>(j * lado + i)]) {
                examinarNoMesmoPonto(static_cast<size_t>(j * lado + i));
                continue;
            }
            for (uint32_t k = linha[i]; k < linha[i + 1]; ++k) {
                if (imbativel) {
                    examinarAteOLider(k, linha[i + 1]);
                    break;
                }
                if (pontoPerto(c, k))
                    pontuar(k);
            }
        }
    };
    auto examinar = [&](int j, int i0, int i1) {
        if (porUnidade) {
            examinarPorCelula(j, i0, i1);
            return;
        }
        const uint32_t* linha = inicio.data() + static_cast<size_t>(j * lado);
        // Cells [a, b] point by point, blocks at a time.
        auto examinarCelulas = [&](int a, int b) {
            const uint32_t fim = linha[b + 1];
            uint32_t de = linha[a];
            for (; de < fim && !imbativel; de += bloco) {
                const uint32_t ate = std::min(fim, de + bloco);
                marcar(c, de, ate, aceito);
                for (uint32_t k = de; k < ate; ++k)
                    if (aceito[k - de])
                        pontuar(k);
            }
            // The rest cell by cell, each up to the leader's place.
            for (int i = a; i <= b && de < fim; ++i)
                if (linha[i + 1] > de)
                    examinarAteOLider(std::max(de, linha[i]), linha[i + 1]);
        };
        int primeira = i0;
        for (int i = i0; i <= i1; ++i) {
            const auto celula = static_cast<size_t>(j * lado + i);
            if (!celulasEmOrdem || !noMesmoPonto[celula])
                continue;
            if (primeira < i)
                examinarCelulas(primeira, i - 1);
            examinarNoMesmoPonto(celula);
            primeira = i + 1;
        }
        if (primeira <= i1)
            examinarCelulas(primeira, i1);
    };
    const int ci = celula(x, minX), cj = celula(y, minY);
    const int ultimoAnel = std::max({ci, lado - 1 - ci, cj, lado - 1 - cj});
    for (int anel = 0; anel <= ultimoAnel; ++anel) {
        // Every point of this ring of cells is at least this far away.
        const double perto = anel == 0 ? 0.0 : (anel - 1) * tamanhoCelula - folga;
        if (perto > alcance + folga)
            break;
        if (achou && static_cast<double>(valorMaximo) - perto < melhorPontos - folga)
            break;
        const int i0 = std::max(ci - anel, 0), i1 = std::min(ci + anel, lado - 1);
        if (cj - anel >= 0)
            examinar(cj - anel, i0, i1);
        if (anel > 0 && cj + anel < lado)
            examinar(cj + anel, i0, i1);
        for (int j = std::max(cj - anel + 1, 0); j <= std::min(cj + anel - 1, lado - 1); ++j) {
            if (ci - anel >= 0)
                examinar(j, ci - anel, ci - anel);
            if (ci + anel < lado)
                examinar(j, ci + anel, ci + anel);
        }
    }
    return achou;
}

} // namespace keldo::indices
