// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Checks of one control against a row of the layout tables: place and size in twips, text,
// font in pixels, alignment and border.

#include <gtest/gtest.h>

#include <QLabel>
#include <QRect>
#include <QString>

namespace uitest {

inline QRect fromTwips(int left, int top, int width, int height) {
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0),
                 qRound(height / 15.0));
}

inline void expectFace(const QWidget* widget, int pixelSize, bool bold) {
    const QFont font = widget->font();
    EXPECT_EQ(font.families(),
              (QStringList{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                           QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")}))
        << widget->objectName().toStdString();
    EXPECT_EQ(font.pixelSize(), pixelSize) << widget->objectName().toStdString();
    EXPECT_EQ(font.bold(), bold) << widget->objectName().toStdString();
    EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
}

struct LabelRow {
    const char* name;
    int left, top, width, height;
    const char* text;  // UTF-8
    int pixelSize;
    bool bold;
    bool centred;
    bool boxed;
};

// label must be the child of parent with the row's name.
inline void expectLabel(QWidget* parent, QLabel* label, const LabelRow& row) {
    SCOPED_TRACE(row.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(parent->findChild<QLabel*>(QString::fromUtf8(row.name)), label);
    EXPECT_EQ(label->geometry(), fromTwips(row.left, row.top, row.width, row.height));
    EXPECT_EQ(label->text(), QString::fromUtf8(row.text));
    expectFace(label, row.pixelSize, row.bold);
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask,
              row.centred ? Qt::AlignHCenter : Qt::AlignLeft);
    EXPECT_EQ(label->alignment() & Qt::AlignVertical_Mask, Qt::AlignTop);
    EXPECT_EQ(label->frameShape(), row.boxed ? QFrame::Box : QFrame::NoFrame);
    if (row.boxed) {
        EXPECT_EQ(label->frameShadow(), QFrame::Plain);
        EXPECT_EQ(label->lineWidth(), 1);
    }
    EXPECT_TRUE(label->autoFillBackground()) << "labels are opaque";
    EXPECT_FALSE(label->wordWrap());
    EXPECT_FALSE(label->isHidden());
    EXPECT_TRUE(label->isEnabled());
}

}  // namespace uitest
