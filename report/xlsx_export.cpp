// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "xlsx_export.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "figures.h"

namespace report {
namespace {

// The number formats of the figures as their texts show them: "12.3", "+2", "-4.5".
class Formats {
public:
    explicit Formats(lxw_workbook* book) : book_(book) {
        header_ = workbook_add_format(book_);
        format_set_bold(header_);
        format_set_bottom(header_, LXW_BORDER_THIN);
    }
    lxw_format* header() const { return header_; }
    lxw_format* number(const QString& text) {
        const bool decimal = text.contains(u'.');
        const bool sign = text.startsWith(u'+') || text.startsWith(u'-');
        lxw_format*& format = numbers_[{decimal, sign}];
        if (format == nullptr) {
            format = workbook_add_format(book_);
            format_set_num_format(
                format, decimal ? (sign ? "+0.0;-0.0;0.0" : "0.0") : (sign ? "+0;-0;0" : "0"));
        }
        return format;
    }

private:
    lxw_workbook* book_;
    lxw_format* header_;
    std::map<std::pair<bool, bool>, lxw_format*> numbers_;
};

// How wide a text shows, in the widths of a digit: a Japanese character is two.
int shownWidth(const QString& text) {
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() < 0x2000 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) ? 1 : 2;
    return width;
}

QString sheetName(QString name, QSet<QString>& used) {
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    for (QChar& c : name) {
        if (forbidden.contains(c) || c.unicode() < 0x20)
            c = u'_';
    }
    while (name.startsWith(u'\''))
        name.remove(0, 1);
    name = name.left(31).trimmed();
    while (name.endsWith(u'\''))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("表");
    const QString base = name;
    for (int k = 2; used.contains(name.toLower()); ++k) {
        const QString suffix = QStringLiteral(" (%1)").arg(k);
        name = base.left(31 - suffix.size()) + suffix;
    }
    used.insert(name.toLower());
    return name;
}

bool writeSheet(lxw_workbook* book, Formats& formats, const QString& name, const TableText& table) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, name.toUtf8().constData());
    if (sheet == nullptr)
        return false;
    const auto columns = static_cast<lxw_col_t>(table.headers.size());
    std::vector<int> widths(columns, 6);
    for (lxw_col_t k = 0; k < columns; ++k) {
        worksheet_write_string(sheet, 0, k, table.headers[k].toUtf8().constData(),
                               formats.header());
        widths[k] = std::max(widths[k], shownWidth(table.headers[k]));
    }
    lxw_row_t row = 1;
    for (const QStringList& texts : table.rows) {
        for (lxw_col_t k = 0; k < columns && k < texts.size(); ++k) {
            const QString& text = texts[k];
            if (text.isEmpty())
                continue;
            bool isNumber = false;
            const double value =
                k < table.numeric.size() && table.numeric[k] ? text.toDouble(&isNumber) : 0;
            if (isNumber)
                worksheet_write_number(sheet, row, k, value, formats.number(text));
            else
                worksheet_write_string(sheet, row, k, text.toUtf8().constData(), nullptr);
            widths[k] = std::max(widths[k], shownWidth(text));
        }
        ++row;
    }
    for (lxw_col_t k = 0; k < columns; ++k)
        worksheet_set_column(sheet, k, k, std::min(widths[k] + 2, 60), nullptr);
    worksheet_freeze_panes(sheet, 1, 0);
    if (columns > 0)
        worksheet_autofilter(sheet, 0, 0, row - 1, columns - 1);
    return true;
}

bool diskFull(const QString& folder) {
    if (errno == ENOSPC)
        return true;
    struct statvfs space {};
    return ::statvfs(QFile::encodeName(folder).constData(), &space) == 0 && space.f_bavail == 0;
}

bool syncFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

