// The cost of Calculate on the real Form1, offscreen, against the bare
// calculation on in-memory strings; and the cost of a very long text in an
// input box, when it is pasted (QLineEdit::setText) and when Calculate reads
// it with Val. Build in Release and run
// build/<dir>/bench/window/vorlith_window_bench; the ratios are printed after
// the table.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../checks.h"
#include "../ratio_reporter.h"
#include "calc/numeric_text.h"
#include "calc/soil_indices.h"
#include "runtime/backend.h"
#include "runtime/qt/qt_runtime.h"
#include "runtime/runtime_error.h"
#include "support/form1_expected.h"
#include "support/modal_watcher.h"
#include "ui/program.h"

namespace {

using vorlith::ControlRow;

QWidget* g_form = nullptr;

template <typename T>
T* control(const char* name) {
    T* found = g_form->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        std::fprintf(stderr, "vorlith_window_bench: Form1 has no control %s\n", name);
        std::exit(1);
    }
    return found;
}

// The eight result fields, in result order.
const std::vector<QLabel*>& result_fields() {
    static const std::vector<QLabel*> fields = [] {
        std::vector<QLabel*> found;
        for (const ControlRow& row : vorlith::form1_layout()) {
            if (row.kind == ControlRow::Kind::Result) found.push_back(control<QLabel>(row.name));
        }
        return found;
    }();
    return fields;
}

// The input boxes' rows, in box order.
const std::array<const ControlRow*, vorlith::kInputCount>& input_rows() {
    static const auto rows = [] {
        std::array<const ControlRow*, vorlith::kInputCount> found{};
        std::size_t k = 0;
        for (const ControlRow& row : vorlith::form1_layout()) {
            if (row.kind == ControlRow::Kind::Input) found.at(k++) = &row;
        }
        return found;
    }();
    return rows;
}

// The input boxes' initial texts, in box order.
std::array<std::u16string, vorlith::kInputCount> initial_inputs() {
    std::array<std::u16string, vorlith::kInputCount> texts;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        texts[k] = QString::fromUtf8(input_rows()[k]->text).toStdU16String();
    }
    return texts;
}

void restore_initial_texts() {
    for (const ControlRow* row : input_rows()) {
        control<QLineEdit>(row->name)->setText(QString::fromUtf8(row->text));
    }
}

void clear_results() {
    for (QLabel* field : result_fields()) field->clear();
}

// The eight result texts compute_indices gives for `inputs`, without the window.
std::array<std::string, vorlith::kResultCount> results_of(
    const std::array<std::u16string, vorlith::kInputCount>& inputs) {
    std::array<std::string, vorlith::kResultCount> texts;
    (void)vorlith::compute_indices(
        [&](int k) { return inputs.at(static_cast<std::size_t>(k - 1)); },
        [&](int j, const std::string& text) { texts.at(static_cast<std::size_t>(j - 1)) = text; });
    return texts;
}

// The boxes' present texts, in box order.
std::array<std::u16string, vorlith::kInputCount> box_texts() {
    std::array<std::u16string, vorlith::kInputCount> texts;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        texts[k] = control<QLineEdit>(input_rows()[k]->name)->text().toStdU16String();
    }
    return texts;
}

using vorlith::bench::fail;

// Fails unless the result fields show `expected`.
void expect_results(benchmark::State& state,
                    const std::array<std::string, vorlith::kResultCount>& expected) {
    for (std::size_t j = 0; j < expected.size(); ++j) {
        const QString shown = result_fields().at(j)->text();
        if (shown != QString::fromStdString(expected[j])) {
            return fail(state, "result field " + std::to_string(j + 1) + " shows \"" +
                                   shown.toStdString() + "\" instead of \"" + expected[j] + "\"");
        }
    }
}

// Closes any modal box that opens while events are processed, so that an
// error report cannot stop the benchmark; records what it closed.
vorlith::testing::ModalWatcher* g_modal_guard = nullptr;

// One Calculate, as the handler runs it. None of the inputs here may fail:
// an error fails the benchmark and the run.
bool calculate(benchmark::State& state) {
    try {
        vorlith::Command1_Click();
        return true;
    } catch (const vorlith::RuntimeError& error) {
        fail(state, "Calculate raised error " + std::to_string(error.number));
        return false;
    }
}

// --- Calculate with the initial texts --------------------------------------

// The first press: the result fields go from empty to the eight results.
// Emptying them is not timed; pausing the timer adds about 0.1 us.
void BM_Calculate_Form1(benchmark::State& state) {
    restore_initial_texts();
    const auto expected = results_of(box_texts());
    for (auto _ : state) {
        state.PauseTiming();
        clear_results();
        state.ResumeTiming();
        if (!calculate(state)) break;
    }
    expect_results(state, expected);
}
BENCHMARK(BM_Calculate_Form1);

