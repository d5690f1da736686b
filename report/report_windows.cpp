// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report_windows.h"

#include <QApplication>
#include <QMessageBox>

#include "application.h"
#include "class_window.h"
#include "report_settings.h"
#include "roster.h"

namespace report {

int runWindows(const QString& folder, bool folderGiven, const QString& rosterFile) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    ui::setUpApplication(*app);
    // Unlike the drill, closing the class window ends the program.
    QApplication::setQuitOnLastWindowClosed(true);
    const QString remembered = folderGiven ? QString() : rememberedFolder();
    ClassWindow window(remembered.isEmpty() ? folder : remembered);
    window.show();
    if (!rosterFile.isEmpty()) {
        QString error;
        if (const std::optional<Roster> roster = readRoster(rosterFile, &error))
            window.useRosterForThisRun(*roster);
        else
            QMessageBox::warning(&window, window.windowTitle(), error);
    }
    return QApplication::exec();
}

}  // namespace report
