#pragma once
#include <string>
#include <vector>

namespace keldo::cli {

// The fields of `texto` between `separador`s (an empty text is one empty field).
inline std::vector<std::string> separar(const std::string& texto, char separador) {
    std::vector<std::string> campos;
    size_t inicio = 0;
    for (size_t fim; (fim = texto.find(separador, inicio)) != std::string::npos; inicio = fim + 1)
        campos.push_back(texto.substr(inicio, fim - inicio));
    campos.push_back(texto.substr(inicio));
    return campos;
}

} // namespace keldo::cli
