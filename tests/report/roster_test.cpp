// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The class list: read in Shift_JIS, the IDs of one child joined into one learner, and the
// list kept in the teacher's profile only, readable by the teacher alone. The XLSX export,
// read back: an ID such as "05" a text cell, a figure a number.

#include "roster.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unzip.h>
#include <zip.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <map>

#include "class_folder.h"
#include "class_folder_maker.h"
#include "class_list.h"
#include "cp932.h"
#include "roster_store.h"
#include "xlsx_export.h"

namespace {

QDateTime at(int day, int hour) {
    return QDateTime(QDate(2026, 11, day), QTime(hour, 0));
}

QByteArray drill(int dividend) {
    return report_test::drillBytes({{dividend, 3, 2.0f, 1}}, QStringLiteral("11/1"));
}

std::string namesIn(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next();
    names.sort();
    return names.join(u'\n').toStdString();
}

// One member of a zip file; empty when it is missing.
QByteArray zipMember(const QString& zipPath, const char* name) {
    QByteArray bytes;
    unzFile zip = unzOpen64(QFile::encodeName(zipPath).constData());
    if (zip == nullptr)
        return bytes;
    if (unzLocateFile(zip, name, 0) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buffer[4096];
        int read = 0;
        while ((read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, read);
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return bytes;
}

// The cells of a sheet by reference ("A2"): their type attribute and their value's text,
// shared strings looked up and marked "s:".
std::map<QString, QString> sheetCells(const QString& xlsx) {
    QStringList strings;
    QXmlStreamReader shared(zipMember(xlsx, "xl/sharedStrings.xml"));
    while (!shared.atEnd()) {
        if (shared.readNext() == QXmlStreamReader::StartElement && shared.name() == u"t")
            strings << shared.readElementText();
    }
    std::map<QString, QString> cells;
    QXmlStreamReader sheet(zipMember(xlsx, "xl/worksheets/sheet1.xml"));
    QString reference, type;
    while (!sheet.atEnd()) {
        if (sheet.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (sheet.name() == u"c") {
            reference = sheet.attributes().value(QLatin1String("r")).toString();
            type = sheet.attributes().value(QLatin1String("t")).toString();
        } else if (sheet.name() == u"v") {
            const QString value = sheet.readElementText();
            cells[reference] =
                type == u"s" ? QStringLiteral("s:") + strings.value(value.toInt()) : type + value;
        }
    }
    return cells;
}

class ClassList : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        folder_ = dir_.filePath(QStringLiteral("rirekidata"));
        ASSERT_TRUE(QDir().mkpath(folder_));
        // One child's drills under three spellings of the ID; the latest of "05" is also
        // its history file, and counts once.
        report_test::writeArchiveFile(folder_, "05", at(3, 9), 1, drill(30));
        report_test::writeHistoryFile(folder_, "05", drill(30));
        report_test::writeArchiveFile(folder_, "5", at(2, 9), 2, drill(20));
        report_test::writeArchiveFile(folder_, "5", at(5, 9), 3, drill(50));
        report_test::writeArchiveFile(folder_, QStringLiteral("０５"), at(4, 9), 4, drill(40));
        report_test::writeArchiveFile(folder_, "6", at(2, 10), 5, drill(60));
        report_test::writeArchiveFile(folder_, "61", at(3, 10), 7, drill(61));
        report_test::writeArchiveFile(folder_, "7", at(2, 11), 6, drill(70));
    }

    QTemporaryDir dir_;
    QString folder_;
};

// Shift_JIS, headers in another order, one spelling of an ID naming all three, and two IDs
// in one cell or in two columns.
TEST_F(ClassList, JoinsTheIdsOfOneChildFromAShiftJisList) {
    const QByteArray list = records::toCp932(
        u"氏名,ID,出席番号,ID2\r\n"
        u"山田 花子,5,5,\r\n"
        u"佐藤 一郎,6／61,6,\r\n"
        u"田中 次郎,8,8,9\r\n");
    QString error;
    const std::optional<report::Roster> roster = report::rosterFromCsv(list, &error);
    ASSERT_TRUE(roster) << error.toStdString();

    const records::ClassFolder named =
        report::nameClass(records::readClassFolder(folder_), &*roster);
    ASSERT_EQ(named.learners.size(), 3u);
    const records::Learner& hanako = named.learners[0];
    EXPECT_EQ(hanako.number, "5");
    EXPECT_EQ(hanako.name, QStringLiteral("山田 花子"));
    QStringList ids = hanako.id.split(u'・');
    ids.sort();
    EXPECT_EQ(ids, (QStringList{"05", "5", QStringLiteral("０５")}));
    EXPECT_TRUE(hanako.joinedNote.contains(hanako.id));
    std::vector<int> dividends;
    for (const records::KeptDrill& kept : hanako.drills)
        dividends.push_back(kept.rows.front().dividend);
    EXPECT_EQ(dividends, (std::vector<int>{20, 30, 40, 50}));

    EXPECT_EQ(named.learners[1].name, QStringLiteral("佐藤 一郎"));
    EXPECT_EQ(named.learners[1].id, QStringLiteral("6・61"));
    EXPECT_EQ(named.learners[2].id, "7");  // not in the list: a row of its own, no name
    EXPECT_TRUE(named.learners[2].name.isEmpty());
    EXPECT_EQ(report::rosterNote(records::readClassFolder(folder_), named, *roster),
              QStringLiteral("名簿: 3 人。記録のない児童: 8番 田中 次郎。ID %1 をまとめました。"
                             "ID 6・61 をまとめました。")
                  .arg(hanako.id));
}

// A list saved as XLSX: 番号 a number cell, the IDs text cells in two columns, and a second
// sheet that is not read.
TEST(ClassListFile, IsReadFromTheFirstSheetOfAnXlsx) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("meibo.xlsx"));
    report::TableText list;
    list.headers = QStringList{QStringLiteral("番号"), QStringLiteral("氏名"), "ID", "ID2"};
    list.numeric = {true, false, false, false};
    list.rows = {{"5", QStringLiteral("山田 花子"), "05", "15"},
                 {"6", QStringLiteral("佐藤 一郎"), "6", ""}};
    report::TableText notes;
    notes.headers = QStringList{"ID"};
    notes.rows = {{"99"}};
    QString error;
    ASSERT_TRUE(report::writeXlsx(path, {{"list", list}, {"notes", notes}}, &error));
    const std::optional<report::Roster> roster = report::readRoster(path, &error);
    ASSERT_TRUE(roster) << error.toStdString();
    ASSERT_EQ(roster->children.size(), 2u);
    EXPECT_EQ(roster->children[0].number, "5");
    EXPECT_EQ(roster->children[0].name, QStringLiteral("山田 花子"));
    EXPECT_EQ(roster->children[0].ids, (QStringList{"05", "15"}));
    EXPECT_EQ(roster->children[1].ids, QStringList{"6"});
}

