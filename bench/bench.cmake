# Benchmarks that run under Wine (not tests): ./dev bench runs them.
add_executable(trivial WIN32 bench/trivial.cpp)
target_link_options(trivial PRIVATE -s)
add_executable(trivial_window WIN32 bench/trivial_window.cpp)
target_link_options(trivial_window PRIVATE -s)

add_executable(floor_launcher WIN32 bench/floor_launcher.cpp)
target_link_options(floor_launcher PRIVATE -s)
target_link_libraries(floor_launcher PRIVATE shell32)

add_executable(launch_bench bench/launch_bench.cpp)
target_compile_options(launch_bench PRIVATE -U_WIN32_WINNT -D_WIN32_WINNT=0x0602)
target_link_libraries(launch_bench PRIVATE kelmo_wine_test_support psapi)
add_dependencies(launch_bench trivial trivial_window floor_launcher probe kelmoPro)
