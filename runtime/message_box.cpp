#include "message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace vorlith {

void MsgBox(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString unhandled_error_text(const RuntimeError& error) {
    return QStringLiteral("实时错误 '%1':\n\n%2")
        .arg(error.number)
        .arg(QString::fromStdString(error.description));
}

void report_unhandled(const RuntimeError& error) {
    MsgBox(unhandled_error_text(error));
}

}  // namespace vorlith
