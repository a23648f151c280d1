#pragma once

namespace keldo::io {

// `v` in fixed notation with four decimals, exactly as
// std::to_chars(p, fim, v, std::chars_format::fixed, 4) writes it (the exact
// binary value rounded half to even; "-0.0000", "nan", "-inf"...), for
// standard libraries without floating-point to_chars. Room for 320
// characters is needed; returns the end of the text written.
char* escreverDecimalFixo4(char* p, double v);

} // namespace keldo::io
