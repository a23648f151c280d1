#pragma once
// The damaged project files under tests/data/danificados: one list that the
// core's hostile loads, the fuzz replay and both desktop programs walk.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

// tests/data, wherever the test runs from.
inline std::filesystem::path pastaDeDadosDeTeste() {
    return KELDO_DADOS_TESTE;
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
