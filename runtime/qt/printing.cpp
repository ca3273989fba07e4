#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>

#include "main_window.h"

namespace vorlith::qt {

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
