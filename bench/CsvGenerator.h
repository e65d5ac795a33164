#pragma once

#include <cstddef>
#include <string>

// Realistic comma-separated text for measuring the converter: quoted and bare
// fields, commas inside quotes, doubled quotes, empty fields, CR LF line ends
// and some bytes from 0x80 up. The same seed and size give the same bytes on
// every machine.
enum class CsvText {
    Latin,     // names and places in code page 1252
    Japanese,  // names and places in Shift_JIS (code page 932)
};

std::string GenerateCsv(std::size_t size, CsvText text, unsigned long long seed = 2026);
