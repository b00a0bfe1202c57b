# The client's network input under the fuzzer: packet cutting and every channel handler.
option(QUELMOOR_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(QUELMOOR_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # Coverage and AddressSanitizer for every library the target reaches.
    target_compile_options(quelmoor_options INTERFACE -fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer)
    target_link_options(quelmoor_options INTERFACE -fsanitize=address)
    add_executable(fuzz_network NetworkFuzz.cpp)
    target_compile_options(fuzz_network PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_network PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_network PRIVATE quelmoor_options quelmoor_network)
elseif(QUELMOOR_TESTS)
    # Without libFuzzer the seed corpus is replayed once as a test.
    add_executable(fuzz_network_replay NetworkFuzz.cpp)
    target_compile_definitions(fuzz_network_replay PRIVATE QUELMOOR_FUZZ_REPLAY)
    target_link_libraries(fuzz_network_replay PRIVATE quelmoor_options quelmoor_network)
    add_test(NAME fuzz_network_replay
        COMMAND fuzz_network_replay ${CMAKE_CURRENT_SOURCE_DIR}/corpus/network)
endif()
