// SPDX-License-Identifier: MIT
#include "text/TextConversions.h"

#include <array>

namespace pagloom {

std::string HtmlEscape(std::string_view text, bool keepTags) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    AppendHtmlEscaped(out, text, keepTags);
    return out;
}

void AppendHtmlEscaped(std::string& out, std::string_view text, bool keepTags) {
    // Bytes that stay as they are are copied in runs: a table build converts every value.
    size_t copied = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        const char* reference = nullptr;
        switch (b) {
            case ' ':
                // Browsers collapse blank runs; keeping the first as a real blank lets lines wrap.
                if (i > 0 && text[i - 1] == ' ') reference = "&nbsp;";
                break;
            case '"':
                reference = "&#34;";
                break;
            case '\'':
                reference = "&#39;";
                break;
            case '<':
                if (!keepTags) reference = "&#60;";
                break;
            case '>':
                if (!keepTags) reference = "&#62;";
                break;
            default:
                break;
        }
        if (!reference && b < 160) continue;
        out.append(text, copied, i - copied);
        copied = i + 1;
        if (reference) {
            out += reference;
        } else {
            const char number[] = {'&',
                                   '#',
                                   static_cast<char>('0' + b / 100),
                                   static_cast<char>('0' + b / 10 % 10),
                                   static_cast<char>('0' + b % 10),
                                   ';'};  // b is 160..255
            out.append(number, sizeof number);
        }
    }
    out.append(text, copied, std::string_view::npos);
}

char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (auto& c : out) c = ToLowerAscii(c);
    return out;
}

char ToLowerCp1252(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
    switch (b) {
        case 0x8A:
            return static_cast<char>(0x9A);  // Š
        case 0x8C:
            return static_cast<char>(0x9C);  // Œ
        case 0x8E:
            return static_cast<char>(0x9E);  // Ž
        case 0x9F:
            return static_cast<char>(0xFF);  // Ÿ
        default:
            return c;
    }
}

char ToUpperCp1252(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
    switch (b) {
        case 0x9A:
            return static_cast<char>(0x8A);
        case 0x9C:
            return static_cast<char>(0x8C);
        case 0x9E:
            return static_cast<char>(0x8E);
        case 0xFF:
            return static_cast<char>(0x9F);
        default:
            return c;
    }
}

std::string ToLowerCp1252(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = ToLowerCp1252(c);
    return out;
}

std::string MakeFileName(std::string_view text) {
    // Every replacement is one byte to a fixed text, and no replacement text contains a byte
    // that a later step replaces, so one pass gives the same result as the steps in turn.
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (static_cast<unsigned char>(c)) {
            case '/':
            case '\\':
            case '&':
            case '\'':
            case '"':
            case '<':
            case '>':
            case ' ':
                out += '_';
                break;
            case 0xE4:
            case 0xC4:
                out += "ae";
                break;  // ä Ä
            case 0xF6:
            case 0xD6:
                out += "oe";
                break;  // ö Ö
            case 0xFC:
            case 0xDC:
                out += "ue";
                break;  // ü Ü
            case 0xDF:
                out += "ss";
                break;  // ß
            default:
                out += c;
        }
    }
    return out;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string TrimBlanks(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    return std::string(text.substr(b, e - b));
}

}  // namespace pagloom
