#pragma once
// The archive of every finished drill, and the names in it:
//
//   rirekidata/kiroku/Rovedavu<ID>/YYYYMMDD-HHMMSS_<host>_<8 hex>.txt
//
// one folder per learner under the working folder, one file per drill named by the local
// date and time of the end of the drill, the computer's name and 8 random hex digits.
// Files whose names start with "." are temporary files of a write, never drills.

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <string_view>

namespace records {

// Relative to the working folder; inside rirekidata, which the program never creates.
inline constexpr std::u16string_view kArchiveFolder = u"rirekidata/kiroku";

// "Rovedavu" + ID, the ID exactly as typed.
QString archiveFolderName(std::u16string_view myid);

// "rirekidata/kiroku/Rovedavu" + ID.
QString learnerArchivePath(std::u16string_view myid);

// The computer's name as it goes into a file name: characters outside [A-Za-z0-9.-] become
// "-", cut to 63 bytes; an empty name becomes "-".
QString archiveHostName(const QString& host);

// "YYYYMMDD-HHMMSS_<host>_<8 hex>.txt" with ended in local time, the host through
// archiveHostName and the random number as 8 lower-case hex digits.
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
