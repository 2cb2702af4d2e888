cmake_minimum_required(VERSION 3.25)
# Fails when a file of a core layer includes a header of a layer it may not use.
#   cmake -DLAYER=device -DALLOWED="platform;profile" -DFILES="a.cpp;a.h" -DSTAMP=f -P ...
# Project headers are included as "folder/Name.h" from src/, so the folder names the layer.
set(allowed ${LAYER} ${ALLOWED})
set(wrong "")
foreach(file IN LISTS FILES)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[A-Za-z_]+/")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([A-Za-z_]+)/.*" "\\1" folder "${line}")
        if(NOT folder IN_LIST allowed)
            string(APPEND wrong "\n  ${file}: ${line}")
        endif()
    endforeach()
endforeach()
if(wrong)
    message(FATAL_ERROR "${LAYER}/ may include only ${allowed}:${wrong}")
endif()
file(TOUCH ${STAMP})