// A problems table with the child's ID (and 出席番号 and 氏名, when known) in front of each
// row, like the problems CSV.
TableText childProblems(const records::Learner& learner) {
    const TableText problems = problemTable(problemsHardestFirst(learner));
    TableText table;
    QStringList headers{QStringLiteral("ID")};
    QStringList items{learner.id};
    if (!learner.number.isEmpty() || !learner.name.isEmpty()) {
        headers = QStringList{QStringLiteral("出席番号"), QStringLiteral("氏名")} + headers;
        items = QStringList{learner.number, learner.name} + items;
    }
    table.headers = headers + problems.headers;
    table.widths.assign(headers.size(), 3);
    table.widths.insert(table.widths.end(), problems.widths.begin(), problems.widths.end());
    table.aligns.assign(headers.size(), Qt::AlignLeft | Qt::AlignVCenter);
    table.aligns.insert(table.aligns.end(), problems.aligns.begin(), problems.aligns.end());
    table.numeric.assign(headers.size(), false);
    table.numeric.insert(table.numeric.end(), problems.numeric.begin(), problems.numeric.end());
    for (const QStringList& row : problems.rows)
        table.rows.push_back(items + row);
    return table;
}

QString childSheetName(const records::Learner& learner) {
    if (learner.name.isEmpty())
        return QStringLiteral("ID ") + learner.id;
    return learner.number.isEmpty() ? learner.name : learner.number + u' ' + learner.name;
}

}  // namespace

bool writeXlsx(const QString& path, const std::vector<Sheet>& sheets, QString* error) {
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    const auto failed = [&](const QString& reason) {
        if (error != nullptr)
            *error = QStringLiteral("%1 に書きこめませんでした（%2）。").arg(path, reason);
        return false;
    };
    // A new name beside the target, so that the finished file takes its place in one step.
    QTemporaryFile temporary(
        QDir(folder).filePath(QStringLiteral(".") + target.fileName() + QStringLiteral(".XXXXXX")));
    if (!temporary.open())
        return failed(temporary.errorString());
    // The mode a new file gets, as the CSV's; the temporary file starts as the owner's only.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(temporary.handle(), 0666 & ~mask);
    temporary.close();
    const QString written = temporary.fileName();

    errno = 0;
    lxw_workbook* book = workbook_new(QFile::encodeName(written).constData());
    if (book == nullptr)
        return failed(diskFull(folder) ? QStringLiteral("ディスクがいっぱいです")
                                       : QStringLiteral("ファイルを作れませんでした"));
    Formats formats(book);
    QSet<QString> used;
    bool filled = true;
    for (const Sheet& sheet : sheets)
        filled = writeSheet(book, formats, sheetName(sheet.name, used), sheet.table) && filled;
    errno = 0;
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR || !filled) {
        const bool full = diskFull(folder);
        return failed(full ? QStringLiteral("ディスクがいっぱいです")
                           : QString::fromUtf8(lxw_strerror(closed)));
    }
    if (!syncFile(written))
        return failed(diskFull(folder) ? QStringLiteral("ディスクがいっぱいです")
                                       : QStringLiteral("ファイルを書き終えられませんでした"));
    if (std::rename(QFile::encodeName(written).constData(), QFile::encodeName(path).constData()) !=
        0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    temporary.setAutoRemove(false);  // it has its name now
    return true;
}

bool writeClassXlsx(const QString& path, const records::ClassFolder& folder,
                    const std::vector<ClassRow>& rows, QString* error) {
    std::vector<Sheet> sheets{{QStringLiteral("クラス"), classTable(rows)}};
    for (const records::Learner& learner : folder.learners) {
        if (!learner.drills.empty())
            sheets.push_back({childSheetName(learner), childProblems(learner)});
    }
    return writeXlsx(path, sheets, error);
}

bool writeLearnerXlsx(const QString& path, const records::Learner& learner, QString* error) {
    return writeXlsx(path,
                     {{QStringLiteral("むずかしかった問題"), childProblems(learner)},
                      {QStringLiteral("ドリルの一覧"), drillTable(drillsOverTime(learner))}},
                     error);
}

}  // namespace report
