// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// rovedavu-report: the teacher's program. With --csv, --problems-csv, --xlsx or --pdf it
// writes the export and ends, needing no display; otherwise it opens the windows.

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

#include "command_line.h"
#include "face.h"
#include "report_windows.h"

namespace {

// Qt's own words (such as a file's error) in Japanese, under a Japanese locale.
void translateQtUnderJapanese(QCoreApplication& application) {
    if (QLocale::system().language() != QLocale::Japanese)
        return;
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int k = 1; k < argc; ++k)
        arguments << QString::fromLocal8Bit(argv[k]);
    const report::Options options = report::parseArguments(arguments);
    if (!options.error.isEmpty()) {
        QTextStream(stderr) << QStringLiteral("rovedavu-report: ") << options.error << u'\n'
                            << report::usageText();
        return 2;
    }
    if (options.action == report::Options::Action::Help) {
        QTextStream(stdout) << report::usageText();
        return 0;
    }

    if (options.action == report::Options::Action::Windows) {
        // Without a display Qt would abort in English; say what to do instead.
        if (!report::displayAvailable()) {
            QTextStream(stderr) << QStringLiteral("rovedavu-report: ") << report::noDisplayText()
                                << u'\n' << report::usageText();
            return 2;
        }
        QApplication application(argc, argv);
        ui::installFaceSubstitutions();
        return report::runWindows(
            options.folder.isEmpty() ? report::defaultFolder() : options.folder,
            !options.folder.isEmpty(), options.roster);
    }

    if (options.action == report::Options::Action::Csv ||
        options.action == report::Options::Action::ProblemsCsv ||
        options.action == report::Options::Action::Xlsx) {
        QCoreApplication application(argc, argv);
        translateQtUnderJapanese(application);
        return report::runExport(options);
    }
    // The PDF draws only into a file: Qt's offscreen platform serves unless another one is
    // asked for, so that a computer without a screen can export too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    translateQtUnderJapanese(application);
    ui::installFaceSubstitutions();
    return report::runExport(options);
}
