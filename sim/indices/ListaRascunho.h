#pragma once
#include <algorithm>
#include <cstddef>
#include <vector>

namespace keldo::indices {

// Sizes a scratch list whose old contents are about to be overwritten. A list
// that must grow lets go of its old block before its new one is filled, so the
// two never take memory side by side, and doubles, so it seldom grows again.
template <class T> void redimensionarRascunho(std::vector<T>& lista, std::size_t n) {
    if (lista.capacity() < n) {
        lista.clear();
        lista.reserve(std::max(n, 2 * lista.capacity()));
    }
    lista.resize(n);
}

// Empties a list about to be filled with at most `maximo` items and makes room
// for them the same way; room never filled takes no memory.
template <class T> void esvaziarRascunho(std::vector<T>& lista, std::size_t maximo) {
    lista.clear();
    if (lista.capacity() < maximo)
        lista.reserve(std::max(maximo, 2 * lista.capacity()));
}

} // namespace keldo::indices
