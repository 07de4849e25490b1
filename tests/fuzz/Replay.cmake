# Replays the seed corpus and the kept crash inputs through the fuzz target in the regular
# test build, so every fixed crash stays a test wherever the tests run.
include(${CMAKE_CURRENT_LIST_DIR}/Plugins.cmake)

quorvel_add_test(FuzzReplayTest
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/FuzzReplayTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/EffectFuzzer.cpp
        ${CMAKE_CURRENT_LIST_DIR}/HostBuffers.cpp
    LIBRARIES ${quorvel_fuzzed_libraries})
target_compile_definitions(FuzzReplayTest PRIVATE
    QUORVEL_FUZZ_CORPUS_DIR="${CMAKE_CURRENT_LIST_DIR}/corpus"
    QUORVEL_FUZZ_REGRESSION_DIR="${CMAKE_CURRENT_LIST_DIR}/regressions")
