#pragma once
#include <bit>
#include <version>

namespace keldo::io {

// std::bit_cast, or where the standard library lacks it (the C++ library of
// some WebAssembly toolchains) the compiler builtin it is made of: the same bits.
template <class Para, class De> constexpr Para converterBits(const De& valor) noexcept {
#ifdef __cpp_lib_bit_cast
    return std::bit_cast<Para>(valor);
#else
    return __builtin_bit_cast(Para, valor);
#endif
}

} // namespace keldo::io
