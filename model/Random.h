#pragma once
#include <cstdint>

namespace keldo::model {

// The simulation's one source of random numbers: a linear congruential
// generator whose outputs are bits 16..30 of the state. Every world owns one,
// so that two documents in a process never disturb each other's draws.
class Random {
  public:
    explicit Random(uint32_t semente = 1) : estado(semente) {}

    void semear(uint32_t semente) { estado = semente; }
    uint32_t estadoAtual() const { return estado; }

    // Next raw value, 0..32767.
    int proximo() {
        estado = estado * 214013u + 2531011u;
        return static_cast<int>((estado >> 16) & 0x7FFF);
    }

    // 0..n-1; n = 0 gives -1 and draws nothing. A negative n takes the
    // remainder with C++ semantics (the draw is still made).
    int randomInt(int n) {
        if (n == 0)
            return -1;
        return proximo() % n;
    }

  private:
    uint32_t estado;
};

} // namespace keldo::model
