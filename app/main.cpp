#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

#include "form_main.h"
#include "message_boxes.h"
#include "olmirafm_version.h"
#include "qt_translations.h"
#include "settings/program_folder.h"

namespace {

void Describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Dateimanager für die Laufwerke der Box, eines Linux-Receivers, über Telnet."));
    parser.addHelpOption();
    parser.addVersionOption();
}

// The program takes no arguments of its own: --help and --version answer on
// standard output and end it, anything else ends it with an error.
void ProcessCommandLine(const QCoreApplication& application) {
    QCommandLineParser parser;
    Describe(parser);
    parser.process(application);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "%s: unerwartetes Argument: %s\n",
                     qPrintable(QCoreApplication::applicationName()),
                     qPrintable(parser.positionalArguments().constFirst()));
        std::exit(EXIT_FAILURE);
    }
}

// --help and --version are answered before a display is opened, so they
// work on a console without one. A command line that the parser does not
// take as it stands may hold Qt's own options (-platform, -style); it waits
// until QApplication has taken those out.
void AnswerWithoutDisplay(int argc, char* argv[]) {
    QCoreApplication console(argc, argv);
    const QtTranslations translations(console, QLocale());
    QCommandLineParser parser;
    Describe(parser);
    if (parser.parse(QCoreApplication::arguments())) {
        ProcessCommandLine(console);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setApplicationVersion(QString::fromLatin1(olmira::kVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral(OLMIRAFM_APP_ID));
    // Dates, numbers and Qt's own texts in German.
    QLocale::setDefault(ProgramLocale(QLocale::system()));
    AnswerWithoutDisplay(argc, argv);

    QApplication application(argc, argv);
    const QtTranslations translations(application, QLocale());
    ProcessCommandLine(application);
    QtMessageBoxes boxes;
    TformMain formMain(olmira::RunningProgramPlace(), boxes);
    formMain.show();
    return QApplication::exec();
}
