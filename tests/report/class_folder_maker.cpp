// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "class_folder_maker.h"

#include <QDir>
#include <QFile>
#include <random>

#include "archive_names.h"
#include "conversions.h"
#include "drill_state.h"
#include "history_file.h"

namespace report_test {
namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

}  // namespace

QByteArray drillBytes(const std::vector<MadeRow>& rows, const QString& date) {
    drill::DrillState state;
    state.lastnum = static_cast<std::int16_t>(rows.size());
    state.mydate = date.toStdU16String();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const MadeRow& row = rows[k];
        if (row.divisor != 0) {
            state.qtext[k + 1] = drill::numberText(static_cast<std::int16_t>(row.dividend)) + u"÷" +
                                 drill::numberText(static_cast<std::int16_t>(row.divisor));
            state.qtime[k + 1] = row.seconds;
        }
        state.qmiss[k + 1] = static_cast<std::int16_t>(row.wrong);
    }
    return records::historyFileBytes(state);
}

QString writeArchiveFile(const QString& rirekidata, const QString& id, const QDateTime& ended,
                         std::uint32_t random, const QByteArray& bytes) {
    const QString path =
        QDir(rirekidata)
            .filePath(QStringLiteral("kiroku/") + records::archiveFolderName(id.toStdU16String()) +
                      u'/' + records::archiveFileName(ended, QStringLiteral("pc1"), random));
    writeBytes(path, bytes);
    return path;
}

QString writeHistoryFile(const QString& rirekidata, const QString& id, const QByteArray& bytes,
                         const QDateTime& modified) {
    const QString path = QDir(rirekidata).filePath(QStringLiteral("Rovedavu%1.txt").arg(id));
    writeBytes(path, bytes);
    if (modified.isValid()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(modified, QFileDevice::FileModificationTime))
            qFatal("cannot set the time of %s", qPrintable(path));
    }
    return path;
}

void makeClassFolder(const QString& rirekidata, int learners, int drills, std::uint32_t seed) {
    std::mt19937 random(seed);
    const auto below = [&random](int bound) { return static_cast<int>(random() % bound); };
    const QDateTime first(QDate(2026, 4, 6), QTime(9, 0));
    for (int learner = 1; learner <= learners; ++learner) {
        const QString id = QString::number(learner);
        QByteArray bytes;
        for (int drill = 0; drill < drills; ++drill) {
            std::vector<MadeRow> rows;
            for (int k = 0; k < drill::kProblemCount; ++k) {
                const int divisor = below(9) + 1;
                rows.push_back({divisor + below(100 - divisor), divisor,
                                0.5f + static_cast<float>(below(300)) / 10.0f, below(4) / 3});
            }
            bytes =
                drillBytes(rows, QStringLiteral("%1／%2").arg(drill / 30 + 4).arg(drill % 30 + 1));
            writeArchiveFile(rirekidata, id, first.addDays(drill).addSecs(learner * 60),
                             static_cast<std::uint32_t>(random()), bytes);
        }
        writeHistoryFile(rirekidata, id, bytes);
    }
}

}  // namespace report_test
