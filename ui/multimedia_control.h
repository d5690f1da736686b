// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// MMControl1, the drill window's sound control: two write-only properties, Command and
// FileName, that play the WAV cues. It never raises an error and never waits: the commands
// are carried out in order on a thread of the control's own, by the cue player that the
// control loads there at the first cue. Without the player, the cues pass in silence.

#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>

#include "ports.h"

class QThread;

namespace ui {

class CueHost;
class CuePlayer;

class MultimediaControl : public QWidget, public drill::SoundControl {
    Q_OBJECT
public:
    explicit MultimediaControl(QWidget* parent = nullptr);
    // Returns at once: the sound thread closes the player and ends by itself.
    ~MultimediaControl() override;

    // "Stop", "Close", "Open" and "Sound", in any case; other commands do nothing.
    void setCommand(const std::u16string& command) override;
    // The file of the following "Open" and "Sound"; nothing is opened yet.
    void setFileName(const std::u16string& fileName) override;

    // Loads the cue player and connects it to the sound system, away from the window, so
    // that the first cue starts as quickly as the others.
    void prepare();

    // At the end of the program, after its event loop: waits up to 2 s in all for the sound
    // threads of the controls already gone. False when one of them has not ended; it is then
    // most likely inside the sound system, waiting for a sound server that does not answer,
    // and the sound system must not be torn down under it (see main.cpp).
    static bool endSoundThreads();

    // Where a file name leads: a name with a folder as given, a bare name in the current
    // directory first, then among the cues shipped inside the program. Empty when neither.
    static QUrl locate(const QString& fileName);

private:
    friend class MultimediaControlProbe;
    // Hands a command to the control's thread, started at the first command.
    void post(std::function<void(CueHost&, CuePlayer&)> command);

    QString fileName_;
    QThread* thread_ = nullptr;  // ends and is deleted by itself after the control
    CueHost* host_ = nullptr;    // lives on thread_
};

}  // namespace ui
