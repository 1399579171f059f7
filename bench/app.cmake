# The pseudo-terminal device and the silent dialogs the window benchmarks share.
add_library(qintar_benchsupport STATIC ${CMAKE_CURRENT_LIST_DIR}/benchdevice.h ${CMAKE_CURRENT_LIST_DIR}/benchdevice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/silentdialogs.h)
target_include_directories(qintar_benchsupport PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(qintar_benchsupport PUBLIC qintar_gui)

add_executable(app_pollcycle_bench ${CMAKE_CURRENT_LIST_DIR}/app_pollcycle_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windowbenchmain.cpp)
target_link_libraries(app_pollcycle_bench PRIVATE qintar_benchsupport benchmark::benchmark)
if(TARGET qintar-devsim)
    add_executable(app_stationcpu_bench ${CMAKE_CURRENT_LIST_DIR}/app_stationcpu_bench.cpp)
    target_link_libraries(app_stationcpu_bench PRIVATE qintar_benchsupport benchmark::benchmark)
    target_compile_definitions(app_stationcpu_bench PRIVATE QINTAR_DEVSIM="$<TARGET_FILE:qintar-devsim>")
    add_dependencies(app_stationcpu_bench qintar-devsim)
endif()
add_executable(app_recordpoint_bench ${CMAKE_CURRENT_LIST_DIR}/app_recordpoint_bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windowbenchmain.cpp)
target_link_libraries(app_recordpoint_bench PRIVATE qintar_benchsupport benchmark::benchmark)
