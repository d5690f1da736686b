// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "class_window.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "class_divisors.h"
#include "class_list.h"
#include "csv_export.h"
#include "figures.h"
#include "folder_loader.h"
#include "learner_window.h"
#include "meeting_pages.h"
#include "pages.h"
#include "report_settings.h"
#include "roster_store.h"
#include "table_text_model.h"
#include "tables.h"
#include "xlsx_export.h"

namespace report {

namespace {

QTableWidgetItem* readOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

void setCompactRows(QTableView* table) {
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
}

}  // namespace

ClassWindow::ClassWindow(const QString& folder, QWidget* parent)
    : QMainWindow(parent),
      folder_(folder),
      loader_(new FolderLoader(this)),
      model_(new TableTextModel(this)),
      sorted_(new QSortFilterProxyModel(this)),
      divisors_(new TableTextModel(this)) {
    // The reading starts before the window is built, so that the two go on side by side.
    loader_->load(folder_);
    setObjectName(QStringLiteral("classWindow"));
    setWindowTitle(QStringLiteral("ポルネア 学習履歴"));
    setAccessibleName(QStringLiteral("ポルネア 学習履歴　クラスの一覧"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    folderLabel_ = new QLabel(central);
    folderLabel_->setObjectName(QStringLiteral("folderLabel"));
    folderLabel_->setTextFormat(Qt::PlainText);
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The labels' texts are what a screen reader reads; the descriptions say what they are.
    folderLabel_->setAccessibleDescription(QStringLiteral("読んでいるフォルダ"));
    layout->addWidget(folderLabel_);

    summary_ = new QLabel(central);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setAccessibleDescription(QStringLiteral("クラスのまとめ"));
    layout->addWidget(summary_);

    rosterNote_ = new QLabel(central);
    rosterNote_->setObjectName(QStringLiteral("rosterNote"));
    rosterNote_->setTextFormat(Qt::PlainText);
    rosterNote_->setWordWrap(true);
    rosterNote_->setAccessibleDescription(QStringLiteral("名簿について"));
    rosterNote_->hide();
    layout->addWidget(rosterNote_);

    layout->addLayout(buildPeriodBar(central));

    auto* splitter = new QSplitter(Qt::Vertical, central);
    layout->addWidget(splitter, 1);
    auto* tabs = new QTabWidget(splitter);
    tabs->setObjectName(QStringLiteral("classTabs"));
    tabs->setAccessibleName(QStringLiteral("児童ごとの表とわる数ごとの表"));

    const TableText empty = classTable({});
    model_->setTable(empty);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(TableTextModel::SortRole);
    table_ = new QTableView(tabs);
    table_->setObjectName(QStringLiteral("classTable"));
    table_->setAccessibleName(QStringLiteral("クラスの一覧"));
    table_->setAccessibleDescription(QStringLiteral(
        "児童の ID ごとに一行。見出しを押すと並べかえ、行をダブルクリックするか Enter "
        "キーを押すと、その児童の記録が開きます。"));
    table_->setModel(sorted_);
    setCompactRows(table_);
    table_->setAlternatingRowColors(true);
    table_->setSortingEnabled(true);
    table_->sortByColumn(empty.sortColumn, empty.sortOrder);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(table_, &QTableView::activated, this, &ClassWindow::openRow);
    tabs->addTab(table_, QStringLiteral("児童ごと"));

    divisors_->setTable(classDivisorTable({}));
    auto* divisorTable = new QTableView(tabs);
    divisorTable->setObjectName(QStringLiteral("classDivisorTable"));
    divisorTable->setAccessibleName(QStringLiteral("わる数ごとのクラス全体の記録"));
    divisorTable->setAccessibleDescription(
        QStringLiteral("÷1 から ÷9 まで、クラス全体の平均時間と誤答、そのわる数が"
                       "いちばんおそい児童の数。"));
    divisorTable->setModel(divisors_);
    setCompactRows(divisorTable);
    divisorTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tabs->addTab(divisorTable, QStringLiteral("わる数ごと"));

    unreadableBox_ = new QWidget(splitter);
    auto* unreadableLayout = new QVBoxLayout(unreadableBox_);
    unreadableLayout->setContentsMargins(0, 0, 0, 0);
    unreadableTitle_ = new QLabel(unreadableBox_);
    unreadableTitle_->setObjectName(QStringLiteral("unreadableTitle"));
    unreadableTitle_->setAccessibleDescription(QStringLiteral("読めなかったファイルの数"));
    unreadableLayout->addWidget(unreadableTitle_);
    unreadable_ = new QTableWidget(0, 2, unreadableBox_);
    unreadable_->setObjectName(QStringLiteral("unreadableFiles"));
    unreadable_->setAccessibleName(QStringLiteral("読めなかったファイルとその理由"));
    unreadable_->setHorizontalHeaderLabels({QStringLiteral("ファイル"), QStringLiteral("理由")});
    setCompactRows(unreadable_);
    unreadable_->horizontalHeader()->setStretchLastSection(true);
    unreadableLayout->addWidget(unreadable_);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 1);
    unreadableBox_->hide();

    setCentralWidget(central);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setAccessibleName(QStringLiteral("読みこみの進みぐあい"));
    progress_->setFormat(QStringLiteral("%v / %m ファイル"));
    progress_->setMaximumWidth(280);
    progress_->hide();
    statusBar()->addPermanentWidget(progress_);

    buildMenus();
    connect(loader_, &FolderLoader::progress, this, &ClassWindow::showProgress);
    connect(loader_, &FolderLoader::loaded, this, &ClassWindow::showClass);
    resize(1000, 640);
    table_->setFocus();
    showReading();
}

ClassWindow::~ClassWindow() {
    for (const auto& learner : std::as_const(learners_))
        delete learner.data();
}

void ClassWindow::closeEvent(QCloseEvent* event) {
    for (const auto& learner : std::as_const(learners_)) {
        if (learner)
            learner->close();
    }
    QMainWindow::closeEvent(event);
}

void ClassWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("フォルダを開く(&O)…"), QKeySequence::Open, this,
                    &ClassWindow::askForFolder);
    file->addAction(QStringLiteral("読み直す(&R)"), QKeySequence::Refresh, this,
                    &ClassWindow::reload);
    file->addSeparator();
    file->addAction(QStringLiteral("クラスの一覧を CSV に書き出す(&C)…"), this,
                    &ClassWindow::exportCsv);
    file->addAction(QStringLiteral("クラスと全員の問題を XLSX に書き出す(&X)…"), this,
                    &ClassWindow::exportXlsx);
    file->addAction(QStringLiteral("クラスの一覧を PDF に書き出す(&D)…"), this,
                    [this] { exportPdf(false); });
    file->addAction(QStringLiteral("クラスと全員のページを PDF に書き出す(&A)…"), this,
                    [this] { exportPdf(true); });
    file->addAction(QStringLiteral("印刷(&P)…"), QKeySequence::Print, this, &ClassWindow::print);
    file->addSeparator();
    file->addAction(QStringLiteral("全員の面談用シートを PDF に保存(&M)…"), this,
                    &ClassWindow::saveMeetingPdf);
    file->addAction(QStringLiteral("全員の面談用シートを印刷(&N)…"), this,
                    &ClassWindow::printMeetingSheets);
    file->addSeparator();
    file->addAction(QStringLiteral("終了(&Q)"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* names = menuBar()->addMenu(QStringLiteral("名簿(&N)"));
    names->addAction(QStringLiteral("名簿を読み込む(&I)…"), this, &ClassWindow::askForRoster);
    names->addAction(QStringLiteral("名簿を忘れる(&F)"), this, &ClassWindow::forgetClassList);

    QMenu* learner = menuBar()->addMenu(QStringLiteral("児童(&L)"));
    learner->addAction(QStringLiteral("選んだ児童の記録を開く(&O)"), this,
                       [this] { openRow(table_->currentIndex()); });
}

QHBoxLayout* ClassWindow::buildPeriodBar(QWidget* parent) {
    auto* bar = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("期間(&T):"), parent);
    bar->addWidget(label);
    periodChoice_ = new QComboBox(parent);
    periodChoice_->setObjectName(QStringLiteral("period"));
    periodChoice_->setAccessibleName(QStringLiteral("期間"));
    periodChoice_->addItems({QStringLiteral("すべて"), QStringLiteral("今週"),
                             QStringLiteral("今月"), QStringLiteral("今学期"),
                             QStringLiteral("期間を指定")});
    // The list that drops down is read out on its own too.
    periodChoice_->view()->setAccessibleName(QStringLiteral("期間のえらびかた"));
    label->setBuddy(periodChoice_);
    bar->addWidget(periodChoice_);

    const QDate today = QDate::currentDate();
    const auto dateEdit = [&](const char* name, const QString& accessible, const QDate& date) {
        auto* edit = new QDateEdit(date, parent);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(accessible);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setCalendarPopup(true);
        edit->hide();
        bar->addWidget(edit);
        connect(edit, &QDateEdit::dateChanged, this, &ClassWindow::showPeriod);
        return edit;
    };
    from_ = dateEdit("periodFrom", QStringLiteral("期間の最初の日"),
                     QDate(today.year(), today.month(), 1));
    to_ = dateEdit("periodTo", QStringLiteral("期間の最後の日"), today);
    connect(periodChoice_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const bool dates = index == periodChoice_->count() - 1;
        from_->setVisible(dates);
        to_->setVisible(dates);
        showPeriod();
    });
    bar->addSpacing(16);

