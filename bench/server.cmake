# The game server under 256 bots streaming their movement: relay rate, server CPU time and
# relay latency on loopback.
quelmoor_benchmark(bench_server
    SOURCES ${PROJECT_SOURCE_DIR}/bench/ServerLoad.cpp
    LIBS quelmoor_server_core quelmoor_bot_core
    # Each load runs for ten seconds whatever the minimum time: the suite takes the smallest.
    ONCE_ARGS --benchmark_filter=ServerLoad/32/5)
