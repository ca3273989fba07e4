// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include "main_window.h"

namespace vorlith::qt {

void MainWindow::message_box(std::string_view utf8) {
    // A child of the form, whether or not the form has the focus: the
    // window manager or compositor keeps it over the form and centres it
    // there. Over a modal form that is shown, a child of that form.
    QWidget* owner = QApplication::activeModalWidget();
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())),
                    QMessageBox::Ok, owner != nullptr ? owner : this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace vorlith::qt
