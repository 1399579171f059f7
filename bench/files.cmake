add_executable(files_bench files_bench.cpp)
target_link_libraries(files_bench PRIVATE qintar_core benchmark::benchmark_main)