// A press again: the same results, which the fields already show.
void BM_Calculate_Form1_Again(benchmark::State& state) {
    restore_initial_texts();
    const auto expected = results_of(box_texts());
    if (!calculate(state)) return;
    for (auto _ : state) {
        if (!calculate(state)) break;
    }
    expect_results(state, expected);
}
BENCHMARK(BM_Calculate_Form1_Again);

// A click on Command1 as the user makes it, then the repaint of the window.
void BM_Calculate_Form1_ClickAndRepaint(benchmark::State& state) {
    restore_initial_texts();
    auto* command1 = control<QPushButton>("Command1");
    const auto expected = results_of(box_texts());
    const std::size_t closed_before = g_modal_guard->seen().size();
    for (auto _ : state) {
        state.PauseTiming();
        clear_results();
        QApplication::processEvents();
        state.ResumeTiming();
        command1->click();
        QApplication::processEvents();
    }
    if (g_modal_guard->seen().size() != closed_before) fail(state, "an error report opened");
    expect_results(state, expected);  // emptied before each click
}
BENCHMARK(BM_Calculate_Form1_ClickAndRepaint);

// The peer: the same calculation on in-memory strings, no widgets; each
// result text is handed over and compared with the one computed before.
void BM_ComputeIndices_InMemory(benchmark::State& state) {
    const auto inputs = initial_inputs();
    const auto expected = results_of(inputs);
    std::int64_t wrong = 0;
    for (auto _ : state) {
        const auto error = vorlith::compute_indices(
            [&](int k) { return inputs.at(static_cast<std::size_t>(k - 1)); },
            [&](int j, const std::string& text) {
                wrong += text != expected[static_cast<std::size_t>(j - 1)];
            });
        if (error) {
            fail(state, "compute_indices failed");
            break;
        }
    }
    if (wrong != 0) fail(state, "compute_indices wrote other texts than before the loop");
}
BENCHMARK(BM_ComputeIndices_InMemory);

// --- A very long text in Text1 ---------------------------------------------

constexpr int kMiB = 1 << 20;

// `chars` characters of one long number, "97." and then decimal digits, which
// Val reads to the end without overflow (the value stays near 97).
QString long_number(int chars) {
    QString text(chars, QLatin1Char('0'));
    text[0] = QLatin1Char('9');
    text[1] = QLatin1Char('7');
    text[2] = QLatin1Char('.');
    for (int i = 3; i < chars; ++i) text[i] = QLatin1Char(static_cast<char>('0' + i % 10));
    return text;
}

// Pasting the text into Text1, which holds its initial "97": one setText per
// iteration. The short text is put back untimed, so that every iteration
// replaces a short text with the long one, as a paste into the box does.
void BM_SetText_Text1(benchmark::State& state) {
    auto* text1 = control<QLineEdit>("Text1");
    const int chars = static_cast<int>(state.range(0)) * kMiB;
    const QString text = long_number(chars);
    const QString initial = text1->text();
    for (auto _ : state) {
        state.PauseTiming();
        text1->setText(initial);
        state.ResumeTiming();
        text1->setText(text);
    }
    if (text1->text() != text) fail(state, "Text1 does not hold the pasted text");
    state.SetBytesProcessed(state.iterations() * chars);
    restore_initial_texts();
}
BENCHMARK(BM_SetText_Text1)
    ->ArgName("MiB")
    ->Arg(1)
    ->Arg(10)
    ->MinTime(2)
    ->Unit(benchmark::kMillisecond);

// Calculate with Text1 holding the long text (V; Val reads all of it).
void BM_Calculate_LongText1(benchmark::State& state) {
    const int chars = static_cast<int>(state.range(0)) * kMiB;
    restore_initial_texts();
    control<QLineEdit>("Text1")->setText(long_number(chars));
    const auto expected = results_of(box_texts());
    for (auto _ : state) {
        if (!calculate(state)) break;
    }
    expect_results(state, expected);
    state.SetBytesProcessed(state.iterations() * chars);
    restore_initial_texts();
}
BENCHMARK(BM_Calculate_LongText1)->ArgName("MiB")->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Val alone on the same text in memory: how much of that Calculate is Val.
void BM_Val_LongText(benchmark::State& state) {
    const int chars = static_cast<int>(state.range(0)) * kMiB;
    const std::u16string text = long_number(chars).toStdU16String();
    const double expected = vorlith::Val(text);
    std::int64_t wrong = 0;
    for (auto _ : state) {
        wrong += vorlith::Val(text) != expected;
    }
    if (wrong != 0) fail(state, "Val gave another value than before the loop");
    state.SetBytesProcessed(state.iterations() * chars);
}
BENCHMARK(BM_Val_LongText)->ArgName("MiB")->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// --- Opening an other form ---------------------------------------------------

