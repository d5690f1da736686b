// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The teacher's program on a class folder with known figures: the folder read, the CSV
// exports byte for byte, the PDF's pages and text, and the command line's failures. The
// exports run the real program, without a display.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "class_folder.h"
#include "class_folder_maker.h"
#include "csv_export.h"
#include "figures.h"

namespace {

using report_test::MadeRow;

QDateTime at(int month, int day, int hour, int minute = 0) {
    return QDateTime(QDate(2026, month, day), QTime(hour, minute));
}

// Learner 1: two archived drills, the history file holding the second (counted once), a
// problem over midnight, a quote in the typed date, an unanswered last row.
// Learner 2: a history file from before the archive, dated by its modification time.
// Learner 3: two finished drills, then one ended after six problems.
// Learner 10: one full drill, and beside it every kind of file that is not a drill.
// Learner "=1": an ID that a spreadsheet would take for a formula.
// "7" is no learner yet: their first drill is still being written into the archive.
// "20" is no learner: their history file and its archive copy were both cut short.
class KnownFolder : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        folder_ = dir_.filePath(QStringLiteral("rirekidata"));
        ASSERT_TRUE(QDir().mkpath(folder_));

        report_test::writeArchiveFile(
            folder_, "1", at(11, 2, 9), 1,
            report_test::drillBytes({{45, 6, 12.44f, 1}, {81, 9, 5.0f, 0}, {7, 7, -86390.5f, 2}},
                                    QStringLiteral("１１／２")));
        const QByteArray latest = report_test::drillBytes(
            {{45, 6, 8.0f, 0}, {23, 4, 20.0f, 3}, {0, 0, 0, 1}}, QStringLiteral("11/9 \"b\""));
        report_test::writeArchiveFile(folder_, "1", at(11, 9, 9), 2, latest);
        report_test::writeHistoryFile(folder_, "1", latest);

        report_test::writeHistoryFile(
            folder_, "2", report_test::drillBytes({{9, 3, 3.2f, 0}}, QString()), at(10, 5, 14, 30));

        const auto drillOf = [](int problems, float seconds, int wrongOnFirst) {
            std::vector<MadeRow> rows;
            for (int k = 0; k < problems; ++k)
                rows.push_back({10 + k, k % 9 + 1, seconds, k == 0 ? wrongOnFirst : 0});
            return rows;
        };
        report_test::writeArchiveFile(folder_, "3", at(11, 1, 9), 5,
                                      report_test::drillBytes(drillOf(20, 3.0f, 0), "11/1"));
        report_test::writeArchiveFile(folder_, "3", at(11, 3, 9), 6,
                                      report_test::drillBytes(drillOf(20, 2.5f, 1), "11/3"));
        std::vector<MadeRow> ended = drillOf(6, 3.5f, 0);
        ended.push_back({});
        const QByteArray endedBytes = report_test::drillBytes(ended, "11/5");
        report_test::writeArchiveFile(folder_, "3", at(11, 5, 9), 7, endedBytes);
        report_test::writeHistoryFile(folder_, "3", endedBytes);

        const std::vector<MadeRow> full = drillOf(20, 2.0f, 0);
        report_test::writeArchiveFile(folder_, "10", at(11, 10, 10), 3,
                                      report_test::drillBytes(full, QStringLiteral("11/10")));
        const QString archive10 = QFileInfo(report_test::writeArchiveFile(
                                                folder_, "10", at(11, 11, 10), 0xa, QByteArray()))
                                      .absolutePath();
        const QByteArray header = report_test::drillBytes({}, QString());
        report_test::writeArchiveFile(folder_, "10", at(11, 12, 10), 0xb, header);
        QByteArray badCode = report_test::drillBytes({{9, 3, 3.2f, 0}}, QStringLiteral("あ"));
        badCode.replace("\x82\xA0", "\x85\x40");
        report_test::writeArchiveFile(folder_, "10", at(11, 13, 10), 0xc, badCode);
        writeFile(archive10 + "/notes.txt", "a teacher's notes");
        ASSERT_EQ(mkfifo(QFile::encodeName(archive10 + "/20261117-100000_pc1_00000010.txt"), 0644),
                  0);
        writeFile(archive10 + "/20261116-100000_pc1_0000000f.txt",
                  header + QByteArray(1 << 20, ' '));
        writeFile(archive10 + "/.20261114-100000_pc1_0000000d.txt.abcdef", "half");
        ASSERT_TRUE(
            QFile::link(archive10 + "/gone", archive10 + "/20261115-100000_pc1_0000000e.txt"));
        report_test::writeHistoryFile(folder_, "10", "\"ID\",\"time\"\r\n1,2\r\n");

