// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The bare baseline of the start-up benchmark: a Qt Widgets program that shows one window
// and one input dialog in the drill's face, and does nothing else. The dialog has the date
// dialog's title and prompt, so that the same watcher finds both programs' dialogs.

#include <QApplication>
#include <QFont>
#include <QInputDialog>
#include <QTimer>
#include <QWidget>

#include "face.h"
#include "texts.h"

namespace {
QString qs(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ui::installFaceSubstitutions();
    QFont font = QApplication::font();
    font.setFamilies(ui::faceFamilies());
    QApplication::setFont(font);

    // A window of the drill window's size, so that both draw as many pixels.
    QWidget window;
    window.setWindowTitle(QStringLiteral("baseline"));
    window.setFixedSize(ui::twips(11550), ui::twips(7665));
    window.show();

    QTimer::singleShot(0, &window, [&window] {
        QInputDialog dialog(&window);
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setWindowTitle(qs(drill::texts::kDateTitle));
        dialog.setLabelText(qs(drill::texts::kDatePrompt));
        dialog.exec();
        QApplication::quit();
    });
    return QApplication::exec();
}
