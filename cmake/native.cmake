# Native build: unit tests of the portable logic under ASan and UBSan, and benchmarks.
find_package(GTest REQUIRED)
include(GoogleTest)

if(KELMO_SANITIZE)
  set(KELMO_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_compile_options(kelmo_portable PUBLIC ${KELMO_SANITIZER_FLAGS})
  target_link_options(kelmo_portable PUBLIC ${KELMO_SANITIZER_FLAGS})
endif()

file(GLOB KELMO_NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*_test.cpp)
add_executable(kelmo_native_tests ${KELMO_NATIVE_TEST_SOURCES})
target_link_libraries(kelmo_native_tests PRIVATE kelmo_portable GTest::gtest GTest::gtest_main GTest::gmock)
gtest_discover_tests(kelmo_native_tests TEST_PREFIX "native." DISCOVERY_TIMEOUT 60)

find_package(benchmark REQUIRED)
add_executable(kelmo_parser_bench bench/parser_bench.cpp)
# The benchmark measures the shipped code, so it links an unsanitized copy.
add_library(kelmo_portable_bench STATIC ${KELMO_PORTABLE_SOURCES})
target_compile_options(kelmo_portable_bench PRIVATE -O2)
target_compile_options(kelmo_parser_bench PRIVATE -O2)
target_link_libraries(kelmo_parser_bench PRIVATE kelmo_portable_bench benchmark::benchmark)
