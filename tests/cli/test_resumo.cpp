// keldo-run --summary: every line of a seeded run against the figures
// recomputed from the trace of the same run.
#include "ApoioKeldoRun.h"
#include <array>
#include <cstdio>
#include <map>
#include <sstream>

namespace {

std::vector<std::string> campos(const std::string& linha, char separador = ';') {
    std::vector<std::string> c;
    std::stringstream s(linha);
    for (std::string campo; std::getline(s, campo, separador);)
        c.push_back(campo);
    return c;
}

std::vector<std::string> linhas(const std::string& texto, const std::string& fim) {
    std::vector<std::string> r;
    for (size_t inicio = 0, p; inicio < texto.size(); inicio = p + fim.size()) {
        p = texto.find(fim, inicio);
        if (p == std::string::npos)
            p = texto.size();
        r.push_back(texto.substr(inicio, p - inicio));
    }
    return r;
}

// Counts of one cycle taken from its trace block.
struct Contagem {
    int adultos = 0, ovos = 0, mortos = 0, geracao = 0;
    int v[4] = {}, r = 0, p = 0, l = 0, m = 0, i[4] = {}, n = 0, d = 0, x = 0, c = 0, y = 0;
    // Per autosomal gene: heterozygotes, and both-capital homozygotes of the one-bit genes.
    int het[7] = {}, maiusculos[7] = {};
};

// The seven autosomal genes of a haplotype in the trace's columns: V and I
// take two, bit 8 first.
std::array<int, 7> genes(const std::vector<std::string>& f, size_t base) {
    auto num = [&](size_t col) { return std::stoi(f.at(col)); };
    return {num(base) * 2 + num(base + 1),
            num(base + 2),
            num(base + 3),
            num(base + 4),
            num(base + 5),
            num(base + 6) * 2 + num(base + 7),
            num(base + 8)};
}

void contarLinha(Contagem& k, const std::vector<std::string>& f) {
    auto num = [&](size_t col) { return std::stoi(f.at(col)); };
    k.geracao = std::max(k.geracao, num(4));
    if (!num(5)) {
        ++k.mortos;
        return;
    }
    ++(num(6) ? k.adultos : k.ovos);
    for (size_t base : {14, 23}) { // the nine bits of each haplotype, bit 8 first
        ++k.v[num(base) * 2 + num(base + 1)];
        k.r += num(base + 2);
        k.p += num(base + 3);
        k.l += num(base + 4);
        k.m += num(base + 5);
        ++k.i[num(base + 6) * 2 + num(base + 7)];
        k.n += num(base + 8);
    }
    const std::array<int, 7> pai = genes(f, 14), mae = genes(f, 23);
    for (size_t g = 0; g < 7; ++g) {
        k.het[g] += pai[g] != mae[g];
        k.maiusculos[g] += g != 0 && g != 5 && pai[g] == 1 && mae[g] == 1;
    }
    k.d += num(8);
    ++k.x;
    if (num(7)) { // male: his Y
        k.c += num(9);
        ++k.y;
    } else { // female: her second X
        k.d += num(9);
        ++k.x;
    }
}

std::string frequencia(int contagem, int base) {
    if (base == 0)
        return "NA";
    char texto[32];
    std::snprintf(texto, sizeof texto, "%.4f", static_cast<double>(contagem) / base);
    return texto;
}

// The summary line of a cycle, without the food column (the trace has no food).
std::string linhaEsperada(int tempo, const Contagem& k) {
    const int copias = 2 * (k.adultos + k.ovos);
    std::string s = std::to_string(tempo);
    for (int n : {k.adultos, k.ovos, k.mortos, k.geracao}) {
        s += ';';
        s += std::to_string(n);
    }
    for (int a : {k.v[0], k.v[1], k.v[2], k.v[3], k.r, k.p, k.l, k.m, k.i[0], k.i[1], k.i[2],
                  k.i[3], k.n}) {
        s += ';';
        s += frequencia(a, copias);
    }
    s += ';';
    s += frequencia(k.d, k.x);
    s += ';';
    s += frequencia(k.c, k.y);
    // Heterozygosity: observed, then 1 - sum of the squared allele frequencies.
    const int n = k.adultos + k.ovos;
    auto fracao = [&](double v) {
        char texto[32];
        std::snprintf(texto, sizeof texto, "%.4f", v);
        return n == 0 ? std::string("NA") : std::string(texto);
    };
    const int* alelos[7] = {k.v, &k.r, &k.p, &k.l, &k.m, k.i, &k.n};
    for (size_t g = 0; g < 7; ++g) {
        const bool quatro = g == 0 || g == 5;
        double soma = 0;
        for (int a = 0; a < (quatro ? 4 : 2); ++a) {
            const double q = copias == 0 ? 0.0
                             : quatro    ? static_cast<double>(alelos[g][a]) / copias
                             : a == 0    ? static_cast<double>(*alelos[g]) / copias
                                         : 1.0 - static_cast<double>(*alelos[g]) / copias;
            soma += q * q;
        }
        s += ';' + fracao(n ? static_cast<double>(k.het[g]) / n : 0.0);
        s += ';' + fracao(1.0 - soma);
        if (!quatro) {
            s += ';' + fracao(n ? static_cast<double>(k.maiusculos[g]) / n : 0.0);
            s += ';' + fracao(n ? static_cast<double>(n - k.maiusculos[g] - k.het[g]) / n : 0.0);
        }
    }
    return s;
}

std::string semAlimentos(const std::string& linha) {
    std::vector<std::string> f = campos(linha);
    f.erase(f.begin() + 5);
    std::string s;
    for (const std::string& c : f) {
        if (!s.empty())
            s += ';';
        s += c;
    }
    return s;
}

} // namespace

