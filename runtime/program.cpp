#include "program.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "runtime/message_box.h"
#include "runtime/runtime_error.h"

namespace vorlith {
namespace {

// Thrown by End to leave the handler that called it; caught where the handler
// was started.
struct ProgramEnd {};

// Set by End: from then on no handler runs.
bool g_ended = false;

// Simplified Chinese (2052) is the one language this run-time knows; any
// other id leaves the system's.
QLocale locale_from_id(int locale_id) {
    if (locale_id == 2052) {
        return QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    }
    return QLocale::system();
}

void run_handler(const std::function<void()>& handler) {
    if (g_ended) return;
    try {
        handler();
    } catch (const RuntimeError& error) {
        report_unhandled(error);
    } catch (const ProgramEnd&) {
    }
}

}  // namespace

void install_run_time(const ProgramDescription& program) {
    g_ended = false;
    QCoreApplication::setApplicationName(program.title);
    QGuiApplication::setApplicationDisplayName(program.title);

    const QLocale locale = locale_from_id(program.locale_id);
    QLocale::setDefault(locale);
    // The default font of a Simplified Chinese desktop: a CJK sans serif at
    // 9 points, whose 14-pixel lines fit the window's 17-pixel rows.
    if (program.locale_id == 2052) {
        QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
    }
    // The standard buttons read in the run-time's language (确定 for OK).
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    }
}

int start(int argc, char** argv, const ProgramDescription& program) {
    QApplication app(argc, argv);
    install_run_time(program);
    const std::unique_ptr<QWidget> window = program.create_main_window();
    window->show();
    return QApplication::exec();
}

void on_click(QObject* control, std::function<void()> handler) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [handler = std::move(handler)] { run_handler(handler); });
    } else if (auto* action = qobject_cast<QAction*>(control)) {
        QObject::connect(action, &QAction::triggered, action,
                         [handler = std::move(handler)] { run_handler(handler); });
    } else {
        raise(ErrorNumber::ObjectNotSet);
    }
}

void End() {
    g_ended = true;
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    QCoreApplication::exit(0);
    throw ProgramEnd{};
}

}  // namespace vorlith
