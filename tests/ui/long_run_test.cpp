// Form1 under a long run of presses of Calculate, offscreen. Each press puts
// random texts into the seven boxes, from a fixed-seed generator, and clicks
// Command1. After every press: each result field is empty or a text that Str
// writes, the fields empty from the failing index onwards exactly when an
// error was reported, the eight texts are those of the calculation itself, the
// boxes keep the texts put in and the window stays up. The resident memory
// late in the run is compared with that early in the run.
//
// VORLITH_LONG_RUN_PRESSES sets the number of presses (default 100000),
// VORLITH_LONG_RUN_SEED the generator's seed.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>

#ifdef __linux__
#include <fstream>
#endif
#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#endif

#include "calc/numeric_text.h"
#include "calc/soil_indices.h"
#include "support/form1.h"

namespace {

constexpr const char* kBoxes[] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7"};
constexpr const char* kResults[] = {"Label16", "Label19", "Label22", "Label25",
                                    "Label28", "Label31", "Label34", "Label36"};

constexpr std::uint64_t kDefaultSeed = 0x566f726c697468;  // "Vorlith"
constexpr int kDefaultPresses = 100000;
// The memory is first read after this many presses, when the caches of fonts,
// glyphs and the message box have filled; it is compared at the end only for
// runs of at least kMemoryRunPresses.
constexpr int kWarmUpPresses = 1000;
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
// Random texts for the boxes. Only the generator's raw output is used (its
// sequence is fixed by the standard), so a seed gives the same texts with
// every standard library.
class TextGenerator {
public:
    explicit TextGenerator(std::uint64_t seed) : rng_(seed) {}

