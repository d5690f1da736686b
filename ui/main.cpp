// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// ポルネア: a division drill for young learners.

#include <QApplication>
#include <QPointer>
#include <cstdio>
#include <cstdlib>

#include "application.h"
#include "form1.h"
#include "history_records.h"
#include "multimedia_control.h"
#include "qt_dialogs.h"
#include "working_folder.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ui::setUpApplication(app);
    ui::QtDialogs dialogs;
    records::HistoryRecords records(ui::startInWorkingFolder(dialogs));
    ui::Form1Services services;
    services.records = &records;
    QPointer<ui::Form1> form1 = new ui::Form1(services);  // deletes itself when the drill ends
    form1->show();
    const int status = QApplication::exec();

    // After an error the drill window is still there: it goes now, so that its sound thread
    // is told to end like that of a drill that ended.
    delete form1.data();
    // Every file of the drill is written, synced and closed before the results window shows:
    // the history file, and the archive, whose thread has ended by then. Nothing is written
    // after.
    if (!ui::MultimediaControl::endSoundThreads()) {
        // A sound thread still runs, waiting inside Qt Multimedia on the PulseAudio main loop
        // for a sound server that hangs or went away while it waited. The normal end of the
        // process would destroy Qt Multimedia's static objects, that main loop among them,
        // and libpulse aborts the process when the main loop is freed while a thread still
        // waits on it. The process ends without that teardown instead, with the same status.
        std::fflush(nullptr);
        std::quick_exit(status);
    }
    return status;
}
