// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The end of the drill with the real history file and archive in a temporary folder: whatever
// goes wrong with the files, the learner is told, the results window is filled and shown, nothing
// is written outside rirekidata, and an older history file is never damaged.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <optional>

#include "history_file.h"
#include "history_records.h"
#include "recording_fakes.h"
#include "records_support.h"

namespace {

using records_test::InDirectory;
using records_test::readFile;
using records_test::writeFile;

const QByteArray kOldFile = "an earlier drill's history\r\n";

// Every file under the current directory with its bytes.
std::map<QString, QByteArray> snapshot() {
    std::map<QString, QByteArray> files;
    QDirIterator it(".", QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path] = readFile(path);
    }
    return files;
}

// One drill from start to its end button, with the real records.
struct EndedDrill {
    fakes::Log log;
    fakes::View view{log};
    fakes::Sound sound{log};
    fakes::Dialogs dialogs{log};
    fakes::Clock clock{log};
    fakes::Random random{log};
    fakes::ResultsWindow results{log};
    records::HistoryRecords records;
    drill::Drill drill{{view, sound, dialogs, clock, random, records, results}};

    explicit EndedDrill(const std::u16string& myid) {
        view.onText1Change = [this](int index) { drill.answerChanged(index); };
        dialogs.inputs = {u"８／１", myid};
        clock.stepPerRead = 2.0f;
        drill.startUp();
        for (int k = 0; k < 3; ++k) {
            const auto& s = drill.state();
            view.setText1(0, fakes::utf16(std::to_string(s.a / s.c)));
            view.setText1(1, fakes::utf16(std::to_string(s.a % s.c)));
            drill.answerClicked();
            drill.nextClicked();
        }
        drill.endClicked();
    }

    bool toldTheLearner() const { return !dialogs.messages.empty(); }
    std::string message() const {
        return dialogs.messages.empty() ? "" : fakes::utf8(dialogs.messages.front());
    }
    bool resultsShown() const {
        return results.shown && view.unloaded && results.labels_.m[1] == drill.state().qtext[1] &&
               results.labels_.m[3] == drill.state().qtext[3] && results.labels_.m[4].empty();
    }
};