        report_test::writeArchiveFile(folder_, "=1", at(11, 20, 8), 4,
                                      report_test::drillBytes({{8, 2, 1.0f, 0}}, QString()));

        const QByteArray cutShort = report_test::drillBytes({}, QString());
        report_test::writeArchiveFile(folder_, "20", at(11, 18, 9), 8, cutShort);
        report_test::writeHistoryFile(folder_, "20", cutShort);

        ASSERT_TRUE(QDir().mkpath(folder_ + "/kiroku/Rovedavu7"));
        writeFile(folder_ + "/kiroku/Rovedavu7/.kiroku-1f2e3d4c5b6a7988.tmp", "half");
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Every name in the folder with its size and modification time, to see that nothing
    // changed.
    QStringList snapshot() const {
        QStringList lines;
        QDirIterator it(folder_,
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            lines << QStringLiteral("%1 %2 %3")
                         .arg(info.filePath())
                         .arg(info.size())
                         .arg(info.lastModified().toMSecsSinceEpoch());
        }
        lines.sort();
        return lines;
    }

    struct Run {
        int status = -1;
        QString errors;
    };

    // Runs the program without a display, under a Japanese locale when asked.
    static Run runReport(const QStringList& arguments, bool japanese = false) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (japanese)
            environment.insert("LC_ALL", "ja_JP.UTF-8");
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ROVEDAVU_REPORT), arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
    }

    static QByteArray readAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    QString folder_;
};

TEST_F(KnownFolder, ReadsEveryLearnerAndListsWhatIsNoDrill) {
    const records::ClassFolder read = records::readClassFolder(folder_);
    ASSERT_TRUE(read.error.isEmpty());
    QStringList ids;
    for (const records::Learner& learner : read.learners)
        ids << learner.id;
    EXPECT_EQ(ids, (QStringList{"1", "2", "3", "10", "=1"})) << "no learner without a drill";

    QStringList unreadable;
    for (const records::UnreadableFile& file : read.unreadable)
        unreadable << QFileInfo(file.path).fileName() + ": " + file.reason.section(u'（', 0, 0);
    EXPECT_EQ(unreadable, (QStringList{
                              "Rovedavu10.txt: ポルネアの記録ファイルではありません。",
                              "Rovedavu20.txt: ファイルが途中で切れています。",
                              "20261111-100000_pc1_0000000a.txt: ファイルが空です。",
                              "20261112-100000_pc1_0000000b.txt: ファイルが途中で切れています。",
                              "20261113-100000_pc1_0000000c.txt: Shift_JIS",
                              "20261115-100000_pc1_0000000e.txt: ファイルを読めませんでした",
                              "20261116-100000_pc1_0000000f.txt: "
                              "ファイルが大きすぎて、ポルネアの記録ファイルではありません。",
                              "20261117-100000_pc1_00000010.txt: ふつうのファイルではありません。",
                              "notes.txt: ポルネアの記録ファイルの名前ではありません。",
                              "20261118-090000_pc1_00000008.txt: ファイルが途中で切れています。",
                          }));
}