// Japanese spreadsheets keep the reading of a name beside it (<rPh>), and may write a cell's
// text inline; a zip of the two members a list needs, as such a spreadsheet saves them.
TEST(ClassListFile, LeavesOutTheReadingOfANameInAnXlsx) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("meibo.xlsx"));
    const std::pair<const char*, QByteArray> members[] = {
        {"xl/sharedStrings.xml",
         QStringLiteral("<sst><si><t>氏名</t></si><si><r><t>山田</t></r><r><t> 花子</t></r>"
                        "<rPh sb=\"0\" eb=\"2\"><t>ヤマダ</t></rPh></si></sst>")
             .toUtf8()},
        {"xl/worksheets/sheet1.xml",
         "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
         "<c r=\"B1\" t=\"inlineStr\"><is><t>ID</t></is></c></row>"
         "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>1</v></c><c r=\"B2\"><v>5</v></c></row>"
         "</sheetData></worksheet>"},
    };
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, bytes] : members) {
        ASSERT_EQ(zipOpenNewFileInZip64(zip, name, nullptr, nullptr, 0, nullptr, 0, nullptr,
                                        Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zip, bytes.constData(), static_cast<unsigned>(bytes.size())),
                  ZIP_OK);
        zipCloseFileInZip(zip);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
    QString error;
    const std::optional<report::Roster> roster = report::readRoster(path, &error);
    ASSERT_TRUE(roster) << error.toStdString();
    ASSERT_EQ(roster->children.size(), 1u);
    EXPECT_EQ(roster->children[0].name, QStringLiteral("山田 花子"));
    EXPECT_EQ(roster->children[0].ids, QStringList{"5"});
}

