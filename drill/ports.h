#pragma once
// What the drill engine needs from the outside: the windows, the sound control, the dialogs,
// the clock, the random source and the records. The windows implement these; tests fake them.

#include <optional>
#include <string>

#include "drill_state.h"

namespace drill {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kRed{255, 0, 0};

// The controls of the drill window that the engine drives.
class DrillView {
public:
    virtual ~DrillView() = default;
    // Label(0)..Label(6).
    virtual void setLabelCaption(int index, const std::u16string& caption) = 0;
    virtual void setLabelForeColor(int index, Rgb colour) = 0;
    virtual void setLabelVisible(int index, bool visible) = 0;
    // Text1(0) and Text1(1). Setting a different text raises the box's change event.
    virtual std::u16string text1(int index) const = 0;
    virtual void setText1(int index, const std::u16string& text) = 0;
    virtual void setText1Focus(int index) = 0;
    // Command1 (answer) and Command2 (next).
    virtual void setCommandEnabled(int command, bool enabled) = 0;
    virtual void setImage4Visible(bool visible) = 0;
    // Closes the drill window for good.
    virtual void unload() = 0;
};

// The multimedia control: two write-only properties. Never raises, never blocks.
class SoundControl {
public:
    virtual ~SoundControl() = default;
    virtual void setCommand(const std::u16string& command) = 0;
    virtual void setFileName(const std::u16string& fileName) = 0;
};

// Modal dialogs.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The typed line, or empty text on cancel.
    virtual std::u16string inputBox(const std::u16string& prompt, const std::u16string& title) = 0;
    // Yes and No buttons, Yes the default, no icon. True for Yes.
    virtual bool askYesNo(const std::u16string& prompt, const std::u16string& title) = 0;
    // A message with an OK button.
    virtual void showMessage(const std::u16string& prompt, const std::u16string& title) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since midnight.
    virtual float secondsSinceMidnight() = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A fraction f with 0 <= f < 1.
    virtual double next() = 0;
    virtual void reseed(float seed) = 0;
};

// The labels of the results window that the end of the drill fills.
class ResultsLabels {
public:
    virtual ~ResultsLabels() = default;
    virtual void setM(int row, const std::u16string& caption) = 0;
    virtual void setTt(int row, const std::u16string& caption) = 0;
    virtual void setGotou(int row, const std::u16string& caption) = 0;
    virtual void setLabid(const std::u16string& caption) = 0;
    virtual void setLabdate(const std::u16string& caption) = 0;
};

class ResultsWindow {
public:
    virtual ~ResultsWindow() = default;
    // The window's labels; the window is created hidden on first use.
    virtual ResultsLabels& labels() = 0;
    // Shows the window modeless.
    virtual void show() = 0;
};

// One file that the end of a drill saved, or why it could not.
struct SaveOutcome {
    bool written = false;
    std::u16string fileName;  // as it would be shown to a teacher
    std::u16string reason;    // why it was not written, in Japanese
};

// The history file, and the drill's own file in the archive where the records keep one.
struct HistoryOutcome {
    bool written = false;
    std::u16string fileName;  // as it would be shown to a teacher
    std::u16string reason;    // why it was not written, in Japanese
    std::optional<SaveOutcome> archive;
};

// The history file and the filling of the results window.
class Records {
public:
    virtual ~Records() = default;
    // Writes rows 1..lastnum of the drill for state.myid: the history file, and the archive.
    virtual HistoryOutcome writeHistory(DrillState& state) = 0;
    // Fills every label of the results window from rows 1..20, myid and mydate.
    virtual void fillResults(DrillState& state, ResultsLabels& labels) = 0;
};

}  // namespace drill