// The windows read on a worker thread: progress reaches every file, and a cancel stops early.
TEST_F(KnownFolder, ReportsProgressAndStopsWhenCancelled) {
    std::size_t lastDone = 0, lastTotal = 0;
    records::ScanControl control;
    control.progress = [&](std::size_t done, std::size_t total) {
        lastDone = done;
        lastTotal = total;
    };
    const records::ClassFolder read = records::readClassFolder(folder_, control);
    EXPECT_EQ(lastTotal, 20u);  // 5 history files, 15 names in the archive
    EXPECT_EQ(lastDone, lastTotal);
    EXPECT_FALSE(read.cancelled);

    const std::atomic<bool> cancel{true};
    control.cancel = &cancel;
    const records::ClassFolder cancelled = records::readClassFolder(folder_, control);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_TRUE(cancelled.learners.empty());
}

TEST_F(KnownFolder, ExportsTheClassTableAsCsvAndChangesNothing) {
    const QStringList before = snapshot();
    const QString out = dir_.filePath("class.csv");
    // Up to the end of November, from a day after learner 2's only drill; seen from the 30th.
    const Run run =
        runReport({"--csv", out, "--from", "2026-10-06", "--to", "2026-11-30", folder_});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(snapshot(), before);

    const QByteArray expected =
        "\xEF\xBB\xBF"
        "\"ID\",\"記録の数\",\"最新の日時\",\"正答（20問中）\",\"合計時間（秒）\",\"誤答\","
        "\"前回との差：正答\",\"前回との差：時間（秒）\",\"前回との差：誤答\","
        "\"1問あたりの時間（秒）\",\"最新のドリル\",\"前回との差：1問あたりの時間（秒）\","
        "\"最終練習から（日）\",\"気になる点\"\r\n"
        "\"1\",2,\"2026-11-09 09:00\",2,28.0,4,,,,14.0,\"途中で終了\",,21,"
        "\"● 21日練習なし、最新が途中で終了（2/20）\"\r\n"
        "\"2\",0,\"\",,,,,,,,\"\",,,\"● 練習の記録なし\"\r\n"
        // The drill ended early is shown but not compared: the change is between the two
        // finished drills before it.
        "\"3\",3,\"2026-11-05 09:00\",6,21.0,0,0,-10.0,+1,3.5,\"途中で終了\",-0.5,25,"
        "\"● 25日練習なし、最新が途中で終了（6/20）\"\r\n"
        "\"10\",1,\"2026-11-10 10:00\",20,40.0,0,,,,2.0,\"\",,20,\"● 20日練習なし\"\r\n"
        "\"'=1\",1,\"2026-11-20 08:00\",1,1.0,0,,,,1.0,\"途中で終了\",,10,"
        "\"● 10日練習なし、最新が途中で終了（1/20）\"\r\n";
    EXPECT_EQ(readAll(out).toStdString(), expected.toStdString());
}

TEST_F(KnownFolder, ListsALearnersProblemsHardestFirst) {
    const records::ClassFolder read = records::readClassFolder(folder_);
    ASSERT_FALSE(read.learners.empty());
    const records::Learner& learner = read.learners.front();
    const QByteArray expected =
        "\xEF\xBB\xBF"
        "\"ID\",\"問題\",\"わられる数\",\"わる数\",\"回数\",\"平均時間（秒）\",\"誤答\"\r\n"
        "\"1\",\" 23÷ 4\",23,4,1,20.0,3\r\n"
        "\"1\",\" 7÷ 7\",7,7,1,9.5,2\r\n"
        "\"1\",\" 45÷ 6\",45,6,2,10.2,1\r\n"
        "\"1\",\" 81÷ 9\",81,9,1,5.0,0\r\n";
    EXPECT_EQ(report::problemsCsv(learner.id, report::problemsHardestFirst(learner)).toStdString(),
              expected.toStdString());
    const QString out = dir_.filePath("problems.csv");
    const Run run = runReport({"--problems-csv", out, "1", folder_});
    EXPECT_EQ(run.status, 0) << run.errors.toStdString();
    EXPECT_EQ(readAll(out).toStdString(), expected.toStdString()) << "from the command line";

    const auto cells = report::divisorCells(learner);
    EXPECT_EQ(cells[5].asked, 2);
    EXPECT_DOUBLE_EQ(cells[5].meanSeconds, 10.2);
    EXPECT_EQ(cells[5].wrongTries, 1);
    EXPECT_EQ(cells[0].asked, 0);
}

