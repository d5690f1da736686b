// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The teacher's main window: one row per learner ID of a class folder, sortable, with the
// folder's unreadable files and their reasons. Double-clicking a row (or Enter) opens the
// learner.

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "class_folder.h"
#include "period.h"
#include "roster.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QSortFilterProxyModel;
class QTableView;
class QTableWidget;

namespace report {

class FolderLoader;
class LearnerWindow;
class TableTextModel;

class ClassWindow : public QMainWindow {
    Q_OBJECT

public:
    // Shows the class of folder; reading starts at once on a worker thread.
    explicit ClassWindow(const QString& folder, QWidget* parent = nullptr);
    ~ClassWindow() override;

    QString folder() const { return folder_; }
    // The class as last read; null until the first reading has ended.
    std::shared_ptr<const records::ClassFolder> classFolder() const { return class_; }
    // The period chosen above the table; every view and export shows only its drills.
    Period period() const;

    // Opens (or raises) the window of one learner of the class; null for an unknown ID.
    LearnerWindow* openLearner(const QString& id);

    // Reads another folder, and remembers it for the next start.
    void chooseFolder(const QString& folder);

    // Names the children by this class list until the program ends, instead of the list
    // kept for the folder.
    void useRosterForThisRun(const Roster& roster);

signals:
    // The table shows the class of folder().
    void loaded();

protected:
    // The learners' windows close with the class window.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QHBoxLayout* buildPeriodBar(QWidget* parent);
    void reload();
    void showReading();
    void askForFolder();
    void showProgress(qsizetype done, qsizetype total);
    void showClass(std::shared_ptr<const records::ClassFolder> result);
    void showUnreadable();
    void showPeriod();
    void showFlaggedOnly(bool flaggedOnly);
    void openRow(const QModelIndex& index);
    bool readingDone();
    QString askExportPath(const QString& title, const QString& name, const QString& filter);
    void exportCsv();
    void exportXlsx();
    void askForRoster();
    void forgetClassList();
    void showNamed();
    void exportPdf(bool withLearners);
    void print();
    void saveMeetingPdf();
    void printMeetingSheets();

    QString folder_;
    std::shared_ptr<const records::ClassFolder> read_;  // as read, before the class list
    std::optional<Roster> rosterForRun_;
    std::shared_ptr<const records::ClassFolder> class_;
    std::shared_ptr<const records::ClassFolder> shown_;  // class_ cut to the period
    FolderLoader* loader_;
    TableTextModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
    TableTextModel* divisors_;
    QComboBox* periodChoice_;
    QDateEdit* from_;
    QDateEdit* to_;
    QCheckBox* flaggedOnly_;
    QLabel* folderLabel_;
    QLabel* summary_;
    QLabel* rosterNote_;
    QWidget* unreadableBox_;
    QLabel* unreadableTitle_;
    QTableWidget* unreadable_;
    QProgressBar* progress_;
    QList<QPointer<LearnerWindow>> learners_;
};

}  // namespace report
