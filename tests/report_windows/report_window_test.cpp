// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The teacher's windows on a folder with known figures: the class table's rows and their
// order by figures, the folder's unreadable file, a double-click that opens the learner, and
// the folder choice kept for the next start, and the names a screen reader reads.

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "accessibility.h"
#include "accessibility_check.h"
#include "class_folder_maker.h"
#include "class_window.h"
#include "learner_window.h"
#include "report_settings.h"

namespace {

using report_test::MadeRow;

// Twenty problems of `seconds` each (the last one `lastSeconds`), none wrong.
std::vector<MadeRow> steadyDrill(float seconds, float lastSeconds) {
    std::vector<MadeRow> rows;
    for (int k = 0; k < 20; ++k)
        rows.push_back({30 + k, k % 9 + 1, k == 19 ? lastSeconds : seconds, 0});
    return rows;
}

QStringList column(const QAbstractItemModel* model, int column) {
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

class ReportWindows : public ::testing::Test {
protected:
    static constexpr int kTotalTime = 4;    // the class table's column of the latest total time
    static constexpr int kUnfinished = 10;  // its column of the 途中で終了 mark

    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        const QString rirekidata = folder_.path();
        const QDateTime day(QDate(2026, 10, 1), QTime(9, 0));
        // "1": two drills, 120.0 s and then 100.5 s with 50 ÷ 7 missed three times.
        report_test::writeArchiveFile(rirekidata, "1", day, 1,
                                      report_test::drillBytes(steadyDrill(6, 6), "10/1"));
        std::vector<MadeRow> latest = steadyDrill(5, 5.5f);
        latest[3] = {50, 7, 5, 3};
        const QByteArray latestBytes = report_test::drillBytes(latest, "10/2");
        report_test::writeArchiveFile(rirekidata, "1", day.addDays(1), 2, latestBytes);
        report_test::writeHistoryFile(rirekidata, "1", latestBytes);
        // "2": a history file from before the archive, 19 problems in 9.5 s.
        std::vector<MadeRow> cut = steadyDrill(0.5f, 0.5f);
        cut.back() = {};
        report_test::writeHistoryFile(rirekidata, "2", report_test::drillBytes(cut, "9/30"),
                                      day.addDays(-1));
        // "10": one drill of 10.0 s, and a file in its archive that is no drill.
        report_test::writeArchiveFile(rirekidata, "10", day, 3,
                                      report_test::drillBytes(steadyDrill(0.5f, 0.5f), "10/1"));
        QFile notes(rirekidata + "/kiroku/Rovedavu10/notes.txt");
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    }

    void TearDown() override {
        for (QWidget* widget : QApplication::topLevelWidgets())
            delete qobject_cast<report::LearnerWindow*>(widget);
    }

    // The class window once the folder is read.
    std::unique_ptr<report::ClassWindow> openClass() {
        auto window = std::make_unique<report::ClassWindow>(folder_.path());
        table_ = window->findChild<QTableView*>("classTable");
        EXPECT_EQ(table_->model()->rowCount(), 0) << "read on the window's own thread";
        QSignalSpy loaded(window.get(), &report::ClassWindow::loaded);
        window->show();
        EXPECT_TRUE(loaded.wait(10000));
        return window;
    }

    QTemporaryDir folder_;
    QTableView* table_ = nullptr;
};

TEST_F(ReportWindows, ClassTableHasOneRowPerLearnerSortedByItsFigures) {
    const auto window = openClass();
    const QAbstractItemModel* rows = table_->model();
    EXPECT_EQ(column(rows, 0), (QStringList{"1", "2", "10"})) << "IDs in numeric order";
    EXPECT_EQ(column(rows, 1), (QStringList{"2", "1", "1"}));
    EXPECT_EQ(column(rows, 3), (QStringList{"20", "19", "20"}));
    EXPECT_EQ(column(rows, kUnfinished), (QStringList{"", "途中で終了", ""}));

    table_->sortByColumn(kTotalTime, Qt::AscendingOrder);
    EXPECT_EQ(column(rows, kTotalTime), (QStringList{"9.5", "10.0", "100.5"}));
    EXPECT_EQ(column(rows, 0), (QStringList{"2", "10", "1"}));
    table_->sortByColumn(kTotalTime, Qt::DescendingOrder);
    EXPECT_EQ(column(rows, 0), (QStringList{"1", "10", "2"}));
    table_->sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(column(rows, 0), (QStringList{"10", "2", "1"}));

    const auto* unreadable = window->findChild<QTableWidget*>("unreadableFiles");
    EXPECT_TRUE(unreadable->isVisible());
    ASSERT_EQ(unreadable->rowCount(), 1);
    EXPECT_TRUE(unreadable->item(0, 0)->text().endsWith("notes.txt"));
    EXPECT_FALSE(unreadable->item(0, 1)->text().isEmpty());
}

TEST_F(ReportWindows, DoubleClickOpensThatLearnerWithTheirFigures) {
    const auto window = openClass();
    // Sorted so that the row shown differs from the row read: "2", "10", then "1".
    table_->sortByColumn(kTotalTime, Qt::AscendingOrder);
    const QRect cell = table_->visualRect(table_->model()->index(2, 2));
    // What a mouse sends for a double-click: press, release, double-click, release.
    QTest::mouseClick(table_->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table_->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseRelease(table_->viewport(), Qt::LeftButton, {}, cell.center());

    report::LearnerWindow* learner = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<report::LearnerWindow*>(widget))
            learner = found;
    }
    ASSERT_NE(learner, nullptr);
    EXPECT_TRUE(learner->isVisible());
    EXPECT_EQ(learner->id(), "1");
    const auto* problemView = learner->findChild<QTableView*>("problemTable");
    EXPECT_EQ(problemView->horizontalHeader()->sortIndicatorSection(), 5) << "the arrow on 誤答";
    EXPECT_EQ(problemView->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    const auto* problems = problemView->model();
    EXPECT_EQ(problems->index(0, 0).data().toString().trimmed(), "50÷ 7") << "hardest first";
    EXPECT_EQ(problems->index(0, 5).data().toString(), "3");
    EXPECT_EQ(column(problems, 0).mid(1, 2).join(u'|').toStdString(), " 33÷ 4| 49÷ 2")
        << "between equals, the slower first";
    const QString summary = learner->findChild<QLabel*>("learnerSummary")->text();
    EXPECT_TRUE(summary.contains("最新 2026-10-02 09:00") && summary.contains("合計時間 100.5 秒"))
        << summary.toStdString();
    const auto* drills = learner->findChild<QTableView*>("drillTable")->model();
    EXPECT_EQ(column(drills, 0), (QStringList{"2026-10-02 09:00", "2026-10-01 09:00"}))
        << "newest first";
    EXPECT_EQ(window->openLearner("1"), learner) << "one window per learner";
}

// Over 1 and 2 October, seen from the 2nd: "2" practised only before, so only "2" is flagged;
// one click shows only the flagged, and the divisors are the period's.
TEST_F(ReportWindows, PeriodAndFlaggedOnlyChooseTheRows) {
    const auto window = openClass();
    window->findChild<QComboBox*>("period")->setCurrentIndex(4);
    window->findChild<QDateEdit*>("periodFrom")->setDate(QDate(2026, 10, 1));
    window->findChild<QDateEdit*>("periodTo")->setDate(QDate(2026, 10, 2));
    EXPECT_EQ(window->period().label, QStringLiteral("2026-10-01〜2026-10-02"));
    EXPECT_EQ(column(table_->model(), 1), (QStringList{"2", "0", "1"}));
    EXPECT_EQ(column(table_->model(), 0), (QStringList{"1", "2", "10"}));

    window->findChild<QCheckBox*>("flaggedOnly")->click();
    EXPECT_EQ(column(table_->model(), 0), QStringList{"2"});
    const int reasons = table_->model()->columnCount() - 1;
    EXPECT_EQ(table_->model()->index(0, reasons).data().toString(), "● 練習の記録なし");
    window->findChild<QCheckBox*>("flaggedOnly")->click();
    EXPECT_EQ(table_->model()->rowCount(), 3);

    const auto* divisors = window->findChild<QTableView*>("classDivisorTable")->model();
    EXPECT_EQ(divisors->index(6, 1).data().toString(), "7") << "÷7 met in the three drills";
}

// A class list joins "1" and "10" as the child it names: the row shows 出席番号 and 氏名
// before the ID, and Enter opens that child with the drills of both IDs.
TEST_F(ReportWindows, AClassListNamesTheRowsAndEnterOpensTheJoinedChild) {
    const auto window = openClass();
    window->useRosterForThisRun({{{"3", QStringLiteral("山田 花子"), {"01", "10"}}}});
    const QAbstractItemModel* rows = table_->model();
    EXPECT_EQ(rows->headerData(1, Qt::Horizontal).toString(), QStringLiteral("氏名"));
    EXPECT_EQ(column(rows, 2), (QStringList{QStringLiteral("1・10"), "2"}));
    EXPECT_EQ(column(rows, 1), (QStringList{QStringLiteral("山田 花子"), ""}));
    table_->setCurrentIndex(rows->index(0, 4));
    QTest::keyClick(table_, Qt::Key_Return);
    report::LearnerWindow* learner = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<report::LearnerWindow*>(widget))
            learner = found;
    }
    ASSERT_NE(learner, nullptr);
    EXPECT_TRUE(learner->windowTitle().contains(QStringLiteral("3番 山田 花子")));
    EXPECT_EQ(learner->findChild<QTableView*>("drillTable")->model()->rowCount(), 3);
}

