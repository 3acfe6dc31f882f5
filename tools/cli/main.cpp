// olmirafm-cli: the box session without a window, for scripts and tests.
//
//   olmirafm-cli [--ini FILE] drives                 the drives the box has mounted
//   olmirafm-cli [--ini FILE] ls PATH                a folder, PATH below /var/media
//   olmirafm-cli [--ini FILE] cp SOURCE DESTFOLDER   a copy made by the box itself
//
// Errors go to standard error with a non-zero exit status.

#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>
#include <string>

#include "cli/console_progress.h"
#include "error.h"
#include "front/headless_session.h"
#include "olmirafm_version.h"
#include "settings/setup.h"

namespace {

struct Arguments {
    std::string iniPath;
    std::string path;
    std::string source;
    std::string destFolder;
    bool overwrite = false;
};

olmira::TSetup LoadSettings(const std::string& iniPath) {
    olmira::SetupPlace place = olmira::RunningProgramPlace();
    if (!iniPath.empty()) {
        place.IniPath = iniPath;
    }
    olmira::TSetup settings;
    if (const std::optional<std::string> warning = olmira::LoadSetup(settings, place)) {
        throw olmira::Error(*warning);
    }
    return settings;
}

void PrintEntries(const olmira::EntryList& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::cout << entries.Caption(i);
        if (!entries.Size(i).empty()) {
            std::cout << '\t' << entries.Size(i);
        }
        std::cout << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Dateien auf der Box auflisten und auf der Box kopieren.", "olmirafm-cli"};
    app.set_version_flag("--version", olmira::kVersion);
    app.require_subcommand(1);
    // Options of the program may also stand after the subcommand.
    app.fallthrough();
    Arguments args;
    app.add_option("--ini", args.iniPath, "Einstellungen aus DATEI statt olmirafm.ini")
        ->type_name("DATEI");

    CLI::App* drives = app.add_subcommand("drives", "Die Laufwerke der Box, eines je Zeile");
    CLI::App* ls = app.add_subcommand("ls", "Ein Ordner unter /var/media, wie ihn die Liste zeigt");
    ls->add_option("PFAD", args.path, "z.B. hdd/Filme")->required();
    CLI::App* cp = app.add_subcommand("cp", "Kopiert auf der Box eine Datei oder einen Ordner");
    cp->add_option("QUELLE", args.source, "z.B. hdd/Filme/film.ts")->required();
    cp->add_option("ZIELORDNER", args.destFolder, "z.B. usb/")->required();
    cp->add_flag("--overwrite", args.overwrite, "Vorhandenes im Zielordner überschreiben");

    CLI11_PARSE(app, argc, argv);
    try {
        olmira::HeadlessSession run(LoadSettings(args.iniPath));
        run.Window().keepLog = false;
        if (*drives) {
            for (const std::string& drive : run.Drives()) {
                std::cout << drive << '\n';
            }
        } else if (*ls) {
            PrintEntries(*run.Listing(args.path));
        } else {
            ConsoleProgress progress(std::cerr, run.Window());
            run.Copy(args.source, args.destFolder, args.overwrite);
        }
        run.Finish();
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
