// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "archive_names.h"

#include "history_file.h"
#include "qt_text.h"

namespace records {
namespace {

constexpr QStringView kPrefix = u"Rovedavu";
constexpr QStringView kSuffix = u".txt";
constexpr qsizetype kTimeLength = 15;
constexpr qsizetype kHostMaxLength = 63;  // ASCII only, so also bytes
constexpr qsizetype kHexLength = 8;

bool isHostCharacter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'.' || c == u'-';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isLowerHex(QChar c) {
    return isDigit(c) || (c >= u'a' && c <= u'f');
}

// The ID in "Rovedavu" + ID + suffix, when the history file would take it.
std::optional<QString> idBetween(QStringView name, QStringView suffix) {
    if (!name.startsWith(kPrefix) || !name.endsWith(suffix) ||
        name.size() <= kPrefix.size() + suffix.size())
        return std::nullopt;
    const QString id =
        name.mid(kPrefix.size(), name.size() - kPrefix.size() - suffix.size()).toString();
    if (checkHistoryId(id.toStdU16String()) != IdCheck::Usable)
        return std::nullopt;
    return id;
}

}  // namespace

QString archiveFolderName(std::u16string_view myid) {
    return toQString(archiveFolderText(myid));
}

QString learnerArchivePath(std::u16string_view myid) {
    return toQString(learnerArchiveText(myid));
}

QString archiveHostName(const QString& host) {
    return toQString(archiveHostText(toU16View(host)));
}

QString archiveFileName(const QDateTime& ended, const QString& host, std::uint32_t random) {
    const QDateTime local = ended.toLocalTime();
    const QDate date = local.date();
    const QTime time = local.time();
    const LocalTime parts{date.year(), date.month(),  date.day(),
                          time.hour(), time.minute(), time.second()};
    return toQString(archiveFileText(parts, toU16View(host), random));
}

bool isArchiveTemporaryName(QStringView name) {
    return name.startsWith(u'.');
}

std::optional<QString> idFromArchiveFolderName(QStringView name) {
    return idBetween(name, {});
}

std::optional<QString> idFromHistoryFileName(QStringView name) {
    return idBetween(name, kSuffix);
}

std::optional<ArchiveFileName> parseArchiveFileName(QStringView name) {
    // YYYYMMDD-HHMMSS _ host _ hex .txt
    const qsizetype fixed = kTimeLength + 1 + 1 + kHexLength + kSuffix.size();
    if (name.size() <= fixed || name.size() > fixed + kHostMaxLength || !name.endsWith(kSuffix))
        return std::nullopt;
    const QStringView time = name.first(kTimeLength);
    const qsizetype hostLength = name.size() - fixed;
    const QStringView host = name.mid(kTimeLength + 1, hostLength);
    const QStringView hex = name.mid(kTimeLength + 1 + hostLength + 1, kHexLength);
    if (name[kTimeLength] != u'_' || name[kTimeLength + 1 + hostLength] != u'_')
        return std::nullopt;
    for (qsizetype k = 0; k < kTimeLength; ++k) {
        if (k == 8 ? time[k] != u'-' : !isDigit(time[k]))
            return std::nullopt;
    }
    for (const QChar c : host) {
        if (!isHostCharacter(c))
            return std::nullopt;
    }
    for (const QChar c : hex) {
        if (!isLowerHex(c))
            return std::nullopt;
    }
    // From the digits straight: QDateTime::fromString costs some 20 times more, which shows
    // in a class folder of ten thousand files.
    const auto number = [&time](qsizetype from, qsizetype count) {
        int value = 0;
        for (qsizetype k = from; k < from + count; ++k)
            value = value * 10 + (time[k].unicode() - u'0');
        return value;
    };
    const QDate date(number(0, 4), number(4, 2), number(6, 2));
    const QTime clock(number(9, 2), number(11, 2), number(13, 2));
    if (!date.isValid() || !clock.isValid())
        return std::nullopt;
    const QDateTime ended(date, clock);
    // A time that does not exist in local time (a clock moved forward) is not one we made.
    if (!ended.isValid() || ended.date() != date || ended.time() != clock)
        return std::nullopt;
    return ArchiveFileName{ended, host.toString()};
}

}  // namespace records
