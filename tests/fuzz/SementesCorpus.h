#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A project file as this program writes it, named for the corpus.
struct Semente {
    std::string nome;
    std::vector<uint8_t> bytes;
};

// Files the project writes, from fixed seeds: every obstacle level, defined
// populations with eggs, discrete generations, long texts, empty lists,
// extreme values. `grandes` adds the files whose counts and class indices
// need the long forms (megabytes each: replayed, kept out of the corpus).
std::vector<Semente> sementesDoCorpus(bool grandes);
