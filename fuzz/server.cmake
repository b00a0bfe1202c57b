# The server's record parser and the packet cutting in front of it, under the fuzzer.
quelmoor_fuzz_target(server SOURCE ServerFuzz.cpp LIBS quelmoor_server_core)
