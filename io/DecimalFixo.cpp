#include "io/DecimalFixo.h"
#include "io/Bits.h"
#include <cstdint>
#include <cstring>
#include <vector>

namespace keldo::io {

namespace {
// A natural number as 32-bit limbs, least significant first.
using Natural = std::vector<uint32_t>;

void multiplicar(Natural& n, uint32_t fator) {
    uint64_t transporte = 0;
    for (uint32_t& limb : n) {
        const uint64_t produto = uint64_t{limb} * fator + transporte;
        limb = static_cast<uint32_t>(produto);
        transporte = produto >> 32;
    }
    if (transporte)
        n.push_back(static_cast<uint32_t>(transporte));
}

bool bit(const Natural& n, int k) {
    const size_t limb = static_cast<size_t>(k) / 32;
    return limb < n.size() && ((n[limb] >> (k % 32)) & 1u);
}

// Any bit below `k` set.
bool algumBitAbaixo(const Natural& n, int k) {
    for (int i = 0; i < k; ++i)
        if (bit(n, i))
            return true;
    return false;
}

Natural deslocar(const Natural& n, int bits) {
    Natural r(n.size() + static_cast<size_t>(bits) / 32 + 1, 0);
    for (int i = 0; i < static_cast<int>(n.size()) * 32; ++i)
        if (bit(n, i))
            r[static_cast<size_t>(i + bits) / 32] |= 1u << ((i + bits) % 32);
    return r;
}

// n >> bits, rounded half to even.
Natural dividirArredondando(const Natural& n, int bits) {
    Natural q(n.size(), 0);
    for (int i = bits; i < static_cast<int>(n.size()) * 32; ++i)
        if (bit(n, i))
            q[static_cast<size_t>(i - bits) / 32] |= 1u << ((i - bits) % 32);
    const bool metade = bits > 0 && bit(n, bits - 1);
    if (metade && (algumBitAbaixo(n, bits - 1) || (q[0] & 1u))) {
        // The quotient is below n, so the carry stops within its limbs.
        for (uint32_t& limb : q)
            if (++limb != 0)
                break;
    }
    return q;
}

bool zero(const Natural& n) {
    for (uint32_t limb : n)
        if (limb)
            return false;
    return true;
}

// Decimal digits, most significant first ("0" for zero).
std::vector<char> digitos(Natural n) {
    std::vector<char> inverso;
    do {
        uint64_t resto = 0;
        for (size_t i = n.size(); i-- > 0;) {
            const uint64_t atual = (resto << 32) | n[i];
            n[i] = static_cast<uint32_t>(atual / 10);
            resto = atual % 10;
        }
        inverso.push_back(static_cast<char>('0' + resto));
    } while (!zero(n));
    return {inverso.rbegin(), inverso.rend()};
}
} // namespace

char* escreverDecimalFixo4(char* p, double v) {
    const uint64_t bits = converterBits<uint64_t>(v);
    if (bits >> 63)
        *p++ = '-';
    const int expoente = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fracao = bits & ((uint64_t{1} << 52) - 1);
    if (expoente == 0x7FF) {
        const char* texto = fracao ? "nan" : "inf";
        std::memcpy(p, texto, 3);
        return p + 3;
    }
    // |v| = mantissa * 2^e; the text is round(|v| * 10^4) with a point before the last four digits.
    const uint64_t mantissa = expoente == 0 ? fracao : fracao | (uint64_t{1} << 52);
    const int e = expoente == 0 ? -1074 : expoente - 1075;
    Natural n{static_cast<uint32_t>(mantissa), static_cast<uint32_t>(mantissa >> 32)};
    multiplicar(n, 10000);
    n = e >= 0 ? deslocar(n, e) : dividirArredondando(n, -e);
    std::vector<char> d = digitos(n);
    if (d.size() < 5)
        d.insert(d.begin(), 5 - d.size(), '0');
    const size_t inteiros = d.size() - 4;
    std::memcpy(p, d.data(), inteiros);
    p += inteiros;
    *p++ = '.';
    std::memcpy(p, d.data() + inteiros, 4);
    return p + 4;
}

} // namespace keldo::io
