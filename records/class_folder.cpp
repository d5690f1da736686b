#include "class_folder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <map>

#include "archive_names.h"
#include "history_reader.h"

namespace records {
namespace {

constexpr auto kArchiveSubfolder = u"kiroku";
constexpr std::u16string_view kFolderMissing = u"フォルダがありません。";
constexpr std::u16string_view kFolderUnreadable = u"フォルダの中を読めませんでした。";
constexpr std::size_t kProgressEvery = 64;

QString text(std::u16string_view words) {
    return QString::fromStdU16String(std::u16string(words));
}

struct IdOrder {
    bool operator()(const QString& left, const QString& right) const {
        return idBefore(left, right);
    }
};

// What to read for one learner.
struct LearnerFiles {
    QString historyPath;           // empty when there is no history file
    std::vector<QString> archive;  // the drills' files, by name
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

class FolderReader {
public:
    FolderReader(const QString& folder, const ScanControl& control) : control_(control) {
        result_.folder = folder;
    }

    ClassFolder read() {
        const QFileInfo folder(result_.folder);
        if (!folder.isDir()) {
            result_.error = text(kFolderMissing);
            return std::move(result_);
        }
        if (!findFiles())
            return std::move(result_);
        for (auto& [id, files] : learners_) {
            Learner learner;
            learner.id = id;
            if (!readLearner(files, learner)) {
                result_.cancelled = true;
                break;
            }
            std::sort(learner.drills.begin(), learner.drills.end(),
                      [](const KeptDrill& left, const KeptDrill& right) {
                          return left.ended != right.ended ? left.ended < right.ended
                                                           : left.path < right.path;
                      });
            if (!learner.drills.empty() || !files.historyPath.isEmpty() || !files.archive.empty())
                result_.learners.push_back(std::move(learner));
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
        QStringList names;
        if (!listNames(result_.folder, QDir::Files, names)) {
            result_.error = text(kFolderUnreadable);
            return false;
        }
        const QDir folder(result_.folder);
        for (const QString& name : names) {
            if (const auto id = idFromHistoryFileName(name)) {
                learners_[*id].historyPath = folder.filePath(name);
                ++total_;
            }
        }
        const QString archive = folder.filePath(QString::fromUtf16(kArchiveSubfolder));
        if (!QFileInfo(archive).isDir())
            return true;
        QStringList learnerFolders;
        if (!listNames(archive, QDir::Dirs, learnerFolders)) {
            unreadable(archive, text(kFolderUnreadable));
            return true;
        }
        for (const QString& name : learnerFolders) {
            const auto id = idFromArchiveFolderName(name);
            if (!id)
                continue;
            const QString learnerFolder = QDir(archive).filePath(name);
            QStringList drills;
            if (!listNames(learnerFolder, QDir::Files, drills)) {
                unreadable(learnerFolder, text(kFolderUnreadable));
                continue;
            }
            LearnerFiles& files = learners_[*id];
            for (const QString& drill : drills) {
                if (isArchiveTemporaryName(drill))
                    continue;
                files.archive.push_back(QDir(learnerFolder).filePath(drill));
                ++total_;
            }
        }
        return true;
    }

    // False when cancelled.
    bool readLearner(const LearnerFiles& files, Learner& learner) {
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
            done();
        }
        bool historyInArchive = false;
        QByteArray bytes;
        for (const QString& path : files.archive) {
            if (cancelled())
                return false;
            const QString name = QFileInfo(path).fileName();
            const auto parsed = parseArchiveFileName(name);
            if (!parsed) {
                unreadable(path, text(kNotAnArchiveName));
                done();
                continue;
            }
            bytes.clear();
            const HistoryRead read = readHistoryFile(path, &bytes);
            if (historyBytes && !bytes.isEmpty() && bytes == *historyBytes)
                historyInArchive = true;
            if (read.drill)
                learner.drills.push_back(keptDrill(*read.drill, path, parsed->ended));
            else
                unreadable(path, read.refusal);
            done();
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
        return true;
    }

    bool cancelled() const {
        return control_.cancel != nullptr && control_.cancel->load(std::memory_order_relaxed);
    }

    void done() {
        ++result_.filesRead;
        if (result_.filesRead % kProgressEvery == 0)
            report();
    }

    void report() {
        if (control_.progress)
            control_.progress(result_.filesRead, total_);
    }

    void unreadable(const QString& path, const QString& reason) {
        result_.unreadable.push_back(UnreadableFile{path, reason});
    }

    const ScanControl& control_;
    ClassFolder result_;
    std::map<QString, LearnerFiles, IdOrder> learners_;
    std::size_t total_ = 0;
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
