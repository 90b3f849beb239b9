// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include "text/Cp1252.h"

namespace pagloom::cli {

const char* HelpText() {
    return "Aufruf:\n"
           "  pagloom-cli build PROJEKT.plp [--dest VERZEICHNIS] [--keep-regions | "
           "--overwrite-regions]\n"
           "  pagloom-cli group GRUPPE.plg\n"
           "  pagloom-cli --help | --version\n"
           "\n"
           "build   erstellt die Website eines Projekts, wie \"Erstellen\" und \"Start\" im\n"
           "        Programm. Ziel ist VERZEICHNIS oder das Zielverzeichnis des Projekts.\n"
           "        --keep-regions / --overwrite-regions: bearbeitbare Bereiche vorhandener\n"
           "        Dreamweaver-Seiten behalten / überschreiben (nur bei Seiten aus einer\n"
           "        Dreamweaver-Vorlage; sonst gilt die Voreinstellung des Projekts).\n"
           "group   erstellt alle Projekte einer Projektgruppe und speichert die Gruppe danach.\n"
           "\n"
           "Das Protokoll erscheint auf der Standardausgabe, Meldungen auf der\n"
           "Standardfehlerausgabe (beides UTF-8). Fragen werden mit \"Nein\" beantwortet.\n"
           "\n"
           "Rückgabewerte:\n"
           "  0   alles erstellt, kein Fehler\n"
           "  1   bis zum Ende erstellt, aber etwas ist misslungen: eine Datei, ein Projekt\n"
           "      der Gruppe, eine Vorlage, der Sitemap-Index, das Speichern der Gruppe\n"
           "      oder das Protokoll auf der Standardausgabe\n"
           "  2   nichts erstellt oder vorzeitig abgebrochen; bei group: die Gruppendatei\n"
           "      kann nicht gelesen werden\n"
           "  64  falscher Aufruf, auch ein Pfad mit Zeichen außerhalb von Windows-1252\n";
}

namespace {

bool IsOption(const std::string& a) { return a.size() > 1 && a[0] == '-'; }

std::optional<CommandLine> ParseBuild(const std::vector<std::string>& args, std::string& error) {
    CommandLine cl;
    cl.command = Command::Build;
    bool haveFile = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--dest") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "--dest verlangt ein Verzeichnis";
                return std::nullopt;
            }
            if (cl.dest) {
                error = "--dest ist mehrfach angegeben";
                return std::nullopt;
            }
            cl.dest = args[++i];
        } else if (a.rfind("--dest=", 0) == 0) {
            if (a.size() == 7) {
                error = "--dest verlangt ein Verzeichnis";
                return std::nullopt;
            }
            if (cl.dest) {
                error = "--dest ist mehrfach angegeben";
                return std::nullopt;
            }
            cl.dest = a.substr(7);
        } else if (a == "--keep-regions" || a == "--overwrite-regions") {
            bool value = a == "--overwrite-regions";
            if (cl.regionOverwrite && *cl.regionOverwrite != value) {
                error = "--keep-regions und --overwrite-regions schließen einander aus";
                return std::nullopt;
            }
            cl.regionOverwrite = value;
        } else if (IsOption(a)) {
            error = "unbekannte Option für build: " + Cp1252ToUtf8(a);
            return std::nullopt;
        } else if (haveFile) {
            error = "nur eine Projektdatei erlaubt: " + Cp1252ToUtf8(a);
            return std::nullopt;
        } else {
            cl.file = a;
            haveFile = true;
        }
    }
    if (!haveFile || cl.file.empty()) {
        error = "build verlangt eine Projektdatei";
        return std::nullopt;
    }
    return cl;
}

std::optional<CommandLine> ParseGroup(const std::vector<std::string>& args, std::string& error) {
    if (args.size() < 2 || args[1].empty()) {
        error = "group verlangt eine Gruppendatei";
    } else if (IsOption(args[1])) {
        error = "unbekannte Option für group: " + Cp1252ToUtf8(args[1]);
    } else if (args.size() > 2) {
        error = "group erwartet genau eine Gruppendatei";
    } else {
        CommandLine cl;
        cl.command = Command::Group;
        cl.file = args[1];
        return cl;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::string>> ArgumentsToCp1252(const std::vector<std::string>& utf8,
                                                          std::string& error) {
    std::vector<std::string> args;
    args.reserve(utf8.size());
    for (const std::string& a : utf8) {
        std::optional<std::string> cp1252 = Utf8ToCp1252Exact(a);
        if (!cp1252) {
            error = "Argument \"" + a +
                    "\" enthält Zeichen außerhalb von Windows-1252; solche Pfade werden nicht "
                    "unterstützt";
            return std::nullopt;
        }
        args.push_back(std::move(*cp1252));
    }
    return args;
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
    if (args.empty()) {
        error = "kein Befehl angegeben";
        return std::nullopt;
    }
    const std::string& cmd = args[0];
    if (cmd == "--help" || cmd == "-h") {
        if (args.size() == 1) return CommandLine{Command::Help, {}, {}, {}};
    } else if (cmd == "--version") {
        if (args.size() == 1) return CommandLine{Command::Version, {}, {}, {}};
    } else if (cmd == "build") {
        return ParseBuild(args, error);
    } else if (cmd == "group") {
        return ParseGroup(args, error);
    } else {
        error = "unbekannter Befehl: " + Cp1252ToUtf8(cmd);
        return std::nullopt;
    }
    error = cmd + " erwartet keine weiteren Argumente";
    return std::nullopt;
}

}  // namespace pagloom::cli
