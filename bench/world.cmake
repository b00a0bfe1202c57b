# Building the world from the real map and drawing the densest forest at 800 x 600.
quelmoor_benchmark(bench_world
    SOURCES ${PROJECT_SOURCE_DIR}/bench/WorldBench.cpp
    LIBS quelmoor_game)
