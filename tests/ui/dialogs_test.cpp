// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real Qt dialogs, in Japanese as the program sets them up: each test answers the
// dialog from inside its own event loop.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "face.h"
#include "form2.h"
#include "qt_dialogs.h"
#include "ui_fakes.h"

namespace uitest {
namespace {

// Calls act with the modal dialog once it is open, from the dialog's own event loop.
void whenOpen(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            act(dialog);
        else
            whenOpen(act);
    });
}

// Room for the whole title in Qt's title-bar font, bold, and beside it for the window icon
// and three frame buttons, each at least as wide as the title's line is high.
int roomForTitle(const QString& title) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(title) + 4 * metrics.height();
}

QStringList buttonTexts(QWidget* dialog) {
    QStringList texts;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

TEST(QtDialogs, InputBoxShowsTitleAndPromptAndGivesTheTypedLine) {
    ui::QtDialogs dialogs;
    bool looked = false;
    const QString title = QStringLiteral("－－　きょうはなんがつなんにちですか。　－－");
    whenOpen([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), title);
        EXPECT_EQ(dialog->font().families().join(u','), ui::faceFamilies().join(u','));
        EXPECT_GE(dialog->width(), ui::titleBarWidth(*dialog, title)) << "the whole title";
        EXPECT_GE(dialog->width(), roomForTitle(title)) << "the title and the frame buttons";
        auto* input = qobject_cast<QInputDialog*>(dialog);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->labelText(), QStringLiteral("いれましょう。"));
        QLineEdit* line = dialog->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(line->text().isEmpty()) << "no default text";
        EXPECT_TRUE(buttonTexts(dialog).contains(QStringLiteral("OK")));
        EXPECT_TRUE(buttonTexts(dialog).contains(QStringLiteral("キャンセル")));
        QTest::keyClicks(line, QStringLiteral(" 8/1 "));
        QTest::keyClick(line, Qt::Key_Return);
        looked = true;
    });
    EXPECT_EQ(qs(dialogs.inputBox(u"いれましょう。", title.toStdU16String())),
              QStringLiteral(" 8/1 "));
    EXPECT_TRUE(looked);
}

TEST(QtDialogs, CancelledInputBoxGivesEmptyText) {
    ui::QtDialogs dialogs;
    whenOpen([](QWidget* dialog) {
        QTest::keyClicks(dialog->findChild<QLineEdit*>(), QStringLiteral("abc"));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_TRUE(dialogs.inputBox(u"p", u"t").empty());
}

TEST(QtDialogs, EndConfirmationHasYesAsDefaultAndNoIcon) {
    ui::QtDialogs dialogs;
    whenOpen([](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("ぽるねあ"));
        EXPECT_EQ(box->text(), QStringLiteral("おわります。いいですか？"));
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->buttons().size(), 2);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
        EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QStringLiteral("はい"));
        EXPECT_EQ(box->button(QMessageBox::No)->text(), QStringLiteral("いいえ"));
        QTest::keyClick(box, Qt::Key_Return);  // the default button
    });
    EXPECT_TRUE(dialogs.askYesNo(u"おわります。いいですか？", u"ぽるねあ"));
}

TEST(QtDialogs, EndConfirmationAnsweredNoOrEscaped) {
    ui::QtDialogs dialogs;
    whenOpen([](QWidget* dialog) {
        qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(dialogs.askYesNo(u"p", u"t"));
    whenOpen([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_FALSE(dialogs.askYesNo(u"p", u"t"));
}

TEST(QtDialogs, MessageHasOnlyOk) {
    ui::QtDialogs dialogs;
    bool looked = false;
    whenOpen([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QStringLiteral("ほぞんできませんでした。"));
        EXPECT_EQ(buttonTexts(dialog), QStringList{QStringLiteral("OK")});
        box->button(QMessageBox::Ok)->click();
        looked = true;
    });
    dialogs.showMessage(u"ほぞんできませんでした。", u"ぽるねあ");
    EXPECT_TRUE(looked);
}

TEST(QtDialogs, TheResultsWindowAsksOverItself) {
    int quits = 0;
    ui::Form2 form(nullptr, [&quits] { ++quits; });
    form.show();
    bool looked = false;
    whenOpen([&](QWidget* dialog) {
        EXPECT_EQ(dialog->parentWidget(), &form) << "not in the middle of the screen";
        qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::No)->click();
        looked = true;
    });
    form.Command1->click();
    EXPECT_TRUE(looked);
    EXPECT_EQ(quits, 0);
}

}  // namespace
}  // namespace uitest
