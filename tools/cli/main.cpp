// olmirafm-cli: the box session without a window, for scripts and tests.
//
//   olmirafm-cli [--ini FILE] drives                 the drives the box has mounted
//   olmirafm-cli [--ini FILE] ls PATH                a folder, PATH below /var/media
//   olmirafm-cli [--ini FILE] cp [--overwrite] [--detach] SOURCE... DESTFOLDER
//   olmirafm-cli [--ini FILE] mv [--overwrite] [--detach] SOURCE... DESTFOLDER
//                                                  one job that the box itself runs;
//                                                  --detach returns once the box has it
//                                                  and prints its number
//   olmirafm-cli [--ini FILE] jobs                   the box's jobs, a line per entry:
//                                                  "JOB<TAB>JOBSTATE<TAB>PATH<TAB>ENTRYSTATE"
//                                                  and "<TAB>REASON" when it failed
//   olmirafm-cli [--ini FILE] wait [JOB]             follows a job to its end; without JOB
//                                                  this PC's running, else its lowest
//                                                  waiting, else its oldest ended job
//   olmirafm-cli [--ini FILE] cancel JOB             cancels a running or waiting job and
//                                                  waits for its end
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
// standard error with a non-zero exit status; Ctrl-C cancels a job of cp or
// mv as Esc does in the window and exits with 130. A job runs on the box
// alone: a console that is killed, or whose wait or cancel is ended with
// Ctrl-C, leaves it running there.
//
// jobs names a job's state "läuft", "wartet" (not begun), "fertig" or
// "unterbrochen" (the box lost its runner, e.g. by a restart), an entry's
// "erledigt", "läuft", "wartet", "fehlgeschlagen" (with the reason),
// "abgebrochen", "übersprungen" (not begun after a cancel) or
// "unterbrochen". wait and cancel print "3 von 3 Einträgen kopiert" and the
// end report of the entries not done; wait exits with 0 only when every
// entry was done, cancel once the job has ended.

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/console_progress.h"
#include "error.h"
#include "front/headless_jobs.h"
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
    bool detach = false;
    int job = 0;
    bool trustNewKey = false;
};

// The subcommands, each set once it was given.
struct Verbs {
    CLI::App* drives;
    CLI::App* ls;
    CLI::App* cp;
    CLI::App* mv;
    CLI::App* jobs;
    CLI::App* wait;
    CLI::App* cancel;
    CLI::App* rm;
    CLI::App* mkdir;
    CLI::App* rename;
    CLI::App* df;
    CLI::App* stat;
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
    command->add_flag("--detach", args.detach,
                      "Zurück, sobald die Box den Auftrag hat; gibt seine Nummer aus");
    return command;
}

int RunJob(olmira::HeadlessSession& run, olmira::TransferMode mode, Arguments& args) {
    std::signal(SIGINT, Interrupt);
    run.CancelWhenSet(interrupted);
    ConsoleProgress progress(std::cerr, run.Window());
    const std::string destFolder = args.paths.back();
    args.paths.pop_back();
    if (args.detach) {
        std::cout << run.HandOver(mode, args.paths, destFolder, args.overwrite) << '\n';
    } else {
        run.Transfer(mode, args.paths, destFolder, args.overwrite);
    }
    return 0;
}

// The job's end as the window's status bar tells it, then what became of
// each entry that was not done.
int PrintJobEnd(const olmira::FollowedEnd& end, bool cancelled) {
    std::cout << olmira::ReportStatus(end.report) << '\n';
    if (!end.message.empty()) {
        std::cerr << end.message << '\n';
    }
    return end.AllDone() || cancelled ? 0 : 1;
}

// Ctrl-C while it waits ends the console alone; the job goes on. Even a
// console that a script started in the background, with Ctrl-C ignored.
int FollowJob(olmira::HeadlessSession& run, const Verbs& verbs, const Arguments& args) {
    std::signal(SIGINT, SIG_DFL);
    ConsoleProgress progress(std::cerr, run.Window());
    olmira::HeadlessJobs jobs(run);
    if (*verbs.cancel) {
        return PrintJobEnd(jobs.Cancel(args.job), true);
    }
    return PrintJobEnd(jobs.Await(args.job), false);
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

void PrintLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::cout << line << '\n';
    }
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

void AddJobVerbs(CLI::App& app, Arguments& args, Verbs& verbs) {
    verbs.cp = AddJobCommand(app, "cp", "Kopiert auf der Box Dateien und Ordner", args);
    verbs.mv = AddJobCommand(app, "mv", "Verschiebt auf der Box Dateien und Ordner", args);
    verbs.jobs = app.add_subcommand("jobs", "Die Aufträge der Box, je Eintrag eine Zeile");
    verbs.jobs->footer(
        "Je Zeile, mit Tabulatoren: Nummer des Auftrags, sein Zustand (läuft, wartet, fertig, "
        "unterbrochen), der Pfad des Eintrags unter /var/media, sein Zustand (erledigt, läuft, "
        "wartet, fehlgeschlagen, abgebrochen, übersprungen, unterbrochen) und bei "
        "fehlgeschlagen der Grund.");
    verbs.wait = app.add_subcommand(
        "wait", "Folgt einem Auftrag bis zu seinem Ende und meldet, was aus ihm wurde");
    verbs.wait
        ->add_option(
            "AUFTRAG", args.job,
            "seine Nummer; ohne: der laufende Auftrag dieses PCs, sonst sein nächster wartender, "
            "sonst sein ältester beendeter")
        ->check(CLI::PositiveNumber);
    verbs.wait->footer(
        "Zeigt den Fortschritt wie cp, dann wie viele Einträge erledigt wurden, und meldet die "
        "übrigen mit Grund; Rückgabewert 0 nur, wenn alle erledigt wurden. Ctrl-C beendet nur "
        "das Warten, der Auftrag läuft auf der Box weiter.");
    verbs.cancel = app.add_subcommand(
        "cancel", "Bricht einen laufenden oder wartenden Auftrag ab und wartet auf sein Ende");
    verbs.cancel->add_option("AUFTRAG", args.job, "seine Nummer, wie jobs sie nennt")
        ->required()
        ->check(CLI::PositiveNumber);
    verbs.cancel->footer(
        "Meldet wie wait, was aus den Einträgen wurde; Rückgabewert 0, sobald der Auftrag "
        "beendet ist. Ein wartender Auftrag endet, sobald die Box zu ihm kommt.");
}

