# The client's network input under the fuzzer: packet cutting and every channel handler.
quelmoor_fuzz_target(network SOURCE NetworkFuzz.cpp LIBS quelmoor_network)
