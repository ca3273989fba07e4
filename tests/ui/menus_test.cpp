// The menu bar of Form1 and its commands, on real widgets, offscreen.
#include <QAction>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "support/form1.h"
#include "support/form1_expected.h"
#include "support/form_test.h"
#include "support/modal_watcher.h"
#include "ui/program.h"

using vorlith::testing::ModalWatcher;

class MenusTest : public vorlith::testing::FormTest {
    Q_OBJECT

public:
    MenusTest() : FormTest(vorlith::testing::show_form1) {}

private:
    QAction* action(const char* name) const { return find<QAction>(name); }
    QStringList window_texts() const {
        QStringList texts;
        for (QLabel* label : form_->findChildren<QLabel*>()) texts << label->text();
        for (QLineEdit* box : form_->findChildren<QLineEdit*>()) texts << box->text();
        return texts;
    }

private slots:
    void menuBarHasFileThenAboutWithTheirItems() {
        QMenuBar* bar = qobject_cast<QMainWindow*>(form_.get())->menuBar();
        QStringList menus;
        for (QAction* entry : bar->actions()) {
            QMenu* menu = entry->menu();
            QVERIFY(menu != nullptr);
            QStringList items;
            for (QAction* item : menu->actions()) {
                QVERIFY2(!item->isSeparator(), qPrintable(menu->objectName()));
                QVERIFY(item->shortcut().isEmpty());
                QVERIFY(!item->isCheckable());
                QVERIFY(item->isEnabled() && item->isVisible());
                QVERIFY(!item->text().contains('&'));
                items << item->objectName() + '=' + item->text();
            }
            QVERIFY(!menu->title().contains('&'));
            menus << menu->objectName() + '=' + menu->title() + ':' + items.join(',');
        }
        QStringList expected;
        for (const char* menu : vorlith::testing::kMenuBar) expected << QString::fromUtf8(menu);
        QCOMPARE(menus, expected);
    }

    void softAndWriterShowTheirMessagesAndChangeNothing_data() {
        vorlith::testing::add_text_rows(vorlith::testing::kMessagePatterns, "item", "pattern");
    }
    void softAndWriterShowTheirMessagesAndChangeNothing() {
        QFETCH(QString, item);
        QFETCH(QString, pattern);
        form_->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        const QStringList before = window_texts();
        ModalWatcher watcher;
        action(qPrintable(item))->trigger();
        QCOMPARE(watcher.seen().size(), 1u);
        const auto& box = watcher.seen().front();
        QVERIFY2(QRegularExpression(pattern).match(box.text).hasMatch(), qPrintable(box.text));
        QCOMPARE(box.title, QStringLiteral("Vorlith"));
        QCOMPARE(box.buttons, QStringList{QStringLiteral("确定")});
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QVERIFY(box.application_modal);
        QCOMPARE(window_texts(), before);
        QVERIFY(form_->isVisible());
    }

    void exitEndsAtOnceWithStatusZeroAndNothingRunsAfter() {
        auto* command1 = form_->findChild<QPushButton*>(QStringLiteral("Command1"));
        ModalWatcher watcher;
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] { action("EXIT")->trigger(); });
        QTimer::singleShot(5000, &loop, [&] { loop.exit(99); });  // EXIT did not end the loop
        QCOMPARE(loop.exec(), 0);
        QVERIFY(!form_->isVisible());
        command1->click();  // no handler runs after End
        QVERIFY(form_->findChild<QLabel*>(QStringLiteral("Label16"))->text().isEmpty());
        QVERIFY(watcher.seen().empty());
    }
};

QTEST_MAIN(MenusTest)
#include "menus_test.moc"