    flaggedOnly_ =
        new QCheckBox(QString(QChar(kFlagMark)) + QStringLiteral(" 気になる児童だけ(&K)"), parent);
    flaggedOnly_->setObjectName(QStringLiteral("flaggedOnly"));
    flaggedOnly_->setAccessibleName(QStringLiteral("気になる児童だけを表に出す"));
    connect(flaggedOnly_, &QCheckBox::toggled, this, &ClassWindow::showFlaggedOnly);
    bar->addWidget(flaggedOnly_);
    bar->addStretch(1);
    return bar;
}

Period ClassWindow::period() const {
    const QDate today = QDate::currentDate();
    switch (periodChoice_->currentIndex()) {
        case 1:
            return choosePeriod(PeriodChoice::ThisWeek, today);
        case 2:
            return choosePeriod(PeriodChoice::ThisMonth, today);
        case 3:
            return choosePeriod(PeriodChoice::ThisTerm, today);
        case 4:
            return periodBetween(from_->date(), std::max(from_->date(), to_->date()));
        default:
            return choosePeriod(PeriodChoice::All, today);
    }
}

void ClassWindow::showFlaggedOnly(bool flaggedOnly) {
    sorted_->setFilterKeyColumn(
        static_cast<int>(model_->table().headers.indexOf(QStringLiteral("気になる点"))));
    sorted_->setFilterRegularExpression(flaggedOnly ? QStringLiteral(".") : QString());
}

