# The server's record parser and the packet cutting in front of it, under the fuzzer.
option(QUELMOOR_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(QUELMOOR_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # Coverage and AddressSanitizer for every library the target reaches.
    target_compile_options(quelmoor_options INTERFACE -fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer)
    target_link_options(quelmoor_options INTERFACE -fsanitize=address)
    add_executable(fuzz_server ServerFuzz.cpp)
    target_compile_options(fuzz_server PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_server PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_server PRIVATE quelmoor_options quelmoor_server_core)
elseif(QUELMOOR_TESTS)
    # Without libFuzzer the seed corpus is replayed once as a test.
    add_executable(fuzz_server_replay ServerFuzz.cpp)
    target_compile_definitions(fuzz_server_replay PRIVATE QUELMOOR_FUZZ_REPLAY)
    target_link_libraries(fuzz_server_replay PRIVATE quelmoor_options quelmoor_server_core)
    add_test(NAME fuzz_server_replay
        COMMAND fuzz_server_replay ${CMAKE_CURRENT_SOURCE_DIR}/corpus/server)
endif()