class ResumoKeldoRun : public KeldoRun,
                       public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(ResumoKeldoRun, LinhasConferemComOTraceDaMesmaExecucao) {
    std::vector<std::string> args = GetParam();
    args.insert(args.end(), {"--trace", "t.txt", "--summary", "r.csv"});
    const Saida s = rodar(args);
    ASSERT_EQ(s.status, 0) << s.err;

    std::map<int, Contagem> porCiclo;
    for (const std::string& l : linhas(ler("t.txt"), "\r\n")) {
        const std::vector<std::string> f = campos(l);
        ASSERT_EQ(f.size(), 32u) << l;
        contarLinha(porCiclo[std::stoi(f[0])], f);
    }
    const std::string resumo = ler("r.csv");
    EXPECT_EQ(resumo.find('\r'), std::string::npos);
    ASSERT_EQ(resumo.back(), '\n');
    const std::vector<std::string> r = linhas(resumo, "\n");
    ASSERT_EQ(r.size(), porCiclo.size() + 2);
    // The allele columns first, as they always were; the heterozygosity after them.
    EXPECT_EQ(r[0], "tempo;adultos;ovos;mortos;geracao;alimentos;V1;V2;V3;V4;R;P;L;M;I1;I2;I3;I4;"
                    "N;D;C;HoV;HeV;HoR;HeR;RR;rr;HoP;HeP;PP;pp;HoL;HeL;LL;ll;HoM;HeM;MM;mm;"
                    "HoI;HeI;HoN;HeN;NN;nn");
    EXPECT_EQ(r[1].substr(0, 2), "0;"); // the starting state

    bool comOvos = false, comMortos = false, comFilhos = false;
    size_t k = 2;
    for (const auto& [tempo, contagem] : porCiclo) {
        EXPECT_EQ(semAlimentos(r[k]), linhaEsperada(tempo, contagem)) << "tempo " << tempo;
        EXPECT_EQ(campos(r[k]).size(), 45u);
        comOvos |= contagem.ovos > 0;
        comMortos |= contagem.mortos > 0;
        comFilhos |= contagem.geracao > 0;
        ++k;
    }
    // The run went through births and deaths, and eggs under discrete generations.
    EXPECT_TRUE(comMortos && comFilhos);
    EXPECT_EQ(comOvos, std::find(args.begin(), args.end(), "tipoGeracoes=1") != args.end());
}

INSTANTIATE_TEST_SUITE_P(
    Geracoes, ResumoKeldoRun,
    ::testing::Values(std::vector<std::string>{"--seed", "5", "--cycles", "250"},
                      std::vector<std::string>{"--seed", "8", "--cycles", "400", "--set",
                                               "tipoGeracoes=1", "--set", "numIndDiscretas=25",
                                               "--set", "numIndividuos=40"}));

TEST_F(KeldoRun, ResumoSemCiclosEResumoQueSobrescreveriaOutroArquivo) {
    ASSERT_EQ(rodar({"--seed", "1", "--cycles", "0", "--summary", "r.csv"}).status, 0);
    const std::vector<std::string> r = linhas(ler("r.csv"), "\n");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[1].substr(0, 15), "0;100;0;0;0;20;");

    escrever("p.gen", "projeto");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"p.gen", "--summary", "./p.gen"},
          std::vector<std::string>{"--trace", "t.txt", "--summary", "t.txt"},
          std::vector<std::string>{"--save", "s.gen", "--summary", "s.gen"}}) {
        const Saida s = rodar(args);
        EXPECT_EQ(s.status, 2) << s.err;
        EXPECT_NE(s.err.find(args[0] == "p.gen" ? "PROJETO" : args[0]), std::string::npos) << s.err;
        EXPECT_NE(s.err.find(" e --summary indicam o mesmo arquivo"), std::string::npos) << s.err;
    }
    EXPECT_EQ(ler("p.gen"), "projeto");
    EXPECT_FALSE(existe("t.txt"));
    EXPECT_FALSE(existe("s.gen"));
}
