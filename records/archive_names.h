// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The archive's names of archive_naming.h as Qt's types, and the reading of them back.

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <string_view>

#include "archive_naming.h"

namespace records {

// archiveFolderText, learnerArchiveText and archiveHostText as Qt's strings.
QString archiveFolderName(std::u16string_view myid);
QString learnerArchivePath(std::u16string_view myid);
QString archiveHostName(const QString& host);

// archiveFileText with ended in local time.
QString archiveFileName(const QDateTime& ended, const QString& host, std::uint32_t random);

// Whether a name in a learner's archive folder is a temporary file of a write.
bool isArchiveTemporaryName(QStringView name);

// "Rovedavu<ID>" to the ID; nullopt for any other name or an ID the history file refuses.
std::optional<QString> idFromArchiveFolderName(QStringView name);

// "Rovedavu<ID>.txt" to the ID; nullopt for any other name or an ID the history file refuses.
std::optional<QString> idFromHistoryFileName(QStringView name);

struct ArchiveFileName {
    QDateTime ended;  // local time, to the second
    QString host;
};

// An archive file name to its parts; nullopt for any name archiveFileName cannot make.
std::optional<ArchiveFileName> parseArchiveFileName(QStringView name);

}  // namespace records
