// Form1 under a long run of presses of Calculate, offscreen. Each press puts
// random texts into the seven boxes, from a fixed-seed generator, and clicks
// Command1. After every press: each result field is empty or a text that Str
// writes, the fields empty from the failing index onwards exactly when an
// error was reported, the eight texts are those of the calculation itself, the
// boxes keep the texts put in and the window stays up; the working window,
// opened and closed from time to time, follows some presses. The resident memory
// late in the run is compared with that early in the run.
//
// VORLITH_LONG_RUN_PRESSES sets the number of presses (default 100000),
// VORLITH_LONG_RUN_SEED the generator's seed.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#ifdef __linux__
#include <fstream>
#endif
#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#endif

#include "calc/numeric_text.h"
#include "support/form1.h"
#include "support/form1_expected.h"
#include "support/long_run.h"
#include "support/modal_watcher.h"
#include "support/random_texts.h"

namespace {

using vorlith::testing::kBoxes;
using vorlith::testing::kResults;
using vorlith::testing::ModalWatcher;
using vorlith::testing::SeenBox;

constexpr int kDefaultPresses = 100000;
// Runs of at least this many presses must meet every kind of text and both
// errors.
constexpr int kWarmUpPresses = 1000;
// The memory is first read after this many presses, when the caches of fonts
// (a fallback font is loaded the first time a script turns up in a box),
// glyphs and the message box have filled: with the default seed the resident
// size still grows by 2.3 MiB between presses 1,000 and 5,000, then stays
// within 300 KiB to press 100,000. It is compared at the end only for runs of
// at least kMemoryRunPresses.
constexpr int kMemoryBaselinePress = 10000;
constexpr int kMemoryRunPresses = 100000;
constexpr long kMaxGrowthKib = 1024;

const QString kDivisionByZeroReport = QStringLiteral("实时错误 '11':\n\n除数为零");
const QString kOverflowReport = QStringLiteral("实时错误 '6':\n\n溢出");

using Texts = std::array<QString, 7>;
using Fields = std::array<QString, 8>;

// ---------------------------------------------------------------------------
// The texts that Str writes, as one pattern with named parts:
//   " 0"                                   zero, either sign
//   [ -] I (.F)?                           I: 1-9 then digits; F ends in 1-9
//   [ -] .F                                below 1: no zero before the point
//   [ -] D (.F)? E[+-]XX or E[+-]XXX       exponent form, D one digit 1-9,
//                                          exponent two digits, or three from 100
// and the limits of 15 significant digits that the pattern cannot say:
//   plain:    at most 15 digits before the point, at most 15 after it, and at
//             most 15 in all when there are digits on both sides;
//   exponent: at most 15 digits in the mantissa; E+ only from E+15 (below,
//             the plain form fits) to E+308; E- only to E-324 and only when
//             the plain form would need more than 15 digits after the point.
const QRegularExpression kStrText(
    QStringLiteral("^(?:(?<zero> 0)"
                   "|[ -](?<int>[1-9][0-9]*)(?:\\.(?<frac>[0-9]*[1-9]))?"
                   "|[ -]\\.(?<small>[0-9]*[1-9])"
                   "|[ -](?<lead>[1-9])(?:\\.(?<tail>[0-9]*[1-9]))?E(?<esign>[+-])"
                   "(?<exp>0[1-9]|[1-9][0-9]|[1-9][0-9]{2}))$"));

// Empty when `text` is a text that Str writes, else what is wrong with it.
QString str_text_problem(const QString& text) {
    const QRegularExpressionMatch match = kStrText.match(text);
    if (!match.hasMatch()) return QStringLiteral("not of the form of Str");
    if (match.hasCaptured(u"zero")) return {};
    if (match.hasCaptured(u"int")) {
        const auto integer_digits = match.capturedLength(u"int");
        const auto fraction_digits = match.capturedLength(u"frac");
        if (integer_digits > 15) return QStringLiteral("more than 15 digits before the point");
        if (integer_digits + fraction_digits > 15 && fraction_digits > 0) {
            return QStringLiteral("more than 15 significant digits");
        }
        return {};
    }
    if (match.hasCaptured(u"small")) {
        if (match.capturedLength(u"small") > 15) {
            return QStringLiteral("more than 15 digits after the point");
        }
        return {};
    }
    const auto mantissa_digits = 1 + match.capturedLength(u"tail");
    const int exponent = match.captured(u"exp").toInt();
    if (mantissa_digits > 15) return QStringLiteral("more than 15 digits in the mantissa");
    if (match.captured(u"esign") == QLatin1String("+")) {
        if (exponent < 15) return QStringLiteral("exponent form where the plain form fits");
        if (exponent > 308) return QStringLiteral("exponent beyond the range of a double");
    } else {
        if (exponent > 324) return QStringLiteral("exponent beyond the range of a double");
        if (mantissa_digits - 1 + exponent <= 15) {
            return QStringLiteral("exponent form where the plain form fits");
        }
    }
    return {};
}

// ---------------------------------------------------------------------------
// The texts with every character outside printable ASCII as \uXXXX, for
// messages that reproduce a press.
QString escaped(const QString& text) {
    return QString::fromStdString(vorlith::testing::escaped(text.toStdU16String()));
}

QString describe(const Texts& texts) {
    QStringList parts;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        parts << QStringLiteral("%1=\"%2\"").arg(QLatin1String(kBoxes[k]), escaped(texts[k]));
    }
    return parts.join(u' ');
}

