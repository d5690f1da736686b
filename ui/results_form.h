// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The results window as the end of the drill sees it: Form2, created hidden the first time
// its labels are asked for and shown modeless afterwards. Form2 outlives the drill window
// that owns this object, so that it can be shown after the drill window has gone.

#include <QPointer>
#include <functional>

#include "form2.h"
#include "ports.h"

namespace ui {

class ResultsForm : public drill::ResultsWindow {
public:
    // dialogs: the end confirmation's dialogs (null: Form2's own); quit ends the program.
    ResultsForm(drill::Dialogs* dialogs, std::function<void()> quit)
        : dialogs_(dialogs), quit_(std::move(quit)) {}
    // A Form2 that was created but never shown goes with this object.
    ~ResultsForm() override;

    drill::ResultsLabels& labels() override;
    void show() override;

    // The window, or null when it has not been created yet or has been unloaded.
    Form2* form() const { return form_; }

private:
    drill::Dialogs* dialogs_;
    std::function<void()> quit_;
    QPointer<Form2> form_;
    bool shown_ = false;
};

}  // namespace ui
