// SPDX-License-Identifier: MIT
#include "projectfile/PublishSection.h"

#include <variant>

#include "projectfile/IniFile.h"
#include "text/TextConversions.h"

namespace pagloom {
namespace {

struct Number {
    int PublishTarget::*member;
    int fallback, lo, hi;
};
using Patterns = std::vector<std::string> PublishTarget::*;
using Flag = bool PublishTarget::*;
using Text = std::string PublishTarget::*;

struct PublishKey {
    const char* name;
    std::variant<Text, Number, Flag, Patterns> target;
    bool onlyWhenSet = false;  // added later: a new section lists it only once it has a value
};

// In the order a new section lists them.
const PublishKey kKeys[] = {
    {"protocol", &PublishTarget::protocol},
    {"host", &PublishTarget::host},
    {"port", Number{&PublishTarget::port, 0, 0, 65535}},
    {"user", &PublishTarget::user},
    {"remote-folder", &PublishTarget::remoteFolder},
    {"key-file", &PublishTarget::keyFile},
    {"host-key", &PublishTarget::hostKey},
    {"exclude", &PublishTarget::exclude},
    {"protect", &PublishTarget::protect},
    {"delete", &PublishTarget::deleteRemoved},
    {"connections", Number{&PublishTarget::connections, 4, 1, kMaxPublishConnections}},
    {"project-id", &PublishTarget::projectId, true},
    {"after-build", &PublishTarget::publishAfterBuild, true},
};

// The whole value: IniFile's reader cuts at its line limit, which a pattern list may pass.
std::string Whole(const IniFile& ini, const char* key) {
    return ini.ReadStringWhole(kPublishSection, key, "");
}

std::string Scalar(const IniFile& ini, const char* key) {
    std::string v = Whole(ini, key);
    const size_t comment = v.find(';');
    if (comment != std::string::npos) v.resize(comment);
    return TrimBlanks(v);
}

int ReadNumber(const std::string& text, const Number& n) {
    if (text.empty() || text.size() > 6) return n.fallback;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return n.fallback;
        v = v * 10 + (c - '0');
    }
    return v < n.lo ? n.lo : v > n.hi ? n.hi : v;
}

std::vector<std::string> SplitPatterns(const std::string& v) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= v.size()) {
        size_t end = v.find(';', start);
        if (end == std::string::npos) end = v.size();
        std::string p = TrimBlanks(std::string_view(v).substr(start, end - start));
        if (!p.empty()) out.push_back(std::move(p));
        start = end + 1;
    }
    return out;
}

struct Reader {
    const IniFile& ini;
    const char* key;
    PublishTarget& t;
    void operator()(Text m) const { t.*m = Scalar(ini, key); }
    void operator()(const Number& n) const { t.*n.member = ReadNumber(Scalar(ini, key), n); }
    void operator()(Flag m) const { t.*m = Scalar(ini, key) == "1"; }
    void operator()(Patterns m) const { t.*m = SplitPatterns(Whole(ini, key)); }
};

// The value as the file holds it, and whether it differs between two targets.
struct Writer {
    const PublishTarget& t;
    const PublishTarget& stored;
    std::pair<std::string, bool> operator()(Text m) const { return {t.*m, t.*m != stored.*m}; }
    std::pair<std::string, bool> operator()(const Number& n) const {
        const int v = t.*n.member;
        // A port of 0 is the protocol's default: the key stays empty.
        return {n.fallback == 0 && v == 0 ? std::string() : std::to_string(v),
                v != stored.*n.member};
    }
    std::pair<std::string, bool> operator()(Flag m) const {
        return {t.*m ? "1" : "0", t.*m != stored.*m};
    }
    std::pair<std::string, bool> operator()(Patterns m) const {
        std::string text;
        for (const std::string& p : t.*m) text += (text.empty() ? "" : ";") + p;
        return {text, t.*m != stored.*m};
    }
};

}  // namespace

PublishTarget ReadPublishSection(const IniFile& ini) {
    PublishTarget t;
    if (!ini.HasSection(kPublishSection)) return t;
    for (const PublishKey& k : kKeys) std::visit(Reader{ini, k.name, t}, k.target);
    return t;
}

void WritePublishSection(IniFile& ini, const PublishTarget& t) {
    const bool fresh = !ini.HasSection(kPublishSection);
    if (fresh && t == PublishTarget{}) return;
    const PublishTarget stored = ReadPublishSection(ini);
    if (!fresh && stored == t) return;
    for (const PublishKey& k : kKeys) {
        const auto [value, differs] = std::visit(Writer{t, stored}, k.target);
        const bool isSet = std::visit(Writer{t, PublishTarget{}}, k.target).second;
        if (fresh ? k.onlyWhenSet && !isSet : !differs) continue;
        ini.WriteString(kPublishSection, k.name, value);
    }
}

}  // namespace pagloom
