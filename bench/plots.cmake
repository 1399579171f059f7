add_executable(plots_bench plots_bench.cpp)
target_link_libraries(plots_bench PRIVATE qintar_gui benchmark::benchmark)
