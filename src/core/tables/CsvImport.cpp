// SPDX-License-Identifier: MIT
#include "tables/CsvImport.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "io/FileSystem.h"
#include "ports/Host.h"
#include "tables/TableError.h"
#include "tables/TextFold.h"
#include "text/Cp1252.h"

namespace pagloom {

const char* const kCsvNoRecords = "Fehler: Keine Datens\xE4tze vorhanden!";
const char* const kCsvFieldCountsDiffer =
    "Fehler: Die Datens\xE4tze enthalten unterschiedlich viele Datenfelder!";
const char* const kCsvImportFailed = "Fehler beim Importieren der Datens\xE4tze!";

namespace {

inline bool IsBlank(unsigned char c) { return c >= 1 && c <= 32; }

// Bytes that end an unquoted value: the blanks and the separator.
struct StopBytes {
    explicit StopBytes(char sep) {
        for (int c = 1; c <= 32; ++c) stop[c] = true;
        stop[static_cast<unsigned char>(sep)] = true;
    }
    bool stop[256] = {};
};

// Splits `line` and hands each value to `sink` (Bytes/Byte pieces, then End). Values are
// written straight into the sink so an import copies each byte once and allocates nothing
// per value. Returns the number of values.
template <class Sink>
size_t SplitInto(std::string_view line, char sep, char quote, const StopBytes& stops,
                 bool blanksInValues, Sink& sink) {
    const char* p = line.data();
    const size_t n = line.size();
    size_t i = 0;
    size_t count = 0;
    auto skipBlanks = [&] {
        while (i < n && IsBlank(static_cast<unsigned char>(p[i]))) ++i;
    };
    skipBlanks();
    while (i < n) {
        if (p[i] == quote) {
            const size_t rawStart = ++i;
            size_t written = 0;
            bool closed = false;
            while (i < n) {
                const void* hit = std::memchr(p + i, quote, n - i);
                if (!hit) {
                    sink.Bytes(std::string_view(p + i, n - i));
                    written += n - i;
                    i = n;
                    break;
                }
                const size_t j = static_cast<const char*>(hit) - p;
                sink.Bytes(std::string_view(p + i, j - i));
                written += j - i;
                if (j + 1 < n && p[j + 1] == quote) {
                    sink.Byte(quote);
                    ++written;
                    i = j + 2;
                } else {
                    i = j + 1;
                    closed = true;
                    break;
                }
            }
            // Without a closing quote the line's last byte is taken for the lost quote.
            if (!closed) sink.DropLast(n - rawStart < 2 ? written : std::min<size_t>(written, 1));
        } else if (blanksInValues) {
            const size_t start = i;
            const void* hit = std::memchr(p + i, sep, n - i);
            i = hit ? static_cast<size_t>(static_cast<const char*>(hit) - p) : n;
            size_t end = i;
            while (end > start && IsBlank(static_cast<unsigned char>(p[end - 1]))) --end;
            sink.Bytes(std::string_view(p + start, end - start));
        } else {
            const size_t start = i;
            while (i < n && !stops.stop[static_cast<unsigned char>(p[i])]) ++i;
            sink.Bytes(std::string_view(p + start, i - start));
        }
        sink.End();
        ++count;
        skipBlanks();
        if (i < n && p[i] == sep) {
            if (i == n - 1) {
                sink.End();
                ++count;
            }
            ++i;
            skipBlanks();
        }
    }
    return count;
}

struct VectorSink {
    std::vector<std::string>& out;
    std::string cur;
    void Bytes(std::string_view b) { cur.append(b); }
    void Byte(char c) { cur.push_back(c); }
    void DropLast(size_t k) { cur.resize(cur.size() - std::min(k, cur.size())); }
    void End() {
        out.push_back(std::move(cur));
        cur.clear();
    }
};

// Writes values into the file's own buffer, in front of the byte being read: a value is never
// longer than its text in the file (quotes and separators are dropped, doubled quotes become
// one), so the import needs no second copy of a large file.
struct InPlaceSink {
    char* buf;
    size_t w = 0;      // end of the values written so far
    size_t start = 0;  // start of the value being written
    std::vector<size_t>& ends;
    void Bytes(std::string_view b) {
        std::memmove(buf + w, b.data(), b.size());
        w += b.size();
    }
    void Byte(char c) { buf[w++] = c; }
    void DropLast(size_t k) { w -= std::min(k, w - start); }
    void End() {
        ends.push_back(w);
        start = w;
    }
};

// The lines of a text one after the other, cut as SplitCsvLines cuts them.
class LineCursor {
  public:
    explicit LineCursor(std::string_view text)
        : text_(text), nextLf_(Find('\n', 0)), nextCr_(Find('\r', 0)) {}
    bool Next(std::string_view& line) {
        const size_t n = text_.size();
        if (pos_ >= n) return false;
        const char* p = text_.data();
        if (nextLf_ < pos_) nextLf_ = Find('\n', pos_);
        if (nextCr_ < pos_) nextCr_ = Find('\r', pos_);
        const size_t end = std::min(nextLf_, nextCr_);
        line = text_.substr(pos_, end - pos_);
        pos_ = end == n ? n : end + ((p[end] == '\r' && end + 1 < n && p[end + 1] == '\n') ? 2 : 1);
        return true;
    }

