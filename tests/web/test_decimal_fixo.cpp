#include "io/Bits.h"
#include "io/DecimalFixo.h"
#include <charconv>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

using namespace keldo::io;

namespace {
std::string daBiblioteca(double v) {
    char texto[400];
    return {texto, std::to_chars(texto, texto + sizeof texto, v, std::chars_format::fixed, 4).ptr};
}

std::string doFallback(double v) {
    char texto[400];
    return {texto, escreverDecimalFixo4(texto, v)};
}

// Compares every value and stops at the first few differences.
void compararTodos(const std::vector<double>& valores) {
    int falhas = 0;
    for (double v : valores) {
        if (doFallback(v) != daBiblioteca(v)) {
            ADD_FAILURE() << "bits " << std::hex << converterBits<uint64_t>(v) << ": "
                          << doFallback(v) << " != " << daBiblioteca(v);
            if (++falhas == 5)
                return;
        }
    }
}
} // namespace

// The summary's four-decimal figures where the library has no floating-point
// to_chars: the same text as the library's over the whole range of doubles.
TEST(DecimalFixo, MesmoTextoQueToCharsNosCasosLimite) {
    std::vector<double> v = {0.0,
                             -0.0,
                             1.0,
                             -1.0,
                             0.5,
                             0.00005,
                             0.00015,
                             0.00025,
                             0.03125, // a tie on the exact binary value: half to even
                             0.09375,
                             1.00005,
                             2.5e-5,
                             7.5e-5,
                             0.99995,
                             9.99995,
                             99999.99995,
                             1099511627776.0,
                             1e22,
                             1e300,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::quiet_NaN()};
    // Every exact tie k/2^5 .. k/2^14 around the fourth decimal.
    for (int bits = 5; bits <= 14; ++bits)
        for (int k = 0; k < 64; ++k)
            v.push_back(std::ldexp(static_cast<double>(k), -bits));
    compararTodos(v);
}

TEST(DecimalFixo, MesmoTextoQueToCharsEmMilhoesDeValores) {
    std::mt19937_64 gerador(20261208);
    std::vector<double> v;
    v.reserve(3000000);
    // Any bit pattern: every exponent, subnormals, NaNs and infinities.
    for (int i = 0; i < 300000; ++i)
        v.push_back(converterBits<double>(gerador()));
    // Frequencies as the summary writes them: counts over counts, 0..1.
    std::uniform_int_distribution<uint32_t> contagem(0, 2000000);
    for (int i = 0; i < 1000000; ++i) {
        const uint32_t base = contagem(gerador) + 1;
        v.push_back(static_cast<double>(contagem(gerador) % (base + 1)) / base);
    }
    // Values near a tie of the fourth decimal, and numbers up to 2^60.
    std::uniform_real_distribution<double> perto(-1e-9, 1e-9);
    for (int i = 0; i < 500000; ++i)
        v.push_back((static_cast<double>(gerador() % 200000) + 0.5) / 10000.0 + perto(gerador));
    for (int i = 0; i < 500000; ++i)
        v.push_back(std::ldexp(static_cast<double>(gerador() >> 11),
                               static_cast<int>(gerador() % 120) - 60));
    compararTodos(v);
}
