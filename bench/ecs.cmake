# Delivery of one global message to many handlers, against plain std::function walks.
quelmoor_benchmark(bench_messages
    SOURCES ${PROJECT_SOURCE_DIR}/bench/MessageDelivery.cpp
    LIBS tessaly)
