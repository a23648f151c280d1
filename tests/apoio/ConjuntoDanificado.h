#pragma once
#include <algorithm>
#include <filesystem>
#include <vector>

// The damaged project files under tests/data/danificados, in name order, so
// that both desktop programs walk the same set.
inline std::vector<std::filesystem::path> conjuntoDanificado() {
    const auto pasta =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "danificados";
    std::vector<std::filesystem::path> arquivos;
    for (const auto& e : std::filesystem::directory_iterator(pasta))
        arquivos.push_back(e.path());
    std::sort(arquivos.begin(), arquivos.end());
    return arquivos;
}