    QString next() {
        const auto shape = below(1000);
        if (shape < 20) return {};
        if (shape < 680) return decorate(number());
        if (shape < 720) return zero();
        if (shape < 770) return radix();
        if (shape < 815) return decorate(extreme());
        if (shape < 965) return soup();
        if (shape < 997) return digits(20 + below(400), true);
        return digits(1000 + below(4000), chance(50));  // a few KB
    }

private:
    std::uint64_t below(std::uint64_t n) { return rng_() % n; }
    bool chance(int percent) { return below(100) < static_cast<std::uint64_t>(percent); }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(N)];
    }

    QChar digit() { return QChar(static_cast<char16_t>(u'0' + below(10))); }
    QChar nonzero_digit() { return QChar(static_cast<char16_t>(u'1' + below(9))); }

    QString digit_run(std::uint64_t count) {
        QString out;
        out.reserve(static_cast<qsizetype>(count));
        for (std::uint64_t i = 0; i < count; ++i) out += digit();
        return out;
    }

    QString blank() {
        static const char16_t kBlanks[] = {u' ', u' ', u'\t', u'\n', u'\u3000'};
        return QString(QChar(pick(kBlanks)));
    }

    // A decimal number in ASCII: sign, digits with or without a point,
    // perhaps an exponent and something after it.
    QString number() {
        QString out;
        if (chance(15)) out += blank();
        if (chance(20)) out += chance(50) ? u'-' : u'+';
        switch (below(4)) {
            case 0:
                out += nonzero_digit() + digit_run(below(8));
                break;
            case 1:
                out +=
                    nonzero_digit() + digit_run(below(5)) + QChar(u'.') + digit_run(1 + below(10));
                break;
            case 2:
                out += QChar(u'.') + digit_run(below(4)) + nonzero_digit();
                break;
            default:
                out += QStringLiteral("0.") + digit_run(below(3)) + nonzero_digit() +
                       digit_run(below(16));
                break;
        }
        if (chance(15)) {
            static const char16_t kMarkers[] = {u'E', u'e', u'D', u'd'};
            out += pick(kMarkers);
            if (chance(50)) out += chance(50) ? u'-' : u'+';
            out += QString::number(below(25));
        }
        if (chance(15)) {
            static const char* const kTails[] = {" g", "cm3", ",5",    ".5", "..", "e",
                                                 "E+", "abc", "1,000", "-",  " 7", "%"};
            out += QString::fromLatin1(pick(kTails));
        }
        return out;
    }

    // Texts that read as zero, or as a value that rounds to zero.
    QString zero() {
        static const char* const kZeros[] = {
            "0",      "0.0",   "-0",  ".0",     "0e5",     "0E99999", "  0  ", "00000", "+0.",
            "0d-330", "-.000", "0,1", "1e-400", "-4e-330", "&H0",     "&O0",   "0x10",  "\t0\n"};
        if (chance(15)) return QStringLiteral("０");
        return QString::fromLatin1(pick(kZeros));
    }

    // &H and &O integers, with digits beyond the radix now and then and up to
    // eleven digits, past 32 bits.
    QString radix() {
        const bool hex = chance(50);
        QString out = chance(10) ? QStringLiteral("＆") : QStringLiteral("&");
        out += hex ? (chance(50) ? u'H' : u'h') : (chance(50) ? u'O' : u'o');
        if (chance(10)) out += blank();
        static const char kHexDigits[] = "0123456789abcdefABCDEFG";
        static const char kOctDigits[] = "012345678";
        const auto count = 1 + below(11);
        for (std::uint64_t i = 0; i < count; ++i) {
            out += hex ? QLatin1Char(kHexDigits[below(sizeof kHexDigits - 1)])
                       : QLatin1Char(kOctDigits[below(sizeof kOctDigits - 1)]);
        }
        return out;
    }

    // Mantissas with exponents at and past the ends of the range of a double.
    QString extreme() {
        static const char* const kMantissas[] = {
            "1",
            "9.99",
            "123",
            ".5",
            "-1",
            "-8.5",
            "1.7976931348623157",  // the largest double
            "2.2250738585072014",  // the smallest normal one
            "4.9406564584124654",  // the smallest subnormal one
        };
        static const char* const kExponents[] = {
            "e308", "E307",  "e309",   "E-330",   "e-324", "E-323", "e-308",
            "D308", "d-320", "e99999", "E-99999", "e+400", "E-400", "e999999999999999999999",
            "e0",   "E15",   "e-15",   "e99"};
        return QString::fromLatin1(pick(kMantissas)) + QString::fromLatin1(pick(kExponents));
    }

    // Now and then a character becomes its full-width form (U+3002 or U+FF0E
    // for the point) or a blank comes between two characters.
    QString decorate(const QString& text) {
        if (!chance(25)) return text;
        QString out;
        for (QChar c : text) {
            if (chance(5)) out += blank();
            if (chance(12) && c.unicode() > 0x20 && c.unicode() < 0x7f) {
                if (c == u'.' && chance(50)) {
                    out += QChar(u'\u3002');
                } else {
                    out += QChar(static_cast<char16_t>(c.unicode() + 0xFEE0));
                }
            } else {
                out += c;
            }
        }
        return out;
    }

    // Characters from everywhere: a fixed palette of other scripts, controls,
    // noncharacters and marks, lone surrogates and a surrogate pair, next to
    // digits, signs, points, commas, letters, exponents and prefixes. The
    // palettes are small on purpose: Qt keeps what it learns about each
    // character it lays out (lone surrogates included) for the rest of the
    // run, and that must be learnt early, not spread over the whole run.
    QString soup() {
        static const char16_t kLoneSurrogates[] = {0xd800, 0xd83d, 0xdbff, 0xdc00, 0xde00, 0xdfff};
        static const char16_t kOthers[] = {
            0x0000, 0x0001, 0x007f, 0x0085, 0x00a0, 0x00b7, 0x00bd, 0x00e9, 0x0301, 0x0391,
            0x0416, 0x05d0, 0x0627, 0x0660, 0x0669, 0x0966, 0x200b, 0x200e, 0x2028, 0x202e,
            0x2007, 0x2212, 0x2460, 0x3001, 0x571f, 0x6c34, 0x8ba1, 0xe000, 0xfeff, 0xfffd,
            0xfffe, 0xffff, 0xff06, 0xff0b, 0xff0c, 0xff0d, 0xff25, 0xff28, 0xff2f, 0xff45};
        QString out;
        const auto tokens = 1 + below(16);
        for (std::uint64_t i = 0; i < tokens; ++i) {
            switch (below(16)) {
                case 0:
                case 1:
                    out += digit_run(1 + below(6));
                    break;
                case 2:
                    out += blank();
                    break;
                case 3:
                    out += chance(50) ? u'+' : u'-';
                    break;
                case 4:
                    out += chance(70) ? u'.' : u',';
                    break;
                case 5:
                    out += QChar(static_cast<char16_t>((chance(50) ? u'a' : u'A') + below(26)));
                    break;
                case 6: {
                    static const char* const kExponents[] = {"E",  "e",  "D",  "d",
                                                             "E+", "e-", "D-", "d+"};
                    out += QString::fromLatin1(pick(kExponents)) +
                           QString::number(chance(20) ? 99999 : below(400));
                    break;
                }
                case 7: {
                    static const char* const kPrefixes[] = {"&H", "&h", "&O", "&o", "&", "&&"};
                    out += QString::fromLatin1(pick(kPrefixes));
                    break;
                }
                case 8:
                    out += QChar(static_cast<char16_t>(0xff10 + below(10)));
                    break;
                case 9:
                    out += QChar(chance(50) ? u'\uff0e' : u'\u3002');
                    break;
                case 10:
                    out += QChar(u'\u3000');
                    break;
                case 11:
                    out += QChar(pick(kLoneSurrogates));
                    break;
                case 12:
                    out += QString::fromUcs4(U"\U0001F600");  // a whole pair
                    break;
                default:
                    out += QChar(pick(kOthers));
                    break;
            }
        }
        return out;
    }

    // A long run of digits, perhaps with a point, a sign or an exponent.
    QString digits(std::uint64_t count, bool decorated) {
        QString out = nonzero_digit() + digit_run(count - 1);
        if (!decorated) return out;
        if (chance(40)) out.insert(static_cast<qsizetype>(below(count)), u'.');
        if (chance(20)) out.prepend(chance(50) ? u'-' : u'+');
        if (chance(20)) out.prepend(QStringLiteral("0.000"));
        if (chance(20)) out += QStringLiteral("E-") + QString::number(below(400));
        return out;
    }

    std::mt19937_64 rng_;
};

