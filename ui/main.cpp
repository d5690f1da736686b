// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// ポルネア: a division drill for young learners.

#include <QApplication>

#include "application.h"
#include "form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ui::setUpApplication(app);
    auto* form1 = new ui::Form1();  // deletes itself when the drill ends
    form1->show();
    return QApplication::exec();
}
