// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include "text/Cp1252.h"

namespace pagloom::cli {

const char* HelpText() {
    return "Aufruf:\n"
           "  pagloom-cli build PROJEKT.plp [--dest VERZEICHNIS] [--keep-regions | "
           "--overwrite-regions]\n"
           "                    [--dry-run] [--publish]\n"
           "  pagloom-cli group GRUPPE.plg [--dry-run] [--publish]\n"
           "  pagloom-cli check PROJEKT.plp [--dest VERZEICHNIS]\n"
           "  pagloom-cli publish PROJEKT.plp [--dest VERZEICHNIS] [--dry-run]\n"
           "                    [--delete [--max-delete N]] [--verify[=content]]\n"
           "                    [--connections N] [--accept-host-key FP] [--password-file DATEI]\n"
           "                    [--allow-plain-ftp] [--allow-many-deletions]\n"
           "  pagloom-cli --help | --version\n"
           "\n"
           "build   erstellt die Website eines Projekts, wie \"Erstellen\" und \"Start\" im\n"
           "        Programm. Ziel ist VERZEICHNIS oder das Zielverzeichnis des Projekts.\n"
           "        --keep-regions / --overwrite-regions: bearbeitbare Bereiche vorhandener\n"
           "        Dreamweaver-Seiten behalten / überschreiben (nur bei Seiten aus einer\n"
           "        Dreamweaver-Vorlage; sonst gilt die Voreinstellung des Projekts).\n"
           "group   erstellt alle Projekte einer Projektgruppe und speichert die Gruppe danach.\n"
           "--dry-run  nur prüfen, nichts schreiben: der Lauf geht alle Dateien durch, schreibt\n"
           "        aber weder Seiten noch Ordner noch die Gruppendatei. Jede Datei wird mit\n"
           "        \"neu:\", \"geändert:\", \"unverändert:\" oder \"Fehler:\" gemeldet, am Ende\n"
           "        steht \"Plan: N neu, N geändert, N unverändert, N Fehler\". Der Rückgabewert\n"
           "        ist der, den der echte Lauf hätte.\n"
           "check   prüft die erstellte Website im Zielverzeichnis (VERZEICHNIS oder das des\n"
           "        Projekts): jeder lokale Verweis (href und src der Seiten und der\n"
           "        Include-Datei, die Dateinamen im Menü-Skript, die Adressen der Sitemap\n"
           "        unter der Basis-Adresse), der ins Leere führt, erscheint als eine Zeile\n"
           "        \"Seite:Zeile: Ziel fehlt: Verweis\"; Seiten des Menüs, auf die nichts\n"
           "        verweist, ebenso. Externe Adressen werden nicht abgerufen.\n"
           "publish veröffentlicht die erstellte Website (VERZEICHNIS oder das Zielverzeichnis)\n"
           "        am Ziel des Abschnitts [publish] der Projektdatei: nur Dateien, deren Inhalt\n"
           "        sich seit der letzten Veröffentlichung geändert hat. Jede Datei wird unter\n"
           "        einem vorläufigen Namen übertragen und dann umbenannt; ein abgebrochener\n"
           "        Lauf wird beim nächsten fortgesetzt. --dry-run zeigt nur, was geschehe.\n"
           "        --delete entfernt, was dieses Ziel veröffentlicht hat und die Website nicht\n"
           "        mehr enthält (höchstens --max-delete N, Vorgabe 100; mehr als die Hälfte\n"
           "        der Dateien am Ziel nur mit --allow-many-deletions); --verify prüft\n"
           "        Existenz und Größe der Dateien am Ziel (=content: auch den Inhalt).\n"
           "        Protokolle: \"sftp\", \"ftps\" (FTP mit TLS), \"webdav\" (über https), "
           "\"ftp\"\n"
           "        (unverschlüsselt; nur mit --allow-plain-ftp) und \"folder\" (ein Ordner, etwa "
           "eine\n"
           "        eingehängte Freigabe). Der Schlüssel des Servers (SSH) bzw. sein Zertifikat\n"
           "        (TLS) wird vor allem anderen geprüft; einen unbekannten nimmt\n"
           "        --accept-host-key an (SHA256:... bzw. sha256//...). Ein Passwort kommt aus\n"
           "        PAGLOOM_PASSWORD, --password-file oder dem Schlüsselbund des Desktops.\n"
           "        build --publish veröffentlicht nach einem fehlerfreien Erstellen, group\n"
           "        --publish jedes Projekt der Gruppe an sein eigenes Ziel.\n"
           "\n"
           "Das Protokoll erscheint auf der Standardausgabe, Meldungen auf der\n"
           "Standardfehlerausgabe (beides UTF-8). Fragen werden mit \"Nein\" beantwortet.\n"
           "\n"
           "Rückgabewerte:\n"
           "  0   alles erstellt, kein Fehler; bei check: kein Verweis führt ins Leere\n"
           "  1   bis zum Ende erstellt, aber etwas ist misslungen: eine Datei, ein Projekt\n"
           "      der Gruppe, eine Vorlage, der Sitemap-Index, das Speichern der Gruppe\n"
           "      oder das Protokoll auf der Standardausgabe; bei check: Fehler gefunden\n"
           "  2   nichts erstellt oder vorzeitig abgebrochen; bei group: die Gruppendatei\n"
           "      kann nicht gelesen werden; bei check: Projekt oder Zielverzeichnis fehlt\n"
           "  64  falscher Aufruf, auch ein Pfad mit Zeichen außerhalb von Windows-1252\n";
}

namespace {

bool IsOption(const std::string& a) { return a.size() > 1 && a[0] == '-'; }

// build and check: a project file and options; check takes only --dest.
std::optional<CommandLine> ParseProjectCommand(Command command,
                                               const std::vector<std::string>& args,
                                               std::string& error) {
    CommandLine cl;
    cl.command = command;
    const bool build = command == Command::Build;
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
        } else if (build && a == "--dry-run") {
            cl.dryRun = true;
        } else if (build && a == "--publish") {
            cl.publishAfterBuild = true;
        } else if (build && a == "--allow-plain-ftp") {
            cl.publish.allowPlainFtp = true;
        } else if (build && (a == "--keep-regions" || a == "--overwrite-regions")) {
            bool value = a == "--overwrite-regions";
            if (cl.regionOverwrite && *cl.regionOverwrite != value) {
                error = "--keep-regions und --overwrite-regions schließen einander aus";
                return std::nullopt;
            }
            cl.regionOverwrite = value;
        } else if (IsOption(a)) {
            error = "unbekannte Option für " + args[0] + ": " + Cp1252ToUtf8(a);
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
        error = args[0] + " verlangt eine Projektdatei";
        return std::nullopt;
    }
    return cl;
}

// publish: a project file, --dest, --dry-run and the publishing options.
std::optional<CommandLine> ParsePublish(const std::vector<std::string>& args, std::string& error) {
    std::vector<std::string> rest = {args[0]};
    CommandLine cl;
    auto number = [&](size_t& i, const std::string& name, int low, int high, int& out) {
        if (i + 1 >= args.size()) {
            error = name + " verlangt eine Zahl";
            return false;
        }
        const std::string& v = args[++i];
        int n = 0;
        for (char c : v) {
            if (c < '0' || c > '9' || n > 100000) {
                error = name + " verlangt eine Zahl: " + Cp1252ToUtf8(v);
                return false;
            }
            n = n * 10 + (c - '0');
        }
        if (v.empty() || n < low || n > high) {
            error = name + " verlangt eine Zahl von " + std::to_string(low) + " bis " +
                    std::to_string(high);
            return false;
        }
        out = n;
        return true;
    };
    auto text = [&](size_t& i, const std::string& name, std::string& out) {
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = name + " verlangt einen Wert";
            return false;
        }
        out = args[++i];
        return true;
    };
    bool maxDeleteGiven = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--delete") {
            cl.publish.deleteRemoved = true;
        } else if (a == "--max-delete") {
            if (!number(i, a, 0, 1000000, cl.publish.maxDelete)) return std::nullopt;
            maxDeleteGiven = true;
        } else if (a == "--verify") {
            cl.publish.verify = 1;
        } else if (a == "--verify=content") {
            cl.publish.verify = 2;
        } else if (a == "--connections") {
            if (!number(i, a, 1, 8, cl.publish.connections)) return std::nullopt;
        } else if (a == "--accept-host-key") {
            if (!text(i, a, cl.publish.acceptHostKey)) return std::nullopt;
        } else if (a == "--password-file") {
            if (!text(i, a, cl.publish.passwordFile)) return std::nullopt;
        } else if (a == "--allow-plain-ftp") {
            cl.publish.allowPlainFtp = true;
        } else if (a == "--allow-many-deletions") {
            cl.publish.allowManyDeletions = true;
        } else if (a == "--dry-run") {
            cl.dryRun = true;
        } else {
            rest.push_back(a);
            if (a == "--dest" && i + 1 < args.size()) rest.push_back(args[++i]);
        }
    }
    if (maxDeleteGiven && !cl.publish.deleteRemoved) {
        error = "--max-delete gilt nur mit --delete";
        return std::nullopt;
    }
    std::optional<CommandLine> base = ParseProjectCommand(Command::Check, rest, error);
    if (!base) return std::nullopt;
    cl.command = Command::Publish;
    cl.file = base->file;
    cl.dest = base->dest;
    return cl;
}

