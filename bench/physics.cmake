# One physics step of a forest world (100 movers among 3,000 static trees) and circle queries,
# against brute-force scans of every body.
quelmoor_benchmark(bench_physics
    SOURCES ${PROJECT_SOURCE_DIR}/bench/PhysicsStep.cpp
    LIBS quelmoor_physics)