  private:
    size_t Find(char c, size_t from) const {
        const void* hit = std::memchr(text_.data() + from, c, text_.size() - from);
        return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text_.data())
                   : text_.size();
    }
    std::string_view text_;
    size_t pos_ = 0;
    size_t nextLf_, nextCr_;
};

std::string_view CutAtNul(std::string_view text) {
    if (const void* nul = std::memchr(text.data(), '\0', text.size()))
        text = text.substr(0, static_cast<const char*>(nul) - text.data());
    return text;
}

// The number (from 1) of the line that holds byte `at`, counted with SplitCsvLines' breaks.
size_t LineNumberAt(std::string_view text, size_t at) {
    size_t line = 1;
    for (size_t i = 0; i < at; ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string Hex(unsigned value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    while (digits-- > 0 || value > 0) {
        out.insert(out.begin(), kDigits[value & 0xF]);
        value >>= 4;
    }
    return out;
}

}  // namespace

std::vector<std::string_view> SplitCsvLines(std::string_view text) {
    std::vector<std::string_view> lines;
    LineCursor cursor(CutAtNul(text));
    for (std::string_view line; cursor.Next(line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> SplitDelimitedLine(std::string_view line, char sep, char quote,
                                            bool blanksInValues) {
    std::vector<std::string> out;
    VectorSink sink{out, {}};
    SplitInto(line, sep, quote, StopBytes(sep), blanksInValues, sink);
    return out;
}

bool IsUtf8CsvText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return true;
    bool multiByte = false;
    for (size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const Utf8Char c = DecodeUtf8(bytes, i);
        if (c.length == 0) return false;
        multiByte = true;
        i += c.length;
    }
    return multiByte;
}

bool Utf8CsvTextToCp1252(std::string& text, std::string& problem) {
    // Converted in place: no Windows-1252 text is longer than its UTF-8 form, and the line
    // breaks written so far stand where they stood, so they still give the line's number.
    size_t i = text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    size_t w = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            text[w++] = static_cast<char>(c);
            ++i;
            continue;
        }
        const Utf8Char u = DecodeUtf8(text, i);
        const size_t line = LineNumberAt(std::string_view(text.data(), w), w);
        if (u.length == 0) {
            problem = "Zeile " + std::to_string(line) + " enth\xE4lt das Byte 0x" + Hex(c, 2) +
                      ", das so in UTF-8 nicht stehen kann.";
            return false;
        }
        const int b = u.cp == 0xFFFD ? '?' : CodePointToCp1252(u.cp);
        if (b < 0) {
            problem = "Zeile " + std::to_string(line) + " enth\xE4lt das Zeichen U+" +
                      Hex(static_cast<unsigned>(u.cp), 4) + ", das es in Windows-1252 nicht gibt.";
            return false;
        }
        text[w++] = static_cast<char>(b);
        i += u.length;
    }
    text.resize(w);
    return true;
}

std::optional<CsvUnevenLine> FirstUnevenCsvLine(std::string_view text, char sep, char quote,
                                                bool hasCaptionRow, bool blanksInValues) {
    LineCursor lines(CutAtNul(text));
    std::string_view line;
    size_t number = 0;
    if (hasCaptionRow && lines.Next(line)) ++number;
    if (!lines.Next(line)) return std::nullopt;
    ++number;
    const StopBytes stops(sep);
    struct CountingSink {
        void Bytes(std::string_view) {}
        void Byte(char) {}
        void DropLast(size_t) {}
        void End() {}
    } sink;
    const size_t expected = SplitInto(line, sep, quote, stops, blanksInValues, sink);
    while (lines.Next(line)) {
        ++number;
        const size_t fields = SplitInto(line, sep, quote, stops, blanksInValues, sink);
        if (fields != expected) return CsvUnevenLine{number, fields, expected};
    }
    return std::nullopt;
}

namespace {

bool ImportCsv(FileSystem& fs, Host& host, const std::string& path, char sep, char quote,
               bool hasCaptionRow, bool blanksInValues, MemoryTable& table,
               ReadProgress* progress) {
    std::string text;
    if (!fs.ReadAll(path, text))
        throw TableError("Die Datei " + path + " kann nicht gelesen werden!");
    if (IsUtf8CsvText(text)) {
        std::string problem;
        if (!Utf8CsvTextToCp1252(text, problem)) {
            host.ShowMessage(
                "Die Datei " + path +
                " ist UTF-8-Text, der sich nicht in Windows-1252 umwandeln l\xE4sst: " + problem +
                " Sie wird nicht eingelesen.");
            return false;
        }
    }
    // A NUL ends the text, but data behind it would be lost without a word: such a file is
    // refused, naming the line; NUL padding at the end (old exports) is still just cut off.
    const size_t nul = CutAtNul(text).size();
    if (nul < text.size()) {
        const size_t after = text.find_first_not_of(std::string_view("\0 \t\r\n", 5), nul);
        if (after != std::string::npos) {
            size_t line = 1;
            for (size_t i = 0; i < nul; ++i)
                if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= nul || text[i + 1] != '\n')))
                    ++line;
            host.ShowMessage("Die Datei " + path + " enth\xE4lt in Zeile " + std::to_string(line) +
                             " ein NUL-Zeichen, hinter dem weitere Daten stehen; sie wird nicht "
                             "eingelesen.");
            return false;
        }
    }
    text.resize(nul);
    if (progress) progress->Start(text.size());
    LineCursor lines(text);
    std::string_view captionLine, line;
    if ((hasCaptionRow && !lines.Next(captionLine)) || !lines.Next(line)) {
        host.ShowMessage(kCsvNoRecords);
        return false;
    }
    // Captions are split first: the values below overwrite the start of the buffer.
    std::vector<std::string> names;
    if (hasCaptionRow) names = SplitDelimitedLine(captionLine, sep, quote, blanksInValues);

