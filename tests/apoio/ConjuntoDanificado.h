#pragma once
// The damaged project files under tests/data/danificados: one list that the
// core's hostile loads, the fuzz replay and both desktop programs walk.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <vector>

// tests/data of the source tree; only the writer of the set opens it.
inline std::filesystem::path pastaDeDadosOriginal() {
    return KELDO_DADOS_TESTE;
}

// A copy of tests/data in a temporary folder, made once per test program and
// removed at its end, so that a fault which saves over a file it opened never
// damages the set.
class CopiaDosDados {
  public:
    CopiaDosDados() {
        std::string modelo =
            (std::filesystem::temp_directory_path() / "keldo_dados_XXXXXX").string();
        if (::mkdtemp(modelo.data()) == nullptr)
            throw std::runtime_error("mkdtemp falhou");
        pasta = modelo;
        std::filesystem::copy(pastaDeDadosOriginal(), pasta,
                              std::filesystem::copy_options::recursive);
    }
    ~CopiaDosDados() {
        std::error_code erro;
        std::filesystem::remove_all(pasta, erro);
    }
    CopiaDosDados(const CopiaDosDados&) = delete;
    CopiaDosDados& operator=(const CopiaDosDados&) = delete;

    std::filesystem::path pasta;
};

// tests/data as the tests open it: the copy.
inline std::filesystem::path pastaDeDadosDeTeste() {
    static const CopiaDosDados copia;
    return copia.pasta;
}

// The set in name order; at least this many files, so that an emptied or
// misplaced folder fails instead of passing with nothing to check.
constexpr size_t minimoDanificados = 41;

inline std::vector<std::filesystem::path> conjuntoDanificado() {
    std::vector<std::filesystem::path> arquivos;
    for (const auto& e : std::filesystem::directory_iterator(pastaDeDadosDeTeste() / "danificados"))
        if (e.is_regular_file() && e.path().filename().string()[0] != '.')
            arquivos.push_back(e.path());
    std::sort(arquivos.begin(), arquivos.end());
    return arquivos;
}

// Runs `verificar` on every file of the set, each failure naming its file.
inline void paraCadaDanificado(const std::function<void(const std::filesystem::path&)>& verificar) {
    const std::vector<std::filesystem::path> arquivos = conjuntoDanificado();
    EXPECT_GE(arquivos.size(), minimoDanificados);
    for (const std::filesystem::path& arquivo : arquivos) {
        SCOPED_TRACE(arquivo.filename().string());
        verificar(arquivo);
    }
}
