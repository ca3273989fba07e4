// SPDX-License-Identifier: MIT
#include <QGuiApplication>
#include <QMessageBox>

#include "main_window.h"

namespace vorlith::qt {

void MainWindow::message_box(std::string_view utf8) {
    // A child of the form, whether or not the form has the focus: the
    // window manager or compositor keeps it over the form and centres it
    // there.
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace vorlith::qt
