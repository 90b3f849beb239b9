// SPDX-License-Identifier: MIT
#include "tables/CsvImport.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "io/FileSystem.h"
#include "ports/Host.h"
#include "tables/TableError.h"
#include "tables/TextFold.h"

namespace pagloom {

const char* const kCsvNoRecords = "Fehler: Keine Datens\xE4tze vorhanden!";
const char* const kCsvFieldCountsDiffer = "Fehler: Die Datens\xE4tze enthalten unterschiedlich viele Datenfelder!";
const char* const kCsvImportFailed = "Fehler beim Importieren der Datens\xE4tze!";

namespace {

inline bool IsBlank(unsigned char c) { return c >= 1 && c <= 32; }

// Splits `line` and hands each value to `sink` (Bytes/Byte pieces, then End). Values are
// written straight into the sink so an import copies each byte once and allocates nothing
// per value. Returns the number of values.
template <class Sink>
size_t SplitInto(std::string_view line, char sep, char quote, Sink& sink) {
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
        } else {
            const size_t start = i;
            while (i < n && !IsBlank(static_cast<unsigned char>(p[i])) && p[i] != sep) ++i;
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

struct StoreSink {
    RowStore& store;
    size_t pending = 0;  // bytes of the value being written
    void Bytes(std::string_view b) {
        store.AppendBytes(b);
        pending += b.size();
    }
    void Byte(char c) {
        store.AppendByte(c);
        ++pending;
    }
    void DropLast(size_t k) {
        k = std::min(k, pending);
        store.TrimOpenValue(k);
        pending -= k;
    }
    void End() {
        store.EndValue();
        pending = 0;
    }
};

}  // namespace

std::vector<std::string_view> SplitCsvLines(std::string_view text) {
    if (const void* nul = std::memchr(text.data(), '\0', text.size()))
        text = text.substr(0, static_cast<const char*>(nul) - text.data());
    std::vector<std::string_view> lines;
    const char* p = text.data();
    const size_t n = text.size();
    size_t i = 0;
    // Two cached searches, so each byte is looked at by memchr only once per kind of break.
    size_t nextLf = 0, nextCr = 0;
    auto find = [&](char c, size_t from) {
        const void* hit = from < n ? std::memchr(p + from, c, n - from) : nullptr;
        return hit ? static_cast<size_t>(static_cast<const char*>(hit) - p) : n;
    };
    nextLf = find('\n', 0);
    nextCr = find('\r', 0);
    while (i < n) {
        if (nextLf < i) nextLf = find('\n', i);
        if (nextCr < i) nextCr = find('\r', i);
        const size_t end = std::min(nextLf, nextCr);
        lines.emplace_back(p + i, end - i);
        if (end == n) break;
        i = end + ((p[end] == '\r' && end + 1 < n && p[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

std::vector<std::string> SplitDelimitedLine(std::string_view line, char sep, char quote) {
    std::vector<std::string> out;
    VectorSink sink{out, {}};
    SplitInto(line, sep, quote, sink);
    return out;
}

bool ImportCsvFile(Host& host, const std::string& path, char sep, char quote, bool hasCaptionRow,
                   MemoryTable& table) {
    std::string text;
    if (!Fs().ReadAll(path, text)) throw TableError("Die Datei " + path + " kann nicht gelesen werden!");
    const std::vector<std::string_view> lines = SplitCsvLines(text);
    const size_t first = hasCaptionRow ? 1 : 0;
    if (lines.size() <= first) {
        host.ShowMessage(kCsvNoRecords);
        return false;
    }

    // Each line is split once, straight into the new table's buffer; the old table is only
    // replaced when everything succeeded.
    RowStore rows;
    rows.Reserve(text.size(), 0);
    StoreSink sink{rows};
    const size_t fields = SplitInto(lines[first], sep, quote, sink);
    for (size_t l = first + 1; l < lines.size(); ++l) {
        if (SplitInto(lines[l], sep, quote, sink) != fields) {
            host.ShowMessage(kCsvFieldCountsDiffer);
            return false;
        }
    }

    std::vector<std::string> names;
    bool namesOk = fields > 0;
    if (namesOk && hasCaptionRow) {
        names = SplitDelimitedLine(lines[0], sep, quote);
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
    for (auto& name : names) rows.AddField(std::move(name));

    std::vector<size_t> widths(fields, 1);
    const size_t count = rows.RowCount();
    for (size_t r = 0; r < count; ++r)
        for (size_t f = 0; f < fields; ++f) widths[f] = std::max(widths[f], rows.Value(r, f).size());
    table.Assign(std::move(rows), std::move(widths));
    return true;
}

}  // namespace pagloom
