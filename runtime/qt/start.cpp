// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "main_window.h"
#include "other_forms.h"
#include "qt_runtime.h"

namespace vorlith {
namespace qt {
void install_run_time(const ProgramDescription& program) {
    reset_run_time();
    const QString title = QString::fromUtf8(program.title);
    QCoreApplication::setApplicationName(title);
    QGuiApplication::setApplicationDisplayName(title);
    // The launcher entry's name without ".desktop": the app id of a Wayland
    // window, by which the desktop shows the entry's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(VORLITH_APP_ID));

    // The run-time's one language, Simplified Chinese, or the system's.
    const RunTimeTexts* texts = run_time_texts(program.locale_id);
    const QLocale locale =
        texts != nullptr ? QLocale(QString::fromLatin1(texts->lang)) : QLocale::system();
    QLocale::setDefault(locale);
    // The default font of a Simplified Chinese desktop: a CJK sans serif at
    // 9 points, whose 14-pixel lines fit the window's 17-pixel rows.
    if (texts != nullptr) QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
    // The standard buttons read in the run-time's language (确定 for OK).
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    }
    install_accessible_roles();
}

std::unique_ptr<QMainWindow> create_form(const ProgramDescription& program) {
    return std::make_unique<MainWindow>(program);
}

int start(int argc, char** argv, const ProgramDescription& program,
          const std::function<void(QWidget&)>& created) {
    QApplication app(argc, argv);
    install_run_time(program);
    const std::unique_ptr<QMainWindow> form = create_form(program);
    if (created) created(*form);
    // Closing the form unloads it: no handler runs after, and with no window
    // left the loop ends with status 0.
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, [] { unload(); });
    form->show();
    return QApplication::exec();
}

}  // namespace qt

int start(int argc, char** argv, const ProgramDescription& program) {
    return qt::start(argc, argv, program, {});
}

}  // namespace vorlith
