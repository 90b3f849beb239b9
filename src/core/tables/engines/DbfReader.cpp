// SPDX-License-Identifier: MIT
#include "tables/engines/DbfReader.h"

#include <shapefil.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "io/FileSystem.h"
#include "tables/TableError.h"
#include "tables/engines/CodePage.h"
#include "tables/engines/MemoFile.h"

namespace pagloom {

namespace {

// shapelib reads through hooks; ours serve the bytes we already read through the file system, so
// the reader sees exactly what the rest of the core sees and never touches the disk itself.
struct MemStream {
    const std::string* data;
    size_t pos = 0;
};
thread_local const std::string* t_dbfBytes = nullptr;
thread_local std::string t_dbfError;

bool EndsWithDbf(const char* name) {
    const size_t n = std::strlen(name);
    if (n < 4) return false;
    const char* e = name + n - 4;
    return e[0] == '.' && std::tolower(e[1]) == 'd' && std::tolower(e[2]) == 'b' &&
           std::tolower(e[3]) == 'f';
}
SAFile MemOpen(const char* name, const char* access) {
    if (!t_dbfBytes || std::strpbrk(access, "wa+") || !EndsWithDbf(name)) return nullptr;
    return reinterpret_cast<SAFile>(new MemStream{t_dbfBytes, 0});
}
MemStream* M(SAFile f) { return reinterpret_cast<MemStream*>(f); }
SAOffset MemRead(void* p, SAOffset size, SAOffset nmemb, SAFile f) {
    MemStream* s = M(f);
    if (size == 0 || s->pos >= s->data->size()) return 0;
    const SAOffset items = std::min<SAOffset>(nmemb, (s->data->size() - s->pos) / size);
    std::memcpy(p, s->data->data() + s->pos, items * size);
    s->pos += items * size;
    return items;
}
SAOffset MemWrite(void*, SAOffset, SAOffset, SAFile) { return 0; }
SAOffset MemSeek(SAFile f, SAOffset offset, int whence) {
    MemStream* s = M(f);
    if (whence == SEEK_SET)
        s->pos = offset;
    else if (whence == SEEK_CUR)
        s->pos += offset;
    else
        s->pos = s->data->size() + offset;
    return 0;
}
SAOffset MemTell(SAFile f) { return M(f)->pos; }
int MemFlush(SAFile) { return 0; }
int MemClose(SAFile f) {
    delete M(f);
    return 0;
}
int MemRemove(const char*) { return -1; }
void MemError(const char* message) { t_dbfError = message; }

struct DbfCloser {
    void operator()(DBFInfo* h) const { DBFClose(h); }
};

uint32_t Le32(const unsigned char* p) {
    return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
int64_t Le64(const unsigned char* p) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
    return static_cast<int64_t>(v);
}

std::string_view Trim(std::string_view s, bool left) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
    while (left && !s.empty() && (s.front() == ' ' || s.front() == '\0')) s.remove_prefix(1);
    return s;
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFoxPro(unsigned char version) {
    return version == 0x30 || version == 0x31 || version == 0x32 || version == 0xF5 ||
           version == 0xFB;
}
bool IsSupported(unsigned char version) {
    switch (version) {
        case 0x03:
        case 0x83:
        case 0x8B:
        case 0x8E:
        case 0xCB:
        case 0x30:
        case 0x31:
        case 0x32:
        case 0xF5:
        case 0xFB:
            return true;
        default:
            return false;
    }
}

// Gregorian date of a Julian day number.
void JulianToDate(int64_t jd, int& y, int& m, int& d) {
    int64_t a = jd + 32044;
    int64_t b = (4 * a + 3) / 146097;
    int64_t c = a - 146097 * b / 4;
    int64_t e = (4 * c + 3) / 1461;
    int64_t f = c - 1461 * e / 4;
    int64_t g = (5 * f + 2) / 153;
    d = static_cast<int>(f - (153 * g + 2) / 5 + 1);
    m = static_cast<int>(g + 3 - 12 * (g / 10));
    y = static_cast<int>(100 * b + e - 4800 + g / 10);
}

std::string FormatFixed(double v, int decimals) {
    char buf[64];
    if (decimals > 0)
        std::snprintf(buf, sizeof buf, "%.*f", std::min(decimals, 20), v);
    else
        std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

struct FieldInfo {
    std::string name;
    char type;
    int offset, size, decimals;
    int varBit = -1, nullBit = -1;  // bits in _NullFlags
};

class DbfFile {
  public:
    DbfFile(FileSystem& fs, const std::string& path, ReadProgress* progress)
        : fs_(fs), progress_(progress), path_(path), name_(FileNameOf(path)) {}

    void Read(RowStore& store) {
        if (!fs_.ReadAll(path_, bytes_))
            throw TableError("Die Datei " + path_ + " kann nicht gelesen werden!");
        CheckHeader();
        Open();
        DescribeFields();
        LoadMemo();
        for (const auto& f : fields_) store.AddField(f.name);
        ReadRecords(store);
    }

  private:
    [[noreturn]] void Fail(const std::string& why) {
        throw TableError("Die Tabelle " + name_ + " " + why);
    }

    void CheckHeader() {
        const auto* h = reinterpret_cast<const unsigned char*>(bytes_.data());
        if (bytes_.size() < 32 + 33) Fail("ist keine dBase- oder FoxPro-Tabelle!");
        version_ = h[0];
        if (!IsSupported(version_))
            Fail(
                "hat ein Format, das nicht gelesen werden kann (keine dBase-III/IV- oder "
                "FoxPro-Tabelle)!");
        const uint64_t records = Le32(h + 4);
        const uint64_t header = uint64_t(h[8]) | uint64_t(h[9]) << 8;
        const uint64_t recordLength = uint64_t(h[10]) | uint64_t(h[11]) << 8;
        if (header < 33 || recordLength == 0) Fail("ist keine dBase- oder FoxPro-Tabelle!");
        if (bytes_.size() < header + records * recordLength)
            Fail(
                "ist unvollst\xE4ndig oder besch\xE4"
                "digt!");
        codePage_ = DbfLanguageDriverCodePage(h[29]);
    }

    void Open() {
        SAHooks hooks;
        SASetupDefaultHooks(&hooks);
        hooks.FOpen = MemOpen;
        hooks.FRead = MemRead;
        hooks.FWrite = MemWrite;
        hooks.FSeek = MemSeek;
        hooks.FTell = MemTell;
        hooks.FFlush = MemFlush;
        hooks.FClose = MemClose;
        hooks.Remove = MemRemove;
        hooks.Error = MemError;
        t_dbfBytes = &bytes_;
        t_dbfError.clear();
        dbf_.reset(DBFOpenLL("table.dbf", "rb", &hooks));
        t_dbfBytes = nullptr;
        if (!dbf_)
            Fail(
                "kann nicht ge\xF6"
                "ffnet werden!");
    }

    void DescribeFields() {
        DBFInfo* h = dbf_.get();
        CodePageConverter cp(codePage_);
        int bit = 0;
        for (int i = 0; i < h->nFields; ++i) {
            const auto* desc =
                reinterpret_cast<const unsigned char*>(h->pszHeader) + i * XBASE_FLDHDR_SZ;
            char name[XBASE_FLDNAME_LEN_READ + 1] = {};
            int width = 0, decimals = 0;
            DBFGetFieldInfo(h, i, name, &width, &decimals);
            FieldInfo f{cp.ToCp1252(name), h->pachFieldType[i], h->panFieldOffset[i],
                        h->panFieldSize[i], desc[17]};
            // Values are read straight from the record buffer; a field reaching past the
            // record would read foreign memory.
            if (f.offset < 1 || f.size < 0 || f.offset + f.size > h->nRecordLength)
                Fail(
                    "ist unvollst\xE4ndig oder besch\xE4"
                    "digt!");
            // No dBase or FoxPro type has a field without bytes; such fields would cost a value
            // per record while the record grows by nothing.
            if (f.size == 0)
                Fail(
                    "ist besch\xE4"
                    "digt: das Feld " +
                    f.name + " hat die Breite 0!");
            const unsigned char flags = desc[18];
            if (f.type == '0') {
                nullFlagsField_ = static_cast<int>(i);
                nullFlagsOffset_ = f.offset;
                nullFlagsSize_ = f.size;
                continue;  // a system field, not data
            }
            if (IsFoxPro(version_)) {
                if (f.type == 'V' || f.type == 'Q') f.varBit = bit++;
                if (flags & 0x02) f.nullBit = bit++;
            }
            if (IsMemo(f)) hasMemo_ = true;
            fields_.push_back(std::move(f));
        }
        if (fields_.empty()) Fail("hat keine Felder!");
    }

    void LoadMemo() {
        if (!hasMemo_) return;
        const size_t dot = path_.find_last_of('.');
        const size_t slash = path_.find_last_of("/\\");
        const std::string base =
            (dot == std::string::npos || (slash != std::string::npos && dot < slash))
                ? path_
                : path_.substr(0, dot);
        const bool fox = IsFoxPro(version_);
        const char* exts[] = {fox ? ".fpt" : ".dbt", fox ? ".FPT" : ".DBT", fox ? ".Fpt" : ".Dbt"};
        std::string memo;
        for (const char* ext : exts)
            if (fs_.ReadAll(base + ext, memo)) {
                const MemoFile::Kind kind = fox                ? MemoFile::Kind::FoxPro
                                            : version_ == 0x83 ? MemoFile::Kind::DbaseIII
                                                               : MemoFile::Kind::DbaseIV;
                memo_.emplace(kind, std::move(memo));
                return;
            }
        Fail(std::string("braucht die Memodatei ") + FileNameOf(base) + (fox ? ".fpt" : ".dbt") +
             ", die fehlt!");
    }

    bool Bit(const unsigned char* rec, int bit) const {
        if (bit < 0 || nullFlagsField_ < 0 || bit / 8 >= nullFlagsSize_) return false;
        return (rec[nullFlagsOffset_ + bit / 8] >> (bit % 8)) & 1;
    }

    const unsigned char* Record(int r) {
        const char* tuple = DBFReadTuple(dbf_.get(), r);
        if (!tuple) Fail("kann nicht gelesen werden (Datensatz " + std::to_string(r + 1) + ")!");
        return reinterpret_cast<const unsigned char*>(tuple);
    }

    bool IsMemo(const FieldInfo& f) const {
        return f.type == 'M' || f.type == 'G' || (f.type == 'B' && !IsFoxPro(version_));
    }

    // The memo block a memo field's value points at; 0 for none.
    static uint64_t MemoBlock(const FieldInfo& f, const unsigned char* rec) {
        const unsigned char* p = rec + f.offset;
        if (f.size == 4) return Le32(p);
        uint64_t block = 0;
        const std::string_view raw(reinterpret_cast<const char*>(p), static_cast<size_t>(f.size));
        for (char c : Trim(raw, true)) {
            if (c < '0' || c > '9') return 0;
            block = block * 10 + static_cast<uint64_t>(c - '0');
        }
        return block;
    }

    // Tells the memo file every block a record points at, so no memo reaches into another.
    void MarkMemoStarts(int records) {
        std::vector<uint64_t> blocks;
        for (int r = 0; r < records; ++r) {
            const unsigned char* rec = Record(r);
            if (rec[0] == '*') continue;
            for (const auto& f : fields_)
                if (IsMemo(f)) blocks.push_back(MemoBlock(f, rec));
        }
        memo_->KeepApart(std::move(blocks));
    }

    void ReadRecords(RowStore& store) {
        CodePageConverter cp(codePage_);
        const int records = DBFGetRecordCount(dbf_.get());
        if (memo_) MarkMemoStarts(records);
        // A memo that many records point at is converted and held once: the first value that
        // holds its text, by block.
        std::unordered_map<uint64_t, size_t> memoValues;
        if (progress_) progress_->Start(static_cast<uint64_t>(std::max(records, 0)));
        for (int r = 0; r < records; ++r) {
            if (progress_ && r % 8192 == 0) progress_->Set(static_cast<uint64_t>(r));
            const unsigned char* rec = Record(r);
            if (rec[0] == '*') continue;
            for (const auto& f : fields_) {
                if (Bit(rec, f.nullBit)) {
                    store.AppendValue("");
                    continue;
                }
                if (memo_ && IsMemo(f) && f.type != 'G') {
                    const uint64_t block = MemoBlock(f, rec);
                    if (block == 0) {
                        store.AppendValue("");
                        continue;
                    }
                    const auto [at, fresh] = memoValues.try_emplace(block, store.ValueCount());
                    if (!fresh) {
                        store.AppendRepeat(at->second);
                        continue;
                    }
                }
                store.AppendValue(Value(f, rec, cp));
            }
        }
        if (progress_) progress_->Set(static_cast<uint64_t>(std::max(records, 0)));
    }

    std::string Value(const FieldInfo& f, const unsigned char* rec,
                      const CodePageConverter& cp) const {
        const unsigned char* p = rec + f.offset;
        const std::string_view raw(reinterpret_cast<const char*>(p), static_cast<size_t>(f.size));
        switch (f.type) {
            case 'C':
                return cp.ToCp1252(Trim(raw, false));
            case 'V':
            case 'Q': {
                std::string_view v = raw;
                if (Bit(rec, f.varBit) && f.size > 0)
                    v = raw.substr(0, std::min<size_t>(p[f.size - 1], f.size - 1));
                return f.type == 'V' ? cp.ToCp1252(Trim(v, false)) : std::string();
            }
            case 'N':
            case 'F':
                return std::string(Trim(raw, true));
            case 'D': {
                const std::string_view v = Trim(raw, true);
                if (v.empty() || v == "00000000") return "";
                if (v.size() == 8 &&
                    std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
                    return std::string(v.substr(0, 4)) + "-" + std::string(v.substr(4, 2)) + "-" +
                           std::string(v.substr(6, 2));
                return cp.ToCp1252(v);
            }
            case 'L':
                switch (raw.empty() ? ' ' : raw[0]) {
                    case 'T':
                    case 't':
                    case 'Y':
                    case 'y':
                        return "T";
                    case 'F':
                    case 'f':
                    case 'N':
                    case 'n':
                        return "F";
                    default:
                        return "";
                }
            case 'I':
                if (f.size != 4) return std::string(Trim(raw, true));
                return std::to_string(static_cast<int32_t>(Le32(p)));
            case 'Y': {
                if (f.size != 8) return std::string(Trim(raw, true));
                const int64_t v = Le64(p);
                const uint64_t mag =
                    v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
                char buf[40];
                std::snprintf(buf, sizeof buf, "%s%llu.%04llu", v < 0 ? "-" : "",
                              static_cast<unsigned long long>(mag / 10000),
                              static_cast<unsigned long long>(mag % 10000));
                return buf;
            }
            case 'T': {
                if (f.size != 8) return std::string(Trim(raw, true));
                const uint32_t day = Le32(p), ms = Le32(p + 4);
                if (day == 0) return "";
                int y, m, d;
                JulianToDate(day, y, m, d);
                const uint32_t s = (ms + 500) / 1000;
                char buf[40];
                std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02u:%02u:%02u", y, m, d,
                              s / 3600 % 24, s / 60 % 60, s % 60);
                return buf;
            }
            case 'B':
                if (IsFoxPro(version_)) {
                    if (f.size != 8) return "";
                    double v;
                    std::memcpy(&v, p, 8);
                    return FormatFixed(v, f.decimals);
                }
                [[fallthrough]];
            case 'M':
            case 'G': {
                if (!memo_ || f.type == 'G') return "";  // OLE objects are no text
                return cp.ToCp1252(memo_->Text(MemoBlock(f, rec)));
            }
            default:
                return cp.ToCp1252(Trim(raw, true));
        }
    }

    FileSystem& fs_;
    ReadProgress* progress_;
    std::string path_, name_;
    std::string bytes_;
    unsigned char version_ = 0;
    std::string codePage_;
    std::unique_ptr<DBFInfo, DbfCloser> dbf_;
    std::vector<FieldInfo> fields_;
    int nullFlagsField_ = -1, nullFlagsOffset_ = 0, nullFlagsSize_ = 0;
    bool hasMemo_ = false;
    std::optional<MemoFile> memo_;
};

}  // namespace

void ReadDbfTable(FileSystem& fs, const std::string& path, RowStore& store,
                  ReadProgress* progress) {
    ReadWithinMemory(FileNameOf(path), [&] { DbfFile(fs, path, progress).Read(store); });
}

}  // namespace pagloom
