# Whether each Click handler of the program's click tables (PROGRAM, its
# kForm1Clicks and kToolClicks) is matched by a pattern of the Asyncify list (LIST): a handler
# left off that waits on a message box or a modal form would never return in
# the page, and only a click on it would show it.
#
#   cmake -DPROGRAM=ui/program.cpp -DLIST=runtime/web/asyncify-only.txt -P asyncify_list.cmake
file(READ ${PROGRAM} program)
string(REGEX MATCHALL "Clicks\\[\\] = {[^;]*};" tables "${program}")  # Form1's own, and the tools'
if(NOT tables)
    message(FATAL_ERROR "${PROGRAM} has no click table")
endif()
string(REGEX MATCHALL "\"[A-Za-z0-9_]+\", *[A-Za-z0-9_:]+" entries "${tables}")
file(STRINGS ${LIST} patterns)
set(unmatched "")
foreach(entry IN LISTS entries)
    string(REGEX REPLACE ".*, *" "" handler "${entry}")
    set(signature "vorlith::${handler}()")
    set(matched FALSE)
    foreach(pattern IN LISTS patterns)
        # A pattern is the function's signature with * for any text.
        string(REGEX REPLACE "([][.+?^$(){}|\\\\])" "\\\\\\1" regex "${pattern}")
        string(REPLACE "*" ".*" regex "${regex}")
        if(signature MATCHES "^${regex}$")
            set(matched TRUE)
        endif()
    endforeach()
    if(NOT matched)
        list(APPEND unmatched ${signature})
    endif()
endforeach()
list(LENGTH entries count)
if(count EQUAL 0 OR unmatched)
    message(FATAL_ERROR "not on ${LIST} (of ${count} handlers): ${unmatched}")
endif()
message(STATUS "all ${count} handlers of the click table are on the Asyncify list")
