// SPDX-License-Identifier: MIT
#include "tables/engines/ParadoxReader.h"

// pxlib declares its functions without C linkage for C++.
extern "C" {
#include <paradox.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "io/FileSystem.h"
#include "tables/TableError.h"
#include "tables/engines/CodePage.h"

namespace pagloom {

namespace {

// The length of the field types whose values have a fixed size; 0 for the others.
int FixedLength(int type) {
    switch (type) {
        case pxfLogical:
            return 1;
        case pxfShort:
            return 2;
        case pxfLong:
        case pxfAutoInc:
        case pxfDate:
        case pxfTime:
            return 4;
        case pxfNumber:
        case pxfCurrency:
        case pxfTimestamp:
            return 8;
        default:
            return 0;
    }
}

// pxlib reports errors through a callback; keep the first one for the message.
void CollectError(pxdoc_t*, int level, const char* msg, void* data) {
    auto* error = static_cast<std::string*>(data);
    if (level != PX_Warning && error->empty() && msg) *error = msg;
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

constexpr long kSdnOfDayZero = 1721425;  // Paradox counts days from 1 January of year 1

std::string DateText(long days) {
    int y, m, d;
    PX_SdnToGregorian(days + kSdnOfDayZero, &y, &m, &d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

std::string TimeText(long ms) {
    const long s = (ms + 500) / 1000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", s / 3600 % 24, s / 60 % 60, s % 60);
    return buf;
}

std::string ShortestNumber(double v) {
    char buf[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, v);
        if (std::strtod(buf, nullptr) == v) break;
    }
    // Plain decimals read better in a page than exponents for ordinary magnitudes.
    if (std::strchr(buf, 'e') && std::fabs(v) < 1e15 && std::fabs(v) >= 1e-6) {
        std::snprintf(buf, sizeof buf, "%.6f", v);
        std::string s = buf;
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
        return s;
    }
    return buf;
}

// pxlib follows the chain of data blocks from the header without guarding against loops or
// chains longer than the header's block count: a damaged table whose blocks point back at each
// other keeps it reading, and filling its block list past its end, forever. Checked first.
bool BlockChainIsSound(std::string_view b) {
    if (b.size() < 0x12) return true;  // too short to hold a chain; pxlib refuses it itself
    auto u16 = [&](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(b[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(b[at + 1])) << 8;
    };
    const unsigned headerSize = u16(0x02);
    const size_t blockSize = static_cast<size_t>(static_cast<unsigned char>(b[0x05])) * 1024;
    const unsigned fileBlocks = u16(0x0C);
    std::vector<bool> seen(fileBlocks + 1);
    for (unsigned n = u16(0x0E); n != 0;) {
        if (n > fileBlocks || seen[n]) return false;
        seen[n] = true;
        const size_t at = headerSize + (n - 1) * blockSize;
        if (at + 2 > b.size()) return true;  // a missing block is reported by pxlib
        n = u16(at);
    }
    return true;
}

// pxlib takes the header's field count as it stands: it makes room for that many fields and
// reads each one's description from the stream, however short the file. The descriptions (two
// bytes each, from offset 0x58 at the earliest) lie inside the header, and the header inside the
// file; a count beyond that is refused first, with the reason in `error`.
bool HeaderFitsTheFile(std::string_view b, std::string& error) {
    if (b.size() < 0x23) return true;  // too short for a header; pxlib refuses it itself
    auto u16 = [&](size_t at) {
        return static_cast<size_t>(static_cast<unsigned char>(b[at])) |
               static_cast<size_t>(static_cast<unsigned char>(b[at + 1])) << 8;
    };
    const size_t headerSize = u16(0x02), fields = u16(0x21);
    if (headerSize > b.size()) {
        error = "der Kopf ist mit " + std::to_string(headerSize) + " Bytes l\xE4nger als die Datei";
        return false;
    }
    if (0x58 + 2 * fields > headerSize) {
        error = "der Kopf nennt " + std::to_string(fields) + " Felder, er fasst so viele nicht";
        return false;
    }
    return true;
}

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};

class ParadoxFile {
  public:
    ParadoxFile(FileSystem& fs, const std::string& path, ReadProgress* progress)
        : fs_(fs), progress_(progress), path_(path), name_(FileNameOf(path)) {}
    ~ParadoxFile() {
        if (px_) {
            PX_close(px_);
            PX_delete(px_);
        }
    }

    void Read(RowStore& store) {
        if (!fs_.ReadAll(path_, bytes_))
            throw TableError("Die Datei " + path_ + " kann nicht gelesen werden!");
        // pxlib reads from a stream; a stream over our copy keeps all file access in fs_.
        fp_.reset(fmemopen(bytes_.data(), bytes_.size(), "rb"));
        if (bytes_.empty() || !fp_ || !BlockChainIsSound(bytes_) ||
            !HeaderFitsTheFile(bytes_, error_))
            Fail();
        px_ = PX_new3(CollectError, nullptr, nullptr, nullptr, &error_);
        if (!px_) Fail();
        if (PX_open_fp(px_, fp_.get()) < 0) {
            // pxlib frees its block index when a data block head is damaged but keeps the
            // pointer, so closing the document would free it a second time.
            px_->px_indexdata = nullptr;
            px_->px_indexdatalen = 0;
            Fail();
        }
        OpenMemo();
        const int fields = PX_get_num_fields(px_);
        pxfield_t* f = PX_get_fields(px_);
        if (fields <= 0 || !f) Fail();
        const pxhead_t* head = px_->px_head;
        CodePageConverter cp(
            head && head->px_doscodepage > 0 ? "CP" + std::to_string(head->px_doscodepage) : "");
        for (int i = 0; i < fields; ++i)
            store.AddField(cp.ToCp1252(f[i].px_fname ? f[i].px_fname : ""));

        // A damaged header may describe fields that do not fit the record, and pxlib reads each
        // field by its type's size whatever length is stored: check the layout, and keep zero
        // bytes behind the record so such reads stay inside the buffer.
        const int recordSize = PX_get_recordsize(px_);
        long layout = 0;
        for (int i = 0; i < fields; ++i) {
            if (f[i].px_flen < 0) Fail();
            // No Paradox type takes no bytes. Such fields would each cost a value per record
            // while the record grows by nothing, so a small file could ask for gigabytes.
            if (f[i].px_flen == 0) {
                error_ =
                    "das Feld " + store.FieldName(static_cast<size_t>(i)) + " hat die L\xE4nge 0";
                Fail();
            }
            // pxlib copies a number's bytes into a buffer of its type's size: a stored length
            // that differs would write past it.
            const int fixed = FixedLength(f[i].px_ftype);
            if (fixed > 0 && f[i].px_flen != fixed) {
                error_ = "das Feld " + store.FieldName(static_cast<size_t>(i)) +
                         " hat die L\xE4nge " + std::to_string(f[i].px_flen) +
                         ", sein Typ verlangt " + std::to_string(fixed);
                Fail();
            }
            layout += f[i].px_flen;
        }
        if (recordSize <= 0 || layout > recordSize) Fail();
        std::vector<char> record(static_cast<size_t>(recordSize) + 32);
        // A header that claims fewer than no records, or more than the file can hold, does not
        // describe this file: read as it stands it would give an empty (or a cut) table.
        const int records = PX_get_num_records(px_);
        if (records < 0 || static_cast<unsigned long long>(records) * recordSize > bytes_.size()) {
            error_ = "der Kopf nennt " + std::to_string(records) +
                     " S\xE4tze, die Datei fasst so viele nicht";
            Fail();
        }
        MarkBlobStarts(records, fields, f, record);
        // A blob that many records point at is read and held once: the first value holding
        // it, by where it lies and how long it is.
        std::unordered_map<std::string, size_t> blobValues;
        if (progress_) progress_->Start(static_cast<uint64_t>(records));
        for (int r = 0; r < records; ++r) {
            if (progress_ && r % 8192 == 0) progress_->Set(static_cast<uint64_t>(r));
            int deleted = 0;
            if (!GetRecord(r, record, deleted)) Fail();
            if (deleted) continue;
            char* data = record.data();
            for (int i = 0; i < fields; ++i) {
                const std::optional<BlobPointer> blob = StoredBlob(f[i], data);
                if (blob) {
                    const auto [at, fresh] =
                        blobValues.try_emplace(std::string(blob->bytes), store.ValueCount());
                    if (!fresh) {
                        store.AppendRepeat(at->second);
                        data += f[i].px_flen;
                        continue;
                    }
                }
                store.AppendValue(Value(f[i], data, cp));
                data += f[i].px_flen;
            }
        }
        if (progress_) progress_->Set(static_cast<uint64_t>(records));
    }

  private:
    // The pointer that closes a blob field: where its blob lies in the memo file (a block's
    // offset, and in the low byte its entry there, 0xFF for a blob with blocks of its own) and
    // how long the blob is.
    struct BlobPointer {
        uint32_t offset, length;
        std::string_view bytes;  // all ten, with the blob's modification number
        uint32_t Block() const { return offset & 0xFFFFFF00u; }
        bool OwnBlocks() const { return (offset & 0xFFu) == 0xFFu; }
    };

    bool IsBlob(const pxfield_t& f) const {
        return (f.px_ftype == pxfMemoBLOb || f.px_ftype == pxfFmtMemoBLOb) && memoFp_ &&
               f.px_flen >= 10;  // the pointer takes the last ten bytes
    }

    // The pointer of a blob field whose blob lies in the memo file; none for other fields and
    // for blobs short enough to stand in the record itself.
    std::optional<BlobPointer> StoredBlob(const pxfield_t& f, const char* data) const {
        if (!IsBlob(f)) return std::nullopt;
        const auto* p = reinterpret_cast<const unsigned char*>(data) + f.px_flen - 10;
        auto le32 = [](const unsigned char* q) {
            return uint32_t(q[0]) | uint32_t(q[1]) << 8 | uint32_t(q[2]) << 16 |
                   uint32_t(q[3]) << 24;
        };
        const BlobPointer blob{le32(p), le32(p + 4),
                               std::string_view(reinterpret_cast<const char*>(p), 10)};
        if (blob.Block() == 0 || blob.length <= static_cast<uint32_t>(f.px_flen - 10))
            return std::nullopt;
        return blob;
    }

    bool GetRecord(int r, std::vector<char>& record, int& deleted) {
        pxdatablockinfo_t info;
        return PX_get_record2(px_, r, record.data(), &deleted, &info) != nullptr;
    }

    // Notes the memo file's blocks that records point at. A blob with blocks of its own then
    // ends at the latest where the next of them starts: blobs lie one after the other, so this
    // cuts only a damaged one that claims those behind it (without it, records pointing at
    // many blocks of one long run would each hold most of the file).
    void MarkBlobStarts(int records, int fields, const pxfield_t* f, std::vector<char>& record) {
        if (!memoFp_) return;
        for (int r = 0; r < records; ++r) {
            int deleted = 0;
            if (!GetRecord(r, record, deleted)) Fail();
            if (deleted) continue;
            const char* data = record.data();
            for (int i = 0; i < fields; data += f[i].px_flen, ++i)
                if (const auto blob = StoredBlob(f[i], data)) blobStarts_.push_back(blob->Block());
        }
        std::sort(blobStarts_.begin(), blobStarts_.end());
        blobStarts_.erase(std::unique(blobStarts_.begin(), blobStarts_.end()), blobStarts_.end());
    }

    // How much of a blob at most belongs to it (see MarkBlobStarts).
    size_t BlobRoom(const BlobPointer& blob) const {
        if (!blob.OwnBlocks()) return SIZE_MAX;  // an entry in a shared block stays inside it
        const auto next = std::upper_bound(blobStarts_.begin(), blobStarts_.end(), blob.Block());
        // The blob's own head (kind, blocks, length, modification number) takes nine bytes.
        return next == blobStarts_.end() ? SIZE_MAX : *next - blob.Block() - 9;
    }

    [[noreturn]] void Fail() {
        throw TableError("Die Datei " + name_ + " ist keine lesbare Paradox-Tabelle!" +
                         (error_.empty() ? std::string() : " (" + error_ + ")"));
    }

    void OpenMemo() {
        const size_t dot = path_.find_last_of('.');
        const std::string base = dot == std::string::npos ? path_ : path_.substr(0, dot);
        for (const char* ext : {".mb", ".MB", ".Mb"}) {
            if (!fs_.ReadAll(base + ext, memo_)) continue;
            memoFp_.reset(fmemopen(memo_.data(), memo_.size(), "rb"));
            if (memoFp_ && PX_set_blob_fp(px_, memoFp_.get()) < 0) memoFp_.reset();
            return;
        }
    }

    std::string Owned(char* value, int len, const CodePageConverter& cp) {
        std::string_view v(value, len < 0 ? std::strlen(value) : static_cast<size_t>(len));
        while (!v.empty() && (v.back() == ' ' || v.back() == '\0')) v.remove_suffix(1);
        std::string out = cp.ToCp1252(v);
        px_->free(px_, value);
        return out;
    }

    std::string Value(const pxfield_t& f, char* data, const CodePageConverter& cp) {
        const int len = f.px_flen;
        switch (f.px_ftype) {
            case pxfAlpha: {
                char* v = nullptr;
                const int got = PX_get_data_alpha(px_, data, len, &v);
                if (!v) return "";
                if (got <= 0) {
                    px_->free(px_, v);
                    return "";
                }
                return Owned(v, -1, cp);
            }
            case pxfShort: {
                short v;
                return PX_get_data_short(px_, data, len, &v) > 0 ? std::to_string(v) : "";
            }
            case pxfLong:
            case pxfAutoInc: {
                long v;
                return PX_get_data_long(px_, data, len, &v) > 0 ? std::to_string(v) : "";
            }
            case pxfNumber:
            case pxfCurrency: {
                double v;
                if (PX_get_data_double(px_, data, len, &v) <= 0) return "";
                if (f.px_ftype == pxfNumber) return ShortestNumber(v);
                char buf[64];
                std::snprintf(buf, sizeof buf, "%.2f", v);
                return buf;
            }
            case pxfBCD: {
                char* v = nullptr;
                const int got =
                    PX_get_data_bcd(px_, reinterpret_cast<unsigned char*>(data), f.px_fdc, &v);
                if (!v) return "";
                // pxlib may hand over its text even when it says the value is empty or bad.
                if (got <= 0) {
                    px_->free(px_, v);
                    return "";
                }
                return Owned(v, -1, CodePageConverter());
            }
            case pxfDate: {
                long v;
                return PX_get_data_long(px_, data, len, &v) > 0 ? DateText(v) : "";
            }
            case pxfTime: {
                long v;
                return PX_get_data_long(px_, data, len, &v) > 0 ? TimeText(v) : "";
            }
            case pxfTimestamp: {
                double v;
                if (PX_get_data_double(px_, data, len, &v) <= 0) return "";
                const double ms = v;
                // A damaged stamp may hold any double; far beyond the calendar it is no time.
                if (!std::isfinite(ms) || std::fabs(ms) > 1e15) return "";
                const long days = static_cast<long>(ms / 86400000.0);
                return DateText(days) + " " + TimeText(static_cast<long>(ms - days * 86400000.0));
            }
            case pxfLogical: {
                char v;
                return PX_get_data_byte(px_, data, len, &v) > 0 ? (v ? "T" : "F") : "";
            }
            case pxfMemoBLOb:
            case pxfFmtMemoBLOb: {
                if (!IsBlob(f)) return "";
                char* v = nullptr;
                int mod = 0, size = 0;
                const int got = PX_get_data_blob(px_, data, len, &mod, &size, &v);
                if (!v) return "";
                if (got <= 0) {
                    px_->free(px_, v);
                    return "";
                }
                if (const auto blob = StoredBlob(f, data); blob && size > 0)
                    size = static_cast<int>(
                        std::min<size_t>(static_cast<size_t>(size), BlobRoom(*blob)));
                return Owned(v, size, cp);
            }
            default:
                return "";
        }
    }

    FileSystem& fs_;
    ReadProgress* progress_;
    std::string path_, name_;
    std::string bytes_, memo_;
    std::string error_;
    std::unique_ptr<FILE, FileCloser> fp_, memoFp_;
    pxdoc_t* px_ = nullptr;
    std::vector<uint32_t> blobStarts_;  // sorted, each once
};

}  // namespace

void ReadParadoxTable(FileSystem& fs, const std::string& path, RowStore& store,
                      ReadProgress* progress) {
    ReadWithinMemory(FileNameOf(path), [&] { ParadoxFile(fs, path, progress).Read(store); });
}

}  // namespace pagloom
