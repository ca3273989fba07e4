// The yardstick for vorlith_first_paint: the least a Qt 6 Widgets program
// does to put a window of Form1's size on the screen. A QApplication and an
// empty QMainWindow with one QLabel; no translation, no font, no icon, no
// menu bar. Reports its first frame the same way as vorlith_first_paint.
//
// For finding what the real program spends beyond this, VORLITH_BARE_ADD may
// name, comma-separated, pieces of the real program's start-up to add:
//   translation  the qtbase translation for zh_CN, installed
//   font         WenQuanYi Micro Hei 9pt as the application font
//   ico          the window icon from assets/vorlith.ico (the ico plugin)
//   png          the window icon from assets/vorlith-16.png and -32.png
//   menu         a menu bar with Form1's two menus and three items
//   chinese      the label's text in Chinese, as most of Form1's captions
// An unknown piece, or one that does not load, ends the program with status
// 2 before its window is shown, so that no run times less than it names.
#include <QApplication>
#include <QFontInfo>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "first_paint.h"

namespace {

// Form1's outer size under Xvfb with WenQuanYi Micro Hei 9pt, 747 × 220: the
// 747 × 200 client area below a 20-pixel menu bar (set in CMakeLists.txt).
constexpr int kWidth = VORLITH_FORM1_WIDTH;
constexpr int kHeight = VORLITH_FORM1_HEIGHT;

[[noreturn]] void refuse(const QString& what) {
    std::fprintf(stderr, "vorlith_bare_window: %s\n", qPrintable(what));
    std::exit(2);
}

QStringList added_pieces() {
    static const QStringList known = {QStringLiteral("translation"), QStringLiteral("font"),
                                      QStringLiteral("ico"),         QStringLiteral("png"),
                                      QStringLiteral("menu"),        QStringLiteral("chinese")};
    const QStringList pieces =
        qEnvironmentVariable("VORLITH_BARE_ADD").split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& piece : pieces) {
        if (!known.contains(piece)) refuse(QStringLiteral("no piece called ") + piece);
    }
    return pieces;
}

bool adds(const char* piece) {
    static const QStringList pieces = added_pieces();
    return pieces.contains(QLatin1String(piece));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    if (adds("font")) {
        const QString family = QStringLiteral("WenQuanYi Micro Hei");
        QApplication::setFont(QFont(family, 9));
        if (QFontInfo(QApplication::font()).family() != family)
            refuse(family + " is not installed");
    }
    if (adds("translation")) {
        const QLocale locale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
        auto* translator = new QTranslator(&app);
        if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            refuse(QStringLiteral("no qtbase translation for zh_CN"));
        }
        QCoreApplication::installTranslator(translator);
    }

    QMainWindow window;
    window.setFixedSize(kWidth, kHeight);
    if (adds("ico")) window.setWindowIcon(QIcon(QStringLiteral(VORLITH_ASSETS_DIR "/vorlith.ico")));
    if (adds("png")) {
        QIcon icon;
        icon.addFile(QStringLiteral(VORLITH_ASSETS_DIR "/vorlith-16.png"));
        icon.addFile(QStringLiteral(VORLITH_ASSETS_DIR "/vorlith-32.png"));
        window.setWindowIcon(icon);
    }
    if ((adds("ico") || adds("png")) && window.windowIcon().availableSizes().isEmpty()) {
        refuse(QStringLiteral("the window icon has no image"));
    }
    if (adds("menu")) {
        QMenu* file = window.menuBar()->addMenu(QStringLiteral("文件"));
        file->addAction(QStringLiteral("退出"));
        QMenu* about = window.menuBar()->addMenu(QStringLiteral("关于"));
        about->addAction(QStringLiteral("软件"));
        about->addAction(QStringLiteral("作者"));
    }
    window.setCentralWidget(
        new QLabel(adds("chinese") ? QStringLiteral("土的体积") : QStringLiteral("Bare window")));

    new vorlith::bench::FirstPaintReporter(&window);
    window.show();
    return QApplication::exec();
}
