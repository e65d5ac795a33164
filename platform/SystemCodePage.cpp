#include "SystemCodePage.h"

#include <algorithm>
#include <cctype>
#include <string>

unsigned CodePageOfCharset(std::string_view localeOrCharset) {
    // "ja_JP.SJIS@euro" names its character set between the dot and the at sign.
    std::string_view charset = localeOrCharset;
    if (const auto dot = charset.find('.'); dot != std::string_view::npos)
        charset.remove_prefix(dot + 1);
    if (const auto at = charset.find('@'); at != std::string_view::npos)
        charset = charset.substr(0, at);

    std::string name;
    for (char c : charset) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    struct Alias {
        const char* name;
        unsigned codePage;
    };
    static constexpr Alias kAliases[] = {
        {"SJIS", 932},  {"SHIFTJIS", 932}, {"CP932", 932}, {"MS932", 932}, {"WINDOWS31J", 932},
        {"GBK", 936},   {"GB2312", 936},   {"CP936", 936}, {"EUCCN", 936}, {"EUCKR", 949},
        {"CP949", 949}, {"UHC", 949},      {"BIG5", 950},  {"CP950", 950}, {"BIG5HKSCS", 950},
    };
    const auto match = std::find_if(std::begin(kAliases), std::end(kAliases),
                                    [&](const Alias& alias) { return name == alias.name; });
    return match == std::end(kAliases) ? 0 : match->codePage;
}