QString describe(const Fields& fields) {
    QStringList parts;
    for (const QString& field : fields)
        parts << QLatin1Char('"') + escaped(field) + QLatin1Char('"');
    return parts.join(u' ');
}

// What compute_indices itself gives for the texts: the eight field texts and
// the report of its error, if any.
struct Expected {
    Fields fields;
    QString report;
};

Expected calculate(const Texts& texts) {
    vorlith::testing::BoxTexts boxes;
    for (std::size_t k = 0; k < boxes.size(); ++k) boxes[k] = texts[k].toStdU16String();
    const vorlith::testing::Outcome outcome = vorlith::testing::calculated(boxes);
    Expected expected;
    for (std::size_t j = 0; j < expected.fields.size(); ++j) {
        expected.fields[j] = QString::fromStdString(outcome.fields[j]);
    }
    expected.report = QString::fromStdString(outcome.report);
    return expected;
}

#ifdef __linux__
// The resident set size of this process in KiB, from /proc/self/status.
long resident_kib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}
#endif

// AddressSanitizer and Valgrind hold freed memory back for a while, which
// the resident set size of the process then includes.
#if defined(__SANITIZE_ADDRESS__)
#define VORLITH_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORLITH_ADDRESS_SANITIZER 1
#endif
#endif

// The memory checker the test runs under, which keeps the resident set size
// from telling about the program's own memory; nullptr when none.
const char* memory_checker() {
#ifdef VORLITH_ADDRESS_SANITIZER
    return "AddressSanitizer";
#else
#ifdef RUNNING_ON_VALGRIND
    if (RUNNING_ON_VALGRIND) return "Valgrind";
#endif
    return nullptr;
#endif
}

// The offscreen platform warns once for every message box it shows that it
// cannot pass on size hints; the run shows tens of thousands of boxes, so that
// one warning is dropped and every other message goes on to Qt Test.
QtMessageHandler g_next_handler = nullptr;

void drop_size_hint_warning(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    if (type == QtWarningMsg &&
        message == QLatin1String("This plugin does not support propagateSizeHints()")) {
        return;
    }
    if (g_next_handler != nullptr) g_next_handler(type, context, message);
}

}  // namespace

class LongRunTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> form_;
    std::array<QLineEdit*, 7> boxes_{};
    std::array<QLabel*, 8> fields_{};
    QPushButton* command1_ = nullptr;

    Fields fields() const {
        Fields texts;
        for (std::size_t j = 0; j < fields_.size(); ++j) texts[j] = fields_[j]->text();
        return texts;
    }

    // Empty when the fields after one press are consistent with each other and
    // with whether an error was reported, else what is wrong.
    static QString fields_problem(const Fields& after, bool reported) {
        std::size_t first_empty = after.size();
        for (std::size_t j = 0; j < after.size(); ++j) {
            if (after[j].isEmpty()) {
                if (first_empty == after.size()) first_empty = j;
                continue;
            }
            if (first_empty < j) {
                return QStringLiteral("%1 holds a text after the empty %2")
                    .arg(QLatin1String(kResults[j]), QLatin1String(kResults[first_empty]));
            }
            const QString problem = str_text_problem(after[j]);
            if (!problem.isEmpty()) {
                return QStringLiteral("%1 = \"%2\": %3")
                    .arg(QLatin1String(kResults[j]), escaped(after[j]), problem);
            }
            // Fifteen digits read back as the same fifteen digits, except
            // at the top of the range: the largest doubles round to a text
            // above the largest double, which reads as an overflow.
            try {
                const std::string read_back = vorlith::Str(vorlith::Val(after[j].toStdU16String()));
                if (QString::fromStdString(read_back) != after[j]) {
                    return QStringLiteral("%1 = \"%2\" reads back as \"%3\"")
                        .arg(QLatin1String(kResults[j]), after[j],
                             QString::fromStdString(read_back));
                }
            } catch (const vorlith::RuntimeError& error) {
                if (after[j].mid(1) != QLatin1String("1.79769313486232E+308")) {
                    return QStringLiteral("%1 = \"%2\" reads back with error %3")
                        .arg(QLatin1String(kResults[j]), after[j])
                        .arg(error.number);
                }
            }
        }
        const bool emptied = first_empty < after.size();
        if (emptied && !reported) return QStringLiteral("fields emptied without a report");
        if (!emptied && reported) return QStringLiteral("a report with all eight fields written");
        return {};
    }

    // Empty when everything after the press on `texts` is as it should be,
    // else the first thing that is not.
    // `reports` are the boxes the press opened, `behind` the fields as they
    // stood behind the first.
    QString press_problem(const Texts& texts, const Fields& after,
                          const std::vector<SeenBox>& reports,
                          const std::optional<Fields>& behind) const {
        if (!form_->isVisible()) return QStringLiteral("the window is gone");
        if (QApplication::activeModalWidget() != nullptr) {
            return QStringLiteral("a modal box stayed open");
        }
        if (reports.size() > 1) return QStringLiteral("%1 reports").arg(reports.size());
        for (std::size_t k = 0; k < texts.size(); ++k) {
            if (boxes_[k]->text() != texts[k]) {
                return QStringLiteral("%1 now holds \"%2\"")
                    .arg(QLatin1String(kBoxes[k]), escaped(boxes_[k]->text()));
            }
        }
        const bool reported = reports.size() == 1;
        const SeenBox report = reported ? reports.front() : SeenBox{};
        if (QString problem = fields_problem(after, reported); !problem.isEmpty()) return problem;

        const Expected expected = calculate(texts);
        if (after != expected.fields) {
            return QStringLiteral("the calculation gives %1").arg(describe(expected.fields));
        }
        if (report.text != expected.report) {
            return QStringLiteral("report \"%1\", the calculation's \"%2\"")
                .arg(report.text, expected.report);
        }
        if (reported) {
            if (report.title != QLatin1String("Vorlith") || report.buttons.size() != 1) {
                return QStringLiteral("report box \"%1\" with buttons %2")
                    .arg(report.title, report.buttons.join(u','));
            }
            // Behind the box the fields already stood as they are now.
            if (behind != after) {
                return QStringLiteral("behind the report: %1")
                    .arg(describe(behind.value_or(Fields{})));
            }
        }
        return {};
    }

