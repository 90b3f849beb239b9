// SPDX-License-Identifier: MIT
#include "publish/Manifest.h"

#include <cstdio>
#include <cstdlib>

#include "publish/RemoteNames.h"
#include "text/Cp1252.h"

namespace pagloom {

const char* const kManifestName = ".pagloom-publish.json";

namespace {

void Quoted(std::string& out, std::string_view cp1252) {
    out += '"';
    for (unsigned char c : Cp1252ToUtf8(cp1252)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

// Just enough JSON for the manifest: objects, arrays, strings, whole numbers.
class Reader {
  public:
    explicit Reader(std::string_view s) : s_(s) {}
    bool Eat(char c) {
        Blank();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    bool Peek(char c) {
        Blank();
        return i_ < s_.size() && s_[i_] == c;
    }
    std::optional<std::string> String() {
        if (!Eat('"')) return std::nullopt;
        std::string utf8;
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (c == '\\') {
                if (i_ >= s_.size()) return std::nullopt;
                const char e = s_[i_++];
                if (e == 'u') {
                    unsigned v = 0;
                    for (int k = 0; k < 4; ++k, ++i_) {
                        const char h = i_ < s_.size() ? s_[i_] : ' ';
                        const int d = h >= '0' && h <= '9'   ? h - '0'
                                      : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                      : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                             : -1;
                        if (d < 0) return std::nullopt;
                        v = v * 16 + static_cast<unsigned>(d);
                    }
                    if (v >= 0x80) return std::nullopt;  // written only for control bytes
                    c = static_cast<char>(v);
                } else {
                    c = e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                }
            }
            utf8 += c;
        }
        if (!Eat('"')) return std::nullopt;
        return Utf8ToCp1252Exact(utf8);
    }
    std::optional<std::uint64_t> Number() {
        Blank();
        std::uint64_t v = 0;
        const size_t from = i_;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9' && i_ - from < 19)
            v = v * 10 + static_cast<std::uint64_t>(s_[i_++] - '0');
        if (i_ == from) return std::nullopt;
        return v;
    }

  private:
    void Blank() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t'))
            ++i_;
    }
    std::string_view s_;
    size_t i_ = 0;
};

std::optional<Manifest> ParseManifestText(std::string_view json) {
    Reader r(json);
    Manifest m;
    bool versioned = false;
    if (!r.Eat('{')) return std::nullopt;
    while (!r.Peek('}')) {
        const std::optional<std::string> key = r.String();
        if (!key || !r.Eat(':')) return std::nullopt;
        if (*key == "pagloom-publish") {
            if (!r.Number()) return std::nullopt;
            versioned = true;
        } else if (*key == "project" || *key == "target" || *key == "project-id") {
            std::optional<std::string> v = r.String();
            if (!v) return std::nullopt;
            (*key == "project"  ? m.project
             : *key == "target" ? m.target
                                : m.projectId) = std::move(*v);
        } else if (*key == "files") {
            if (!r.Eat('{')) return std::nullopt;
            while (!r.Peek('}')) {
                std::optional<std::string> name = r.String();
                if (!name || !r.Eat(':') || !r.Eat('[')) return std::nullopt;
                std::optional<std::string> sha = r.String();
                if (!sha || !r.Eat(',')) return std::nullopt;
                const std::optional<std::uint64_t> size = r.Number();
                if (!size || !r.Eat(']')) return std::nullopt;
                m.files[std::move(*name)] = {std::move(*sha), *size};
                if (!r.Eat(',')) break;
            }
            if (!r.Eat('}')) return std::nullopt;
        } else {
            return std::nullopt;
        }
        if (!r.Eat(',')) break;
    }
    if (!r.Eat('}') || !versioned) return std::nullopt;
    return m;
}

}  // namespace

std::string ManifestText(const Manifest& m) {
    std::string out = "{\n  \"pagloom-publish\": 1,\n  \"project\": ";
    Quoted(out, m.project);
    if (!m.projectId.empty()) {
        out += ",\n  \"project-id\": ";
        Quoted(out, m.projectId);
    }
    out += ",\n  \"target\": ";
    Quoted(out, m.target);
    out += ",\n  \"files\": {";
    bool first = true;
    for (const auto& [name, f] : m.files) {
        out += first ? "\n    " : ",\n    ";
        first = false;
        Quoted(out, name);
        // Quoted like the names: a hash read from a server's manifest may hold any text.
        out += ": [";
        Quoted(out, f.sha256);
        out += ", " + std::to_string(f.size) + "]";
    }
    out += "\n  }\n}\n";
    return out;
}

std::optional<Manifest> ParseManifest(std::string_view json) {
    std::string ignored;
    return ParseManifest(json, ignored);
}

std::string ManifestTooLargeMessage() {
    return "Die Datei " + std::string(kManifestName) +
           " im Zielordner ist gr\xF6\xDF"
           "er als " +
           std::to_string(kMaxManifestBytes >> 20) +
           " MiB; nichts wird ver\xF6"
           "ffentlicht.";
}

std::optional<Manifest> ParseManifest(std::string_view json, std::string& why) {
    if (json.size() > kMaxManifestBytes) {
        why = ManifestTooLargeMessage();
        return std::nullopt;
    }
    std::optional<Manifest> m = ParseManifestText(json);
    if (!m) {
        why = "Die Datei " + std::string(kManifestName) +
              " im Zielordner ist keine Liste dieses Programms; nichts wird ver\xF6"
              "ffentlicht.";
        return std::nullopt;
    }
    // Checked here, where every manifest is read, so no later step can act on such a name.
    for (const auto& [name, file] : m->files)
        if (!IsPlainRelativeName(name)) {
            why = "Die Datei " + std::string(kManifestName) +
                  " im Zielordner nennt einen unzul\xE4ssigen Namen: " + ShownName(name) +
                  "; nichts wird ver\xF6"
                  "ffentlicht.";
            return std::nullopt;
        }
    return m;
}

}  // namespace pagloom
