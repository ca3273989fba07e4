#include "menus.h"

#include "runtime/operations.h"

namespace vorlith {

const char* const kProgramMessage =
    "本程序完全参照《土力学与基础工程》（Merrovan主编）第2.3节内容编写，仅供学习使用，敬请指教。";
const char* const kAuthorMessage = "Talvik，现供职于Orvandel，QQ：40731862.   2011.11.18";

namespace {

constexpr MenuItemRow kFileItems[] = {{"EXIT", "退出"}};
constexpr MenuItemRow kToolsItems[] = {{"WORKING", "计算过程…"},
                                       {"LAB", "由试验数据填入…"},
                                       {"GIVEN", "由已知指标换算…"},
                                       {"STATE", "物理状态指标…"}};
constexpr MenuItemRow kAboutItems[] = {{"SOFT", "软件"}, {"WRITER", "作者"}};
constexpr MenuRow kMenus[] = {
    {"FILE", "文件", kFileItems},
    {"TOOLS", "工具", kToolsItems},
    {"ABOUT", "关于", kAboutItems},
};

}  // namespace

std::span<const MenuRow> form1_menus() {
    return kMenus;
}

void EXIT_Click() {
    End();
}
void SOFT_Click() {
    MsgBox(kProgramMessage);
}
void WRITER_Click() {
    MsgBox(kAuthorMessage);
}

}  // namespace vorlith
