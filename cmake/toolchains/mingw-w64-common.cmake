# Shared part of the mingw-w64 cross builds; the including file sets QUORVEL_MINGW_TRIPLE and
# CMAKE_SYSTEM_PROCESSOR. CMake reads toolchain files again for every try_compile, so this file
# only sets variables.
set(CMAKE_SYSTEM_NAME Windows)

# Debian installs each compiler twice, one per thread model. GCC 12's libstdc++ has std::mutex
# and std::condition_variable only in the posix model, and GoogleTest needs both on Windows.
# Everything is linked with -static, so winpthread ends up inside the DLLs and the tests rather
# than beside them.
if(NOT QUORVEL_MINGW_THREAD_MODEL)
    set(QUORVEL_MINGW_THREAD_MODEL posix)
endif()
find_program(CMAKE_C_COMPILER NAMES ${QUORVEL_MINGW_TRIPLE}-gcc-${QUORVEL_MINGW_THREAD_MODEL}
             REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QUORVEL_MINGW_TRIPLE}-g++-${QUORVEL_MINGW_THREAD_MODEL}
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QUORVEL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
