// Two computers ending drills at the same moment, with the same ID, into one folder: two
// processes of the real records code end 500 drills each. Nothing is lost: every archive file
// is whole and has a name of its own, and the history file is always one whole version.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <vector>

#include "archive_names.h"
#include "history_file.h"
#include "records_support.h"

namespace {

constexpr int kDrillsPerProcess = 500;

// The bytes of every drill that the writers end, as concurrent_writer makes them.
QSet<QByteArray> everyVersion(const QStringList& tags) {
    QSet<QByteArray> versions;
    for (const QString& tag : tags) {
        for (int k = 0; k < kDrillsPerProcess; ++k) {
            drill::DrillState state =
                records_test::fullDrill(static_cast<std::int16_t>(k % 20 + 1), u"7");
            state.mydate = (tag + u'-' + QString::number(k)).toStdU16String();
            versions.insert(records::historyFileBytes(state));
        }
    }
    return versions;
}

TEST(ArchiveConcurrency, TwoProcessesEndingDrillsTogetherLoseNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("rirekidata"));
    const QStringList tags{"a", "b"};
    const QSet<QByteArray> versions = everyVersion(tags);
    ASSERT_EQ(versions.size(), 2 * kDrillsPerProcess);

    std::vector<std::unique_ptr<QProcess>> writers;
    for (const QString& tag : tags) {
        auto& writer = writers.emplace_back(std::make_unique<QProcess>());
        writer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer->start(CONCURRENT_WRITER,
                      {dir.path(), "7", QString::number(kDrillsPerProcess), tag});
        ASSERT_TRUE(writer->waitForStarted());
    }
    // While they write, the history file is never empty and never a mix.
    const QString history = dir.filePath("rirekidata/Rovedavu7.txt");
    int reads = 0;
    const auto running = [&] {
        for (const auto& writer : writers) {
            if (writer->state() != QProcess::NotRunning && !writer->waitForFinished(1))
                return true;
        }
        return false;
    };
    while (running()) {
        QFile file(history);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            ASSERT_TRUE(versions.contains(bytes)) << "read " << bytes.size() << " bytes";
            ++reads;
        }
    }
    for (const auto& writer : writers) {
        EXPECT_EQ(writer->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer->exitCode(), 0);
    }
    EXPECT_TRUE(versions.contains(records_test::readFile(history)));

    const QDir archive(dir.filePath("rirekidata/kiroku/Rovedavu7"));
    const QStringList names =
        archive.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(names.size(), 2 * kDrillsPerProcess);
    QSet<QByteArray> kept;
    for (const QString& name : names) {
        EXPECT_TRUE(records::parseArchiveFileName(name)) << name.toStdString();
        const QByteArray bytes = records_test::readFile(archive.filePath(name));
        EXPECT_TRUE(versions.contains(bytes)) << name.toStdString();
        kept.insert(bytes);
    }
    EXPECT_EQ(kept, versions);  // every drill once
    QStringList left = QDir(dir.filePath("rirekidata"))
                           .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left.join(u' ').toStdString(), "Rovedavu7.txt kiroku");  // no temporary file
    std::printf("the history file was read %d times while the drills ended\n", reads);
}

}  // namespace
