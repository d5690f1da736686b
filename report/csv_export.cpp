// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "csv_export.h"

#include <QSaveFile>

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

bool writeExport(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error != nullptr)
            *error =
                QStringLiteral("%1 に書きこめませんでした（%2）。").arg(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace report
