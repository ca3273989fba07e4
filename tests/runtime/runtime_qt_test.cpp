// The run-time's Qt operations on real widgets, offscreen.
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include "runtime/operations.h"
#include "runtime/qt/qt_runtime.h"
#include "runtime/runtime_error.h"
#include "support/form_test.h"
#include "support/modal_watcher.h"
#include "test_form.h"

using vorlith::testing::g_click;
using vorlith::testing::kTestProgram;
using vorlith::testing::ModalWatcher;

class RuntimeQtTest : public vorlith::testing::FormTest {
    Q_OBJECT

public:
    RuntimeQtTest()
        : FormTest([]() -> std::unique_ptr<QWidget> {
              vorlith::qt::install_run_time(kTestProgram);
              return vorlith::qt::create_form(kTestProgram);
          }) {}

private slots:
    // Its title, button, icon and modality: menus_test's 软件/作者 rows.
    void messageBoxShowsItsTextAsPlainTextOverTheInactiveForm() {
        ModalWatcher watcher;
        vorlith::MsgBox("本程序 <b>不是</b> 富文本");
        QCOMPARE(watcher.seen().size(), 1u);
        const auto& box = watcher.seen().front();
        QCOMPARE(box.text, QStringLiteral("本程序 <b>不是</b> 富文本"));
        // A child of the form even though the form, never shown here, is
        // not the active window: the compositor places it over the form.
        QVERIFY(QApplication::activeWindow() == nullptr);
        QCOMPARE(box.parent, static_cast<const QWidget*>(form_.get()));
    }

    void desktopFileNameIsTheDesktopId() {
        // The Wayland app id: the launcher entry's and the icon's name.
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("io.github.vorlith.Vorlith"));
    }

    void errorLeavingAHandlerIsReportedAndTheLoopGoesOn() {
        QPushButton& button = *find<QPushButton>("Command1");
        int runs = 0;
        g_click = [&] {
            ++runs;
            vorlith::raise(vorlith::ErrorNumber::DivisionByZero);
        };
        ModalWatcher watcher;
        QEventLoop loop;
        std::size_t reports_before = 0;
        bool box_open = true;
        QTimer::singleShot(0, &button, [&] { button.click(); });
        QTimer::singleShot(50, &loop, [&] {
            reports_before = watcher.seen().size();
            box_open = QApplication::activeModalWidget() != nullptr;
            button.click();  // the handler still runs after a report
            loop.exit(7);
        });
        QCOMPARE(loop.exec(), 7);
        QCOMPARE(reports_before, 1u);  // the loop went on once the report was closed
        QVERIFY(!box_open);
        QCOMPARE(runs, 2);
        QCOMPARE(watcher.seen().size(), 2u);
        QCOMPARE(watcher.seen().front().text, QStringLiteral("实时错误 '11':\n\n除数为零"));
        QCOMPARE(watcher.seen().front().title, QStringLiteral("Vorlith"));
    }

    void controlAccessReadsAndWritesWholeTexts() {
        const QString typed =
            QStringLiteral("１２。５ g\t&H1F ") + QString(100000, QLatin1Char('7'));
        find<QLineEdit>("Text1")->setText(typed);
        QCOMPARE(QString::fromStdU16String(vorlith::text_of("Text1")), typed);
        QLabel& label = *find<QLabel>("Label1");
        vorlith::set_caption("Label1", " 2.08247422680412 ρ：");
        QCOMPARE(label.text(), QStringLiteral(" 2.08247422680412 ρ："));
        vorlith::set_caption("Label1", "");
        QVERIFY(label.text().isEmpty());
    }
};

QTEST_MAIN(RuntimeQtTest)
#include "runtime_qt_test.moc"
