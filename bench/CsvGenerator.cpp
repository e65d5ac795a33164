#include "CsvGenerator.h"

#include <cstdint>
#include <cstdio>
#include <iterator>

namespace {

// splitmix64: tiny, and the same numbers everywhere (the standard
// distributions are not).
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }
    template <std::size_t N>
    const char* Pick(const char* const (&choices)[N]) {
        return choices[Below(N)];
    }

private:
    std::uint64_t m_state;
};

const char* const kLatinFirst[] = {"Anna", "Jürgen", "José", "Chloé", "Björn",    "Zoë",
                                   "Liam", "Mia",    "Noah", "Åsa",   "François", "Olivia"};
const char* const kLatinLast[] = {"Müller", "García",  "Smith", "Dubois",   "Øster", "Núñez",
                                  "Rossi",  "O'Brien", "Nowak", "Schröder", "Brown", "Lefèvre"};
const char* const kLatinCity[] = {"Zürich",    "São Paulo", "Kraków",   "Paris",
                                  "Reykjavík", "London",    "Málaga",   "Oslo",
                                  "Köln",      "New York",  "Montréal", "Lyon"};
// Shift_JIS: 山田, 佐藤, 鈴木, 田中 / 太郎, 花子, 健 / 東京, 大阪, 札幌, 那覇
const char* const kJapaneseFirst[] = {"\x91\xBE\x98\x59", "\x89\xD4\x8E\x71", "\x8C\x92"};
const char* const kJapaneseLast[] = {"\x8E\x52\x93\x63", "\x8D\xB2\x93\xA1", "\x97\xE9\x96\xD8",
                                     "\x93\x63\x92\x86"};
const char* const kJapaneseCity[] = {"\x93\x8C\x8B\x9E", "\x91\xE5\x8D\xE3", "\x8E\x44\x96\x79",
                                     "\x93\xDF\x94\x65"};
const char* const kNotes[] = {
    "",    "ok",           "call back, after 5pm",     "said \"\"fine\"\"",
    "n/a", "paid in full", "\"\"urgent\"\", see mail", "box 4, shelf 2"};
const char* const kStatus[] = {"active", "closed", "pending", ""};

// Code page 1252 has the accented letters as single bytes; the tables above are UTF-8.
void AppendAsCodePage1252(std::string& out, const char* text) {
    for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p >= 0xC0 && p[1] != 0) {
            out += static_cast<char>(((*p & 0x1F) << 6) | (p[1] & 0x3F));
            ++p;
        } else {
            out += static_cast<char>(*p);
        }
    }
}

void AppendRow(std::string& out, Random& random, CsvText text, std::uint64_t id) {
    const bool latin = text == CsvText::Latin;
    auto appendText = [&](const char* value) {
        if (latin) {
            AppendAsCodePage1252(out, value);
        } else {
            out += value;
        }
    };
    char number[64];
    std::snprintf(number, sizeof number, "%llu,", static_cast<unsigned long long>(id));
    out += number;
    out += '"';
    appendText(latin ? random.Pick(kLatinLast) : random.Pick(kJapaneseLast));
    out += ", ";
    appendText(latin ? random.Pick(kLatinFirst) : random.Pick(kJapaneseFirst));
    out += "\",";
    const char* city = latin ? random.Pick(kLatinCity) : random.Pick(kJapaneseCity);
    if (random.Below(2) == 0) {
        appendText(city);
    } else {
        out += '"';
        appendText(city);
        out += '"';
    }
    std::snprintf(number, sizeof number, ",20%02zu-%02zu-%02zu,%zu.%02zu,", 10 + random.Below(16),
                  1 + random.Below(12), 1 + random.Below(28), random.Below(100000),
                  random.Below(100));
    out += number;
    if (random.Below(3) != 0) {  // an empty field now and then
        std::snprintf(number, sizeof number, "%llu",
                      static_cast<unsigned long long>(random.Next() % 1000000007ull));
        out += number;
    }
    out += ",\"";
    out += random.Pick(kNotes);
    out += "\",";
    out += random.Pick(kStatus);
    out += "\r\n";
}

}  // namespace

std::string GenerateCsv(std::size_t size, CsvText text, unsigned long long seed) {
    Random random(seed);
    std::string csv = "id,name,city,date,amount,reference,note,status\r\n";
    csv.reserve(size + 256);
    for (std::uint64_t id = 1; csv.size() < size; ++id) AppendRow(csv, random, text, id);
    csv.resize(size);
    return csv;
}
