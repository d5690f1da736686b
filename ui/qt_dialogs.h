// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The modal dialogs of the drill: the two input dialogs of start-up, the end confirmation
// and a plain message. Their buttons read in Japanese once setUpApplication() has run.

#include <QPointer>
#include <QWidget>

#include "ports.h"

namespace ui {

// How wide a window must be for a window manager to show the whole title in its title bar:
// the title at the size of Qt's title-bar font, bold, reckoned without loading that font,
// and room for the window icon and the frame buttons beside it.
int titleBarWidth(const QWidget& window, const QString& title);

class QtDialogs : public drill::Dialogs {
public:
    // The dialogs open over parent, or on their own when it is null or gone.
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}

    std::u16string inputBox(const std::u16string& prompt, const std::u16string& title) override;
    bool askYesNo(const std::u16string& prompt, const std::u16string& title) override;
    void showMessage(const std::u16string& prompt, const std::u16string& title) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace ui
