# The long run of Form1: many presses of Calculate on random texts, every
# result field, box and the resident memory checked along the way. Labelled
# "long" so that quick runs can leave it out (ctest -LE long);
# VORLITH_LONG_RUN_PRESSES sets the number of presses (default 100000).
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(vorlith_long_run_test ${CMAKE_CURRENT_LIST_DIR}/long_run_test.cpp)
set_target_properties(vorlith_long_run_test PROPERTIES AUTOMOC ON)
target_include_directories(vorlith_long_run_test PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(vorlith_long_run_test
    PRIVATE vorlith::ui vorlith::runtime_qt vorlith::icon vorlith::calc vorlith::form1_expected
            Qt6::Test vorlith::warnings)
add_test(NAME ui_long_run COMMAND vorlith_long_run_test)
# Qt Test ends a test function after 5 minutes; the presses may take longer
# on a loaded machine, so its limit is CTest's.
set_tests_properties(ui_long_run PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=1200000"
    LABELS long
    TIMEOUT 1200)