TEST_F(ReportWindows, ChosenFolderIsReadAndRememberedForTheNextStart) {
    const auto window = openClass();
    QTemporaryDir other;
    report_test::writeHistoryFile(other.path(), "7",
                                  report_test::drillBytes(steadyDrill(1, 1), "10/3"));
    QSignalSpy loaded(window.get(), &report::ClassWindow::loaded);
    window->chooseFolder(other.path());
    ASSERT_TRUE(loaded.wait(10000));
    EXPECT_EQ(column(table_->model(), 0), QStringList{"7"});
    EXPECT_FALSE(window->findChild<QTableWidget*>("unreadableFiles")->isVisible())
        << "no unreadable files, no list of them";
    EXPECT_EQ(report::rememberedFolder(), other.path());
}

// As a screen reader meets them, like the drill's windows: every control that takes input or
// informs has a name, and each window reads as a window.
TEST_F(ReportWindows, EveryControlIsNamedAndEachWindowReadsAsAWindow) {
    const auto window = openClass();
    const struct Row {
        const char* name;
        QWidget* window;
    } rows[] = {
        {"class window", window.get()},
        {"learner window", window->openLearner("1")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(row.window, nullptr);
        row.window->show();
        const uitest::AccessibilityFindings findings = uitest::checkAccessibility(row.window);
        EXPECT_EQ(findings.windowRole, QAccessible::Window);
        EXPECT_GT(findings.controls, 0);
        EXPECT_TRUE(findings.unnamed.isEmpty()) << findings.unnamed.join(u' ').toStdString();
    }
}

// One application for the test program, with a settings folder of its own.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", config_.path().toLocal8Bit());  // the class lists kept
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
        ui::installAccessibility();  // as the program's set-up does
    }
    void TearDown() override { app_.reset(); }

private:
    QTemporaryDir config_;
    int argc_ = 1;
    char name_[32] = "report_window_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
