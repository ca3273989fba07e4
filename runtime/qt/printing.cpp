// The form's message box, print dialog and clipboard.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>

#include "main_window.h"

namespace vorlith::qt {

void MainWindow::message_box(std::string_view utf8) {
    // A child of the form, whether or not the form has the focus: the
    // window manager or compositor keeps it over the form and centres it
    // there. Over a modal form that is shown, a child of that form.
    QWidget* owner = QApplication::activeModalWidget();
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), from_utf8(utf8),
                    QMessageBox::Ok, owner != nullptr ? owner : this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// The document lays its lines out on the printer's pages itself: it wraps a
// long line, starts a new page when one is full, and scales the tab stop,
// given in pixels at 96 dots per inch, to the printer's resolution.
void MainWindow::print_text(std::string_view title, std::string_view utf8) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(from_utf8(title));
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) owner = QApplication::activeWindow();
    QPrintDialog dialog(&printer, owner != nullptr ? owner : this);
    if (dialog.exec() != QDialog::Accepted) return;
    QTextDocument document;
    document.setDefaultFont(QApplication::font());
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(twips_to_pixels(kTabStop));
    document.setDefaultTextOption(option);
    document.setPlainText(from_utf8(utf8));
    document.print(&printer);
}

void MainWindow::copy_text(std::string_view utf8) {
    QGuiApplication::clipboard()->setText(from_utf8(utf8));
}

}  // namespace vorlith::qt
