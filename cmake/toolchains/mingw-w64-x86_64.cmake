# 64-bit Windows plug-ins, built with mingw-w64; the tests run under Wine.
set(QUORVEL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# Each build folder gets its own Wine prefix, so builds never share Windows state.
get_filename_component(quorvel_wine_run ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run ABSOLUTE)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${quorvel_wine_run} --build-dir ${CMAKE_BINARY_DIR})
endif()