// ---------------------------------------------------------------------------
// The texts with every character outside printable ASCII as \uXXXX, for
// messages that reproduce a press.
QString escaped(const QString& text) {
    QString out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7f && u != u'\\' && u != u'"') {
            out += c;
        } else {
            out += QStringLiteral("\\u%1").arg(static_cast<unsigned>(u), 4, 16, QLatin1Char('0'));
        }
    }
    return out;
}

QString describe(const Texts& texts) {
    QStringList parts;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const QString& text = texts[k];
        QString shown = escaped(text.size() > 200 ? text.left(200) : text);
        if (text.size() > 200) {
            shown += QStringLiteral("...(%1 UTF-16 units)").arg(text.size());
        }
        parts << QStringLiteral("%1=\"%2\"").arg(QLatin1String(kBoxes[k]), shown);
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
    Expected expected;
    const auto error = vorlith::compute_indices(
        [&](int k) { return texts.at(static_cast<std::size_t>(k - 1)).toStdU16String(); },
        [&](int j, const std::string& text) {
            expected.fields.at(static_cast<std::size_t>(j - 1)) =
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        });
    if (error) {
        expected.report = QStringLiteral("实时错误 '%1':\n\n%2")
                              .arg(error->number)
                              .arg(QString::fromStdString(error->description));
    }
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

// Dismisses the error report of one press from a zero timer armed just before
// the click: the timer fires in the report's own event loop, as soon as the
// box is up, and is stopped after the click when no report opened. On its way
// out it notes the report's text, caption and buttons and the result fields
// as they stood behind the box.
class ReportDismisser {
public:
    explicit ReportDismisser(std::function<Fields()> read_fields)
        : read_fields_(std::move(read_fields)) {
        timer_.setSingleShot(true);
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] { dismiss(); });
    }

    void arm() {
        reports_ = 0;
        report_.clear();
        caption_.clear();
        buttons_.clear();
        fields_behind_.reset();
        timer_.start();
    }
    void disarm() { timer_.stop(); }

    int reports() const { return reports_; }
    const QString& report() const { return report_; }
    const QString& caption() const { return caption_; }
    const QStringList& buttons() const { return buttons_; }
    const std::optional<Fields>& fields_behind() const { return fields_behind_; }