// Opens other form `i` by its menu item and returns once it is shown, or,
// for a modal form, once it has been shown and closed again by its close
// control (from a timer, inside its loop).
bool open_other_form(benchmark::State& state, QWidget* form, int i) {
    const auto& other = vorlith::testing::kOtherForms[i];
    const QString name = QString::fromLatin1(other.name);
    bool shown = false;
    QTimer::singleShot(0, form, [&] {
        auto* window = form->findChild<QWidget*>(name);
        shown = window != nullptr && window->isVisible();
        if (shown && window->isModal()) window->close();
    });
    form->findChild<QAction*>(QString::fromLatin1(other.menu))->trigger();
    while (!shown && !state.error_occurred()) QApplication::processEvents();
    return shown;
}

// The first opening of each other form, which builds it, on a Form1 made
// afresh (not timed) for each; against opening it again once built.
void BM_OpenOtherForm(benchmark::State& state, bool first) {
    const int i = static_cast<int>(state.range(0));
    std::unique_ptr<QWidget> form;
    for (auto _ : state) {
        state.PauseTiming();
        if (first || form == nullptr) {
            form.reset();
            form = vorlith::qt::create_form(vorlith::form1_program());
            form->show();
            QApplication::processEvents();
            if (!first) open_other_form(state, form.get(), i);
        }
        if (auto* window = form->findChild<QWidget*>(vorlith::testing::kOtherForms[i].name))
            window->close();  // its close control
        state.ResumeTiming();
        if (!open_other_form(state, form.get(), i)) fail(state, "the form was not shown");
    }
    form.reset();
    // Form1 of the other benchmarks is the run-time's form again.
    vorlith::attach(dynamic_cast<vorlith::Backend*>(g_form), vorlith::form1_program());
}
BENCHMARK_CAPTURE(BM_OpenOtherForm, First, true)->ArgName("form")->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(BM_OpenOtherForm, Again, false)->ArgName("form")->Arg(0)->Arg(1);

// --- Ratios after the table --------------------------------------------------

std::vector<vorlith::bench::RatioReporter::Pair> ratios() {
    return {
        {"Calculate on Form1 / compute_indices in memory", "BM_Calculate_Form1",
         "BM_ComputeIndices_InMemory"},
        {"Calculate again on Form1 / compute_indices in memory", "BM_Calculate_Form1_Again",
         "BM_ComputeIndices_InMemory"},
        {"Click and repaint / compute_indices in memory", "BM_Calculate_Form1_ClickAndRepaint",
         "BM_ComputeIndices_InMemory"},
        {"setText 10 MiB / 1 MiB", "BM_SetText_Text1/MiB:10", "BM_SetText_Text1/MiB:1"},
        {"Calculate with 10 MiB / 1 MiB in Text1", "BM_Calculate_LongText1/MiB:10",
         "BM_Calculate_LongText1/MiB:1"},
        {"Val 10 MiB / 1 MiB", "BM_Val_LongText/MiB:10", "BM_Val_LongText/MiB:1"},
        {"First opening / again: 计算过程", "BM_OpenOtherForm/First/form:0",
         "BM_OpenOtherForm/Again/form:0"},
        {"First opening / again: 由试验数据填入", "BM_OpenOtherForm/First/form:1",
         "BM_OpenOtherForm/Again/form:1"},
        {"Calculate with 1 MiB in Text1 / Val on 1 MiB", "BM_Calculate_LongText1/MiB:1",
         "BM_Val_LongText/MiB:1"},
    };
}

}  // namespace

// Before anything is timed: the initial texts give the calculator's sample
// results, in memory and on Form1.
bool initial_results_are_sound() {
    bool sound = true;
    const auto in_memory = results_of(initial_inputs());
    restore_initial_texts();
    clear_results();
    try {
        vorlith::Command1_Click();
    } catch (const vorlith::RuntimeError& error) {
        sound =
            vorlith::bench::expect(false, "Calculate raised error " + std::to_string(error.number));
    }
    for (std::size_t j = 0; j < in_memory.size(); ++j) {
        const std::string expected = vorlith::testing::kSampleResults[j];
        sound &= vorlith::bench::expect(
            in_memory[j] == expected,
            "compute_indices writes \"" + in_memory[j] + "\" instead of \"" + expected + "\"");
        const std::string shown = result_fields().at(j)->text().toStdString();
        sound &= vorlith::bench::expect(
            shown == expected, "Form1 shows \"" + shown + "\" instead of \"" + expected + "\"");
    }
    clear_results();
    return sound;
}

int main(int argc, char** argv) {
    // No display needed; the widgets are real, only the screen is not.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    QApplication app(argc, argv);
    vorlith::qt::install_run_time(vorlith::form1_program());
    const std::unique_ptr<QWidget> window = vorlith::qt::create_form(vorlith::form1_program());
    g_form = window.get();
    window->show();
    QApplication::processEvents();
    vorlith::testing::ModalWatcher guard(20);
    g_modal_guard = &guard;

    if (!initial_results_are_sound()) return 1;

    const bool right = vorlith::bench::run_with_ratios(ratios());
    if (!guard.seen().empty())
        std::fprintf(stderr, "%zu error reports opened\n", guard.seen().size());
    return guard.seen().empty() && right ? 0 : 1;
}
