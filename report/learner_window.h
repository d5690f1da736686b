// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// One learner's window: the chart of the drills over time, the picture of the divisors 1 to
// 9, every problem met (hardest first) and the drills kept.

#include <QMainWindow>
#include <memory>

#include "class_folder.h"
#include "period.h"

class QLabel;
class QTableView;

namespace report {

class PictureWidget;
class TableTextModel;

// The learner of that ID in the folder; null when there is none.
const records::Learner* findLearner(const records::ClassFolder& folder, const QString& id);

class LearnerWindow : public QMainWindow {
    Q_OBJECT

public:
    // id must be a learner of folder.
    LearnerWindow(std::shared_ptr<const records::ClassFolder> folder, const QString& id,
                  QWidget* parent = nullptr);

    QString id() const { return id_; }
    // Shows the figures of a new reading of the folder; closes when the learner is gone.
    void setClass(std::shared_ptr<const records::ClassFolder> folder);
    // The period the folder was cut to, named on the meeting sheet.
    void setPeriod(const Period& period) { period_ = period; }

private:
    void buildMenus();
    void fill();
    QString askExportPath(const QString& title, const QString& suffix, const QString& filter);
    void exportCsv();
    void exportXlsx();
    void exportPdf();
    void print();
    void saveMeetingPdf();
    void printMeetingSheet();

    std::shared_ptr<const records::ClassFolder> folder_;
    const records::Learner* learner_;
    QString id_;
    QLabel* summary_;
    PictureWidget* chart_;
    PictureWidget* divisors_;
    TableTextModel* problems_;
    TableTextModel* drills_;
    Period period_;
};

}  // namespace report