class EndOfDrill : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.isValid());
        ASSERT_TRUE(QDir(temp_.path()).mkdir("work"));
        in_ = std::make_unique<InDirectory>(temp_.path() + "/work");
        ASSERT_TRUE(in_->entered());
    }
    void TearDown() override {
        in_.reset();
        QFile::setPermissions(temp_.path() + "/work/rirekidata",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QTemporaryDir temp_;
    std::unique_ptr<InDirectory> in_;
};

TEST_F(EndOfDrill, WritesTheFileAndShowsTheResults) {
    ASSERT_TRUE(QDir().mkdir("rirekidata"));
    EndedDrill ended(u"12");
    EXPECT_FALSE(ended.toldTheLearner());
    EXPECT_TRUE(ended.resultsShown());
    const QByteArray file = readFile("rirekidata/Rovedavu12.txt");
    EXPECT_EQ(file.count("\r\n"), 5);  // header, three solved rows and the open fourth
}

TEST_F(EndOfDrill, NoHistoryFolder) {
    const auto before = snapshot();
    EndedDrill ended(u"12");
    EXPECT_TRUE(ended.toldTheLearner());
    EXPECT_NE(ended.message().find("rirekidata/Rovedavu12.txt"), std::string::npos);
    EXPECT_NE(ended.message().find(fakes::utf8(records::reasons::kNoFolder)), std::string::npos);
    EXPECT_TRUE(ended.resultsShown());
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(QFileInfo::exists("rirekidata"));  // never created
}

TEST_F(EndOfDrill, HistoryFolderNotWritableKeepsTheOldFile) {
    ASSERT_TRUE(QDir().mkdir("rirekidata"));
    writeFile("rirekidata/Rovedavu12.txt", kOldFile);
    // Root writes into read-only folders, so the drill is ended by nobody, owning the folder.
    const bool asRoot = records_test::runningAsRoot();
    if (asRoot) {
        ASSERT_TRUE(QFile::setPermissions(temp_.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                            QFile::ExeOwner | QFile::ExeOther));
        for (const char* path : {".", "rirekidata", "rirekidata/Rovedavu12.txt"})
            ASSERT_EQ(::chown(path, records_test::kNobody, records_test::kNobody), 0) << path;
    }
    ASSERT_TRUE(QFile::setPermissions("rirekidata/Rovedavu12.txt", QFile::ReadOwner));
    ASSERT_TRUE(QFile::setPermissions("rirekidata", QFile::ReadOwner | QFile::ExeOwner));
    const auto before = snapshot();
    const auto endDrill = [] {
        const EndedDrill ended(u"12");
        return (ended.toldTheLearner() ? 0 : 1) | (ended.resultsShown() ? 0 : 2);
    };
    const std::optional<int> failures = asRoot ? records_test::runAsNobody(endDrill) : endDrill();
    ASSERT_TRUE(failures) << "the drill did not end as nobody";
    EXPECT_FALSE(*failures & 1) << "the learner was not told";
    EXPECT_FALSE(*failures & 2) << "the results were not shown";
    EXPECT_EQ(snapshot(), before);
}

TEST_F(EndOfDrill, AnOldFileThatCannotBeReplacedStaysAsItWas) {
    if (!records_test::runningAsRoot())
        SKIP_OR_FAIL_IN_CI() << "mounting a file system needs root";
    ASSERT_TRUE(QDir().mkdir("disk"));
    records_test::TinyFileSystem disk(QDir("disk").absolutePath(), "size=64k,mode=0755");
    if (!disk.mounted())
        SKIP_OR_FAIL_IN_CI() << "cannot mount a tmpfs here: " << disk.error();
    ASSERT_TRUE(QDir().mkpath("disk/rirekidata"));
    writeFile("disk/rirekidata/Rovedavu12.txt", kOldFile);
    ASSERT_TRUE(disk.remountReadOnly());
    const InDirectory inDisk("disk");
    const auto before = snapshot();
    EndedDrill ended(u"12");
    EXPECT_TRUE(ended.toldTheLearner());
    EXPECT_TRUE(ended.resultsShown());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(EndOfDrill, AFullDiskKeepsTheOldFile) {
    if (!records_test::runningAsRoot())
        SKIP_OR_FAIL_IN_CI() << "mounting a file system needs root";
    ASSERT_TRUE(QDir().mkdir("disk"));
    const records_test::TinyFileSystem disk(QDir("disk").absolutePath(), "size=16k,mode=0755");
    if (!disk.mounted())
        SKIP_OR_FAIL_IN_CI() << "cannot mount a tmpfs here: " << disk.error();
    const InDirectory inDisk("disk");
    ASSERT_TRUE(QDir().mkdir("rirekidata"));
    writeFile("rirekidata/Rovedavu12.txt", kOldFile);
    ASSERT_TRUE(records_test::fillUp("filler")) << "the file system never filled up";
    const auto before = snapshot();
    EndedDrill ended(u"12");
    EXPECT_NE(ended.message().find(fakes::utf8(records::reasons::kDiskFull)), std::string::npos);
    EXPECT_NE(ended.message().find("ひかえ：rirekidata/kiroku/Rovedavu12/"), std::string::npos)
        << ended.message();
    EXPECT_TRUE(ended.resultsShown());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(EndOfDrill, IdsThatCannotBeFileNamesWriteNothingAnywhere) {
    ASSERT_TRUE(QDir().mkdir("rirekidata"));
    ASSERT_TRUE(QDir().mkdir("rirekidata/sub"));
    writeFile("rirekidata/Rovedavu.txt", kOldFile);
    const std::u16string unusable[] = {u"a/b",
                                       u"../x",
                                       u"sub/12",
                                       u"a\\b",
                                       std::u16string(u"a\0b", 3),
                                       u"1\n2",
                                       u"\t",
                                       std::u16string(300, u'x')};
    for (const std::u16string& id : unusable) {
        const auto before = snapshot();
        EndedDrill ended(id);
        EXPECT_TRUE(ended.toldTheLearner()) << fakes::utf8(id);
        EXPECT_TRUE(ended.resultsShown()) << fakes::utf8(id);
        EXPECT_EQ(snapshot(), before) << fakes::utf8(id);
    }
    EXPECT_EQ(readFile("rirekidata/Rovedavu.txt"), kOldFile);
}

TEST_F(EndOfDrill, OddButValidIdsStayInsideTheHistoryFolder) {
    ASSERT_TRUE(QDir().mkdir("rirekidata"));
    const std::u16string longest(236, u'7');
    const std::pair<std::u16string, QString> valid[] = {
        {u"..", "Rovedavu.."},
        {u" ", "Rovedavu "},
        {u"   ", "Rovedavu   "},
        {u"\U0001F438", QString::fromUtf8("Rovedavu\xF0\x9F\x90\xB8")},
        {u"たろう", QString::fromUtf8("Rovedavuたろう")},
        {longest, "Rovedavu" + QString::fromStdU16String(longest)},
    };
    for (const auto& [id, name] : valid) {
        EndedDrill ended(id);
        EXPECT_FALSE(ended.toldTheLearner()) << ended.message();
        EXPECT_TRUE(ended.resultsShown());
        const QString history = "rirekidata/" + name + ".txt";
        EXPECT_TRUE(QFileInfo::exists(history)) << history.toStdString();
        const QDir archive("rirekidata/kiroku/" + name);
        const QStringList kept = archive.entryList(QDir::Files | QDir::Hidden);
        ASSERT_EQ(kept.size(), 1) << archive.path().toStdString();
        EXPECT_EQ(readFile(archive.filePath(kept[0])), readFile(history));
    }
    QStringList outside;
    for (const auto& [path, bytes] : snapshot()) {
        if (!path.startsWith("./rirekidata/"))
            outside << path;
    }
    EXPECT_TRUE(outside.isEmpty()) << outside.join(", ").toStdString();
    EXPECT_EQ(QDir("rirekidata").entryList(QDir::Files).size(), 6);
    EXPECT_EQ(QDir("rirekidata/kiroku").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 6);
}

}  // namespace
