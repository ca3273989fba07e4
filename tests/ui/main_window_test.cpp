// Form1 on real widgets, offscreen: names, texts, tooltips, layout, fonts,
// focus, and the Calculate command with its error report; its other forms,
// the working window and the lab dialog.
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <functional>
#include <memory>
#include <span>

#include "support/form1.h"
#include "support/form1_expected.h"
#include "support/form_test.h"
#include "support/modal_watcher.h"
#include "ui/program.h"

using vorlith::testing::ModalWatcher;

namespace {

using vorlith::testing::kBoxes;
using vorlith::testing::kResults;

QStringList qt_texts(std::span<const char* const> texts) {
    QStringList list;
    for (const char* text : texts) list << QString::fromUtf8(text);
    return list;
}
const QStringList kSampleResults = qt_texts(vorlith::testing::kSampleResults);

int px(int twips) {
    return twips / 15;
}

}  // namespace

class MainWindowTest : public vorlith::testing::FormTest {
    Q_OBJECT

public:
    MainWindowTest() : FormTest(vorlith::testing::show_form1) {}

private:
    QLineEdit* box(int k) const { return find<QLineEdit>(kBoxes[k - 1]); }
    QPushButton* command1() const { return find<QPushButton>("Command1"); }
    QStringList results() const {
        QStringList texts;
        for (const char* name : kResults) texts << find<QLabel>(name)->text();
        return texts;
    }
    QStringList inputs() const {
        QStringList texts;
        for (const char* name : kBoxes) texts << find<QLineEdit>(name)->text();
        return texts;
    }