void ClassWindow::chooseFolder(const QString& folder) {
    rememberFolder(folder);
    folder_ = folder;
    rosterForRun_.reset();
    reload();
}

void ClassWindow::askForFolder() {
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("学習履歴のフォルダ（rirekidata）を選ぶ"), folder_);
    if (!chosen.isEmpty())
        chooseFolder(chosen);
}

void ClassWindow::reload() {
    loader_->load(folder_);
    showReading();
}

void ClassWindow::showReading() {
    folderLabel_->setText(QStringLiteral("フォルダ: ") + QDir::toNativeSeparators(folder_));
    summary_->setText(QStringLiteral("読みこみ中…"));
    progress_->setRange(0, 0);  // busy until the files are counted
    progress_->show();
    statusBar()->showMessage(QStringLiteral("フォルダを読んでいます…"));
}

void ClassWindow::showProgress(qsizetype done, qsizetype total) {
    progress_->setRange(0, static_cast<int>(total));
    progress_->setValue(static_cast<int>(done));
}

void ClassWindow::showClass(std::shared_ptr<const records::ClassFolder> result) {
    read_ = std::move(result);
    showNamed();
}

void ClassWindow::useRosterForThisRun(const Roster& roster) {
    rosterForRun_ = roster;
    if (read_)
        showNamed();
}

void ClassWindow::askForRoster() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("名簿を読み込む"), rememberedExportFolder(),
        QStringLiteral("名簿 (*.csv *.xlsx *.txt);;すべてのファイル (*)"));
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<Roster> roster = readRoster(path, &error);
    if (!roster || !storeRoster(folder_, *roster, &error)) {
        QMessageBox::warning(this, windowTitle(), error);
        return;
    }
    rosterForRun_.reset();
    if (read_)
        showNamed();
    statusBar()->showMessage(
        QStringLiteral("名簿を読みこみました（%1 人）。このフォルダを開くときは、次からもこの"
                       "名簿を使います。")
            .arg(roster->children.size()));
}