void AddBrowseVerbs(CLI::App& app, Arguments& args, Verbs& verbs) {
    verbs.drives = app.add_subcommand("drives", "Die Laufwerke der Box, eines je Zeile");
    verbs.ls = app.add_subcommand("ls", "Ein Ordner unter /var/media, wie ihn die Liste zeigt");
    verbs.ls->add_option("PFAD", args.path, "z.B. hdd/Filme")->required();
}

void AddTidyVerbs(CLI::App& app, Arguments& args, Verbs& verbs) {
    verbs.rm = app.add_subcommand("rm", "Löscht ohne Rückfrage Dateien und Ordner samt Inhalt");
    verbs.rm->add_option("PFAD...", args.paths, "z.B. hdd/Filme/film.ts")->required();
    verbs.mkdir = app.add_subcommand("mkdir", "Legt einen Ordner in einem vorhandenen an");
    verbs.mkdir->add_option("PFAD", args.path, "z.B. \"hdd/Neue Aufnahmen\"")->required();
    verbs.rename = app.add_subcommand("rename", "Benennt eine Datei oder einen Ordner um");
    verbs.rename->add_option("PFAD", args.path, "z.B. hdd/Filme/film.ts")->required();
    verbs.rename->add_option("NEUERNAME", args.newName, "der neue Name im selben Ordner")
        ->required();
    verbs.df = app.add_subcommand(
        "df", "Freier und gesamter Platz in kB, je Laufwerk eine Zeile mit Tabulatoren");
    verbs.df->add_option("LAUFWERK...", args.paths, "z.B. hdd/; ohne: alle Laufwerke");
    verbs.stat = app.add_subcommand(
        "stat", "Größe in Bytes und Datum, bei Ordnern auch Anzahl und Bytes der Dateien darin");
    verbs.stat->add_option("PFAD", args.path, "z.B. hdd/Filme")->required();
}

// The exit status of the job verbs; nullopt for another verb.
std::optional<int> RunJobVerb(olmira::HeadlessSession& run, const Verbs& verbs, Arguments& args) {
    if (*verbs.cp) {
        return RunJob(run, olmira::TransferMode::Copy, args);
    }
    if (*verbs.mv) {
        return RunJob(run, olmira::TransferMode::Move, args);
    }
    if (*verbs.jobs) {
        PrintLines(olmira::HeadlessJobs(run).Lines());
        return 0;
    }
    if (*verbs.wait || *verbs.cancel) {
        return FollowJob(run, verbs, args);
    }
    return std::nullopt;
}

void RunOtherVerb(olmira::HeadlessSession& run, const Verbs& verbs, const Arguments& args) {
    if (*verbs.drives) {
        PrintLines(run.Drives());
    } else if (*verbs.ls) {
        PrintEntries(*run.Listing(args.path));
    } else if (*verbs.rm) {
        run.Remove(args.paths);
    } else if (*verbs.mkdir) {
        run.MakeFolder(args.path);
    } else if (*verbs.rename) {
        run.Rename(args.path, args.newName);
    } else if (*verbs.df) {
        PrintFreeSpace(run, args.paths);
    } else if (*verbs.stat) {
        PrintProperties(run.Properties(args.path));
    }
}

int Run(const Verbs& verbs, Arguments& args) {
    olmira::HeadlessSession run(LoadSettings(args.iniPath));
    run.Window().keepLog = false;
    run.Window().trustNewKeys = args.trustNewKey;
    std::optional<int> status;
    try {
        status = RunJobVerb(run, verbs, args);
        if (!status) {
            RunOtherVerb(run, verbs, args);
            status = 0;
        }
    } catch (const std::exception& e) {
        if (!run.Window().keyDistrusted) {
            throw;
        }
        throw olmira::Error(std::string(e.what()) +
                            "\nIst es der Schlüssel der Box, dann mit --trust-new-key vertrauen.");
    }
    run.Finish();
    return *status;
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
    app.add_flag("--trust-new-key", args.trustNewKey,
                 "Über SSH dem Schlüssel einer noch unbekannten Box vertrauen und ihn speichern");
    Verbs verbs{};
    AddBrowseVerbs(app, args, verbs);
    AddJobVerbs(app, args, verbs);
    AddTidyVerbs(app, args, verbs);

    CLI11_PARSE(app, argc, argv);
    int status = 0;
    try {
        status = Run(verbs, args);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return interrupted != 0 ? kInterruptedStatus : 1;
    }
    return interrupted != 0 ? kInterruptedStatus : status;
}
