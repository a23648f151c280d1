#pragma once

// A unit heading in single precision. Its values are, bit for bit, the float
// roundings of the double-precision cos and sin of the heading's angle: the
// results every run has always had, produced here without the trigonometric
// calls wherever that is provably the same.
struct Rumo {
    float x = 0.0f;
    float y = 0.0f;

    // Toward (dx, dy), both non-zero: float(cos(a)), float(sin(a)) with a = atan2(dy, dx).
    static Rumo para(float dx, float dy);
    // A whole number of degrees, 0 to 359: float(cos(a)), float(sin(a)) with a = graus * pi / 180.
    static Rumo emGraus(int graus);

    // The libm expressions themselves (the reference for the above).
    static Rumo porAtan2(float dx, float dy);
    static Rumo porGraus(int graus);
    // The fast path of para(): false when it cannot be sure of the rounding.
    static bool semTrigonometria(float dx, float dy, Rumo& rumo);

    bool operator==(const Rumo&) const = default;
};
