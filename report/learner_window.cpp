// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "learner_window.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "class_list.h"
#include "csv_export.h"
#include "figures.h"
#include "meeting_pages.h"
#include "pages.h"
#include "picture_widget.h"
#include "pictures.h"
#include "report_settings.h"
#include "table_text_model.h"
#include "tables.h"
#include "xlsx_export.h"

namespace report {

namespace {

// A view of the model, shown in the order (and with the arrow) of its empty table.
QTableView* makeTable(TableTextModel* model, const TableText& empty, const QString& objectName,
                      const QString& name, QWidget* parent) {
    model->setTable(empty);
    auto* sorted = new QSortFilterProxyModel(parent);
    sorted->setSourceModel(model);
    sorted->setSortRole(TableTextModel::SortRole);
    auto* table = new QTableView(parent);
    table->setObjectName(objectName);
    table->setAccessibleName(name);
    table->setModel(sorted);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setSortingEnabled(true);
    table->sortByColumn(empty.sortColumn, empty.sortOrder);
    return table;
}

// An ID as part of a file name: characters that a file name can't hold become "_".
QString fileNamePart(const QString& id) {
    QString part = id;
    for (QChar& c : part) {
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c == u':' || c == u'*' || c == u'?' ||
            c == u'"' || c == u'<' || c == u'>' || c == u'|')
            c = u'_';
    }
    return part.trimmed().isEmpty() || part.startsWith(u'.') ? QStringLiteral("_") + part : part;
}

}  // namespace

const records::Learner* findLearner(const records::ClassFolder& folder, const QString& id) {
    for (const records::Learner& learner : folder.learners) {
        if (learner.id == id)
            return &learner;
    }
    return nullptr;
}

LearnerWindow::LearnerWindow(std::shared_ptr<const records::ClassFolder> folder, const QString& id,
                             QWidget* parent)
    : QMainWindow(parent),
      folder_(std::move(folder)),
      learner_(findLearner(*folder_, id)),
      id_(id),
      problems_(new TableTextModel(this)),
      drills_(new TableTextModel(this)) {
    Q_ASSERT(learner_ != nullptr);
    setObjectName(QStringLiteral("learnerWindow"));
    setWindowTitle(QStringLiteral("ポルネア 学習履歴　") + childTitle(*learner_));
    setAccessibleName(windowTitle());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    summary_ = new QLabel(central);
    summary_->setObjectName(QStringLiteral("learnerSummary"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setAccessibleDescription(QStringLiteral("児童のまとめ"));
    layout->addWidget(summary_);

    auto* rows = new QSplitter(Qt::Vertical, central);
    auto* pictures = new QSplitter(Qt::Horizontal, rows);
    chart_ = new PictureWidget(
        QStringLiteral("ドリルごとの1問あたりの時間と誤答のグラフ"),
        QStringLiteral("左から日時の順にドリルが並び、線が最後まで解いたドリルの1問あたりの時間"
                       "（秒）、棒が誤答の数です。途中で終了したドリルは、線から離れた白い点と"
                       "斜線の棒です。"),
        [this](QPainter& painter, const QRectF& area) {
            drawDrillChart(painter, area, drillsOverTime(*learner_));
        },
        pictures);
    chart_->setObjectName(QStringLiteral("drillChart"));
    divisors_ = new PictureWidget(
        QStringLiteral("わる数 1 から 9 ごとの平均時間と誤答"),
        QStringLiteral("わる数ごとに一つのます。色は平均時間で、緑と◎ははやく、赤と▲はおそい。"
                       "右上の数字は、はやい順の順位です。出た回数と誤答も書いてあります。"),
        [this](QPainter& painter, const QRectF& area) {
            drawDivisorGrid(painter, area, divisorCells(*learner_));
        },
        pictures);
    divisors_->setObjectName(QStringLiteral("divisorGrid"));
    pictures->setStretchFactor(0, 3);
    pictures->setStretchFactor(1, 2);

    auto* tabs = new QTabWidget(rows);
    tabs->setObjectName(QStringLiteral("learnerTables"));
    tabs->setAccessibleName(QStringLiteral("児童の表"));
    tabs->addTab(makeTable(problems_, problemTable({}), QStringLiteral("problemTable"),
                           QStringLiteral("むずかしかった問題から順の一覧"), tabs),
                 QStringLiteral("むずかしかった問題"));
    tabs->addTab(makeTable(drills_, drillTable({}), QStringLiteral("drillTable"),
                           QStringLiteral("ドリルの一覧（新しい順）"), tabs),
                 QStringLiteral("ドリルの一覧"));
    rows->setStretchFactor(0, 3);
    rows->setStretchFactor(1, 2);
    layout->addWidget(rows, 1);
    setCentralWidget(central);

    buildMenus();
    fill();
    resize(1000, 720);
}

void LearnerWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("問題の一覧を CSV に書き出す(&C)…"), this,
                    &LearnerWindow::exportCsv);
    file->addAction(QStringLiteral("問題とドリルの一覧を XLSX に書き出す(&X)…"), this,
                    &LearnerWindow::exportXlsx);
    file->addAction(QStringLiteral("このページを PDF に書き出す(&D)…"), this,
                    &LearnerWindow::exportPdf);
    file->addAction(QStringLiteral("印刷(&P)…"), QKeySequence::Print, this, &LearnerWindow::print);
    file->addSeparator();
    file->addAction(QStringLiteral("面談用シートを PDF に保存(&M)…"), this,
                    &LearnerWindow::saveMeetingPdf);
    file->addAction(QStringLiteral("面談用シートを印刷(&N)…"), this,
                    &LearnerWindow::printMeetingSheet);
    file->addSeparator();
    file->addAction(QStringLiteral("閉じる(&W)"), QKeySequence::Close, this, &QWidget::close);
}

