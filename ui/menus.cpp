#include "menus.h"

#include <QMenu>
#include <QMenuBar>

#include "runtime/message_box.h"
#include "runtime/program.h"

namespace vorlith {

const char* const kProgramMessage =
    "本程序完全参照《土力学与基础工程》（Merrovan主编）第2.3节内容编写，仅供学习使用，敬请指教。";
const char* const kAuthorMessage = "Talvik，现供职于Orvandel，QQ：40731862.   2011.11.18";

void EXIT_Click() {
    End();
}
void SOFT_Click() {
    MsgBox(QString::fromUtf8(kProgramMessage));
}
void WRITER_Click() {
    MsgBox(QString::fromUtf8(kAuthorMessage));
}

namespace {

struct MenuItem {
    const char* name;
    const char* caption;
    void (*click)();
};

QMenu* add_menu(QMenuBar* bar, const char* name, const char* caption,
                std::initializer_list<MenuItem> items) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    for (const MenuItem& item : items) {
        QAction* action = menu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        on_click(action, item.click);
    }
    return menu;
}

}  // namespace

void add_menus(QMainWindow& form) {
    QMenuBar* bar = form.menuBar();
    add_menu(bar, "FILE", "文件", {{"EXIT", "退出", EXIT_Click}});
    add_menu(bar, "ABOUT", "关于",
             {{"SOFT", "软件", SOFT_Click}, {"WRITER", "作者", WRITER_Click}});
}

}  // namespace vorlith
