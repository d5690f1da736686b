// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "class_folder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <thread>

#include "archive_names.h"
#include "history_reader.h"
#include "qt_text.h"

namespace records {
namespace {

constexpr auto kArchiveSubfolder = u"kiroku";
constexpr std::u16string_view kFolderMissing = u"フォルダがありません。";
constexpr std::u16string_view kNotAFolder = u"フォルダではありません。";
constexpr std::u16string_view kFolderUnreadable = u"フォルダの中を読めませんでした。";
constexpr std::size_t kProgressEvery = 64;

struct IdOrder {
    bool operator()(const QString& left, const QString& right) const {
        return idBefore(left, right);
    }
};

// What to read for one learner.
struct LearnerFiles {
    QString id;
    QString historyPath;                // empty when there is no history file
    std::vector<QString> archivePaths;  // the drills' files, by name
    std::vector<QString> archiveNames;
};

// What one learner's files gave.
struct LearnerResult {
    Learner learner;
    std::vector<UnreadableFile> unreadable;
    bool done = false;
};

// The names of the files (or of the folders) in a folder, by name; false when the folder
// cannot be listed.
bool listNames(const QString& folder, QDir::Filters kind, QStringList& names) {
    QDir dir(folder);
    if (!dir.isReadable())
        return false;
    names = dir.entryList(kind | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    return true;
}

KeptDrill keptDrill(const HistoryDrill& drill, const QString& path, const QDateTime& ended) {
    KeptDrill kept;
    kept.ended = ended;
    kept.date = drill.date;
    kept.path = path;
    kept.rows.reserve(drill.rows.size());
    for (const HistoryRow& row : drill.rows) {
        kept.rows.push_back(KeptRow{row.seconds, static_cast<std::int16_t>(row.wrongCount),
                                    static_cast<std::uint8_t>(row.dividend),
                                    static_cast<std::uint8_t>(row.divisor)});
    }
    return kept;
}

// At most this many threads read at once: files are small, and a network share or a disk
// gains little from more.
constexpr unsigned kMostThreads = 4;

class FolderReader {
public:
    FolderReader(const QString& folder, const ScanControl& control) : control_(control) {
        result_.folder = folder;
    }

    ClassFolder read() {
        const QFileInfo folder(result_.folder);
        if (!folder.isDir()) {
            result_.error = toQString(folder.exists() ? kNotAFolder : kFolderMissing);
            return std::move(result_);
        }
        if (!findFiles())
            return std::move(result_);

        // Learners are read side by side; the calling thread reads too and alone reports
        // progress.
        std::vector<LearnerResult> results(jobs_.size());
        const unsigned threads =
            std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, kMostThreads);
        std::vector<std::thread> readers;
        for (unsigned k = 1; k < threads && k < jobs_.size(); ++k)
            readers.emplace_back([&] { work(results, false); });
        work(results, true);
        for (std::thread& reader : readers)
            reader.join();

        result_.filesRead = filesRead_.load();
        result_.cancelled = stopped_.load();
        for (LearnerResult& done : results) {
            if (!done.done)
                continue;
            std::move(done.unreadable.begin(), done.unreadable.end(),
                      std::back_inserter(result_.unreadable));
            // A learner is someone with a drill: files that hold none are only listed.
            if (!done.learner.drills.empty())
                result_.learners.push_back(std::move(done.learner));
        }
        std::sort(result_.unreadable.begin(), result_.unreadable.end(),
                  [](const UnreadableFile& left, const UnreadableFile& right) {
                      return left.path < right.path;
                  });
        report();
        return std::move(result_);
    }

private:
    bool findFiles() {
        std::map<QString, LearnerFiles, IdOrder> learners;
        QStringList names;
        if (!listNames(result_.folder, QDir::Files, names)) {
            result_.error = toQString(kFolderUnreadable);
            return false;
        }
        const QDir folder(result_.folder);
        for (const QString& name : names) {
            if (const auto id = idFromHistoryFileName(name)) {
                learners[*id].historyPath = folder.filePath(name);
                ++total_;
            }
        }
        const QString archive = folder.filePath(QString::fromUtf16(kArchiveSubfolder));
        QStringList learnerFolders;
        if (QFileInfo(archive).isDir() && !listNames(archive, QDir::Dirs, learnerFolders))
            result_.unreadable.push_back(UnreadableFile{archive, toQString(kFolderUnreadable)});
        for (const QString& name : learnerFolders) {
            const auto id = idFromArchiveFolderName(name);
            if (!id)
                continue;
            const QDir learnerFolder(QDir(archive).filePath(name));
            QStringList drills;
            if (!listNames(learnerFolder.path(), QDir::Files, drills)) {
                result_.unreadable.push_back(
                    UnreadableFile{learnerFolder.path(), toQString(kFolderUnreadable)});
                continue;
            }
            LearnerFiles& files = learners[*id];
            for (const QString& drill : drills) {
                if (isArchiveTemporaryName(drill))
                    continue;
                files.archivePaths.push_back(learnerFolder.filePath(drill));
                files.archiveNames.push_back(drill);
                ++total_;
            }
        }
        for (auto& [id, files] : learners) {
            if (files.historyPath.isEmpty() && files.archivePaths.empty())
                continue;  // an empty archive folder
            files.id = id;
            jobs_.push_back(std::move(files));
        }
        return true;
    }

    // Takes learners one after another until none is left or the reading is cancelled.
    void work(std::vector<LearnerResult>& results, bool reporting) {
        for (;;) {
            const std::size_t k = nextJob_.fetch_add(1);
            if (k >= jobs_.size())
                return;
            if (!readLearner(jobs_[k], results[k], reporting)) {
                stopped_ = true;
                return;
            }
        }
    }

    // False when cancelled.
    bool readLearner(const LearnerFiles& files, LearnerResult& result, bool reporting) {
        Learner& learner = result.learner;
        learner.id = files.id;
        const auto unreadable = [&](const QString& path, const QString& reason) {
            result.unreadable.push_back(UnreadableFile{path, reason});
        };
        // The history file's bytes, when it could be read at all.
        std::optional<QByteArray> historyBytes;
        std::optional<HistoryRead> history;
        if (!files.historyPath.isEmpty()) {
            if (cancelled())
                return false;
            QByteArray read;
            history = readHistoryFile(files.historyPath, &read);
            if (!read.isEmpty())
                historyBytes = read;
            done(reporting);
        }
        bool historyInArchive = false;
        QByteArray bytes;
        for (std::size_t k = 0; k < files.archivePaths.size(); ++k) {
            if (cancelled())
                return false;
            const QString& path = files.archivePaths[k];
            const auto parsed = parseArchiveFileName(files.archiveNames[k]);
            if (!parsed) {
                unreadable(path, toQString(kNotAnArchiveName));
                done(reporting);
                continue;
            }
            bytes.clear();
            const HistoryRead read = readHistoryFile(path, &bytes);
            if (read.drill) {
                // An unreadable history file is listed under its own name even when an
                // archive file holds the same bytes.
                if (historyBytes && bytes == *historyBytes)
                    historyInArchive = true;
                learner.drills.push_back(keptDrill(*read.drill, path, parsed->ended));
            } else {
                unreadable(path, read.refusal);
            }
            done(reporting);
        }
        if (history && !historyInArchive) {
            if (history->drill) {
                KeptDrill drill = keptDrill(*history->drill, files.historyPath,
                                            QFileInfo(files.historyPath).lastModified());
                drill.historyOnly = true;
                learner.drills.push_back(std::move(drill));
            } else {
                unreadable(files.historyPath, history->refusal);
            }
        }
        std::sort(learner.drills.begin(), learner.drills.end(),
                  [](const KeptDrill& left, const KeptDrill& right) {
                      return left.ended != right.ended ? left.ended < right.ended
                                                       : left.path < right.path;
                  });
        result.done = true;
        return true;
    }

    bool cancelled() const {
        return control_.cancel != nullptr && control_.cancel->load(std::memory_order_relaxed);
    }

    void done(bool reporting) {
        const std::size_t read = filesRead_.fetch_add(1) + 1;
        if (reporting && read >= reported_ + kProgressEvery) {
            reported_ = read;
            report(read);
        }
    }

    void report(std::size_t read) {
        if (control_.progress)
            control_.progress(read, total_);
    }

    void report() { report(filesRead_.load()); }

    const ScanControl& control_;
    ClassFolder result_;
    std::vector<LearnerFiles> jobs_;
    std::size_t total_ = 0;
    std::atomic<std::size_t> nextJob_{0};
    std::atomic<std::size_t> filesRead_{0};
    std::atomic<bool> stopped_{false};
    std::size_t reported_ = 0;  // only the reporting thread touches it
};

bool allDigits(const QString& id) {
    return !id.isEmpty() &&
           std::all_of(id.begin(), id.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

bool idBefore(const QString& left, const QString& right) {
    const bool leftNumber = allDigits(left);
    const bool rightNumber = allDigits(right);
    if (leftNumber != rightNumber)
        return leftNumber;
    if (leftNumber) {
        // Compare values without converting: fewer significant digits is smaller.
        const auto significant = [](const QString& id) {
            qsizetype zeros = 0;
            while (zeros + 1 < id.size() && id[zeros] == u'0')
                ++zeros;
            return QStringView(id).sliced(zeros);
        };
        const QStringView l = significant(left);
        const QStringView r = significant(right);
        if (l.size() != r.size())
            return l.size() < r.size();
        if (l != r)
            return l < r;
    }
    return left < right;
}

ClassFolder readClassFolder(const QString& folder, const ScanControl& control) {
    return FolderReader(folder, control).read();
}

}  // namespace records
