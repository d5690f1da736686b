// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

#include "class_folder.h"
#include "class_list.h"
#include "csv_export.h"
#include "data_folder.h"
#include "figures.h"
#include "meeting_pages.h"
#include "pages.h"
#include "period.h"
#include "roster.h"
#include "roster_store.h"
#include "xlsx_export.h"

namespace report {
namespace {

const QString kProgram = QStringLiteral("rovedavu-report");

int failure(const QString& message) {
    QTextStream(stderr) << kProgram << QStringLiteral(": ") << message << Qt::endl;
    return 1;
}

// Whether the path lies in the folder or below it, after links are followed.
bool isInside(const QString& path, const QString& folder) {
    const QString outputFolder = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    if (outputFolder.isEmpty() || canonicalFolder.isEmpty())
        return false;
    return outputFolder == canonicalFolder || outputFolder.startsWith(canonicalFolder + u'/');
}

}  // namespace

QString usageText() {
    return QStringLiteral(
               "使い方:\n"
               "  %1 [フォルダ]                  画面で見る\n"
               "  %1 --csv 出力.csv [フォルダ]   クラスの表を CSV（UTF-8）に書き出す\n"
               "  %1 --pdf 出力.pdf [フォルダ]   クラスのページと一人ずつのページを PDF "
               "に書き出す\n"
               "  %1 --problems-csv 出力.csv ID [フォルダ]\n"
               "      その ID の児童のすべての問題を、むずかしかった順に CSV（UTF-8）に書き出す\n"
               "  %1 --meeting-pdf 出力.pdf [--id ID] [フォルダ]\n"
               "      面談用シートを PDF に書き出す（ドリルのある児童全員、または --id の児童）\n"
               "  %1 --xlsx 出力.xlsx [フォルダ]\n"
               "      クラスの表と、児童ごとの問題の表を XLSX（表計算のファイル）に書き出す\n"
               "フォルダは rirekidata フォルダです。省略すると、作業フォルダの rirekidata "
               "を読みます。\n"
               "書き出しには --from 2026-09-01 や --to 2026-12-31 をつけられます。"
               "その日までの間に終えたドリルだけを数えます。\n"
               "どの使い方にも --roster 名簿.csv（または .xlsx）を付けられます。その名簿の"
               "出席番号と氏名で表示し、\nいくつかの ID を一人にまとめます。この名簿はその回だけ"
               "使い、覚えません。付けなければ、\n画面で読みこんで覚えた、そのフォルダの名簿を"
               "使います。\n")
        .arg(kProgram);
}

bool displayAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

QString noDisplayText() {
    return QStringLiteral(
        "画面（ディスプレイ）が見つからないので、ウィンドウを開けません。"
        "画面のないコンピューターでは、--csv 出力.csv、--xlsx 出力.xlsx や --pdf 出力.pdf "
        "で書き出せます。");
}

QString defaultFolder() {
    return QDir(records::workingFolder().path).filePath(QStringLiteral("rirekidata"));
}

Options parseArguments(const QStringList& arguments) {
    Options options;
    const auto wrong = [&options](const QString& message) {
        options.error = message;
        return options;
    };
    bool folderGiven = false;
    bool idGiven = false;
    for (qsizetype k = 0; k < arguments.size(); ++k) {
        const QString& argument = arguments[k];
        if (argument == u"--help" || argument == u"-h") {
            options.action = Options::Action::Help;
            return options;
        }
        if (argument == u"--id") {
            if (k + 1 >= arguments.size() || arguments[k + 1].isEmpty())
                return wrong(QStringLiteral("--id のあとに児童の ID がありません。"));
            options.id = arguments[++k];
            idGiven = true;
            continue;
        }
        if (argument == u"--roster") {
            if (k + 1 >= arguments.size() || arguments[k + 1].isEmpty())
                return wrong(QStringLiteral("--roster のあとに名簿のファイルの名前がありません。"));
            options.roster = arguments[++k];
            continue;
        }
        if (argument == u"--csv" || argument == u"--pdf" || argument == u"--problems-csv" ||
            argument == u"--meeting-pdf" || argument == u"--xlsx") {
            if (options.action != Options::Action::Windows)
                return wrong(
                    QStringLiteral("--csv、--pdf、--problems-csv、--meeting-pdf、--xlsx は、"
                                   "どれか一つだけ指定してください。"));
            if (k + 1 >= arguments.size() || arguments[k + 1].isEmpty())
                return wrong(QStringLiteral("%1 のあとに書き出すファイルの名前がありません。")
                                 .arg(argument));
            options.output = arguments[++k];
            if (argument == u"--problems-csv") {
                if (k + 1 >= arguments.size() || arguments[k + 1].isEmpty())
                    return wrong(
                        QStringLiteral("%1 のあとに児童の ID がありません。").arg(argument));
                options.action = Options::Action::ProblemsCsv;
                options.id = arguments[++k];
            } else if (argument == u"--meeting-pdf") {
                options.action = Options::Action::MeetingPdf;
            } else {
                options.action = argument == u"--csv"    ? Options::Action::Csv
                                 : argument == u"--xlsx" ? Options::Action::Xlsx
                                                         : Options::Action::Pdf;
            }
        } else if (argument == u"--from" || argument == u"--to") {
            const QDate day =
                k + 1 < arguments.size()
                    ? QDate::fromString(arguments[k + 1], QStringLiteral("yyyy-MM-dd"))
                    : QDate();
            if (!day.isValid())
                return wrong(QStringLiteral("%1 のあとに 2026-12-07 のような日付がありません。")
                                 .arg(argument));
            (argument == u"--from" ? options.from : options.to) = day;
            ++k;
        } else if (argument.startsWith(u'-') && argument != u"-") {
            return wrong(QStringLiteral("%1 というオプションはありません。").arg(argument));
        } else {
            if (folderGiven)
                return wrong(QStringLiteral("フォルダは一つだけ指定してください。"));
            options.folder = argument;
            folderGiven = true;
        }
    }
    if (idGiven && options.action != Options::Action::MeetingPdf)
        return wrong(QStringLiteral("--id は --meeting-pdf といっしょに指定してください。"));
    if (options.from.isValid() && options.to.isValid() && options.from > options.to)
        return wrong(QStringLiteral("--from の日付が --to の日付よりあとです。"));
    if (options.action == Options::Action::Windows &&
        (options.from.isValid() || options.to.isValid()))
        return wrong(
            QStringLiteral("--from と --to は書き出しのときに使います。"
                           "画面では、表の上の「期間」で選べます。"));
    return options;
}

int runExport(const Options& options) {
    const QString folder = options.folder.isEmpty() ? defaultFolder() : options.folder;
    if (!QFileInfo(folder).isDir())
        return failure(QFileInfo::exists(folder)
                           ? QStringLiteral("%1 はフォルダではありません。").arg(folder)
                           : QStringLiteral("フォルダ %1 がありません。").arg(folder));
    if (isInside(options.output, folder))
        return failure(QStringLiteral("書き出し先 %1 が記録のフォルダ %2 の中です。"
                                      "記録のフォルダには何も書きません。")
                           .arg(options.output, folder));

    std::optional<Roster> roster;
    if (!options.roster.isEmpty()) {
        QString error;
        roster = readRoster(options.roster, &error);
        if (!roster)
            return failure(error);
    } else {
        roster = storedRoster(folder);
    }

    const Period period = periodBetween(options.from, options.to);
    const records::ClassFolder read =
        inPeriod(nameClass(records::readClassFolder(folder), roster ? &*roster : nullptr), period);
    if (!read.error.isEmpty())
        return failure(QStringLiteral("%1: %2").arg(folder, read.error));
    if (read.learners.empty()) {
        QTextStream(stderr) << kProgram
                            << QStringLiteral(
                                   ": %1 には、読めるドリルの記録が一つもありません"
                                   "でした（見出しだけを書き出します）。")
                                   .arg(folder)
                            << Qt::endl;
    }
    for (const records::UnreadableFile& file : read.unreadable) {
        QTextStream(stderr)
            << kProgram
            << QStringLiteral(": 読めなかったファイル %1: %2").arg(file.path, file.reason)
            << Qt::endl;
    }

    QString error;
    bool written = false;
    if (options.action == Options::Action::ProblemsCsv) {
        // A child whose IDs were joined is found by any of them.
        const auto learner =
            std::find_if(read.learners.begin(), read.learners.end(),
                         [&](const records::Learner& one) { return hasId(one, options.id); });
        if (learner == read.learners.end())
            return failure(
                QStringLiteral("%1 には ID %2 の記録がありません。").arg(folder, options.id));
        written = writeExport(options.output,
                              problemsCsv(learner->id, problemsHardestFirst(*learner)), &error);
    } else if (options.action == Options::Action::MeetingPdf) {
        std::vector<MeetingChild> children = meetingChildren(read);
        if (!options.id.isEmpty()) {
            std::erase_if(children, [&](const MeetingChild& child) {
                return !hasId(*child.learner, options.id);
            });
            if (children.empty())
                return failure(
                    QStringLiteral("%1 には ID %2 の記録がありません。").arg(folder, options.id));
        }
        written = writeMeetingPdf(options.output, children, period, &error);
    } else if (options.action == Options::Action::Csv) {
        written = writeExport(options.output,
                              classCsv(flaggedClassRows(read, period.asOf(QDate::currentDate()))),
                              &error);
    } else if (options.action == Options::Action::Xlsx) {
        written = writeClassXlsx(options.output, read,
                                 flaggedClassRows(read, period.asOf(QDate::currentDate())), &error);
    } else {
        written = writeFolderPdf(options.output, read, &error, period);
    }
    if (!written)
        return failure(error);
    return 0;
}

}  // namespace report