    QStringList working_lines() const {
        return find<QPlainTextEdit>("WorkingText")->toPlainText().split('\n');
    }
    // Opens FormLab with 工具 > 由试验数据填入 and runs `act` while it is
    // shown, in its loop; returns when it is hidden (5 s at the latest).
    void with_lab(const std::function<void(QDialog*)>& act) {
        QTimer::singleShot(0, form_.get(), [&] {
            QDialog* lab = nullptr;
            const auto shown = [&] {
                lab = find<QDialog>("FormLab");
                return lab != nullptr && QApplication::focusWidget() != nullptr &&
                       QApplication::focusWidget()->window() == lab;
            };
            if (QTest::qWaitFor(shown)) act(lab);
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, form_.get(),
                         [this] { find<QDialog>("FormLab")->hide(); });
        guard.start(5000);
        form_->findChild<QAction*>(QStringLiteral("LAB"))->trigger();
        QVERIFY2(guard.isActive(), "FormLab stayed open");
    }
    // Each other form opened by its menu item and closed by its close
    // control once it has the focus; none exists before.
    void open_other_forms() {
        for (const auto& other : vorlith::testing::kOtherForms) {
            QVERIFY2(find<QDialog>(other.name) == nullptr, other.name);
            QTimer::singleShot(0, form_.get(), [&other] {
                const auto focused = [&other] {
                    QWidget* focus = QApplication::focusWidget();
                    return focus != nullptr && focus->window()->objectName() == other.name;
                };
                if (QTest::qWaitFor(focused)) QApplication::focusWidget()->window()->close();
            });
            form_->findChild<QAction*>(QString::fromLatin1(other.menu))->trigger();
            QTRY_VERIFY(!find<QDialog>(other.name)->isVisible());
        }
    }

private slots:
    void windowIsForm1WithTitleAndFixedClientArea() {
        QCOMPARE(form_->objectName(), QStringLiteral("Form1"));
        QCOMPARE(form_->windowTitle(), QStringLiteral("Vorlith"));
        auto* window = qobject_cast<QMainWindow*>(form_.get());
        QVERIFY(window != nullptr);
        QCOMPARE(window->centralWidget()->size(), QSize(747, 200));
        QCOMPARE(window->centralWidget()->y(), window->menuBar()->height());
        QCOMPARE(form_->minimumSize(), form_->maximumSize());
        QVERIFY(!form_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!form_->windowIcon().isNull());
        QVERIFY(form_->windowIcon().availableSizes().contains(QSize(16, 16)));
        QVERIFY(form_->windowIcon().availableSizes().contains(QSize(32, 32)));
    }

    // vorlith.ico (the executable's icon on Windows) holds 16 and 32 pixel
    // images in 16 and in 256 colours, with the window icon's pixels.
    void iconFileHoldsFourImagesWithTheWindowIconsPixels() {
        const QString path = QStringLiteral(VORLITH_ASSETS_DIR "/vorlith.ico");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.size() > 6 + 4 * 16);
        QStringList entries;  // from the directory: size and bits per pixel
        for (int i = 0; i < 4; ++i) {
            const char* entry = bytes.constData() + 6 + 16 * i;
            entries << QStringLiteral("%1@%2")
                           .arg(static_cast<uchar>(entry[0]))
                           .arg(static_cast<uchar>(entry[6]));
        }
        entries.sort();
        QCOMPARE(entries, (QStringList{"16@4", "16@8", "32@4", "32@8"}));
        QImageReader reader(path);
        QCOMPARE(reader.imageCount(), 4);
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
            const QImage shown = form_->windowIcon().pixmap(image.size()).toImage();
            QCOMPARE(image.convertToFormat(QImage::Format_ARGB32),
                     shown.convertToFormat(QImage::Format_ARGB32));
        }
    }

    void controlsHaveTheirNamesKindsAndTexts_data() {
        vorlith::testing::add_text_rows(vorlith::testing::kForm1Texts, "name", "text");
    }
    void controlsHaveTheirNamesKindsAndTexts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QWidget* control = form_->findChild<QWidget*>(name);
        QVERIFY2(control != nullptr, qPrintable(name));
        if (name.startsWith(QLatin1String("Text"))) {
            auto* edit = qobject_cast<QLineEdit*>(control);
            QVERIFY(edit != nullptr);
            QCOMPARE(edit->text(), text);
            QCOMPARE(edit->maxLength(), std::numeric_limits<int>::max());
            QVERIFY(edit->validator() == nullptr);
            QVERIFY(edit->inputMask().isEmpty());
        } else if (name == QLatin1String("Command1")) {
            auto* button = qobject_cast<QPushButton*>(control);
            QVERIFY(button != nullptr);
            QCOMPARE(button->text(), text);
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        } else {
            auto* label = qobject_cast<QLabel*>(control);
            QVERIFY(label != nullptr);
            QCOMPARE(label->text(), text);
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        }
    }

    void labelsAndResultFieldsCarryTheirRowsTooltip_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("tooltip");
        for (const auto& row : vorlith::testing::kRowTooltips) {
            QTest::newRow(row.symbol)
                << QStringList{row.symbol, row.value} << QString::fromUtf8(row.tooltip);
        }
    }
    void labelsAndResultFieldsCarryTheirRowsTooltip() {
        QFETCH(QStringList, names);
        QFETCH(QString, tooltip);
        auto* symbol = form_->findChild<QLabel*>(names[0]);
        QWidget* value = form_->findChild<QWidget*>(names[1]);
        QCOMPARE(symbol->toolTip(), tooltip);
        // An input box has no tooltip; a result field carries it.
        if (qobject_cast<QLineEdit*>(value) != nullptr) {
            QVERIFY(value->toolTip().isEmpty());
        } else {
            QCOMPARE(value->toolTip(), tooltip);
        }
    }

    // What a screen reader says after a press of 计算: each box by the
    // caption beside it and its quantity, described by its unit; each
    // result field by its value, described by its quantity and unit; the
    // button by its caption.
    void screenReaderReadsBoxesFieldsAndButton_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("description");
        std::size_t result = 0;
        for (const auto& reading : vorlith::testing::kScreenReadings) {
            const QString spoken = reading.name != nullptr
                                       ? QString::fromUtf8(reading.name)
                                       : kSampleResults.at(static_cast<qsizetype>(result++));
            QTest::newRow(reading.control)
                << reading.control << spoken << QString::fromUtf8(reading.description);
        }
        QTest::newRow("Command1") << "Command1"
                                  << "计算"
                                  << "";
    }
    void screenReaderReadsBoxesFieldsAndButton() {
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        QFETCH(QString, description);
        command1()->click();
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(form_->findChild<QWidget*>(name));
        QVERIFY(accessible != nullptr);
        QCOMPARE(accessible->text(QAccessible::Name), spoken);
        QCOMPARE(accessible->text(QAccessible::Description), description);
    }

    // The unit and range labels and the button; with the rows' tooltips the
    // fixture names every control once.
    void unitLabelsAndButtonHaveNoTooltip() {
        QStringList named;
        for (const auto& row : vorlith::testing::kRowTooltips) named << row.symbol << row.value;
        for (const char* name : vorlith::testing::kUntipped) {
            auto* control = find<QWidget>(name);
            QVERIFY2(control != nullptr && control->toolTip().isEmpty(), name);
            named << name;
        }
        QStringList controls;  // every control the form shows
        QWidget* client = qobject_cast<QMainWindow*>(form_.get())->centralWidget();
        for (QWidget* control : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->isVisible()) controls << control->objectName();
        }
        named.sort();
        controls.sort();
        QCOMPARE(named, controls);
    }

    // The notice that screen readers speak after 计算 is for them alone: the
    // form looks the same with it shown as without it. (No caret blinks:
    // the focus is on the button.)
    void resultsNoticeShowsNothing() {
        command1()->setFocus();
        command1()->click();
        auto* notice = find<QWidget>("ResultsNotice");
        QVERIFY(notice != nullptr && notice->isVisible());
        const QImage with_notice = form_->grab().toImage();
        notice->hide();
        QCOMPARE(form_->grab().toImage(), with_notice);
    }

    void layoutRowsAlignAndNothingOverlaps() {
        QList<QWidget*> placed;  // every control of the table, none missing
        for (const auto& control : vorlith::testing::kForm1Texts) {
            placed << find<QWidget>(control.name);
            QVERIFY2(placed.back() != nullptr, control.name);
        }
        // A caption may reach under the control to its right, as the layout
        // has it; its ink must stop short of it. Nothing else overlaps.
        auto ink_right = [](QWidget* control) {
            auto* label = qobject_cast<QLabel*>(control);
            return control->x() + QFontMetrics(label->font()).boundingRect(label->text()).right();
        };
        auto is_caption = [](QWidget* control) {
            auto* label = qobject_cast<QLabel*>(control);
            return label != nullptr && label->frameShape() == QFrame::NoFrame;
        };
        for (int a = 0; a < placed.size(); ++a) {
            for (int b = a + 1; b < placed.size(); ++b) {
                QWidget* first = placed[a];
                QWidget* second = placed[b];
                if (!first->geometry().intersects(second->geometry())) continue;
                if (second->x() < first->x()) std::swap(first, second);
                QVERIFY2(is_caption(first) && ink_right(first) < second->x(),
                         qPrintable(first->objectName() + " overlaps " + second->objectName()));
            }
        }
        // The controls of a row share their top; rows are 360 twips apart.
        for (int k = 1; k <= 7; ++k) {
            const int top = px(120 + 360 * (k - 1));
            QCOMPARE(box(k)->y(), top);
            QCOMPARE(find<QWidget>(qPrintable(QStringLiteral("Label%1").arg(2 * k - 1)))->y(), top);
            QCOMPARE(find<QWidget>(qPrintable(QStringLiteral("Label%1").arg(2 * k)))->y(), top);
        }
        for (int j = 0; j < 8; ++j) {
            QLabel* field = find<QLabel>(kResults[j]);
            QCOMPARE(field->y(), px(120 + 360 * j));
            QCOMPARE(field->x() + field->width(), px(6495));  // fields end at 6495 twips
            QCOMPARE(field->frameShape(), QFrame::Panel);
            QCOMPARE(field->frameShadow(), QFrame::Sunken);
            QVERIFY(field->alignment().testFlag(Qt::AlignLeft));
        }
        QCOMPARE(command1()->geometry().bottom(), find<QLabel>("Label36")->geometry().bottom());
        QCOMPARE(command1()->y(), box(1)->y());
    }

    // A caption fits when its ink lies inside its control (a full-width colon
    // ends in blank space that may be cut) and its lines fit the row's height.
    void everyCaptionFitsItsControlAndTheClientArea() {
        const int client_width = qobject_cast<QMainWindow*>(form_.get())->centralWidget()->width();
        auto check = [&](QWidget* control, const QString& text, const QRect& room) {
            const QFontMetrics metrics(control->font());
            QVERIFY2(metrics.height() <= room.height(), qPrintable(control->objectName()));
            const QRect ink = metrics.boundingRect(text);
            // The row-3 range label runs past the client area: its text must not.
            const int visible = std::min(room.right(), client_width - 1 - control->x() - room.x());
            QVERIFY2(ink.x() >= 0 && ink.right() <= visible,
                     qPrintable(QStringLiteral("%1: ink ends at %2, room at %3")
                                    .arg(control->objectName())
                                    .arg(ink.right())
                                    .arg(visible)));
        };
        for (QLabel* label : form_->findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) check(label, label->text(), label->contentsRect());
        }
        // The widest text Str writes for an exponent below 100 fits the
        // narrowest result field.
        QLabel* narrow = find<QLabel>("Label28");
        check(narrow, QStringLiteral("-8.88888888888888E+88"), narrow->contentsRect());
        check(command1(), command1()->text(), command1()->rect());
    }

    void focusStartsInText1AndTabCycles() {
        QCOMPARE(QApplication::focusWidget(), box(1));
        command1()->click();  // the results notice, now shown, takes no focus
        QStringList order;
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, qt_texts(vorlith::testing::kTabCycle));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), command1());
    }

    void enterInABoxCalculatesNothing() {
        ModalWatcher watcher;
        for (int k = 1; k <= 7; ++k) {
            QTest::keyClick(box(k), Qt::Key_Return);
            QTest::keyClick(box(k), Qt::Key_Enter);
        }
        QCOMPARE(results(), QStringList(8, QString()));
        QVERIFY(watcher.seen().empty());
    }

    void oneClickGivesTheEightSampleTexts() {
        ModalWatcher watcher;
        QTest::mouseClick(command1(), Qt::LeftButton);
        QCOMPARE(results(), kSampleResults);
        for (const char* name : kResults) find<QLabel>(name)->clear();
        QTest::keyClick(command1(), Qt::Key_Space);  // the keyboard presses it too
        QCOMPARE(results(), kSampleResults);
        QVERIFY(watcher.seen().empty());
    }

    void failingRunReportsEmptiesFromTheFailingIndexAndGoesOn_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("shown");  // fields written before the failure
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("mended");
        for (const auto& run : vorlith::testing::kFailingRuns) {
            QTest::newRow(run.name)
                << run.k << QString::fromUtf8(run.typed) << run.shown
                << QString::fromUtf8(run.report) << QString::fromUtf8(run.mended);
        }
    }
    void failingRunReportsEmptiesFromTheFailingIndexAndGoesOn() {
        QFETCH(int, k);
        QFETCH(QString, typed);
        QFETCH(int, shown);
        QFETCH(QString, report);
        QFETCH(QString, mended);
        ModalWatcher watcher;
        QTest::mouseClick(command1(), Qt::LeftButton);  // stale results of an earlier run
        box(k)->clear();
        QTest::keyClicks(box(k), typed);
        const QStringList typed_inputs = inputs();
        QTest::mouseClick(command1(), Qt::LeftButton);
        QTRY_COMPARE(watcher.seen().size(), 1u);
        QCOMPARE(watcher.seen().front().text, report);
        QCOMPARE(watcher.seen().front().title, QStringLiteral("Vorlith"));
        QCOMPARE(watcher.seen().front().buttons, QStringList{QStringLiteral("确定")});
        QCOMPARE(results().mid(shown), QStringList(8 - shown, QString()));
        for (int j = 0; j < shown; ++j) QCOMPARE(results()[j], kSampleResults[j]);
        QCOMPARE(inputs(), typed_inputs);
        // The program goes on: mend the box and calculate again.
        QVERIFY(form_->isVisible());
        box(k)->setText(mended);
        QTest::mouseClick(command1(), Qt::LeftButton);
        QCOMPARE(results(), kSampleResults);
        QCOMPARE(watcher.seen().size(), 1u);
    }
    // The other forms: dialog windows owned by Form1, hidden once closed.
    void otherFormsAreHiddenWindowsOwnedByForm1() {
        open_other_forms();
        for (const auto& other : vorlith::testing::kOtherForms) {
            auto* window = find<QDialog>(other.name);
            QVERIFY2(window != nullptr && window->isWindow() && !window->isVisible(), other.name);
            QCOMPARE(window->parentWidget(), form_.get());
            QCOMPARE(window->windowTitle(), QString::fromUtf8(other.caption));
            QCOMPARE(window->size(), QSize(px(other.width), px(other.height)));
            QCOMPARE(window->minimumSize(), window->maximumSize());
        }
    }

    void otherControlsHaveTheirKindsPlacesTextsAndNames_data() {
        QTest::addColumn<int>("i");
        for (int i = 0; const auto& control : vorlith::testing::kOtherControls)
            QTest::newRow(control.name) << i++;
    }
    void otherControlsHaveTheirKindsPlacesTextsAndNames() {
        QFETCH(int, i);
        const auto& row = vorlith::testing::kOtherControls[i];
        open_other_forms();
        QWidget* control = find<QWidget>(row.name);
        QVERIFY(control != nullptr);
        QCOMPARE(control->window()->objectName(), QString::fromLatin1(row.form));
        QCOMPARE(control->geometry(),
                 QRect(px(row.left), px(row.top), px(row.width), px(row.height)));
        QCOMPARE(control->toolTip(), QString::fromUtf8(row.tooltip));
        const QString kind = QString::fromLatin1(row.kind);
        const QString text = QString::fromUtf8(row.text);
        if (kind == "TextView") {
            auto* view = qobject_cast<QPlainTextEdit*>(control);
            QVERIFY(view != nullptr && view->isReadOnly() && view->tabChangesFocus());
            QVERIFY(view->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        } else if (kind == "Drawing") {
            QCOMPARE(control->focusPolicy(), Qt::NoFocus);
            QCOMPARE(QAccessible::queryAccessibleInterface(control)->role(), QAccessible::Graphic);
        } else if (kind == "Option") {
            auto* option = qobject_cast<QRadioButton*>(control);
            QVERIFY(option != nullptr);
            QCOMPARE(option->text(), text);
            QCOMPARE(option->isChecked(), QLatin1String(row.name) == "Gravity981");
        } else if (kind.endsWith("Button")) {
            auto* button = qobject_cast<QPushButton*>(control);
            QVERIFY(button != nullptr);
            QCOMPARE(button->text(), text);
            QCOMPARE(button->isDefault(), kind == "DefaultButton");
        } else if (kind == "Input") {
            QCOMPARE(qobject_cast<QLineEdit*>(control)->text(), text);
            // Shown whole inside the frame and the margin, 2 px each side.
            QVERIFY(control->fontMetrics().horizontalAdvance(text) <= control->width() - 8);
        } else {
            QCOMPARE(qobject_cast<QLabel*>(control)->text(), text);
            // Its ink stops 2 px short of the control after it.
            QVERIFY(control->fontMetrics().boundingRect(text).right() < control->width() - 2);
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        QCOMPARE(accessible->text(QAccessible::Name), QString::fromUtf8(row.accessible_name));
        if (row.description != nullptr)
            QCOMPARE(accessible->text(QAccessible::Description),
                     QString::fromUtf8(row.description));
    }

    // 计算过程 shows the working and the diagram of what the boxes hold, and
    // follows 计算 and the choice of g; 关闭 and Escape hide it.
    void workingWindowFollowsCalculateAndG() {
        ModalWatcher watcher;
        form_->findChild<QAction*>(QStringLiteral("WORKING"))->trigger();
        auto* working = find<QDialog>("FormWorking");
        QVERIFY(working->isVisible() && !working->isModal());
        QCOMPARE(working->windowHandle()->transientParent(), form_->windowHandle());
        QTRY_COMPARE(QApplication::focusWidget(), find<QWidget>("WorkingText"));
        QStringList lines = working_lines();
        QCOMPARE(lines.mid(0, 5), qt_texts(vorlith::testing::kWorkingFirstLines));
        QCOMPARE(lines.mid(lines.size() - 5, 4), qt_texts(vorlith::testing::kWorkingNotes));
        QCOMPARE(QAccessible::queryAccessibleInterface(find<QWidget>("Diagram"))
                     ->text(QAccessible::Description),
                 QString::fromUtf8(vorlith::testing::kDiagramAlternative));
        // To scale: over the solids (Vs = 80) the water (Vw = 10) stands an
        // eighth as high. Read up a column clear of the labels.
        const QImage diagram = find<QWidget>("Diagram")->grab().toImage();
        QList<int> runs;  // rows of one colour, bottom up
        for (int y = diagram.height() - 2; y > 0; --y) {
            if (runs.isEmpty() || diagram.pixel(3, y) != diagram.pixel(3, y + 1)) runs << 0;
            ++runs.last();
        }
        QVERIFY(runs.size() >= 4);
        QVERIFY2(runs[0] >= 7 * runs[2] && runs[0] <= 9 * runs[2],
                 qPrintable(QString::number(runs[0]) + "/" + QString::number(runs[2])));
        for (const auto& [option, line] : vorlith::testing::kGravityLines) {
            QTest::mouseClick(find<QRadioButton>(option), Qt::LeftButton);
            for (const auto& [other, other_line] : vorlith::testing::kGravityLines)
                QCOMPARE(working_lines().contains(QString::fromUtf8(other_line)), option == other);
        }
        box(5)->setText(QStringLiteral("404"));
        QVERIFY(!working_lines().contains(QStringLiteral("\t= 404/97")));
        command1()->click();
        QVERIFY(working_lines().contains(QStringLiteral("\t= 404/97")));
        QTest::mouseClick(find<QPushButton>("WorkingClose"), Qt::LeftButton);
        QVERIFY(!working->isVisible());
        form_->findChild<QAction*>(QStringLiteral("WORKING"))->trigger();
        QTRY_COMPARE(QApplication::focusWidget(), find<QWidget>("WorkingText"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!working->isVisible());
        QVERIFY(watcher.seen().empty());
    }

    // 复制 puts the working's lines on the clipboard; each "=" of a formula
    // stands under the first, one tab stop (900 twips) from the line's start.
    void workingCopiesItsLinesWithTheEqualsAligned() {
        form_->findChild<QAction*>(QStringLiteral("WORKING"))->trigger();
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(find<QPushButton>("WorkingCopy"), Qt::LeftButton);
        const QStringList copied = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(copied.mid(0, 5), qt_texts(vorlith::testing::kWorkingFirstLines));
        QCOMPARE(copied.mid(copied.size() - 5, 4), qt_texts(vorlith::testing::kWorkingNotes));
        auto* view = find<QPlainTextEdit>("WorkingText");
        QTextCursor cursor(view->document());
        int aligned = 0;
        while (!(cursor = view->document()->find(QStringLiteral("\t="), cursor)).isNull()) {
            QTextCursor line_start(cursor);
            line_start.movePosition(QTextCursor::StartOfBlock);
            QTextCursor equals(cursor);
            equals.setPosition(cursor.selectionEnd() - 1);
            QCOMPARE(view->cursorRect(equals).left() - view->cursorRect(line_start).left(), 60);
            ++aligned;
        }
        QVERIFY2(aligned > 30, qPrintable(QString::number(aligned)));
    }

    // 打印… offers the print dialog: printed to a PDF file there, the working
    // is written on A4 under its title; cancelled, nothing is.
    void workingPrintsThroughTheDialog() {
        form_->findChild<QAction*>(QStringLiteral("WORKING"))->trigger();
        const QString file = QDir::temp().filePath(QStringLiteral("vorlith-working-print.pdf"));
        for (const bool accepted : {false, true}) {
            QFile::remove(file);
            QTimer::singleShot(0, form_.get(), [&] {
                QTRY_VERIFY(qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()));
                auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
                auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
                printers->setCurrentIndex(printers->count() - 1);  // Print to File (PDF)
                dialog->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(file);
                accepted ? dialog->accept() : dialog->reject();
            });
            QTest::mouseClick(find<QPushButton>("WorkingPrint"), Qt::LeftButton);
            QCOMPARE(QFile::exists(file), accepted);
        }
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray written = pdf.readAll();
        QVERIFY(written.startsWith("%PDF"));
        QVERIFY(written.contains("/MediaBox [0 0 595.000000 842.000000]"));  // A4 in points
        QVERIFY(written.contains(QByteArray("/Title (\xFE\xFF\x8B\xA1\x7B\x97\x8F\xC7\x7A\x0B)")));
        QFile::remove(file);
    }

    // 物理状态指标: a cone typed on an exact power law, then 计算.
    void stateWindowWorksOutTheConeByHand() {
        form_->findChild<QAction*>(QStringLiteral("STATE"))->trigger();
        auto* state = find<QDialog>("FormState");
        QVERIFY(state->isVisible() && !state->isModal());
        const char* boxes[] = {"StateH1", "StateW1", "StateH2", "StateW2", "StateH3", "StateW3"};
        for (std::size_t i = 0; i < std::size(boxes); ++i)
            find<QLineEdit>(boxes[i])->setText(QString::fromUtf8(vorlith::testing::kStateCone[i]));
        find<QLineEdit>("StateWater")->setText(QString::fromUtf8(vorlith::testing::kStateWater));
        QTest::mouseClick(find<QPushButton>("StateWork"), Qt::LeftButton);
        const QStringList lines = find<QPlainTextEdit>("StateText")->toPlainText().split('\n');
        const QStringList first = qt_texts(vorlith::testing::kStateFirstLines);
        QCOMPARE(lines.mid(0, first.size()), first);
        QTest::mouseClick(find<QPushButton>("StateCopy"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text().split('\n').mid(0, first.size()), first);
        QCOMPARE(QAccessible::queryAccessibleInterface(find<QWidget>("PlasticityChart"))
                     ->text(QAccessible::Description),
                 QString::fromUtf8(vorlith::testing::kStateChartAlternative));
        state->close();
    }
    void otherFormsFocusTheirFirstControlAndTabCycles() {
        auto cycle = [](int count) {
            QStringList order{QApplication::focusWidget()->objectName()};
            for (int i = 1; i < count; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                order << QApplication::focusWidget()->objectName();
            }
            return order;
        };
        form_->findChild<QAction*>(QStringLiteral("WORKING"))->trigger();
        QTRY_COMPARE(QApplication::focusWidget()->window(), find<QWidget>("FormWorking"));
        QCOMPARE(cycle(std::size(vorlith::testing::kWorkingTabCycle)),
                 qt_texts(vorlith::testing::kWorkingTabCycle));
        QStringList lab_order;
        with_lab([&](QDialog* lab) {
            lab_order = cycle(std::size(vorlith::testing::kLabTabCycle));
            QTest::keyClick(lab, Qt::Key_Escape);
        });
        QCOMPARE(lab_order, qt_texts(vorlith::testing::kLabTabCycle));
        form_->findChild<QAction*>(QStringLiteral("GIVEN"))->trigger();
        QTRY_COMPARE(QApplication::focusWidget(), find<QWidget>("GivenText1"));
        QCOMPARE(cycle(std::size(vorlith::testing::kGivenTabCycle)),
                 qt_texts(vorlith::testing::kGivenTabCycle));
    }

    // 换算 (Enter) shows the results of the three typed values, or why they
    // give no soil; 填入 then writes the soil for V = 1 cm³ and closes, or
    // leaves Form1's boxes as they were.
    void givenConvertsThenFills() {
        for (const auto& run : vorlith::testing::kGivenRuns) {
            const QStringList before = inputs();
            form_->findChild<QAction*>(QStringLiteral("GIVEN"))->trigger();
            for (auto* box : find<QDialog>("FormGiven")->findChildren<QLineEdit*>()) box->clear();
            for (const auto& [name, text] : run.typed)
                QTest::keyClicks(find<QLineEdit>(name), text);
            QTest::keyClick(find<QLineEdit>(run.typed[2].name), Qt::Key_Return);
            const QString shown = find<QPlainTextEdit>("GivenResults")->toPlainText();
            QVERIFY2(shown.startsWith(QString::fromUtf8(run.first_lines)), qPrintable(shown));
            QTest::mouseClick(find<QPushButton>("GivenCopy"), Qt::LeftButton);
            QCOMPARE(QGuiApplication::clipboard()->text(), shown);
            QCOMPARE(inputs(), before);
            QTest::mouseClick(find<QPushButton>("GivenFill"), Qt::LeftButton);
            QCOMPARE(find<QDialog>("FormGiven")->isVisible(), run.boxes[0] == nullptr);
            QCOMPARE(inputs(), run.boxes[0] == nullptr ? before : qt_texts(run.boxes));
        }
    }

    // 填入 (Enter) writes the seven quantities into Text1..Text7 and closes;
    // ds = 0 reports error 11, writes nothing, and the dialog stays.
    void labFillsTheBoxesOrReports_data() {
        QTest::addColumn<int>("i");
        for (int i = 0; const auto& run : vorlith::testing::kLabRuns)
            QTest::newRow(run.name) << i++;
    }
    void labFillsTheBoxesOrReports() {
        QFETCH(int, i);
        const auto& run = vorlith::testing::kLabRuns[i];
        // Watching from Enter on, for one box: FormLab is modal too, and the
        // watcher would take it for the box while it opens or the box closes.
        ModalWatcher* self = nullptr;
        ModalWatcher watcher(5, [&self] { self->stop(); });
        self = &watcher;
        watcher.stop();
        const QStringList before = inputs();
        bool stayed = false;
        with_lab([&](QDialog* lab) {
            watcher.start();
            for (int k = 0; k < int(std::size(run.typed)); ++k) {
                auto* lab_box = lab->findChild<QLineEdit*>(QStringLiteral("LabText%1").arg(k + 1));
                lab_box->setText(QString());
                QTest::keyClicks(lab_box, QString::fromUtf8(run.typed[k]));
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            stayed = lab->isVisible();
            if (stayed) QTest::mouseClick(find<QPushButton>("LabCancel"), Qt::LeftButton);
        });
        QCOMPARE(stayed, run.report != nullptr);
        QCOMPARE(inputs(), run.report != nullptr ? before : qt_texts(run.boxes));
        QCOMPARE(watcher.seen().size(), run.report != nullptr ? 1u : 0u);
        if (run.report != nullptr) {
            QCOMPARE(watcher.seen().front().text, QString::fromUtf8(run.report));
            QCOMPARE(watcher.seen().front().parent, find<QDialog>("FormLab"));
        }
        command1()->click();  // the program goes on
        QCOMPARE(results().size(), 8);
        QVERIFY(!results().front().isEmpty());
    }

    // Escape and 取消 close the dialog and write nothing.
    void labCancelWritesNothing() {
        const QStringList before = inputs();
        enum class Way { Escape, Cancel, CloseControl };
        for (const Way way : {Way::Escape, Way::Cancel, Way::CloseControl}) {
            QString typed;
            with_lab([&](QDialog* lab) {
                // What was typed before is selected: typing replaces it.
                QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("60"));
                typed = qobject_cast<QLineEdit*>(QApplication::focusWidget())->text();
                QVERIFY(QAccessible::queryAccessibleInterface(lab)->state().modal);
                if (way == Way::Escape) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                } else if (way == Way::Cancel) {
                    QTest::mouseClick(lab->findChild<QPushButton*>("LabCancel"), Qt::LeftButton);
                } else {
                    lab->close();
                }
            });
            QCOMPARE(typed, QStringLiteral("60"));
            QCOMPARE(inputs(), before);
        }
    }

    // 复制 right after typing, before 计算, copies the sheet of what was
    // typed (one ring of 60 cm³), as the view then shows it.
    void labCopiesTheSheetOfWhatWasTyped() {
        QString copied, shown;
        with_lab([&](QDialog* lab) {
            const auto& run = vorlith::testing::kLabRuns[0];
            for (int k = 0; k < int(std::size(run.typed)); ++k) {
                lab->findChild<QLineEdit*>(QStringLiteral("LabText%1").arg(k + 1))
                    ->setText(QString::fromUtf8(run.typed[k]));
            }
            QTest::mouseClick(find<QPushButton>("LabCopy"), Qt::LeftButton);
            copied = QGuiApplication::clipboard()->text();
            shown = find<QPlainTextEdit>("LabSheet")->toPlainText();
            QTest::keyClick(lab, Qt::Key_Escape);
        });
        QCOMPARE(copied, shown);
        QVERIFY2(copied.contains(QStringLiteral("V = 60 cm³（环刀容积的平均值）")),
                 qPrintable(copied));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
