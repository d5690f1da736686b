#pragma once
// MMControl1, the drill window's sound control: two write-only properties, Command and
// FileName, that play the WAV cues. It never raises an error and never waits for a sound.

#include <QString>
#include <QUrl>
#include <QWidget>
#include <map>

#include "ports.h"

class QSoundEffect;

namespace ui {

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

    // The source of the open file, empty when nothing is open.
    QUrl openSource() const;
    // How many different files have been loaded so far; each is loaded once and kept.
    int loadedCount() const { return static_cast<int>(loaded_.size()); }

private:
    QSoundEffect* effectFor(const QString& fileName);
    void stop();
    void close();
    void open();
    void sound();

    QString fileName_;
    QSoundEffect* open_ = nullptr;          // the open file, or null
    std::map<QUrl, QSoundEffect*> loaded_;  // owned as children
};

}  // namespace ui