    // Each line is split once, straight into the buffer; the old table is only replaced when
    // everything succeeded.
    const StopBytes stops(sep);
    std::vector<size_t> ends;
    InPlaceSink sink{text.data(), 0, 0, ends};
    const size_t fields = SplitInto(line, sep, quote, stops, blanksInValues, sink);
    ends.reserve(fields * (text.size() / (line.size() + 1) + 1) * 11 / 10 + 16);
    for (size_t count = 1; lines.Next(line); ++count) {
        if (SplitInto(line, sep, quote, stops, blanksInValues, sink) != fields) {
            host.ShowMessage(kCsvFieldCountsDiffer);
            return false;
        }
        // The text is split up to this line's end.
        if (progress && count % 8192 == 0)
            progress->Set(static_cast<size_t>(line.data() + line.size() - text.data()));
    }
    if (progress) progress->Set(text.size());

    bool namesOk = fields > 0;
    if (namesOk && hasCaptionRow) {
        if (names.size() < fields) namesOk = false;
        names.resize(std::min(names.size(), fields));
        std::unordered_set<std::string> seen;
        for (const auto& name : names)
            if (name.empty() || !seen.insert(FoldText1252(name)).second) namesOk = false;
    } else if (namesOk) {
        for (size_t i = 0; i < fields; ++i) names.push_back("Field" + std::to_string(i));
    }
    if (!namesOk) {
        table.Close();
        host.ShowMessage(kCsvImportFailed);
        return false;
    }

    std::vector<size_t> widths(fields, 1);
    for (size_t v = 0, begin = 0; v < ends.size(); begin = ends[v], ++v)
        widths[v % fields] = std::max(widths[v % fields], ends[v] - begin);
    text.resize(sink.w);
    RowStore rows;
    for (auto& name : names) rows.AddField(std::move(name));
    rows.Adopt(std::move(text), std::move(ends));
    table.Assign(std::move(rows), std::move(widths));
    return true;
}

}  // namespace

bool ImportCsvFile(FileSystem& fs, Host& host, const std::string& path, char sep, char quote,
                   bool hasCaptionRow, MemoryTable& table, bool blanksInValues,
                   ReadProgress* progress) {
    return ReadWithinMemory(path, [&] {
        return ImportCsv(fs, host, path, sep, quote, hasCaptionRow, blanksInValues, table,
                         progress);
    });
}

}  // namespace pagloom
