#pragma once
#include <string>

namespace keldo::io {

// Windows-1252 <-> UTF-8, for the texts stored in project files and written
// to trace files. The five bytes with no character in Windows-1252 map to the
// C1 controls of the same value, so every byte comes back unchanged;
// characters outside the code page (and broken UTF-8) map to '?'.
std::string cp1252ParaUtf8(const std::string& texto);
std::string utf8ParaCp1252(const std::string& texto);

} // namespace keldo::io