std::optional<CommandLine> ParseGroup(const std::vector<std::string>& args, std::string& error) {
    CommandLine cl;
    cl.command = Command::Group;
    bool haveFile = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--dry-run") {
            cl.dryRun = true;
        } else if (a == "--publish") {
            cl.publishAfterBuild = true;
        } else if (a == "--allow-plain-ftp") {
            cl.publish.allowPlainFtp = true;
        } else if (IsOption(a)) {
            error = "unbekannte Option für group: " + Cp1252ToUtf8(a);
            return std::nullopt;
        } else if (haveFile) {
            error = "group erwartet genau eine Gruppendatei";
            return std::nullopt;
        } else {
            cl.file = a;
            haveFile = true;
        }
    }
    if (!haveFile || cl.file.empty()) {
        error = "group verlangt eine Gruppendatei";
        return std::nullopt;
    }
    return cl;
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
        if (args.size() == 1) return CommandLine{Command::Help, {}, {}, {}, false, {}, false};
    } else if (cmd == "--version") {
        if (args.size() == 1) return CommandLine{Command::Version, {}, {}, {}, false, {}, false};
    } else if (cmd == "build") {
        return ParseProjectCommand(Command::Build, args, error);
    } else if (cmd == "check") {
        return ParseProjectCommand(Command::Check, args, error);
    } else if (cmd == "group") {
        return ParseGroup(args, error);
    } else if (cmd == "publish") {
        return ParsePublish(args, error);
    } else {
        error = "unbekannter Befehl: " + Cp1252ToUtf8(cmd);
        return std::nullopt;
    }
    error = cmd + " erwartet keine weiteren Argumente";
    return std::nullopt;
}

}  // namespace pagloom::cli