private:
    void dismiss() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            timer_.start();  // not up yet: look again on the next turn
            return;
        }
        ++reports_;
        report_ = box->text();
        caption_ = box->windowTitle();
        for (QAbstractButton* button : box->buttons()) buttons_ << button->text();
        fields_behind_ = read_fields_();
        if (box->buttons().isEmpty()) {
            box->reject();
        } else {
            box->buttons().front()->click();
        }
    }

    std::function<Fields()> read_fields_;
    QTimer timer_;
    int reports_ = 0;
    QString report_;
    QString caption_;
    QStringList buttons_;
    std::optional<Fields> fields_behind_;
};

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
    QString press_problem(const Texts& texts, const Fields& after,
                          const ReportDismisser& dismisser) const {
        if (!form_->isVisible()) return QStringLiteral("the window is gone");
        if (QApplication::activeModalWidget() != nullptr) {
            return QStringLiteral("a modal box stayed open");
        }
        if (dismisser.reports() > 1) return QStringLiteral("%1 reports").arg(dismisser.reports());
        for (std::size_t k = 0; k < texts.size(); ++k) {
            if (boxes_[k]->text() != texts[k]) {
                return QStringLiteral("%1 now holds \"%2\"")
                    .arg(QLatin1String(kBoxes[k]), escaped(boxes_[k]->text()));
            }
        }
        const bool reported = dismisser.reports() == 1;
        if (QString problem = fields_problem(after, reported); !problem.isEmpty()) return problem;

        const Expected expected = calculate(texts);
        if (after != expected.fields) {
            return QStringLiteral("the calculation gives %1").arg(describe(expected.fields));
        }
        if (dismisser.report() != expected.report) {
            return QStringLiteral("report \"%1\", the calculation's \"%2\"")
                .arg(dismisser.report(), expected.report);
        }
        if (reported) {
            if (dismisser.caption() != QLatin1String("Vorlith") ||
                dismisser.buttons().size() != 1) {
                return QStringLiteral("report box \"%1\" with buttons %2")
                    .arg(dismisser.caption(), dismisser.buttons().join(u','));
            }
            // Behind the box the fields already stood as they are now.
            if (dismisser.fields_behind() != after) {
                return QStringLiteral("behind the report: %1")
                    .arg(describe(dismisser.fields_behind().value_or(Fields{})));
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
        bool ok = true;
        int presses = kDefaultPresses;
        if (qEnvironmentVariableIsSet("VORLITH_LONG_RUN_PRESSES")) {
            presses = qEnvironmentVariableIntValue("VORLITH_LONG_RUN_PRESSES", &ok);
            QVERIFY2(ok && presses > 0, "VORLITH_LONG_RUN_PRESSES must be a positive number");
        }
        std::uint64_t seed = kDefaultSeed;
        if (qEnvironmentVariableIsSet("VORLITH_LONG_RUN_SEED")) {
            seed = qgetenv("VORLITH_LONG_RUN_SEED").toULongLong(&ok, 0);
            QVERIFY2(ok, "VORLITH_LONG_RUN_SEED must be a number");
        }
        qInfo("%d presses, seed %llu", presses, static_cast<unsigned long long>(seed));

        TextGenerator generator(seed);
        ReportDismisser dismisser([this] { return fields(); });
        int reported_presses = 0;
        int division_reports = 0;
        int overflow_reports = 0;
        std::array<int, 8> emptied_from{};  // failing presses by first emptied field
        long early_kib = -1;

        for (int press = 1; press <= presses; ++press) {
            Texts texts;
            for (std::size_t k = 0; k < texts.size(); ++k) {
                texts[k] = generator.next();
                boxes_[k]->setText(texts[k]);
            }
            dismisser.arm();
            QTest::mouseClick(command1_, Qt::LeftButton);
            dismisser.disarm();
            QCoreApplication::processEvents();

            const Fields after = fields();
            const QString problem = press_problem(texts, after, dismisser);
            if (!problem.isEmpty()) {
                QFAIL(qPrintable(QStringLiteral("press %1: %2\n  fields: %3\n  boxes: %4")
                                     .arg(press)
                                     .arg(problem, describe(after), describe(texts))));
            }
            if (dismisser.reports() == 1) {
                ++reported_presses;
                if (dismisser.report() == kDivisionByZeroReport) ++division_reports;
                if (dismisser.report() == kOverflowReport) ++overflow_reports;
                const auto first_empty = std::find_if(after.begin(), after.end(),
                                                      [](const QString& t) { return t.isEmpty(); });
                ++emptied_from.at(static_cast<std::size_t>(first_empty - after.begin()));
            }

#ifdef __linux__
            if (press == kWarmUpPresses) early_kib = resident_kib();
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
        if (presses >= kWarmUpPresses) {
            qInfo("VmRSS after %d presses: %ld KiB; after %d presses: %ld KiB", kWarmUpPresses,
                  early_kib, presses, late_kib);
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
                                        .arg(kWarmUpPresses)
                                        .arg(presses)));
            }
        }
#endif
    }
};

QTEST_MAIN(LongRunTest)
#include "long_run_test.moc"