void ClassWindow::forgetClassList() {
    rosterForRun_.reset();
    if (!forgetRoster(folder_))
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("名簿 %1 を消せませんでした。")
                                 .arg(QDir::toNativeSeparators(rosterStoreFolder())));
    if (read_)
        showNamed();
}

void ClassWindow::showNamed() {
    const std::optional<Roster> roster = rosterForRun_ ? rosterForRun_ : storedRoster(folder_);
    class_ = std::make_shared<const records::ClassFolder>(
        nameClass(*read_, roster ? &*roster : nullptr));
    rosterNote_->setText(roster ? rosterNote(*read_, *class_, *roster) : QString());
    rosterNote_->setVisible(roster.has_value());
    progress_->hide();
    statusBar()->clearMessage();
    showUnreadable();
    showPeriod();
    emit loaded();
}

void ClassWindow::showPeriod() {
    if (!class_)
        return;
    const Period chosen = period();
    shown_ = chosen.all() ? class_
                          : std::make_shared<const records::ClassFolder>(inPeriod(*class_, chosen));
    const std::vector<ClassRow> rows = flaggedClassRows(*shown_, chosen.asOf(QDate::currentDate()));
    model_->setTable(classTable(rows));
    showFlaggedOnly(flaggedOnly_->isChecked());
    // On screen the flags and the days since the latest drill come right after the ID.
    QHeaderView* header = table_->horizontalHeader();
    const auto columnOf = [this](const QString& name) {
        return static_cast<int>(model_->table().headers.indexOf(name));
    };
    const int afterId = header->visualIndex(columnOf(QStringLiteral("ID"))) + 1;
    header->moveSection(header->visualIndex(columnOf(QStringLiteral("気になる点"))), afterId);
    header->moveSection(header->visualIndex(columnOf(QStringLiteral("最終練習から（日）"))),
                        afterId + 1);
    divisors_->setTable(classDivisorTable(classDivisors(*shown_)));
    if (sorted_->rowCount() > 0)
        table_->setCurrentIndex(sorted_->index(0, 0));

    std::size_t drills = 0;
    for (const records::Learner& learner : shown_->learners)
        drills += learner.drills.size();
    const auto flagged = std::count_if(rows.begin(), rows.end(), [](const ClassRow& row) {
        return row.flags && row.flags->flagged();
    });
    // A folder that can't be read is said in red, with the way to another folder.
    const bool failed = !class_->error.isEmpty();
    summary_->setStyleSheet(failed ? QStringLiteral("color: #c00000;") : QString());
    if (failed)
        summary_->setText(class_->error + QStringLiteral("　ファイル → フォルダを開く…（Ctrl+O）"
                                                         "で、ほかのフォルダを選べます。"));
    else if (rows.empty())
        summary_->setText(QStringLiteral("このフォルダには、まだドリルの記録がありません。"));
    else
        summary_->setText(
            QStringLiteral("%1 人（気になる児童 %5 人）、ドリル %2 回の記録（ファイル %3 個）"
                           "　期間: %4")
                .arg(rows.size())
                .arg(drills)
                .arg(class_->filesRead)
                .arg(chosen.label)
                .arg(flagged));

    // Open learner windows show the new figures, or close when their learner is gone.
    for (const auto& learner : std::as_const(learners_)) {
        if (learner) {
            learner->setPeriod(chosen);
            learner->setClass(shown_);
        }
    }
}

void ClassWindow::showUnreadable() {
    const auto& files = class_->unreadable;
    unreadable_->setRowCount(static_cast<int>(files.size()));
    for (int row = 0; row < static_cast<int>(files.size()); ++row) {
        const records::UnreadableFile& file = files[static_cast<std::size_t>(row)];
        unreadable_->setItem(row, 0, readOnlyItem(QDir::toNativeSeparators(file.path)));
        unreadable_->setItem(row, 1, readOnlyItem(file.reason));
    }
    unreadable_->resizeColumnToContents(0);
    unreadableTitle_->setText(QStringLiteral("読めなかったファイル: %1 個").arg(files.size()));
    unreadableBox_->setVisible(!files.empty());
}