TEST_F(KnownFolder, PrintsTheClassPageAndOnePagePerLearner) {
    // In a folder whose path is longer than a line.
    const QString deep = dir_.filePath(QString(40, u'長') + "/" + QString(80, u'x'));
    ASSERT_TRUE(QDir().mkpath(deep));
    ASSERT_TRUE(QDir().rename(folder_, deep + "/rirekidata"));
    folder_ = deep + "/rirekidata";
    const QString out = dir_.filePath("class.pdf");
    const Run run = runReport({"--pdf", out, folder_});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();

    QProcess info;
    info.start("pdfinfo", {out});
    ASSERT_TRUE(info.waitForFinished(30000)) << "pdfinfo (poppler-utils) is missing";
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression("Pages: +6\n")));

    QProcess text;
    text.start("pdftotext", {"-layout", out, "-"});
    ASSERT_TRUE(text.waitForFinished(30000)) << "pdftotext (poppler-utils) is missing";
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f');
    ASSERT_GE(pages.size(), 6);
    EXPECT_TRUE(pages[0].contains("クラスの記録"));
    EXPECT_TRUE(pages[0].contains(QRegularExpression("…[^ ]*/rirekidata +5 ?人 +印刷")))
        << "a long folder loses its middle:\n"
        << pages[0].toStdString();
    // Headings break only between words, and the files' column is 理由 as in the window.
    EXPECT_TRUE(pages[0].contains("記録の数") && pages[0].contains("（20問中）"))
        << pages[0].toStdString();
    EXPECT_FALSE(pages[0].contains(
        QRegularExpression("前回との(?!差：)|前回との差：(正|誤)(?!答)|1問(?!あたり)")))
        << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains(QRegularExpression("ファイル +理由")));
    EXPECT_TRUE(pages[0].contains("kiroku/Rovedavu10/notes.txt"));
    EXPECT_TRUE(pages[0].contains(QRegularExpression("10 +1 +2026-11-10 10:00 +20 +40.0")));
    // The period, the flagged children with their reasons, and the class's divisors.
    EXPECT_TRUE(pages[0].contains("期間: すべて"));
    EXPECT_TRUE(
        pages[0].contains(QRegularExpression("=1 +\\d+ +● [^\n]*最新が途中で終了（1/20）")));
    EXPECT_TRUE(pages[0].contains(QRegularExpression("÷4 +8 +4.8 +3 +0.38 +1")));
    EXPECT_TRUE(pages[1].contains("ID 1 の記録"));
    EXPECT_TRUE(pages[1].contains(QRegularExpression("23÷ 4 +23 +4 +1 +20.0 +3")));
    EXPECT_TRUE(pages[1].contains("誤答▼")) << "the problems' order, as in the window";
    // The quickest and the slowest divisor say so in grey too: ÷9 and ÷7 quick, ÷4 slow.
    EXPECT_EQ(pages[1].count("◎はやい"), 2);
    EXPECT_EQ(pages[1].count("▲おそい"), 1);
    EXPECT_TRUE(pages[1].contains("4位"));
    EXPECT_TRUE(pages[5].contains("ID =1 の記録"));
}

