# Benchmarks that run under Wine (not tests): ./dev bench runs them.
add_executable(trivial WIN32 tests/bench/trivial.cpp)
target_link_options(trivial PRIVATE -s)

add_executable(launch_bench tests/bench/launch_bench.cpp)
target_compile_options(launch_bench PRIVATE -U_WIN32_WINNT -D_WIN32_WINNT=0x0602)
target_link_libraries(launch_bench PRIVATE kelmo_wine_test_support psapi)
add_dependencies(launch_bench trivial probe kelmoPro)
