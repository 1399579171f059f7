add_executable(devicelink_bench ${CMAKE_CURRENT_LIST_DIR}/devicelink_bench.cpp)
target_link_libraries(devicelink_bench PRIVATE qintar_core benchmark::benchmark)