// The list stays in the profile, the teacher's alone, and nothing goes into the class folder,
// even when the profile is inside it.
TEST_F(ClassList, IsKeptInTheProfileForTheTeacherAlone) {
    const std::string before = namesIn(folder_);
    const QString profile = dir_.filePath(QStringLiteral("home/.local/share"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(profile));
    const report::Roster roster{{{"5", QStringLiteral("山田 \"花子\""), {"05", "5"}}}};
    QString error;
    ASSERT_TRUE(report::storeRoster(folder_, roster, &error)) << error.toStdString();

    const QStringList kept = QDir(report::rosterStoreFolder()).entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    struct stat file {
    }, folder{};
    ASSERT_EQ(::stat(QFile::encodeName(report::rosterStoreFolder() + u'/' + kept[0]), &file), 0);
    ASSERT_EQ(::stat(QFile::encodeName(report::rosterStoreFolder()), &folder), 0);
    EXPECT_EQ(file.st_mode & 0777, 0600u);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    const std::optional<report::Roster> stored = report::storedRoster(folder_);
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->children.size(), 1u);
    EXPECT_EQ(stored->children[0].name, roster.children[0].name);
    EXPECT_EQ(stored->children[0].ids, roster.children[0].ids);
    EXPECT_TRUE(report::forgetRoster(folder_));
    EXPECT_FALSE(report::storedRoster(folder_));

    qputenv("XDG_DATA_HOME", QFile::encodeName(folder_ + "/share"));
    EXPECT_FALSE(report::storeRoster(folder_, roster, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("記録のフォルダの中"))) << error.toStdString();
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(namesIn(folder_), before);
}

// The class table as XLSX: the ID "05" stays text, figures are numbers, and a list names the
// children.
TEST_F(ClassList, ExportsXlsxWithIdsAsTextAndFiguresAsNumbers) {
    const QString out = dir_.filePath(QStringLiteral("class.xlsx"));
    const QString list = dir_.filePath(QStringLiteral("list.csv"));
    QFile listFile(list);
    ASSERT_TRUE(listFile.open(QIODevice::WriteOnly));
    listFile.write("\xEF\xBB\xBF出席番号,氏名,ID\r\n7,山田 花子,7\r\n");
    listFile.close();
    for (const bool named : {false, true}) {
        QProcess report;
        report.start(QStringLiteral(ROVEDAVU_REPORT),
                     named ? QStringList{"--xlsx", out, "--roster", list, folder_}
                           : QStringList{"--xlsx", out, folder_});
        ASSERT_TRUE(report.waitForFinished(60000));
        ASSERT_EQ(report.exitCode(), 0) << report.readAllStandardError().toStdString();
        const std::map<QString, QString> cells = sheetCells(out);
        if (!named) {
            EXPECT_EQ(cells.at("A1"), "s:ID");
            EXPECT_EQ(cells.at("A2"), "s:05");
            EXPECT_EQ(cells.at("B2"), "1");  // drills kept: a number cell
            EXPECT_EQ(cells.at("D2"), "1");  // solved
            EXPECT_EQ(cells.at("E2"), "2");  // total time
        } else {
            EXPECT_EQ(cells.at("A1"), QStringLiteral("s:出席番号"));
            EXPECT_EQ(cells.at("B2"), QStringLiteral("s:山田 花子"));
            EXPECT_EQ(cells.at("C2"), "s:7");
        }
    }
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).join(u' ').toStdString(),
              "class.xlsx list.csv");
}

}  // namespace