void ClassWindow::openRow(const QModelIndex& index) {
    const qsizetype idColumn = model_->table().headers.indexOf(QStringLiteral("ID"));
    if (index.isValid() && idColumn >= 0)
        openLearner(
            model_->table().rows[static_cast<std::size_t>(sorted_->mapToSource(index).row())].value(
                idColumn));
}

LearnerWindow* ClassWindow::openLearner(const QString& id) {
    if (!shown_)
        return nullptr;
    learners_.removeAll(nullptr);
    for (const auto& learner : std::as_const(learners_)) {
        if (learner->id() == id) {
            learner->show();
            learner->raise();
            learner->activateWindow();
            return learner;
        }
    }
    if (findLearner(*shown_, id) == nullptr)
        return nullptr;
    auto* window = new LearnerWindow(shown_, id);
    window->setPeriod(period());
    window->setAttribute(Qt::WA_DeleteOnClose);
    learners_.append(window);
    window->show();
    return window;
}

bool ClassWindow::readingDone() {
    if (class_ && !loader_->busy())
        return true;
    QMessageBox::information(this, windowTitle(),
                             QStringLiteral("フォルダを読み終わってから、もう一度どうぞ。"));
    return false;
}

QString ClassWindow::askExportPath(const QString& title, const QString& name,
                                   const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(
        this, title, QDir(rememberedExportFolder()).filePath(name), filter);
    if (!path.isEmpty())
        rememberExportFolder(path);
    return path;
}

void ClassWindow::exportCsv() {
    if (!readingDone())
        return;
    const QString path =
        askExportPath(QStringLiteral("クラスの一覧を CSV に書き出す"), QStringLiteral("class.csv"),
                      QStringLiteral("CSV ファイル (*.csv)"));
    QString error;
    const Period chosen = period();
    if (!path.isEmpty() &&
        !writeExport(path, classCsv(flaggedClassRows(*shown_, chosen.asOf(QDate::currentDate()))),
                     &error))
        QMessageBox::warning(this, windowTitle(), error);
}

void ClassWindow::exportXlsx() {
    if (!readingDone())
        return;
    const QString path =
        askExportPath(QStringLiteral("クラスと全員の問題を XLSX に書き出す"),
                      QStringLiteral("class.xlsx"), QStringLiteral("XLSX ファイル (*.xlsx)"));
    QString error;
    if (!path.isEmpty() &&
        !writeClassXlsx(path, *shown_,
                        flaggedClassRows(*shown_, period().asOf(QDate::currentDate())), &error))
        QMessageBox::warning(this, windowTitle(), error);
}

void ClassWindow::exportPdf(bool withLearners) {
    if (!readingDone())
        return;
    const QString path =
        askExportPath(withLearners ? QStringLiteral("クラスと全員のページを PDF に書き出す")
                                   : QStringLiteral("クラスの一覧を PDF に書き出す"),
                      QStringLiteral("class.pdf"), QStringLiteral("PDF ファイル (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    const bool written = withLearners ? writeFolderPdf(path, *shown_, &error, period())
                                      : writeClassPdf(path, *shown_, &error, period());
    if (!written)
        QMessageBox::warning(this, windowTitle(), error);
}

void ClassWindow::print() {
    if (!readingDone())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("クラスの一覧を印刷"));
    if (dialog.exec() == QDialog::Accepted)
        printClassPage(printer, *shown_, period());
}

void ClassWindow::saveMeetingPdf() {
    if (!readingDone())
        return;
    const QString path =
        askExportPath(QStringLiteral("全員の面談用シートを PDF に保存"),
                      QStringLiteral("meeting.pdf"), QStringLiteral("PDF ファイル (*.pdf)"));
    QString error;
    if (!path.isEmpty() && !writeMeetingPdf(path, meetingChildren(*shown_), period(), &error))
        QMessageBox::warning(this, windowTitle(), error);
}

void ClassWindow::printMeetingSheets() {
    if (!readingDone())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("全員の面談用シートを印刷"));
    if (dialog.exec() == QDialog::Accepted)
        report::printMeetingSheets(printer, meetingChildren(*shown_), period());
}

}  // namespace report
