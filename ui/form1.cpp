// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <exception>

#include "drill.h"
#include "face.h"
#include "history_records.h"
#include "mixing_random.h"
#include "multimedia_control.h"
#include "paint_hold.h"
#include "qt_dialogs.h"
#include "results_form.h"
#include "system_clock.h"

namespace ui {

namespace {

QString qs(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

struct Form1::Defaults {
    explicit Defaults(QWidget* window) : dialogs(window) {}
    QtDialogs dialogs;
    SystemClock clock;
    drill::MixingRandom random;
    records::HistoryRecords records;
};

Form1::Form1(Form1Services services)
    : defaults_(std::make_unique<Defaults>(this)), services_(std::move(services)) {
    placeWindow(this, layout::form1());
    createControls();

    if (!services_.exit)
        services_.exit = [](int code) { QCoreApplication::exit(code); };
    dialogs_ = services_.dialogs ? services_.dialogs : &defaults_->dialogs;
    results_ =
        std::make_unique<ResultsForm>(services_.dialogs, [exit = services_.exit] { exit(0); });
    drill_ = std::make_unique<drill::Drill>(drill::Ports{
        *this,
        services_.sound ? *services_.sound : *MMControl1,
        *dialogs_,
        services_.clock ? *services_.clock : defaults_->clock,
        services_.random ? *services_.random : defaults_->random,
        services_.records ? *services_.records : defaults_->records,
        *results_,
    });

    for (int index = 0; index < 2; ++index) {
        connect(Text1[index], &QLineEdit::textChanged, this,
                [this, index] { run([this, index] { drill_->answerChanged(index); }); });
        connect(Text1[index], &QLineEdit::returnPressed, this, [this] { returnPressed(); });
    }
    connect(Command1, &QPushButton::clicked, this,
            [this] { run([this] { drill_->answerClicked(); }); });
    connect(Command2, &QPushButton::clicked, this,
            [this] { run([this] { drill_->nextClicked(); }); });
    connect(Command3, &QPushButton::clicked, this, [this] { endClicked(); });
}

Form1::~Form1() = default;

void Form1::createControls() {
    makeControls(this, layout::form1(),
                 [](QWidget* parent) { return new MultimediaControl(parent); });
    for (int index = 0; index < 7; ++index)
        Label[index] = controlOf<QLabel>(this, QStringLiteral("Label(%1)").arg(index));
    for (int index = 0; index < 2; ++index)
        Text1[index] = controlOf<QLineEdit>(this, QStringLiteral("Text1(%1)").arg(index));
    Label1 = controlOf<QLabel>(this, QStringLiteral("Label1"));
    Label2 = controlOf<QLabel>(this, QStringLiteral("Label2"));
    Label3 = controlOf<QLabel>(this, QStringLiteral("Label3"));
    Label4 = controlOf<QLabel>(this, QStringLiteral("Label4"));
    Label5 = controlOf<QLabel>(this, QStringLiteral("Label5"));
    Image1 = controlOf<QLabel>(this, QStringLiteral("Image1"));
    Image2 = controlOf<QLabel>(this, QStringLiteral("Image2"));
    Image3 = controlOf<QLabel>(this, QStringLiteral("Image3"));
    Image4 = controlOf<QLabel>(this, QStringLiteral("Image4"));
    Command1 = controlOf<QPushButton>(this, QStringLiteral("Command1"));
    Command2 = controlOf<QPushButton>(this, QStringLiteral("Command2"));
    Command3 = controlOf<QPushButton>(this, QStringLiteral("Command3"));
    MMControl1 = controlOf<MultimediaControl>(this, QStringLiteral("MMControl1"));
}

const drill::DrillState& Form1::state() const {
    return drill_->state();
}

void Form1::setLabelCaption(int index, const std::u16string& caption) {
    Label.at(index)->setText(qs(caption));
}

void Form1::setLabelForeColor(int index, drill::Rgb colour) {
    setTextColour(Label.at(index), QColor(colour.red, colour.green, colour.blue));
}

void Form1::setLabelVisible(int index, bool visible) {
    Label.at(index)->setVisible(visible);
}

std::u16string Form1::text1(int index) const {
    return Text1.at(index)->text().toStdU16String();
}

// QLineEdit reports a change only when the text differs, as the engine expects.
void Form1::setText1(int index, const std::u16string& text) {
    Text1.at(index)->setText(qs(text));
}

void Form1::setText1Focus(int index) {
    Text1.at(index)->setFocus();
}

void Form1::setCommandEnabled(int command, bool enabled) {
    QPushButton* buttons[] = {Command1, Command2, Command3};
    buttons[command - 1]->setEnabled(enabled);
}

void Form1::setImage4Visible(bool visible) {
    Image4->setVisible(visible);
}

void Form1::unload() {
    unloading_ = true;
    hide();
    deleteLater();
}

// Start-up belongs to the window's first activation. Where the window system never
// activates it, the first show starts it instead; whichever comes first runs it, once.
bool Form1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        scheduleStartUp();
    return QWidget::event(event);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    scheduleStartUp();
}

// Start-up opens modal dialogs; it runs from the event loop rather than inside the show or
// activation event that asked for it.
void Form1::scheduleStartUp() {
    if (startUpScheduled_)
        return;
    startUpScheduled_ = true;
    QMetaObject::invokeMethod(
        this, [this] { startUpOnce(); }, Qt::QueuedConnection);
}

void Form1::startUpOnce() {
    if (unloading_)
        return;
    // The date dialog is drawn first and this window straight after it, so that the
    // question is on screen without waiting for the window's large text to be drawn.
    const PaintHold hold(this);
    run([this] { drill_->startUp(); });
    // The sound system is made ready while the learner reads the first problem.
    if (services_.sound == nullptr)
        MMControl1->prepare();
}

// Return or Enter in an answer box presses the answer button, or else the next button.
void Form1::returnPressed() {
    if (Command1->isEnabled())
        Command1->click();
    else if (Command2->isEnabled())
        Command2->click();
}

void Form1::endClicked() {
    if (ending_ || unloading_)
        return;
    ending_ = true;
    run([this] { drill_->endClicked(); });
    ending_ = false;
}

// The close box does what the end button does; with No the drill goes on. When the engine
// unloads the window, it is already hidden and no close event comes.
void Form1::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        event->accept();
        return;
    }
    event->ignore();
    endClicked();
}

void Form1::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        dialogs_->showMessage(u"プログラムを つづけられなくなりました。\n\n" +
                                  QString::fromLocal8Bit(error.what()).toStdU16String(),
                              u"ぽるねあ");
        services_.exit(1);
    }
}

}  // namespace ui
