// ポルネア: a division drill for young learners.

#include <QApplication>

#include "application.h"
#include "form1.h"
#include "history_records.h"
#include "qt_dialogs.h"
#include "working_folder.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ui::setUpApplication(app);
    ui::QtDialogs dialogs;
    records::HistoryRecords records(ui::startInWorkingFolder(dialogs));
    ui::Form1Services services;
    services.records = &records;
    auto* form1 = new ui::Form1(services);  // deletes itself when the drill ends
    form1->show();
    return QApplication::exec();
}
