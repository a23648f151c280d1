// Helpers shared by the project-file, trace and cycle tests: a byte builder
// for hand-written files, temporary folders and field-by-field comparisons.
#pragma once
#include "sim/CKeldoDoc.h"
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace apoio {

using keldo::model::SpecX;
using keldo::sim::SimulationParameters;

// Little-endian bytes written by hand, independent of the archive class.
struct Bytes {
    std::vector<uint8_t> v;
    Bytes& u8(uint8_t b) {
        v.push_back(b);
        return *this;
    }
    Bytes& le16(uint16_t x) { return u8(static_cast<uint8_t>(x)).u8(static_cast<uint8_t>(x >> 8)); }
    Bytes& le32(uint32_t x) {
        return le16(static_cast<uint16_t>(x)).le16(static_cast<uint16_t>(x >> 16));
    }
    Bytes& texto(const std::string& s) {
        v.insert(v.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& bytes(const std::vector<uint8_t>& outros) {
        v.insert(v.end(), outros.begin(), outros.end());
        return *this;
    }
};

// A folder under the system's temporary folder, removed with everything in it.
class PastaTemporaria {
  public:
    PastaTemporaria() {
        std::string modelo = (std::filesystem::temp_directory_path() / "keldo_t2_XXXXXX").string();
        if (!mkdtemp(modelo.data()))
            throw std::runtime_error("mkdtemp");
        caminho = modelo;
    }
    ~PastaTemporaria() {
        std::error_code erro;
        std::filesystem::remove_all(caminho, erro);
    }
    std::string operator/(const std::string& nome) const { return (caminho / nome).string(); }
    std::filesystem::path caminho;
};

// The names in a folder, sorted: what a save left beside its target.
inline std::vector<std::string> nomesEm(const std::filesystem::path& pasta) {
    std::vector<std::string> nomes;
    for (const auto& e : std::filesystem::directory_iterator(pasta))
        nomes.push_back(e.path().filename().string());
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}

// Runs in a folder of its own, so that "keldo_trace.txt" lands there.
class NaPasta {
  public:
    explicit NaPasta(const std::filesystem::path& p) : antes(std::filesystem::current_path()) {
        std::filesystem::current_path(p);
    }
    ~NaPasta() { std::filesystem::current_path(antes); }

  private:
    std::filesystem::path antes;
};

inline std::vector<uint8_t> lerArquivo(const std::string& nome) {
    std::ifstream f(nome, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline void escreverArquivo(const std::string& nome, const std::vector<uint8_t>& bytes) {
    std::ofstream f(nome, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline void esperarParametrosIguais(const SimulationParameters& a, const SimulationParameters& b) {
    EXPECT_EQ(a.numIndividuos, b.numIndividuos);
    EXPECT_EQ(a.taxaReposicao, b.taxaReposicao);
    EXPECT_EQ(a.particaoAmbiente, b.particaoAmbiente);
    EXPECT_EQ(a.energiaMin, b.energiaMin);
    EXPECT_EQ(a.nivelObstaculos, b.nivelObstaculos);
    EXPECT_EQ(a.criterioParada, b.criterioParada);
    EXPECT_EQ(a.intervaloAnimacao, b.intervaloAnimacao);
    EXPECT_EQ(a.qtdAlimento, b.qtdAlimento);
    EXPECT_EQ(a.taxaMutacao, b.taxaMutacao);
    EXPECT_EQ(a.mostrarEnergia, b.mostrarEnergia);
    EXPECT_EQ(a.energiaMax, b.energiaMax);
    EXPECT_EQ(a.salvarCiclos, b.salvarCiclos);
    EXPECT_EQ(a.salvarAtivo, b.salvarAtivo);
    EXPECT_EQ(a.mutacaoAtiva, b.mutacaoAtiva);
    EXPECT_EQ(a.comDefinida, b.comDefinida);
    EXPECT_EQ(a.numIndDiscretas, b.numIndDiscretas);
    EXPECT_EQ(a.tipoPopulacao, b.tipoPopulacao);
    EXPECT_EQ(a.tipoGeracoes, b.tipoGeracoes);
    EXPECT_EQ(a.tempoRealCiclo, b.tempoRealCiclo);
    EXPECT_EQ(a.gerarTrace, b.gerarTrace);
    EXPECT_EQ(a.taxaPermuta, b.taxaPermuta);
    EXPECT_EQ(a.detecta, b.detecta);
    EXPECT_EQ(a.luta, b.luta);
    EXPECT_EQ(a.morte_mm, b.morte_mm);
    EXPECT_EQ(a.morte_Mm, b.morte_Mm);
    EXPECT_EQ(a.morte_MM, b.morte_MM);
    EXPECT_EQ(a.repro_rr, b.repro_rr);
    EXPECT_EQ(a.repro_Rr, b.repro_Rr);
    EXPECT_EQ(a.repro_RR, b.repro_RR);
    EXPECT_EQ(a.partilha, b.partilha);
}

// The stored record of an individual (positions and headings bit for bit).
inline void esperarRegistroIgual(const SpecX& a, const SpecX& b) {
    EXPECT_EQ(a.id, b.id);
    EXPECT_EQ(a.idPai, b.idPai);
    EXPECT_EQ(a.idMae, b.idMae);
    EXPECT_EQ(a.geracao, b.geracao);
    EXPECT_EQ(a.loopNasc, b.loopNasc);
    EXPECT_EQ(a.loopMorto, b.loopMorto);
    EXPECT_EQ(std::bit_cast<uint32_t>(a.x), std::bit_cast<uint32_t>(b.x));
    EXPECT_EQ(std::bit_cast<uint32_t>(a.y), std::bit_cast<uint32_t>(b.y));
    EXPECT_EQ(std::bit_cast<uint32_t>(a.dirX), std::bit_cast<uint32_t>(b.dirX));
    EXPECT_EQ(std::bit_cast<uint32_t>(a.dirY), std::bit_cast<uint32_t>(b.dirY));
    EXPECT_EQ(a.targetX, b.targetX);
    EXPECT_EQ(a.targetY, b.targetY);
    EXPECT_EQ(a.targetId, b.targetId);
    EXPECT_EQ(a.energia, b.energia);
    EXPECT_EQ(a.genotipoP, b.genotipoP);
    EXPECT_EQ(a.genotipoM, b.genotipoM);
    EXPECT_EQ(a.estado, b.estado);
}

inline void esperarListasIguais(const std::vector<SpecX>& a, const std::vector<SpecX>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t k = 0; k < a.size(); ++k) {
        SCOPED_TRACE("individuo " + std::to_string(k));
        esperarRegistroIgual(a[k], b[k]);
    }
}

} // namespace apoio
