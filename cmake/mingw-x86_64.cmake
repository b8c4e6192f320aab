# The x64 twin of the shipped build, from the same sources: its Wine tests run
# under 64-bit Wine, on hosts whose kernel runs no 32-bit programs as well.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELMO_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
