# The heads-up display's frame with huge chat lines against short ones.
quelmoor_benchmark(bench_hud
    SOURCES ${PROJECT_SOURCE_DIR}/bench/HudBench.cpp
    LIBS quelmoor_game)
