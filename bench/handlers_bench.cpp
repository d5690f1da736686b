// The drill window's handlers through the real widgets (offscreen) and the real sound
// control: answer, next and end, the cue on its own, answer texts up to 1 MB, and whole
// drills of twenty problems as a throughput.
//
// Each handler is timed alone, from the button's click() until the click returns, with
// the time set by hand; whatever the benchmark must do between two clicks (typing the
// answer, painting, starting a new drill) is left out. The "+paint" variants also count
// the repaint that the handler causes, as the event loop would run it next.

#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTest>
#include <chrono>
#include <string>

#include "archive_file.h"
#include "bench_fakes.h"
#include "form2.h"
#include "history_file.h"
#include "history_records.h"
#include "multimedia_control.h"
#include "results_form.h"

namespace bench {
namespace {

template <class Action>
double seconds(Action&& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Sound: 0 the real control, 1 a control that does nothing (what the handler costs by
// itself, without any sound).
drill::SoundControl* soundFor(const benchmark::State& state, SilentSound& silent) {
    return state.range(0) == 1 ? &silent : nullptr;
}

void answerWrong(benchmark::State& state, bool paint) {
    SilentSound silent;
    DrillWindow w(soundFor(state, silent));
    w.start();
    w.fillWrong();
    settle();
    for (auto _ : state) {
        state.SetIterationTime(seconds([&] {
            w.form().Command1->click();
            if (paint)
                settle();
        }));
        if (!paint)
            settle();
    }
}

void BM_AnswerWrong(benchmark::State& state) {
    answerWrong(state, false);
}
void BM_AnswerWrongPaint(benchmark::State& state) {
    answerWrong(state, true);
}

// Brings the window to a problem whose answer has not been given yet, a new drill when the
// twenty are done.
void toOpenProblem(DrillWindow& w) {
    if (w.form().Command2->isEnabled())
        w.form().Command2->click();
    if (w.problemNumber() > 20 || !w.form().Command1->isEnabled())
        w.start();
    settle();
}

void BM_AnswerRight(benchmark::State& state) {
    SilentSound silent;
    DrillWindow w(soundFor(state, silent));
    w.start();
    for (auto _ : state) {
        toOpenProblem(w);
        w.fillRight();
        settle();
        state.SetIterationTime(seconds([&] { w.form().Command1->click(); }));
    }
}

// The next button after a right answer: problems 2 to 20 drawn and shown, and every
// twentieth press the end of the twenty.
void BM_Next(benchmark::State& state) {
    SilentSound silent;
    DrillWindow w(soundFor(state, silent));
    w.start();
    for (auto _ : state) {
        toOpenProblem(w);
        w.fillRight();
        w.form().Command1->click();
        settle();
        state.SetIterationTime(seconds([&] { w.form().Command2->click(); }));
    }
}

// The end button, and No to the confirmation: the drill goes on.
void BM_EndNo(benchmark::State& state) {
    SilentSound silent;
    DrillWindow w(soundFor(state, silent));
    w.start();
    for (auto _ : state) {
        w.dialogs.answers = {false};
        state.SetIterationTime(seconds([&] { w.form().Command3->click(); }));
        settle();
    }
}

// Answers the problems on screen right and moves on, `count` times.
void solveProblems(DrillWindow& w, int count) {
    for (int k = 0; k < count; ++k) {
        w.fillRight();
        w.form().Command1->click();
        w.form().Command2->click();
    }
}

// The end button and Yes, five problems into a drill: the history file is written, the
// results window is made, filled and shown, and the drill window goes.
void BM_EndYes(benchmark::State& state) {
    SilentSound silent;
    DrillWindow w(soundFor(state, silent));
    for (auto _ : state) {
        w.start();
        solveProblems(w, 5);
        settle();
        w.dialogs.answers = {true};
        state.SetIterationTime(seconds([&] { w.form().Command3->click(); }));
        settle();
    }
}

// The end button after the twentieth problem: no question, the whole history written.
void BM_EndFinished(benchmark::State& state) {
    SilentSound silent;
    DrillWindow w(soundFor(state, silent));
    for (auto _ : state) {
        w.start();
        solveProblems(w, 20);
        settle();
        state.SetIterationTime(seconds([&] { w.form().Command3->click(); }));
        settle();
    }
}

// The end of a finished drill in its parts: 0 the history file written (20 rows, saved
// whole through a temporary file), 1 the results window made, 2 its labels filled, 3 the
// window shown, 4 the drill kept in the archive (a new file each time, synced and linked).
void BM_EndParts(benchmark::State& state) {
    DrillWindow w;
    w.start();
    solveProblems(w, 20);
    settle();
    drill::DrillState drill = w.form().state();
    drill.lastnum = 20;
    records::HistoryRecords records;
    for (auto _ : state) {
        ui::ResultsForm results(nullptr, [] {});
        switch (state.range(0)) {
            case 0:
                state.SetIterationTime(seconds([&] { records::writeHistoryFile(drill); }));
                break;
            case 1:
                state.SetIterationTime(seconds([&] { results.labels(); }));
                break;
            case 2: {
                drill::ResultsLabels& labels = results.labels();
                state.SetIterationTime(seconds([&] { records.fillResults(drill, labels); }));
                break;
            }
            case 3:
                records.fillResults(drill, results.labels());
                state.SetIterationTime(seconds([&] { results.show(); }));
                delete results.form();
                break;
            case 4: {
                const QByteArray bytes = records::historyFileBytes(drill);
                state.SetIterationTime(seconds([&] {
                    records::writeArchiveFile(bytes, drill.myid, QDateTime::currentDateTime(),
                                              QSysInfo::machineHostName());
                }));
                break;
            }
        }
        settle();
    }
}

// The wrong answer's cue alone on the real sound control, as the answer handler gives it:
// the first cue of a new control (the file is found and its loading started) or a cue
// whose file is already loaded.
void BM_Cue(benchmark::State& state) {
    const bool first = state.range(0) == 1;
    auto cue = [](ui::MultimediaControl& control) {
        control.setCommand(u"close");
        control.setFileName(u"Chimes2.wav");
        control.setCommand(u"Open");
        control.setCommand(u"Sound");
    };
    ui::MultimediaControl warm;
    cue(warm);
    settle();
    for (auto _ : state) {
        if (first) {
            ui::MultimediaControl control;
            state.SetIterationTime(seconds([&] { cue(control); }));
        } else {
            state.SetIterationTime(seconds([&] { cue(warm); }));
        }
        settle();
    }
}

// The answer handler with a pasted text of the given length in the quotient's box.
void BM_AnswerLength(benchmark::State& state) {
    DrillWindow w;
    w.start();
    w.fillWrong();
    w.form().Text1[0]->setText(QString(static_cast<qsizetype>(state.range(0)), QLatin1Char('7')));
    settle();
    for (auto _ : state)
        state.SetIterationTime(seconds([&] { w.form().Command1->click(); }));
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

// A whole drill as a learner goes through it: start-up, twenty problems typed into the
// boxes (three of them answered wrong first), Return for the answer and for the next
// problem, the end button, the history file and the results window, with every repaint.
void BM_WholeDrill(benchmark::State& state) {
    DrillWindow w;
    for (auto _ : state) {
        w.start();
        ui::Form1& f = w.form();
        for (int k = 1; k <= 20; ++k) {
            const int dividend = f.Label[0]->text().toInt();
            const int divisor = f.Label[2]->text().toInt();
            auto answer = [&](int quotient) {
                for (int box = 0; box < 2; ++box) {
                    f.Text1[box]->setFocus();
                    f.Text1[box]->selectAll();
                    QTest::keyClicks(f.Text1[box],
                                     QString::number(box == 0 ? quotient : dividend % divisor));
                }
                QTest::keyClick(f.Text1[1], Qt::Key_Return);
                settle();
            };
            if (k == 3 || k == 8 || k == 14)
                answer(dividend / divisor + 1);
            answer(dividend / divisor);
            QTest::keyClick(f.Text1[1], Qt::Key_Return);  // the next button
            settle();
        }
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        settle();
        if (w.dialogs.messages != 0)
            state.SkipWithError("the history file was not written");
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

// A fixed number of iterations: with the time set by hand, the library would otherwise run
// the untimed work in between for as long as it takes to gather its minimum time.
BENCHMARK(BM_AnswerWrong)
    ->ArgName("silent")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnswerWrongPaint)
    ->ArgName("silent")
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnswerRight)
    ->ArgName("silent")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(1000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Next)->ArgName("silent")->Arg(0)->Arg(1)->UseManualTime()->Iterations(1000)->Unit(
    benchmark::kMicrosecond);
BENCHMARK(BM_EndNo)->ArgName("silent")->Arg(0)->Arg(1)->UseManualTime()->Iterations(2000)->Unit(
    benchmark::kMicrosecond);
BENCHMARK(BM_EndYes)->ArgName("silent")->Arg(0)->Arg(1)->UseManualTime()->Iterations(200)->Unit(
    benchmark::kMicrosecond);
BENCHMARK(BM_EndFinished)
    ->ArgName("silent")
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EndParts)
    ->ArgName("part")
    ->DenseRange(0, 4)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cue)->ArgName("first")->Arg(0)->Arg(1)->UseManualTime()->Iterations(2000)->Unit(
    benchmark::kMicrosecond);
BENCHMARK(BM_AnswerLength)
    ->Arg(1 << 10)
    ->Arg(1 << 16)
    ->Arg(1 << 20)
    ->UseManualTime()
    ->Iterations(50)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeDrill)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace bench
