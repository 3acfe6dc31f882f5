// olmirafm-cli: the box session without a window, for scripts and tests.
//
//   olmirafm-cli [--ini FILE] drives                 the drives the box has mounted
//   olmirafm-cli [--ini FILE] ls PATH                a folder, PATH below /var/media
//   olmirafm-cli [--ini FILE] cp [--overwrite] SOURCE... DESTFOLDER
//   olmirafm-cli [--ini FILE] mv [--overwrite] SOURCE... DESTFOLDER
//                                                  one job that the box itself runs
//   olmirafm-cli [--ini FILE] rm PATH...            deletes, folders with their content
//   olmirafm-cli [--ini FILE] mkdir PATH             a new folder in an existing one
//   olmirafm-cli [--ini FILE] rename PATH NEWNAME    a new name in the same folder
//   olmirafm-cli [--ini FILE] df [DRIVE...]          "hdd/<TAB>free kB<TAB>total kB"
//   olmirafm-cli [--ini FILE] stat PATH              "bytes<TAB>2026-12-09 07:27:11",
//                                                  a folder's with "<TAB>files<TAB>bytes"
//                                                  of its content after it
//
// Paths are below /var/media and stay on their drive ("..", "/..." are
// refused). Errors, a job's end report and what rm could not delete go to
// standard error with a non-zero exit status; Ctrl-C cancels a job as Esc
// does in the window and exits with 130.

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/console_progress.h"
#include "error.h"
#include "front/headless_session.h"
#include "olmirafm_version.h"
#include "settings/setup.h"

namespace {

struct Arguments {
    std::string iniPath;
    std::string path;
    // The sources, then the destination folder.
    std::vector<std::string> paths;
    std::string newName;
    bool overwrite = false;
};

constexpr int kInterruptedStatus = 130;
volatile std::sig_atomic_t interrupted = 0;

void Interrupt(int) {
    interrupted = 1;
}

CLI::App* AddJobCommand(CLI::App& app, const char* name, const char* description, Arguments& args) {
    CLI::App* command = app.add_subcommand(name, description);
    command->add_option("QUELLE... ZIELORDNER", args.paths, "z.B. hdd/Filme/film.ts usb/")
        ->required()
        ->expected(2, -1);
    command->add_flag("--overwrite", args.overwrite, "Vorhandenes im Zielordner überschreiben");
    return command;
}

void RunJob(olmira::HeadlessSession& run, olmira::TransferMode mode, Arguments& args) {
    std::signal(SIGINT, Interrupt);
    run.CancelWhenSet(interrupted);
    ConsoleProgress progress(std::cerr, run.Window());
    const std::string destFolder = args.paths.back();
    args.paths.pop_back();
    run.Transfer(mode, args.paths, destFolder, args.overwrite);
}

void PrintFreeSpace(olmira::HeadlessSession& run, const std::vector<std::string>& drives) {
    for (const auto& [drive, space] : run.FreeSpace(drives)) {
        std::cout << drive << '\t' << space.freeKB << '\t' << space.totalKB << '\n';
    }
}

void PrintProperties(const olmira::EntryProperties& properties) {
    std::cout << properties.status->bytes << '\t' << properties.status->modified;
    if (properties.folder) {
        std::cout << '\t' << *properties.contentFiles << '\t' << *properties.contentBytes;
    }
    std::cout << '\n';
}

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
    CLI::App app{"Dateien auf der Box auflisten, kopieren, verschieben und löschen.",
                 "olmirafm-cli"};
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
    CLI::App* cp = AddJobCommand(app, "cp", "Kopiert auf der Box Dateien und Ordner", args);
    CLI::App* mv = AddJobCommand(app, "mv", "Verschiebt auf der Box Dateien und Ordner", args);
    CLI::App* rm = app.add_subcommand("rm", "Löscht ohne Rückfrage Dateien und Ordner samt Inhalt");
    rm->add_option("PFAD...", args.paths, "z.B. hdd/Filme/film.ts")->required();
    CLI::App* mkdir = app.add_subcommand("mkdir", "Legt einen Ordner in einem vorhandenen an");
    mkdir->add_option("PFAD", args.path, "z.B. \"hdd/Neue Aufnahmen\"")->required();
    CLI::App* rename = app.add_subcommand("rename", "Benennt eine Datei oder einen Ordner um");
    rename->add_option("PFAD", args.path, "z.B. hdd/Filme/film.ts")->required();
    rename->add_option("NEUERNAME", args.newName, "der neue Name im selben Ordner")->required();
    CLI::App* df = app.add_subcommand(
        "df", "Freier und gesamter Platz in kB, je Laufwerk eine Zeile mit Tabulatoren");
    df->add_option("LAUFWERK...", args.paths, "z.B. hdd/; ohne: alle Laufwerke");
    CLI::App* stat = app.add_subcommand(
        "stat", "Größe in Bytes und Datum, bei Ordnern auch Anzahl und Bytes der Dateien darin");
    stat->add_option("PFAD", args.path, "z.B. hdd/Filme")->required();

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
        } else if (*cp) {
            RunJob(run, olmira::TransferMode::Copy, args);
        } else if (*mv) {
            RunJob(run, olmira::TransferMode::Move, args);
        } else if (*rm) {
            run.Remove(args.paths);
        } else if (*mkdir) {
            run.MakeFolder(args.path);
        } else if (*rename) {
            run.Rename(args.path, args.newName);
        } else if (*df) {
            PrintFreeSpace(run, args.paths);
        } else if (*stat) {
            PrintProperties(run.Properties(args.path));
        }
        run.Finish();
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return interrupted != 0 ? kInterruptedStatus : 1;
    }
    if (interrupted != 0) {
        return kInterruptedStatus;
    }
    return 0;
}
