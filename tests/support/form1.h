#pragma once

#include <QTest>
#include <QWidget>
#include <memory>

#include "runtime/qt/qt_runtime.h"
#include "ui/program.h"

namespace vorlith::testing {

// Sets up the run-time as the program's start does and shows a new Form1,
// active, with the focus where the start puts it. nullptr when the window
// never became active.
inline std::unique_ptr<QWidget> show_form1() {
    qt::install_run_time(form1_program());
    std::unique_ptr<QWidget> form = qt::create_form(form1_program());
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) return nullptr;
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get())) return nullptr;
    return form;
}

}  // namespace vorlith::testing
