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
#include <memory>
#include <vector>

#include "cue_player.h"
#include "ports.h"

class QThread;

namespace ui {

class CueHost;

class MultimediaControl : public QWidget, public drill::SoundControl {
    Q_OBJECT
public:
    explicit MultimediaControl(QWidget* parent = nullptr);
    ~MultimediaControl() override;

    // "Stop", "Close", "Open" and "Sound", in any case; other commands do nothing.
    void setCommand(const std::u16string& command) override;
    // The file of the following "Open" and "Sound"; nothing is opened yet.
    void setFileName(const std::u16string& fileName) override;

    // Where a file name leads: a name with a folder as given, a bare name in the current
    // directory first, then among the cues shipped inside the program. Empty when neither.
    static QUrl locate(const QString& fileName);

    // For tests and measurements; each waits until the commands given so far are carried out.
    void finishCommands();
    // Whether the cue player could be loaded (it is loaded at the first command).
    bool playerLoaded();
    // The source of the open file, empty when nothing is open.
    QUrl openSource();
    // How many different files have been loaded so far; each is loaded once and kept.
    int loadedCount();
    std::vector<CueStatus> statuses();

private:
    // Hands a command to the control's thread, started at the first command.
    void post(std::function<void(CuePlayer&)> command);
    template <typename Result>
    Result ask(Result (CuePlayer::*question)() const);

    QString fileName_;
    std::unique_ptr<QThread> thread_;
    CueHost* host_ = nullptr;  // lives on thread_
};

}  // namespace ui
