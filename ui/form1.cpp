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
#include <limits>

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

QLineEdit* makeAnswerBox(QWidget* parent, const QString& name, const QRect& rect) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(rect);
    box->setFont(faceFont(48));  // 36 pt
    box->setMaxLength(std::numeric_limits<int>::max());
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, kWhite);
    box->setPalette(palette);
    return box;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QRect& rect,
                        const QString& caption, int pixelSize) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(rect);
    button->setFont(faceFont(pixelSize));
    return button;
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
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("「ポルネア」 for Windows"));
    setWindowIcon(frogIcon());
    setFont(faceFont(96));  // 72 pt; every text control has a font of its own
    // The client area, placed as it opens; its size is fixed.
    setGeometry(twips(3675), twips(1320), twips(11550), twips(7665));
    setFixedSize(twips(11550), twips(7665));
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
    const LabelLook problemCell{.centred = true, .boxed = true, .background = &kWhite};
    const QFont big = faceFont(48);  // 36 pt

    // Heading.
    Image3 = makePicture(this, QStringLiteral("Image3"), twipsRect(120, 480, 630, 615),
                         QStringLiteral(":/pictures/crest.jpg"), false);
    Label4 = makeLabel(this, QStringLiteral("Label4"), twipsRect(1920, 120, 1455, 255),
                       QStringLiteral("ぽる"), faceFont(16, true));
    Label3 = makeLabel(this, QStringLiteral("Label3"), twipsRect(3000, 360, 3375, 735),
                       QStringLiteral("【ねあ】"), big);
    Image2 = makePicture(this, QStringLiteral("Image2"), twipsRect(8400, 240, 1215, 1095),
                         QStringLiteral(":/pictures/logo.jpg"), true);
    Image1 = makePicture(this, QStringLiteral("Image1"), twipsRect(9960, 240, 1215, 1095),
                         QStringLiteral(":/pictures/mascot.jpg"), true);
    Label2 =
        makeLabel(this, QStringLiteral("Label2"), twipsRect(8400, 1440, 2775, 255),
                  QStringLiteral("かえるの森 さんすう教室"), faceFont(13, true), {.centred = true});

    // Problem number and the problem row.
    Label[5] = makeLabel(this, QStringLiteral("Label(5)"), twipsRect(120, 1200, 3015, 495),
                         QString(), faceFont(32), {.centred = true, .text = &kBlack});
    Label[0] = makeLabel(this, QStringLiteral("Label(0)"), twipsRect(240, 1800, 1575, 855),
                         QString(), big, problemCell);
    Label[1] = makeLabel(this, QStringLiteral("Label(1)"), twipsRect(1920, 1800, 1575, 855),
                         QString(), big, problemCell);
    Label[2] = makeLabel(this, QStringLiteral("Label(2)"), twipsRect(3600, 1800, 1575, 855),
                         QString(), big, problemCell);
    Label[3] = makeLabel(this, QStringLiteral("Label(3)"), twipsRect(5280, 1800, 1305, 855),
                         QStringLiteral("＝"), big, problemCell);
    Text1[0] = makeAnswerBox(this, QStringLiteral("Text1(0)"), twipsRect(6720, 1800, 1575, 855));
    Text1[0]->setAccessibleName(QStringLiteral("しょう（こたえ）"));
    Label[6] = makeLabel(this, QStringLiteral("Label(6)"), twipsRect(8400, 1800, 1215, 855),
                         QStringLiteral("・・・"), big, problemCell);
    Text1[1] = makeAnswerBox(this, QStringLiteral("Text1(1)"), twipsRect(9720, 1800, 1575, 855));
    Text1[1]->setAccessibleName(QStringLiteral("あまり"));
    Label1 = makeLabel(this, QStringLiteral("Label1"), twipsRect(8280, 2760, 615, 255),
                       QStringLiteral("半角"), faceFont(19), {.text = &kRed});
    Label5 = makeLabel(this, QStringLiteral("Label5"), twipsRect(8880, 2760, 1215, 255),
                       QStringLiteral("で入力！"), faceFont(19), {.text = &kBlack});

    // The judgement mark and, in its place, the praise picture.
    Label[4] = makeLabel(this, QStringLiteral("Label(4)"), twipsRect(1320, 3000, 3975, 4095),
                         QString(), faceFont(267), {.background = &kWhite, .text = &kBlue});
    Image4 = makePicture(this, QStringLiteral("Image4"), twipsRect(1200, 2880, 4215, 4335),
                         QStringLiteral(":/pictures/praise.jpg"), true);
    Image4->hide();

    // Buttons.
    Command1 = makeButton(this, QStringLiteral("Command1"), twipsRect(6480, 3360, 3375, 1215),
                          QStringLiteral("こたえ"), 64);
    Command2 = makeButton(this, QStringLiteral("Command2"), twipsRect(6480, 5040, 3375, 1215),
                          QStringLiteral("つぎへ"), 64);
    Command3 = makeButton(this, QStringLiteral("Command3"), twipsRect(9480, 6600, 1335, 500),
                          QStringLiteral("おわり"), 21);

    // The sound control is never seen.
    MMControl1 = new MultimediaControl(this);
    MMControl1->setObjectName(QStringLiteral("MMControl1"));
    MMControl1->setGeometry(twipsRect(2400, 1200, 4695, 495));
    MMControl1->hide();

    // Only the answer boxes and the buttons take the focus, in this order.
    setTabOrder(Text1[0], Command1);
    setTabOrder(Command1, Command3);
    setTabOrder(Command3, Command2);
    setTabOrder(Command2, Text1[1]);
    Text1[0]->setFocus();
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
