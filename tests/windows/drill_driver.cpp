// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Works through a whole drill in the running rovedavu.exe as a learner would, from another
// process and only through window messages to its controls: both start-up dialogs, twenty
// problems with wrong answers on some, the end answered No and then Yes, and the results
// window with its own end. Writes what it did, in UTF-8, for the check of the saved files:
//
//   date<TAB>text          id<TAB>text          host<TAB>computer name
//   ended<TAB>YYYYMMDD-HHMMSS<TAB>YYYYMMDD-HHMMSS   (the end of the drill lies between)
//   row<TAB>problem text<TAB>wrong answers<TAB>time caption       (twenty of them)
//
//   drill_driver REPORT [--hold-ms N] [--press-log FILE]
//
// --hold-ms stops for that long at each sight worth a look and names it on standard output.
// --press-log writes each press of a button that plays a cue: the cue's letter (R right,
// W wrong, N next, E end) and the system time of the press in 100 ns units since 1601; the
// presses then come at least 300 ms apart, so that each cue can be heard on its own.
// Exit status 0 when every step went as it should; else 1 and the failed step on standard
// error.

#include <windows.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <thread>

#include "window_layouts.h"

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr auto kStepTimeout = std::chrono::seconds(20);
constexpr UINT kReplyMilliseconds = 5000;

constexpr std::wstring_view kDrillClass = L"RovedavuForm1";
constexpr std::wstring_view kResultsClass = L"RovedavuForm2";
constexpr std::wstring_view kDialogClass = L"#32770";
constexpr std::wstring_view kDateTitle = L"－－　きょうはなんがつなんにちですか。　－－";
constexpr std::wstring_view kDatePrompt = L"８がつ１にちだったら、８／１といれましょう。";
constexpr std::wstring_view kIdTitle = L"－－　あなたのＩＤはなんですか。　－－";
constexpr std::wstring_view kIdPrompt = L"あなたのＩＤをいれましょう。";
constexpr std::wstring_view kBoxTitle = L"ぽるねあ";
constexpr std::wstring_view kEndPrompt = L"おわります。いいですか？";
constexpr int kInputBoxEdit = 100;

// The date with the JIS form of the wave dash that Linux input methods type.
constexpr std::wstring_view kDate = L"１２／７〜";
constexpr std::wstring_view kId = L"漢字";

constexpr int kProblems = 20;
// Wrong answers before the right one, problem by problem (index 0 unused).
constexpr std::array<int, kProblems + 1> kWrongAnswers = {0, 2, 0, 1, 0, 3, 0, 1, 0, 0, 2,
                                                          0, 0, 1, 0, 0, 2, 0, 0, 1, 1};
// The problem whose end confirmation is answered No, after one wrong answer.
constexpr int kEndRefusedAt = 3;
// Every answer waits this long after the problem shows, so that no time can round to zero.
constexpr auto kThinking = std::chrono::milliseconds(250);
// The program's clock, the rounding to tenths and ours.
constexpr double kTimeSlack = 0.1;

struct StepFailed {
    std::wstring message;
};

std::wstring wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::string utf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// UTF-8 bytes straight to the handle, whatever the console's code page.
void writeLine(DWORD handle, std::wstring_view line) {
    const std::string bytes = utf8(line) + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(handle), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

[[noreturn]] void fail(std::wstring_view step, std::wstring_view what) {
    throw StepFailed{std::wstring(step) + L": " + std::wstring(what)};
}

std::wstring quoted(std::wstring_view text) {
    return L"\"" + std::wstring(text) + L"\"";
}

std::wstring textOf(HWND window) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyMilliseconds,
                            &length) == 0)
        return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                            SMTO_ABORTIFHUNG, kReplyMilliseconds, &copied) == 0)
        return L"<no answer>";
    text.resize(copied);
    return text;
}

