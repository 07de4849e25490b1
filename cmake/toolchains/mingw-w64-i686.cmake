# 32-bit Windows plug-ins, built with mingw-w64. Nothing built here runs on this machine, so the
# build compiles and links only; host/Abi.h checks the 32-bit record layout at compile time.
set(QUORVEL_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
