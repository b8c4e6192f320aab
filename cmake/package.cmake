# The release zip: the three programs, the users' read-me files, the user
# guides as HTML pages with their pictures, and the licence.
# Text files get CR LF line ends so that Notepad on any Windows shows them;
# the Japanese one carries a UTF-8 byte order mark in the source tree.
set(KELMO_PACKAGE_TEXT ${CMAKE_BINARY_DIR}/package-text)
file(MAKE_DIRECTORY ${KELMO_PACKAGE_TEXT})
foreach(pair "docs/package/readme-en.txt:README-en.txt" "docs/package/readme-ja.txt:README-ja.txt"
             "LICENSE:LICENSE.txt")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 target)
  file(READ ${CMAKE_SOURCE_DIR}/${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${KELMO_PACKAGE_TEXT}/${target} "${text}")
  install(FILES ${KELMO_PACKAGE_TEXT}/${target} DESTINATION .)
endforeach()

install(TARGETS kelmoPro kelmo kelmoCM RUNTIME DESTINATION .)

# The guides are made from docs/guide.*.md when the zip is made, straight
# into the folder the zip is made from.
find_program(KELMO_CMARK_GFM cmark-gfm REQUIRED)
install(CODE "execute_process(COMMAND sh \"${CMAKE_SOURCE_DIR}/scripts/guide-html\" \"${CMAKE_SOURCE_DIR}\"
                                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\"
                              COMMAND_ERROR_IS_FATAL ANY)")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Kelmo)
set(CPACK_PACKAGE_VENDOR Kelmo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME kelmo-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES OFF)
include(CPack)

add_test(NAME files.package COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-package ${CMAKE_BINARY_DIR})
add_test(NAME files.binaries
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-binaries $<TARGET_FILE:kelmoPro>
                 $<TARGET_FILE:kelmo> $<TARGET_FILE:kelmoCM>)
