#pragma once

#include <QMainWindow>

namespace vorlith {

// The program message and the author message.
extern const char* const kProgramMessage;
extern const char* const kAuthorMessage;

// Adds the menu bar to Form1: 文件 with 退出 (EXIT), and 关于 with 软件 (SOFT)
// and 作者 (WRITER), and connects their Click handlers.
void add_menus(QMainWindow& form);

// The Click handlers of the menu items.
void EXIT_Click();
void SOFT_Click();
void WRITER_Click();

}  // namespace vorlith
