#include "model/FoodX.h"
#include "io/CArchive.h"
#include "model/Ambiente.h"
#include "model/Random.h"
#include <cmath>

namespace keldo::model {

using namespace keldo::io;

FoodX::FoodX(int regiaoNova, Ambiente* documento) : doc(documento) {
    Random& rng = documento->gerador();
    const Ambiente::Parametros p = documento->parametrosModelo();
    // 32-bit wrapping arithmetic, so that no stored pair of values is undefined.
    const auto minimo = static_cast<uint32_t>(p.energiaMin);
    const auto faixa = static_cast<int32_t>(static_cast<uint32_t>(p.energiaMax) - minimo + 1u);
    valorEnergetico = static_cast<int16_t>(minimo + static_cast<uint32_t>(rng.randomInt(faixa)));
    do {
        if (regiaoNova == 1) {
            x = static_cast<float>(rng.randomInt(50));
            y = static_cast<float>(rng.randomInt(50));
        } else if (regiaoNova == 2) {
            x = static_cast<float>(rng.randomInt(51) + 50);
            y = static_cast<float>(rng.randomInt(51) + 50);
        } else {
            x = static_cast<float>(rng.randomInt(100));
            y = static_cast<float>(rng.randomInt(100));
        }
    } while (documento->pontoEmObstaculo(static_cast<int>(x), static_cast<int>(y)));
    regiao = static_cast<uint8_t>(regiaoNova);
    documento->registrar(*this);
}

void FoodX::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.escreverInt16(static_cast<int16_t>(std::trunc(x)));
        ar.escreverInt16(static_cast<int16_t>(std::trunc(y)));
        ar.escreverInt16(valorEnergetico);
        ar.escreverUInt8(regiao);
        return;
    }
    x = static_cast<float>(ar.lerInt16());
    y = static_cast<float>(ar.lerInt16());
    valorEnergetico = ar.lerInt16();
    regiao = ar.lerUInt8();
}

} // namespace keldo::model