// The meeting sheets: one page per learner with a drill, or the one asked for; nothing
// written for an unknown ID.
TEST_F(KnownFolder, PrintsOneMeetingSheetPerLearnerWithADrill) {
    const auto pagesOf = [](const QString& pdf) {
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        EXPECT_TRUE(text.waitForFinished(30000)) << "pdftotext (poppler-utils) is missing";
        QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f');
        pages.removeLast();  // after the last page's form feed
        return pages;
    };
    const QStringList before = snapshot();
    const QString all = dir_.filePath("meeting.pdf");
    Run run = runReport({"--meeting-pdf", all, folder_});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    const QStringList pages = pagesOf(all);
    ASSERT_EQ(pages.size(), 5);
    const char* ids[] = {"ID 1", "ID 2", "ID 3", "ID 10", "ID =1"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_TRUE(pages[k].contains(
            QRegularExpression(QStringLiteral("^\\s*%1\\s*$")
                                   .arg(QRegularExpression::escape(QString::fromUtf8(ids[k]))),
                               QRegularExpression::MultilineOption)))
            << pages[k].toStdString();
        EXPECT_TRUE(pages[k].contains("先生から"));
        EXPECT_TRUE(pages[k].contains("くらべていません")) << "too few drills to compare";
    }
    EXPECT_TRUE(pages[3].contains(QRegularExpression("11 ÷ 2 +5 あまり 1 +1 +0 +2.0")))
        << pages[3].toStdString();

    const QString one = dir_.filePath("one.pdf");
    run = runReport({"--meeting-pdf", one, "--id", "10", folder_});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    ASSERT_EQ(pagesOf(one).size(), 1);
    EXPECT_TRUE(pagesOf(one).front().contains("ID 10"));

    run = runReport({"--meeting-pdf", dir_.filePath("none.pdf"), "--id", "7", folder_});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.contains("ID 7 の記録がありません")) << run.errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath("none.pdf")));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(KnownFolder, RefusesWithAMessage) {
    struct Case {
        QStringList arguments;
        int status;
        const char* message;
        bool japanese = false;  // under a Japanese locale
    };
    const QString missing = dir_.filePath("missing");
    const QString empty = dir_.filePath("empty");
    ASSERT_TRUE(QDir().mkdir(empty));
    report_test::writeHistoryFile(empty, "5", QByteArray());  // no drill, only a file
    const QString aFile = folder_ + "/Rovedavu10.txt";
    const Case cases[] = {
        {{}, 2, "画面（ディスプレイ）が見つからないので、ウィンドウを開けません。"},
        {{"--csv", dir_.filePath("a.csv"), missing}, 1, "がありません"},
        {{"--csv", dir_.filePath("a.csv"), aFile}, 1, "Rovedavu10.txt はフォルダではありません"},
        {{"--csv", dir_.filePath("empty.csv"), empty}, 0, "読めるドリルの記録が一つもありません"},
        {{"--csv", dir_.path(), folder_}, 1, "ファイルではなくディレクトリを参照しています", true},
        {{"--csv", folder_ + "/class.csv", folder_}, 1, "記録のフォルダには何も書きません"},
        {{"--csv", folder_ + "/kiroku/out.csv", folder_}, 1, "記録のフォルダには何も書きません"},
        {{"--pdf", dir_.filePath("no/such/folder.pdf"), folder_}, 1, "書きこめませんでした"},
        {{"--csv"}, 2, "ファイルの名前がありません"},
        {{"--csv", "a.csv", "--pdf", "b.pdf"}, 2, "どれか一つだけ"},
        {{"--problems-csv", dir_.filePath("p.csv"), "9", folder_}, 1, "ID 9 の記録がありません"},
        {{"--problems-csv", "p.csv"}, 2, "児童の ID がありません"},
        {{"--csv", "a.csv", "--from", "2026-13-01"}, 2, "2026-12-07 のような日付がありません"},
        {{"--csv", "a.csv", "--from", "2026-12-02", "--to", "2026-12-01"},
         2,
         "--to の日付よりあと"},
        {{"--to", "2026-12-01", folder_}, 2, "書き出しのときに使います"},
        {{"--xlsx", dir_.filePath("c.xlsx"), "--roster", missing, folder_}, 1, "名簿"},
    };
    const QStringList before = snapshot();
    for (const Case& c : cases) {
        const Run run = runReport(c.arguments, c.japanese);
        EXPECT_EQ(run.status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.message))) << run.errors.toStdString();
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(QFile::exists(dir_.filePath("empty.csv"))) << "an empty class is written too";
}