std::wstring classOf(HWND window) {
    std::array<wchar_t, 256> name{};
    const int length = GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return std::wstring(name.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

bool shown(HWND window) {
    return window != nullptr && IsWindow(window) && IsWindowVisible(window);
}

// Polls until ready() holds; after the step's time, fails with what is seen then.
void await(std::wstring_view step, const std::function<bool()>& ready,
           const std::function<std::wstring()>& seen = {}) {
    const auto deadline = SteadyClock::now() + kStepTimeout;
    while (!ready()) {
        if (SteadyClock::now() > deadline)
            fail(step, L"not within 20 s" + (seen ? L"; seen: " + seen() : std::wstring()));
        Sleep(20);
    }
}

// A shown top-level window of that class and title; with an owner, owned by it.
HWND findTopLevel(std::wstring_view className, std::wstring_view title, HWND owner = nullptr) {
    struct Search {
        std::wstring_view className, title;
        HWND owner;
        HWND found = nullptr;
    } search{className, title, owner};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            if (IsWindowVisible(window) && classOf(window) == s.className &&
                textOf(window) == s.title &&
                (s.owner == nullptr || GetWindow(window, GW_OWNER) == s.owner)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The texts of every shown child, for a failure's report and for finding a prompt.
std::wstring childTexts(HWND parent) {
    std::wstring texts;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            if (IsWindowVisible(child))
                *reinterpret_cast<std::wstring*>(data) += quoted(textOf(child)) + L" ";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool hasChildText(HWND parent, std::wstring_view text) {
    return childTexts(parent).find(quoted(text)) != std::wstring::npos;
}

void type(std::wstring_view step, HWND edit, std::wstring_view text) {
    const std::wstring terminated(text);
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()),
                            SMTO_ABORTIFHUNG, kReplyMilliseconds, &result) == 0 ||
        textOf(edit) != text)
        fail(step, L"the box does not take " + quoted(text));
}

// Posted, so that a button which opens a modal box does not hold us up.
void click(std::wstring_view step, HWND button) {
    if (!shown(button) || !IsWindowEnabled(button))
        fail(step, L"the button " + quoted(textOf(button)) + L" cannot be pressed");
    PostMessageW(button, BM_CLICK, 0, 0);
}

std::wstring localStamp() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::array<wchar_t, 32> stamp{};
    std::swprintf(stamp.data(), stamp.size(), L"%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return stamp.data();
}

// A window made from a layout table: its controls by their names.
class Form {
public:
    Form(HWND window, const layout::Window& table) : window_(window), table_(table) {}

    HWND window() const { return window_; }
    HWND control(std::u16string_view name) const {
        return GetDlgItem(window_, table_.controlId(name));
    }
    std::wstring text(std::u16string_view name) const { return textOf(control(name)); }
    bool enabled(std::u16string_view name) const { return IsWindowEnabled(control(name)) != 0; }
    bool visible(std::u16string_view name) const { return IsWindowVisible(control(name)) != 0; }

    // Every control: its name, text, and whether it is shown and enabled.
    std::wstring seen() const {
        std::wstring state;
        for (const layout::Control& c : table_.controls) {
            const HWND child = control(c.name);
            if (child == nullptr) {
                state += wide(c.name) + L"=<missing> ";
                continue;
            }
            state += wide(c.name) + L"=" + quoted(textOf(child));
            state += IsWindowVisible(child) ? L"" : L"(hidden)";
            state += IsWindowEnabled(child) ? L" " : L"(disabled) ";
        }
        return state;
    }

private:
    HWND window_;
    const layout::Window& table_;
};

class Driver {
public:
    Driver(DWORD holdMilliseconds, bool logPresses)
        : hold_(holdMilliseconds), logPresses_(logPresses) {}

    void run();
    const std::wstring& report() const { return report_; }
    const std::wstring& pressLog() const { return pressLog_; }

private:
    struct Row {
        std::wstring problem;
        int wrong = 0;
        double shortest = 0;  // seconds the program must have counted at least
        double longest = 0;   // and at most
    };

    // A button that plays the cue of that letter.
    void press(std::wstring_view step, HWND button, wchar_t cue) {
        if (logPresses_) {
            std::this_thread::sleep_until(lastPress_ + kPressGap);
            lastPress_ = SteadyClock::now();
            FILETIME now{};
            GetSystemTimePreciseAsFileTime(&now);
            const ULONGLONG at =
                (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
            pressLog_ += std::wstring(1, cue) + L" " + std::to_wstring(at) + L"\n";
        }
        click(step, button);
    }
    void sight(std::wstring_view name) {
        if (hold_ == 0)
            return;
        writeLine(STD_OUTPUT_HANDLE, L"sight: " + std::wstring(name));
        Sleep(hold_);
    }
    SteadyClock::time_point answerInputBox(HWND owner, std::wstring_view title,
                                           std::wstring_view prompt, std::wstring_view answer);
    HWND awaitEndBox(std::wstring_view step, HWND owner);
    void answerEndBox(std::wstring_view step, HWND owner, int button);
    void solve(Form& drill, int k, SteadyClock::time_point asked);
    void answer(Form& drill, int k, const std::wstring& quotient, const std::wstring& remainder,
                std::wstring_view mark);
    void checkResults(const Form& results);

    static constexpr auto kPressGap = std::chrono::milliseconds(300);
    DWORD hold_;
    bool logPresses_;
    std::wstring pressLog_;
    SteadyClock::time_point lastPress_;
    std::wstring report_;
    std::array<Row, kProblems + 1> rows_{};
    std::set<std::wstring> problems_;
};

// Returns when OK was pressed.
SteadyClock::time_point Driver::answerInputBox(HWND owner, std::wstring_view title,
                                               std::wstring_view prompt, std::wstring_view answer) {
    const std::wstring step = L"dialog " + quoted(title);
    HWND box = nullptr;
    await(step + L" shows, owned by the drill window",
          [&] { return (box = findTopLevel(kDialogClass, title, owner)) != nullptr; });
    if (IsWindowEnabled(owner))
        fail(step, L"the drill window still takes input under it");
    if (!hasChildText(box, prompt))
        fail(step, L"no prompt " + quoted(prompt) + L"; it holds " + childTexts(box));
    const HWND edit = GetDlgItem(box, kInputBoxEdit);
    if (edit == nullptr ||
        CompareStringOrdinal(classOf(edit).c_str(), -1, L"Edit", -1, TRUE) != CSTR_EQUAL)
        fail(step, L"no EDIT box of ID 100");
    if (!shown(GetDlgItem(box, IDCANCEL)))
        fail(step, L"no Cancel button");
    sight(title);
    type(step, edit, answer);
    const auto pressed = SteadyClock::now();
    click(step + L" OK", GetDlgItem(box, IDOK));
    await(step + L" closes after OK", [&] { return !shown(box); });
    return pressed;
}

HWND Driver::awaitEndBox(std::wstring_view step, HWND owner) {
    HWND box = nullptr;
    await(std::wstring(step) + L": the end confirmation shows",
          [&] { return (box = findTopLevel(kDialogClass, kBoxTitle, owner)) != nullptr; });
    if (!hasChildText(box, kEndPrompt) || !shown(GetDlgItem(box, IDYES)) ||
        !shown(GetDlgItem(box, IDNO)) || GetDlgItem(box, IDOK) != nullptr)
        fail(step, L"not the Yes/No box " + quoted(kEndPrompt) + L": " + childTexts(box));
    return box;
}

void Driver::answerEndBox(std::wstring_view step, HWND owner, int button) {
    const HWND box = awaitEndBox(step, owner);
    click(step, GetDlgItem(box, button));
    await(std::wstring(step) + L": the end confirmation closes", [&] { return !shown(box); });
}

// Answers in both boxes, presses こたえ and waits for the mark (empty: the praise picture).
void Driver::answer(Form& drill, int k, const std::wstring& quotient, const std::wstring& remainder,
                    std::wstring_view mark) {
    const std::wstring step = L"problem " + std::to_wstring(k) + L", answer " + quoted(quotient) +
                              L" " + quoted(remainder);
    const bool markedBefore = !drill.text(u"Label(4)").empty();
    type(step, drill.control(u"Text1(0)"), quotient);
    type(step, drill.control(u"Text1(1)"), remainder);
    if (markedBefore)
        await(step + L": the mark clears as the answer changes",
              [&] { return drill.text(u"Label(4)").empty(); });
    press(step, drill.control(u"Command1"), mark == L"×" ? L'W' : L'R');
    const bool praised = mark.empty();
    await(
        step + L": the judgement " + (praised ? L"(the praise picture)" : quoted(mark)),
        [&] {
            const bool shownMark = praised ? drill.visible(u"Image4") && !drill.visible(u"Label(4)")
                                           : drill.text(u"Label(4)") == mark;
            const bool right = mark != L"×";
            return shownMark && drill.enabled(u"Command1") != right &&
                   drill.enabled(u"Command2") == right;
        },
        [&] { return drill.seen(); });
}

std::wstring fullWidth(std::wstring digits) {
    for (wchar_t& c : digits)
        c = static_cast<wchar_t>(c - L'0' + L'０');
    return digits;
}

void Driver::solve(Form& drill, int k, SteadyClock::time_point asked) {
    const std::wstring step = L"problem " + std::to_wstring(k);
    const std::wstring number = L"［もんだい " + std::to_wstring(k) + L"］";
    await(
        step + L" shows",
        [&] {
            return drill.text(u"Label(5)") == number && !drill.text(u"Label(0)").empty() &&
                   drill.text(u"Label(1)") == L"÷" && drill.text(u"Label(4)").empty() &&
                   drill.visible(u"Label(4)") && !drill.visible(u"Image4") &&
                   drill.text(u"Text1(0)").empty() && drill.text(u"Text1(1)").empty() &&
                   drill.enabled(u"Command1") && !drill.enabled(u"Command2");
        },
        [&] { return drill.seen(); });
    const auto seenAt = SteadyClock::now();

    const std::wstring dividendText = drill.text(u"Label(0)");
    const std::wstring divisorText = drill.text(u"Label(2)");
    const auto number99 = [](const std::wstring& text) {
        if (text.empty() || text.size() > 2 || text[0] == L'0' ||
            text.find_first_not_of(L"0123456789") != std::wstring::npos)
            return 0;
        return std::stoi(text);
    };
    const int a = number99(dividendText);
    const int c = number99(divisorText);
    if (a == 0 || c == 0 || c > 9 || c > a)
        fail(step,
             L"not a problem of the drill: " + quoted(dividendText) + L" ÷ " + quoted(divisorText));
    Row& row = rows_[static_cast<std::size_t>(k)];
    row.problem = L" " + std::to_wstring(a) + L"÷ " + std::to_wstring(c);
    if (!problems_.insert(row.problem).second)
        fail(step, L"the same problem as before: " + quoted(row.problem));
    if (k == 1)
        sight(L"the first problem");

    const std::wstring quotient = std::to_wstring(a / c);
    const std::wstring remainder = std::to_wstring(a % c);
    // Wrong in turn: the quotient, the remainder, nothing at all, a word.
    const std::array<std::array<std::wstring, 2>, 4> wrongs = {{
        {std::to_wstring(a / c + 1), remainder},
        {quotient, std::to_wstring(a % c + 1)},
        {L"", L""},
        {L"あ", remainder},
    }};
    for (int w = 0; w < kWrongAnswers[static_cast<std::size_t>(k)]; ++w) {
        const auto& wrong = wrongs[static_cast<std::size_t>(k + w) % wrongs.size()];
        answer(drill, k, wrong[0], wrong[1], L"×");
        ++row.wrong;
        if (k == 1 && w == 0)
            sight(L"a wrong answer");
        if (k == kEndRefusedAt && w == 0) {
            press(step + L", おわり", drill.control(u"Command3"), L'E');
            sight(L"the end confirmation");
            answerEndBox(step + L", おわり answered No", drill.window(), IDNO);
            if (!shown(drill.window()) || drill.text(u"Label(5)") != number ||
                drill.text(u"Label(0)") != dividendText || drill.text(u"Label(4)") != L"×" ||
                !drill.enabled(u"Command1") || drill.enabled(u"Command2"))
                fail(step + L", after No", L"the drill does not go on: " + drill.seen());
        }
    }
    std::this_thread::sleep_until(seenAt + kThinking);
    // Full-width digits count as digits; so does a space in front.
    const bool fullWidthDigits = k % 4 == 0;
    const auto answeredAt = SteadyClock::now();
    answer(drill, k, fullWidthDigits ? fullWidth(quotient) : quotient,
           fullWidthDigits ? fullWidth(remainder) : L" " + remainder, k == kProblems ? L"" : L"◎");
    const auto markedAt = SteadyClock::now();
    row.shortest = std::chrono::duration<double>(answeredAt - seenAt).count();
    row.longest = std::chrono::duration<double>(markedAt - asked).count();
    if (k == 1)
        sight(L"a right answer");
}

void Driver::checkResults(const Form& results) {
    for (int k = 1; k <= kProblems; ++k) {
        const Row& row = rows_[static_cast<std::size_t>(k)];
        const std::wstring index = std::to_wstring(k);
        const std::wstring step = L"results row " + index;
        const auto cell = [&](std::wstring_view column) {
            const std::wstring name = std::wstring(column) + L"(" + index + L")";
            return results.text(std::u16string(name.begin(), name.end()));
        };
        const std::wstring m = cell(L"m");
        const std::wstring tt = cell(L"tt");
        const std::wstring gotou = cell(L"gotou");
        if (m != row.problem)
            fail(step, L"m shows " + quoted(m) + L", not " + quoted(row.problem));
        if (gotou != L" " + std::to_wstring(row.wrong))
            fail(step, L"gotou shows " + quoted(gotou) + L" after " + std::to_wstring(row.wrong) +
                           L" wrong answers");
        // " 12.3" or " 12": seconds to tenths, the answer's time within what we saw.
        const std::size_t point = tt.find(L'.');
        const bool form = tt.size() >= 2 && tt[0] == L' ' && tt[1] != L'.' &&
                          tt.find_first_not_of(L"0123456789.", 1) == std::wstring::npos &&
                          (point == std::wstring::npos || point == tt.size() - 2) &&
                          (tt[1] != L'0' || tt.size() == 2 || tt[2] == L'.');
        const double seconds = form ? std::wcstod(tt.c_str(), nullptr) : -1;
        if (!form || seconds < row.shortest - kTimeSlack || seconds > row.longest + kTimeSlack)
            fail(step, L"tt shows " + quoted(tt) + L", not a time from " +
                           std::to_wstring(row.shortest) + L" s to " +
                           std::to_wstring(row.longest) + L" s");
        report_ += L"row\t" + row.problem + L"\t" + std::to_wstring(row.wrong) + L"\t" + tt + L"\n";
    }
    if (results.text(u"labid") != kId || results.text(u"labdate") != kDate)
        fail(L"results", L"labid and labdate show " + quoted(results.text(u"labid")) + L" " +
                             quoted(results.text(u"labdate")));
}

void Driver::run() {
    HWND drillWindow = nullptr;
    await(L"the drill window shows", [&] {
        return (drillWindow = findTopLevel(kDrillClass, wide(layout::form1().caption))) != nullptr;
    });
    DWORD processId = 0;
    GetWindowThreadProcessId(drillWindow, &processId);
    const HANDLE process =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr)
        fail(L"the drill window shows", L"its process cannot be watched");
    Form drill(drillWindow, layout::form1());

    answerInputBox(drillWindow, kDateTitle, kDatePrompt, kDate);
    auto asked = answerInputBox(drillWindow, kIdTitle, kIdPrompt, kId);
    for (int k = 1; k <= kProblems; ++k) {
        solve(drill, k, asked);
        if (k < kProblems) {
            asked = SteadyClock::now();
            press(L"problem " + std::to_wstring(k) + L", つぎへ", drill.control(u"Command2"), L'N');
        }
    }
    sight(L"the praise picture");

    wchar_t host[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD hostLength = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(host, &hostLength);
    report_ += L"date\t" + std::wstring(kDate) + L"\nid\t" + std::wstring(kId) + L"\nhost\t" +
               host + L"\n";

    const std::wstring endStep = L"problem 20, おわり answered Yes";
    press(endStep, drill.control(u"Command3"), L'E');
    const std::wstring endedAfter = localStamp();
    answerEndBox(endStep, drillWindow, IDYES);
    HWND resultsWindow = nullptr;
    await(
        endStep + L": the drill window closes and the results window shows",
        [&] {
            const HWND saving = findTopLevel(kDialogClass, kBoxTitle);
            if (saving != nullptr && GetDlgItem(saving, IDOK) != nullptr)
                fail(endStep, L"the drill was not saved: " + childTexts(saving));
            resultsWindow = findTopLevel(kResultsClass, wide(layout::form2().caption));
            return resultsWindow != nullptr && !shown(drillWindow);
        },
        [&] { return L"drill window " + std::wstring(shown(drillWindow) ? L"open" : L"closed"); });
    report_ += L"ended\t" + endedAfter + L"\t" + localStamp() + L"\n";
    Form results(resultsWindow, layout::form2());
    sight(L"the results window");
    checkResults(results);

    click(L"results, おわり", results.control(u"Command1"));
    answerEndBox(L"results, おわり answered No", resultsWindow, IDNO);
    if (!shown(resultsWindow) || WaitForSingleObject(process, 0) != WAIT_TIMEOUT)
        fail(L"results, おわり answered No", L"the results window does not stay");
    click(L"results, おわり", results.control(u"Command1"));
    answerEndBox(L"results, おわり answered Yes", resultsWindow, IDYES);
    if (WaitForSingleObject(process, 20000) != WAIT_OBJECT_0)
        fail(L"results, おわり answered Yes", L"the program does not end within 20 s");
    DWORD status = 1;
    GetExitCodeProcess(process, &status);
    CloseHandle(process);
    if (status != 0)
        fail(L"results, おわり answered Yes", L"exit status " + std::to_wstring(status));
}

// Writes the text in UTF-8 to the file; false when it cannot.
bool writeFile(const wchar_t* path, std::wstring_view text) {
    const std::string bytes = utf8(text);
    const HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    return whole;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    DWORD hold = 0;
    const wchar_t* pressLog = nullptr;
    bool usage = argc < 2 || argc % 2 != 0;
    for (int k = 2; !usage && k + 1 < argc; k += 2) {
        const std::wstring_view option = argv[k];
        if (option == L"--hold-ms")
            hold = static_cast<DWORD>(std::wcstoul(argv[k + 1], nullptr, 10));
        else if (option == L"--press-log")
            pressLog = argv[k + 1];
        else
            usage = true;
    }
    if (usage) {
        writeLine(STD_ERROR_HANDLE, L"usage: drill_driver REPORT [--hold-ms N] [--press-log FILE]");
        return 2;
    }
    Driver driver(hold, pressLog != nullptr);
    try {
        driver.run();
    } catch (const StepFailed& failure) {
        writeLine(STD_ERROR_HANDLE, L"drill_driver: " + failure.message);
        return 1;
    }
    if (!writeFile(argv[1], driver.report()) ||
        (pressLog != nullptr && !writeFile(pressLog, driver.pressLog()))) {
        writeLine(STD_ERROR_HANDLE, L"drill_driver: cannot write its files");
        return 1;
    }
    return 0;
}
