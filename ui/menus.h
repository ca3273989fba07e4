#pragma once

#include <span>

#include "runtime/program.h"

namespace vorlith {

// The program message and the author message.
extern const char* const kProgramMessage;
extern const char* const kAuthorMessage;

// Form1's menu bar: 文件 with 退出 (EXIT); 工具 with 计算过程… (WORKING),
// 由试验数据填入… (LAB) and 由已知指标换算… (GIVEN); and 关于 with 软件
// (SOFT) and 作者 (WRITER).
std::span<const MenuRow> form1_menus();

// The Click handlers of the menu items.
void EXIT_Click();
void SOFT_Click();
void WRITER_Click();

}  // namespace vorlith
