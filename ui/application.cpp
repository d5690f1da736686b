// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "accessibility.h"
#include "face.h"

namespace ui {

bool setUpApplication(QApplication& app) {
    auto* translator = new QTranslator(&app);
    const bool translated =
        translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (translated)
        QCoreApplication::installTranslator(translator);
    else
        delete translator;

    installFaceSubstitutions();
    QFont font = QApplication::font();
    font.setFamilies(faceFamilies());
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);

    QApplication::setWindowIcon(frogIcon());
    installAccessibility();
    // The drill window is hidden before the results window is shown, and the results
    // window's end button ends the program itself: no window's closing ends it.
    QApplication::setQuitOnLastWindowClosed(false);
    return translated;
}

}  // namespace ui
