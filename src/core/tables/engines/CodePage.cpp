// SPDX-License-Identifier: MIT
#include "tables/engines/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "text/Cp1252.h"

namespace pagloom {

namespace {
bool IsCp1252Name(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    return name.empty() || name == "CP1252" || name == "WINDOWS-1252" || name == "MS-ANSI";
}
}  // namespace

CodePageConverter::CodePageConverter(std::string from) {
    if (IsCp1252Name(from)) return;
    iconv_t cd = iconv_open("UTF-8", from.c_str());
    if (cd != reinterpret_cast<iconv_t>(-1)) cd_ = cd;
}

CodePageConverter::~CodePageConverter() {
    if (cd_) iconv_close(static_cast<iconv_t>(cd_));
}

std::string CodePageConverter::ToCp1252(std::string_view text) const {
    if (!cd_ || std::all_of(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(text);
    iconv_t cd = static_cast<iconv_t>(cd_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string utf8(text.size() * 4 + 8, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* out = utf8.data();
    size_t outLeft = utf8.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) break;  // cannot happen with four output bytes per input byte
        // A byte the code page does not define: keep a placeholder and go on.
        if (outLeft == 0) break;
        *out++ = '?';
        --outLeft;
        ++in;
        --inLeft;
    }
    utf8.resize(utf8.size() - outLeft);
    return Utf8ToCp1252(utf8);
}

std::string DbfLanguageDriverCodePage(unsigned char ldid) {
    switch (ldid) {
        case 0x01:
            return "CP437";
        case 0x02:
            return "CP850";
        case 0x04:
            return "MACINTOSH";
        case 0x08:
            return "CP865";
        case 0x09:
            return "CP437";
        case 0x0A:
            return "CP850";
        case 0x0B:
            return "CP437";
        case 0x0D:
            return "CP437";
        case 0x0E:
            return "CP850";
        case 0x0F:
            return "CP437";
        case 0x10:
            return "CP850";
        case 0x11:
            return "CP437";
        case 0x12:
            return "CP850";
        case 0x13:
            return "CP932";
        case 0x14:
            return "CP850";
        case 0x15:
            return "CP437";
        case 0x16:
            return "CP850";
        case 0x17:
            return "CP865";
        case 0x18:
            return "CP437";
        case 0x19:
            return "CP437";
        case 0x1A:
            return "CP850";
        case 0x1B:
            return "CP437";
        case 0x1C:
            return "CP863";
        case 0x1D:
            return "CP850";
        case 0x1F:
            return "CP852";
        case 0x22:
            return "CP852";
        case 0x23:
            return "CP852";
        case 0x24:
            return "CP860";
        case 0x25:
            return "CP850";
        case 0x26:
            return "CP866";
        case 0x37:
            return "CP850";
        case 0x40:
            return "CP852";
        case 0x4D:
            return "CP936";
        case 0x4E:
            return "CP949";
        case 0x4F:
            return "CP950";
        case 0x50:
            return "CP874";
        case 0x64:
            return "CP852";
        case 0x65:
            return "CP866";
        case 0x66:
            return "CP865";
        case 0x67:
            return "CP861";
        case 0x6A:
            return "CP737";
        case 0x6B:
            return "CP857";
        case 0x78:
            return "CP950";
        case 0x79:
            return "CP949";
        case 0x7A:
            return "CP936";
        case 0x7B:
            return "CP932";
        case 0x7C:
            return "CP874";
        case 0x7D:
            return "CP1255";
        case 0x7E:
            return "CP1256";
        case 0x96:
            return "MAC-CYRILLIC";
        case 0x97:
            return "MAC-CENTRALEUROPE";
        case 0x98:
            return "MACGREEK";
        case 0xC8:
            return "CP1250";
        case 0xC9:
            return "CP1251";
        case 0xCA:
            return "CP1254";
        case 0xCB:
            return "CP1253";
        case 0xCC:
            return "CP1257";
        default:
            return "";  // 0x00 none declared, 0x03/0x57/0x58/0x59 Windows ANSI
    }
}

}  // namespace pagloom