void LearnerWindow::setClass(std::shared_ptr<const records::ClassFolder> folder) {
    const records::Learner* learner = findLearner(*folder, id_);
    if (learner == nullptr) {
        close();
        return;
    }
    folder_ = std::move(folder);
    learner_ = learner;
    fill();
}

void LearnerWindow::fill() {
    const std::vector<DrillFigures> drills = drillsOverTime(*learner_);
    const std::vector<ProblemFigures> problems = problemsHardestFirst(*learner_);
    problems_->setTable(problemTable(problems));
    drills_->setTable(drillTable(drills));
    const QString who = childTitle(*learner_);
    if (drills.empty()) {
        summary_->setText(QStringLiteral("%1: 記録がありません。").arg(who));
    } else {
        const DrillFigures& latest = drills.back();
        QString text =
            QStringLiteral(
                "%1: ドリル %2 回、最新 %3　正答 %4 / 20、合計時間 %5 秒、1問あたり %6 秒、誤答 "
                "%7")
                .arg(who)
                .arg(drills.size())
                .arg(dateTimeText(latest.ended))
                .arg(latest.solved)
                .arg(secondsText(latest.totalSeconds), secondsText(latest.secondsPerProblem()))
                .arg(latest.wrongAnswers);
        if (!latest.finished())
            text += QStringLiteral("（%1）").arg(unfinishedText(latest));
        summary_->setText(text);
    }
    if (!learner_->joinedNote.isEmpty())
        summary_->setText(summary_->text() + QStringLiteral("　（%1）").arg(learner_->joinedNote));
    chart_->update();
    divisors_->update();
}

QString LearnerWindow::askExportPath(const QString& title, const QString& suffix,
                                     const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(
        this, title,
        QDir(rememberedExportFolder())
            .filePath(QStringLiteral("Rovedavu") + fileNamePart(id_) + suffix),
        filter);
    if (!path.isEmpty())
        rememberExportFolder(path);
    return path;
}

void LearnerWindow::exportCsv() {
    const QString path =
        askExportPath(QStringLiteral("問題の一覧を CSV に書き出す"),
                      QStringLiteral("_problems.csv"), QStringLiteral("CSV ファイル (*.csv)"));
    QString error;
    if (!path.isEmpty() &&
        !writeExport(path, problemsCsv(id_, problemsHardestFirst(*learner_)), &error))
        QMessageBox::warning(this, windowTitle(), error);
}

void LearnerWindow::exportXlsx() {
    const QString path =
        askExportPath(QStringLiteral("問題とドリルの一覧を XLSX に書き出す"),
                      QStringLiteral(".xlsx"), QStringLiteral("XLSX ファイル (*.xlsx)"));
    QString error;
    if (!path.isEmpty() && !writeLearnerXlsx(path, *learner_, &error))
        QMessageBox::warning(this, windowTitle(), error);
}

void LearnerWindow::exportPdf() {
    const QString path =
        askExportPath(QStringLiteral("このページを PDF に書き出す"), QStringLiteral(".pdf"),
                      QStringLiteral("PDF ファイル (*.pdf)"));
    QString error;
    if (!path.isEmpty() && !writeLearnerPdf(path, *learner_, &error))
        QMessageBox::warning(this, windowTitle(), error);
}

void LearnerWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("児童のページを印刷"));
    if (dialog.exec() == QDialog::Accepted)
        printLearnerPage(printer, *learner_);
}

void LearnerWindow::saveMeetingPdf() {
    const QString path =
        askExportPath(QStringLiteral("面談用シートを PDF に保存"), QStringLiteral("_meeting.pdf"),
                      QStringLiteral("PDF ファイル (*.pdf)"));
    QString error;
    if (!path.isEmpty() &&
        !writeMeetingPdf(path, {MeetingChild{learner_->number, learner_->name, learner_}}, period_,
                         &error))
        QMessageBox::warning(this, windowTitle(), error);
}

void LearnerWindow::printMeetingSheet() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("面談用シートを印刷"));
    if (dialog.exec() == QDialog::Accepted)
        printMeetingSheets(printer, {MeetingChild{learner_->number, learner_->name, learner_}},
                           period_);
}

}  // namespace report
