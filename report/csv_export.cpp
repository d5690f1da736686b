// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "csv_export.h"

#include "tables.h"

namespace report {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kLineEnd[] = "\r\n";

// A text item: always quoted, a double quote doubled. A text that a spreadsheet would take
// for a formula (starting with =, +, -, @, a tab or CR) gets a leading apostrophe, so that an
// ID such as "=1+1" stays text.
QByteArray textItem(const QString& text) {
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!quoted.isEmpty() && formulaStarts.contains(quoted.front()))
        quoted.prepend(u'\'');
    return '"' + quoted.toUtf8() + '"';
}

void appendLine(QByteArray& csv, const QStringList& items, const std::vector<bool>& numeric) {
    for (qsizetype k = 0; k < items.size(); ++k) {
        if (k > 0)
            csv += ',';
        const bool bare = static_cast<std::size_t>(k) < numeric.size() && numeric[k];
        csv += bare ? items[k].toUtf8() : textItem(items[k]);
    }
    csv += kLineEnd;
}

QByteArray tableCsv(const TableText& table, const QString& firstHeader = {},
                    const QString& firstItem = {}) {
    QByteArray csv = kByteOrderMark;
    const bool leading = !firstHeader.isEmpty();
    std::vector<bool> numeric = table.numeric;
    if (leading)
        numeric.insert(numeric.begin(), false);
    appendLine(csv, leading ? QStringList{firstHeader} + table.headers : table.headers, {});
    for (const QStringList& row : table.rows)
        appendLine(csv, leading ? QStringList{firstItem} + row : row, numeric);
    return csv;
}

}  // namespace

QByteArray classCsv(const std::vector<ClassRow>& rows) {
    return tableCsv(classTable(rows));
}

QByteArray problemsCsv(const QString& id, const std::vector<ProblemFigures>& problems) {
    return tableCsv(problemTable(problems), QStringLiteral("ID"), id);
}

bool commitExport(QSaveFile& file, QString* reason) {
    const auto failed = [&] {
        *reason = file.error() == QFileDevice::ResourceError
                      ? QStringLiteral("ディスクがいっぱいです")
                      : file.errorString();
        return false;
    };
    // A write error may show only in flush(), and commit() would still put the short file in
    // place; so the writing is cancelled before commit() on any failure.
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        failed();
        file.cancelWriting();
        return false;
    }
    return file.commit() || failed();
}

bool writeExport(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    QString reason;
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);  // a failed write leaves its error for commitExport
        if (commitExport(file, &reason))
            return true;
    } else {
        reason = file.errorString();
    }
    if (error != nullptr)
        *error = QStringLiteral("%1 に書きこめませんでした（%2）。").arg(path, reason);
    return false;
}

}  // namespace report