private slots:
    void initTestCase() {
        g_next_handler = qInstallMessageHandler(drop_size_hint_warning);
        form_ = vorlith::testing::show_form1();
        QVERIFY(form_ != nullptr);
        for (std::size_t k = 0; k < boxes_.size(); ++k) {
            boxes_[k] = form_->findChild<QLineEdit*>(QString::fromLatin1(kBoxes[k]));
            QVERIFY2(boxes_[k] != nullptr, kBoxes[k]);
        }
        for (std::size_t j = 0; j < fields_.size(); ++j) {
            fields_[j] = form_->findChild<QLabel*>(QString::fromLatin1(kResults[j]));
            QVERIFY2(fields_[j] != nullptr, kResults[j]);
        }
        command1_ = form_->findChild<QPushButton*>(QStringLiteral("Command1"));
        QVERIFY(command1_ != nullptr);
    }
    void cleanupTestCase() {
        form_.reset();
        qInstallMessageHandler(g_next_handler);
    }

    void theStrTextPatternTellsStrTextsFromOthers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        const std::pair<const char*, bool> rows[] = {
            {" 0", true},
            {" 2.08247422680412", true},
            {" .9", true},
            {" .0875", true},
            {"-123", true},
            {" 100000000000000", true},
            {" 1E+15", true},
            {" 3.33333333333333E-02", true},
            {"-1.79769313486232E+308", true},
            {" 4.94065645841247E-324", true},
            {" .000000000000001", true},
            {" 1E-16", true},
            {"-0", false},
            {"0", false},
            {" 0.9", false},
            {" 00", false},
            {" 1.", false},
            {" 1.50", false},
            {" .", false},
            {" ", false},
            {"", false},
            {"+1", false},
            {"1", false},
            {" 1e+15", false},
            {" 1E+5", false},
            {" 1E5", false},
            {" 1E+015", false},
            {" 1E+309", false},
            {" 1E-325", false},
            {" 1E-05", false},
            {" 10E+15", false},
            {" 1000000000000000", false},
            {" 1.23456789012345", true},
            {" 1.234567890123456", false},
            {" .1234567890123456", false},
            {" 1.#INF", false},
            {"-1.#IND", false},
            {" 1,5", false},
        };
        for (const auto& [text, valid] : rows) {
            QTest::newRow(qPrintable(QStringLiteral("\"%1\"").arg(QLatin1String(text))))
                << QString::fromLatin1(text) << valid;
        }
    }
    void theStrTextPatternTellsStrTextsFromOthers() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(str_text_problem(text).isEmpty(), valid);
    }

    void manyPressesOnRandomTextsKeepFieldsBoxesAndMemorySound() {
        const auto settings = vorlith::testing::long_run_settings(kDefaultPresses);
        QVERIFY2(settings.problem.empty(), settings.problem.c_str());
        const auto presses = static_cast<int>(settings.presses);
        qInfo("%d presses, seed %llu", presses, static_cast<unsigned long long>(settings.seed));

        vorlith::testing::RandomTexts generator(settings.seed);
        // Dismisses each press's report from the report's own event loop,
        // noting the fields as they stand behind it; idle between presses.
        std::optional<Fields> behind;
        ModalWatcher watcher(0, [&] { behind = fields(); });
        watcher.stop();
        int reported_presses = 0;
        int division_reports = 0;
        int overflow_reports = 0;
        std::array<int, 8> emptied_from{};  // failing presses by first emptied field
        long early_kib = -1;

        for (int press = 1; press <= presses; ++press) {
            Texts texts;
            for (std::size_t k = 0; k < texts.size(); ++k) {
                texts[k] = QString::fromStdU16String(generator.next());
                boxes_[k]->setText(texts[k]);
            }
            // The working window follows a hundred presses in every thousand.
            if (press % 1000 == 1 || press % 1000 == 101) {
                auto* close = form_->findChild<QPushButton*>(QStringLiteral("WorkingClose"));
                if (close != nullptr && close->isVisible()) {  // built when first shown
                    close->click();
                } else {
                    form_->findChild<QAction*>(QStringLiteral("WORKING"))->trigger();
                }
            }
            // The conversion's window stands open beside Form1 from the first.
            if (press == 1) form_->findChild<QAction*>(QStringLiteral("GIVEN"))->trigger();
            watcher.clear();
            behind.reset();
            watcher.start();
            QTest::mouseClick(command1_, Qt::LeftButton);
            watcher.stop();
            QCoreApplication::processEvents();

            const Fields after = fields();
            const QString problem = press_problem(texts, after, watcher.seen(), behind);
            if (!problem.isEmpty()) {
                QFAIL(qPrintable(QStringLiteral("press %1: %2\n  fields: %3\n  boxes: %4")
                                     .arg(press)
                                     .arg(problem, describe(after), describe(texts))));
            }
            if (watcher.seen().size() == 1) {
                ++reported_presses;
                const QString& report = watcher.seen().front().text;
                if (report == kDivisionByZeroReport) ++division_reports;
                if (report == kOverflowReport) ++overflow_reports;
                const auto first_empty = std::find_if(after.begin(), after.end(),
                                                      [](const QString& t) { return t.isEmpty(); });
                ++emptied_from.at(static_cast<std::size_t>(first_empty - after.begin()));
            }

#ifdef __linux__
            if (press == kMemoryBaselinePress) early_kib = resident_kib();
#endif
        }

        qInfo("%d of %d presses reported an error (%d division by zero, %d overflow)",
              reported_presses, presses, division_reports, overflow_reports);
        QStringList by_field;
        for (std::size_t j = 0; j < emptied_from.size(); ++j) {
            by_field
                << QStringLiteral("%1: %2").arg(QLatin1String(kResults[j])).arg(emptied_from[j]);
        }
        qInfo("failing presses by the first field emptied: %s", qPrintable(by_field.join(u", ")));
        QVERIFY2(reported_presses > 0, "no press failed: the texts do not reach the error path");
        QVERIFY2(reported_presses < presses,
                 "every press failed: the texts do not reach the full calculation");
        QCOMPARE(division_reports + overflow_reports, reported_presses);
        if (presses >= kWarmUpPresses) {
            QVERIFY2(division_reports > 0, "no division by zero among the presses");
            QVERIFY2(overflow_reports > 0, "no overflow among the presses");
        }

#ifdef __linux__
        const long late_kib = resident_kib();
        if (presses >= kMemoryBaselinePress) {
            qInfo("VmRSS after %d presses: %ld KiB; after %d presses: %ld KiB",
                  kMemoryBaselinePress, early_kib, presses, late_kib);
        } else {
            qInfo("VmRSS after %d presses: %ld KiB", presses, late_kib);
        }
        if (presses >= kMemoryRunPresses) {
            if (const char* checker = memory_checker(); checker != nullptr) {
                qInfo("memory growth not judged: %s holds freed memory back", checker);
            } else {
                QVERIFY(early_kib > 0 && late_kib > 0);
                QVERIFY2(late_kib - early_kib < kMaxGrowthKib,
                         qPrintable(QStringLiteral("VmRSS grew by %1 KiB from press %2 to %3")
                                        .arg(late_kib - early_kib)
                                        .arg(kMemoryBaselinePress)
                                        .arg(presses)));
            }
        }
#endif
    }
};

QTEST_MAIN(LongRunTest)
#include "long_run_test.moc"
