// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results_form.h"

namespace ui {

ResultsForm::~ResultsForm() {
    if (form_ != nullptr && !shown_)
        delete form_.data();
}

drill::ResultsLabels& ResultsForm::labels() {
    if (form_ == nullptr)
        form_ = new Form2(dialogs_, quit_);  // a window of its own, with no owner
    return *form_;
}

void ResultsForm::show() {
    labels();
    shown_ = true;
    form_->show();
    form_->raise();
    form_->activateWindow();
}

}  // namespace ui
