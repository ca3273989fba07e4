// The run-time's Qt operations on real widgets, offscreen.
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "runtime/controls.h"
#include "runtime/message_box.h"
#include "runtime/program.h"
#include "runtime/runtime_error.h"
#include "support/modal_watcher.h"

using vorlith::testing::ModalWatcher;

class RuntimeQtTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        vorlith::install_run_time(
            {.title = QStringLiteral("Vorlith"), .locale_id = 2052, .create_main_window = {}});
    }

    void messageBoxHasTitleTextOneOkButtonAndNoIcon() {
        ModalWatcher watcher;
        vorlith::MsgBox(QStringLiteral("本程序 <b>不是</b> 富文本"));
        QCOMPARE(watcher.seen().size(), 1u);
        const auto& box = watcher.seen().front();
        QCOMPARE(box.title, QStringLiteral("Vorlith"));
        QCOMPARE(box.text, QStringLiteral("本程序 <b>不是</b> 富文本"));
        QCOMPARE(box.buttons, QStringList{QStringLiteral("确定")});
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QVERIFY(box.application_modal);
    }

    void reportTextGivesNumberBlankLineAndDescription_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("division by zero") << 11 << QStringLiteral("实时错误 '11':\n\n除数为零");
        QTest::newRow("overflow") << 6 << QStringLiteral("实时错误 '6':\n\n溢出");
    }
    void reportTextGivesNumberBlankLineAndDescription() {
        QFETCH(int, number);
        QFETCH(QString, text);
        const auto error = vorlith::make_error(static_cast<vorlith::ErrorNumber>(number));
        QCOMPARE(vorlith::unhandled_error_text(error), text);
    }

    void errorLeavingAHandlerIsReportedAndTheLoopGoesOn() {
        QPushButton button;
        int runs = 0;
        vorlith::on_click(&button, [&] {
            ++runs;
            vorlith::raise(vorlith::ErrorNumber::DivisionByZero);
        });
        ModalWatcher watcher;
        QEventLoop loop;
        int loop_turns_after_report = 0;
        QTimer::singleShot(0, &button, [&] { button.click(); });
        QTimer::singleShot(50, &loop, [&] {
            ++loop_turns_after_report;
            button.click();  // the handler still runs after a report
            loop.exit(7);
        });
        QCOMPARE(loop.exec(), 7);
        QCOMPARE(loop_turns_after_report, 1);
        QCOMPARE(runs, 2);
        QCOMPARE(watcher.seen().size(), 2u);
        QCOMPARE(watcher.seen().front().text, QStringLiteral("实时错误 '11':\n\n除数为零"));
        QCOMPARE(watcher.seen().front().title, QStringLiteral("Vorlith"));
    }

    void controlAccessReadsAndWritesWholeTexts() {
        QLineEdit box;
        const QString typed =
            QStringLiteral("１２。５ g\t&H1F ") + QString(100000, QLatin1Char('7'));
        box.setMaxLength(std::numeric_limits<int>::max());
        box.setText(typed);
        QCOMPARE(QString::fromStdU16String(vorlith::text_of(&box)), typed);
        QLabel label;
        vorlith::set_caption(&label, " 2.08247422680412");
        QCOMPARE(label.text(), QStringLiteral(" 2.08247422680412"));
        vorlith::set_caption(&label, "");
        QVERIFY(label.text().isEmpty());
    }

    void controlAccessWithoutAControlRaises91() {
        try {
            vorlith::text_of(nullptr);
            QFAIL("no error raised");
        } catch (const vorlith::RuntimeError& error) {
            QCOMPARE(error.number, 91);
        }
    }
};

QTEST_MAIN(RuntimeQtTest)
#include "runtime_qt_test.moc"
