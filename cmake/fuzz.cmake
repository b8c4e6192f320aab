# libFuzzer targets for the portable logic (clang only). Each target is also
# a short ctest smoke run; ./dev fuzz runs them for longer.
set(KELMO_FUZZ_SMOKE_SECONDS 30 CACHE STRING "Seconds each fuzz target runs as a test")
set(KELMO_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
target_compile_options(kelmo_portable PRIVATE ${KELMO_FUZZ_FLAGS})

file(GLOB KELMO_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
foreach(source ${KELMO_FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE kelmo_portable)
  set(corpus ${CMAKE_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME fuzz.${name}
           COMMAND ${name} -max_total_time=${KELMO_FUZZ_SMOKE_SECONDS} -print_final_stats=1 ${corpus})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300)
endforeach()