// Onto a full disk, an export fails with the reason in Japanese and leaves no file: the
// bytes that did not fit show only when they are flushed.
TEST_F(KnownFolder, AnExportOntoAFullDiskFailsAndLeavesNoFile) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    const QString disk = dir_.filePath("disk");
    ASSERT_TRUE(QDir().mkdir(disk));
    const QByteArray mountPoint = QFile::encodeName(disk);
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.constData(), MNT_DETACH); });
    {
        QFile filler(disk + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray chunk(512, 'z');
        for (int k = 0; k < 1024 && filler.write(chunk) == chunk.size(); ++k) {
        }
        ASSERT_EQ(filler.error(), QFileDevice::ResourceError) << "the tmpfs never filled up";
    }
    for (const char* option : {"--csv", "--pdf", "--xlsx"}) {
        const Run run = runReport({option, disk + "/out", folder_});
        EXPECT_EQ(run.status, 1) << option;
        EXPECT_TRUE(run.errors.contains("ディスクがいっぱいです")) << run.errors.toStdString();
        EXPECT_EQ(QDir(disk)
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                      .join(u' ')
                      .toStdString(),
                  "filler")
            << option;
        QFile::remove(disk + "/out");
    }
}

// A file in the way of the save's last step, here one mounted over the old file: the export
// fails, and the old file stays without a half-written one beside it.
TEST_F(KnownFolder, AnExportThatCannotReplaceTheOldFileFailsAndKeepsIt) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a file needs root";
    const QString out = dir_.filePath("out.csv");
    writeFile(out, "old");
    writeFile(dir_.filePath("over"), "over");
    const QByteArray mountPoint = QFile::encodeName(out);
    if (::mount(QFile::encodeName(dir_.filePath("over")).constData(), mountPoint.constData(),
                nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "cannot mount a file here: " << std::strerror(errno);
    const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.constData(), MNT_DETACH); });
    for (const char* option : {"--csv", "--xlsx"}) {
        const Run run = runReport({option, out, folder_});
        EXPECT_EQ(run.status, 1) << option;
        EXPECT_TRUE(run.errors.contains("書きこめませんでした")) << run.errors.toStdString();
        EXPECT_EQ(readAll(out), "over") << option;
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).join(u' ').toStdString(),
                  "out.csv over")
            << option;
    }
}

// The most wrong answers first; between equals, fewer meetings (more wrong per meeting), then
// the slower mean time.
TEST(HardestProblems, MostWrongAnswersFirst) {
    const auto drill = [](std::vector<records::KeptRow> rows) {
        records::KeptDrill kept;
        kept.rows = std::move(rows);
        return kept;
    };
    records::Learner learner;
    learner.drills = {
        drill({{5, 1, 61, 9}, {4, 2, 23, 4}, {9, 0, 30, 5}, {6, 2, 12, 3}, {10, 1, 40, 8}}),
        drill({{5, 1, 61, 9}, {10, 1, 40, 8}}),
        drill({{5, 1, 61, 9}}),
    };
    QStringList order;
    for (const report::ProblemFigures& problem : report::problemsHardestFirst(learner))
        order << problem.text().simplified();
    EXPECT_EQ(order.join(u'|').toStdString(), "61÷ 9|12÷ 3|23÷ 4|40÷ 8|30÷ 5");
}

// Every ID stays one text item, and one that a spreadsheet would take for a formula is text.
TEST(CsvExport, KeepsEveryIdOneTextItem) {
    const struct {
        const char* id;
        const char* item;
    } rows[] = {
        {"=1", "\"'=1\""}, {"+1", "\"'+1\""},      {"-1+1", "\"'-1+1\""},
        {"@a", "\"'@a\""}, {"a\"b", "\"a\"\"b\""}, {"1-2", "\"1-2\""},
    };
    const std::vector<report::ProblemFigures> problems{{8, 2, 1, 1.0, 0}};
    for (const auto& row : rows) {
        const QList<QByteArray> lines =
            report::problemsCsv(QString::fromUtf8(row.id), problems).split('\n');
        ASSERT_EQ(lines.size(), 3) << row.id;
        EXPECT_EQ(lines[1].toStdString(), std::string(row.item) + ",\" 8÷ 2\",8,2,1,1.0,0\r");
    }
}

}  // namespace
