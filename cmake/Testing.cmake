# GoogleTest and the one function every test executable is added with.
#
# quorvel_add_test(<name> SOURCES <files>... [LIBRARIES <libs>...] [DEPENDS <targets>...]
#                  [ARGS <arguments>...])
# Under a cross build CTest runs the test through CMAKE_CROSSCOMPILING_EMULATOR.
if(QUORVEL_BUILD_TESTS)
    if(CMAKE_CROSSCOMPILING)
        # Debian's libgtest-dev ships GoogleTest's sources; the cross build compiles them.
        set(QUORVEL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
        set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(${QUORVEL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
        # GoogleTest 1.11 and later define these aliases themselves.
        if(NOT TARGET GTest::gtest)
            add_library(GTest::gtest ALIAS gtest)
            add_library(GTest::gtest_main ALIAS gtest_main)
        endif()
    else()
        find_package(GTest REQUIRED)
    endif()
endif()

function(quorvel_add_test name)
    cmake_parse_arguments(TEST "" "" "SOURCES;LIBRARIES;DEPENDS;ARGS" ${ARGN})
    add_executable(${name} ${TEST_SOURCES})
    target_link_libraries(${name} PRIVATE ${TEST_LIBRARIES} quorvel_warnings GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    if(WIN32)
        target_link_options(${name} PRIVATE -static)
    endif()
    if(TEST_DEPENDS)
        add_dependencies(${name} ${TEST_DEPENDS})
    endif()
    add_test(NAME ${name} COMMAND ${name} ${TEST_ARGS})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()
