# Shared settings for every target of the tree.

add_library(quelmoor_options INTERFACE)
target_include_directories(quelmoor_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(quelmoor_options INTERFACE -Wall -Wextra)
# Sanitized builds are for finding faults, not for speed: -O1 and line tables only compile much
# faster and still give readable reports.
if(QUELMOOR_SANITIZE)
    target_compile_options(quelmoor_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined -O1 -g1)
    target_link_options(quelmoor_options INTERFACE -fsanitize=address,undefined)
endif()
if(QUELMOOR_TSAN)
    target_compile_options(quelmoor_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer -O1 -g1)
    target_link_options(quelmoor_options INTERFACE -fsanitize=thread)
endif()

# quelmoor_library(name SOURCES ... LIBS ...): a static library of the tree.
function(quelmoor_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC quelmoor_options ${ARG_LIBS})
endfunction()

# Tests keep the game's settings and screenshots in the build tree, never in the player's own folders.
set(QUELMOOR_TEST_FOLDERS "XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/test-home/config;XDG_PICTURES_DIR=${PROJECT_BINARY_DIR}/test-home/pictures")

# quelmoor_test(name SOURCES ... LIBS ... [END_TO_END]): a GoogleTest program registered with
# CTest. Tests run in the data directory so that they find the generated assets; END_TO_END
# suites (whole programs driven together) run alone and carry the label "end-to-end".
function(quelmoor_test name)
    cmake_parse_arguments(ARG "END_TO_END" "" "SOURCES;LIBS" ${ARGN})
    set(serial FALSE)
    set(labels unit)
    if(ARG_END_TO_END)
        set(serial TRUE)
        set(labels end-to-end)
    endif()
    find_package(GTest REQUIRED)
    include(GoogleTest)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE quelmoor_options ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${QUELMOOR_DATA_DIR}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES RUN_SERIAL ${serial} LABELS ${labels}
                   ENVIRONMENT "ALSOFT_DRIVERS=null;QUELMOOR_BUILD_DIR=${PROJECT_BINARY_DIR};QUELMOOR_SOURCE_DIR=${PROJECT_SOURCE_DIR};${QUELMOOR_TEST_FOLDERS}")
endfunction()

# quelmoor_benchmark(name SOURCES ... LIBS ... [ONCE_ARGS ...]): a Google Benchmark program (run
# by `make bench`). With the tests it is also a CTest entry that runs its benchmarks once, as
# briefly as they allow (ONCE_ARGS narrow that run), so a broken benchmark fails the suite.
function(quelmoor_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ONCE_ARGS" ${ARGN})
    find_package(benchmark REQUIRED)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE quelmoor_options ${ARG_LIBS} benchmark::benchmark)
    if(QUELMOOR_TESTS)
        add_test(NAME ${name}.once COMMAND ${name} --benchmark_min_time=0 ${ARG_ONCE_ARGS} WORKING_DIRECTORY ${QUELMOOR_DATA_DIR})
        set_tests_properties(${name}.once PROPERTIES LABELS benchmark ENVIRONMENT "ALSOFT_DRIVERS=null")
    endif()
endfunction()

set(QUELMOOR_DATA_DIR ${PROJECT_BINARY_DIR}/data)
file(MAKE_DIRECTORY ${QUELMOOR_DATA_DIR})
