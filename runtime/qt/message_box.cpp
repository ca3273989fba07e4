// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QMessageBox>

#include "main_window.h"

namespace vorlith::qt {

void MainWindow::message_box(std::string_view utf8) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace vorlith::qt
