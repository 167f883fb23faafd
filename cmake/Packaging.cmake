# The manual page, made from the program's own --help so that the two always
# agree, and with PW_DEBIAN_PACKAGE the rest of the Debian package:
# its documents and the CPack settings that scripts/package.sh uses.

set(PW_SUMMARY "balance-scale arithmetic puzzle game")

find_program(PW_HELP2MAN help2man)
if(PW_HELP2MAN)
  set(PW_MANPAGE ${CMAKE_BINARY_DIR}/pivotwarden.6)
  add_custom_command(OUTPUT ${PW_MANPAGE}.gz
    COMMAND ${PW_HELP2MAN} --no-info --section=6 --name=${PW_SUMMARY}
            --include=${CMAKE_SOURCE_DIR}/packaging/debian/manpage.h2m
            --output=${PW_MANPAGE} $<TARGET_FILE:pivotwarden>
    # -n leaves out the time stamp, so the same page gives the same file.
    COMMAND gzip -9nf ${PW_MANPAGE}
    DEPENDS pivotwarden ${CMAKE_SOURCE_DIR}/packaging/debian/manpage.h2m
    VERBATIM)
  add_custom_target(pw_manpage ALL DEPENDS ${PW_MANPAGE}.gz)
  install(FILES ${PW_MANPAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
elseif(PW_DEBIAN_PACKAGE)
  message(FATAL_ERROR "The package's manual page is made with help2man, which is not installed.")
else()
  message(STATUS "help2man not found: no manual page")
endif()

if(NOT PW_DEBIAN_PACKAGE)
  return()
endif()

set(PW_PACKAGE_FILES ${CMAKE_SOURCE_DIR}/packaging/debian)
set(PW_MAINTAINER "Marblequill <pivotwarden@marblequill.io>")
set(PW_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/pivotwarden)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/resources/fonts/DejaVu-LICENSE.txt
  ${PW_PACKAGE_FILES}/changelog ${PW_PACKAGE_FILES}/copyright.in)

# Indents text as the body of a field in a Debian control-style file: one
# leading space a line, blank lines as " .", no trailing blanks.
function(pw_as_field_body text out)
  string(STRIP "${text}" text)
  string(REGEX REPLACE "[ \t]+\n" "\n" text "${text}")
  string(REPLACE "\n\n" "\n.\n" text "${text}")
  string(REPLACE "\n" "\n " text "${text}")
  set(${out} " ${text}" PARENT_SCOPE)
endfunction()

# The copyright file is made from LICENSE and the fonts' own licence, so
# neither text is kept twice.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" found "${licence}")
set(PW_GAME_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${licence}" "Permission is hereby granted" start)
if(NOT found OR start LESS 0)
  message(FATAL_ERROR "LICENSE does not hold the copyright line and permission notice expected")
endif()
string(SUBSTRING "${licence}" ${start} -1 licence)
pw_as_field_body("${licence}" PW_GAME_LICENCE)

# The fonts' paragraph as it stands in their licence, less the part about
# another distribution's packaging files.
file(READ ${CMAKE_SOURCE_DIR}/resources/fonts/DejaVu-LICENSE.txt fonts)
string(FIND "${fonts}" "\nCopyright: " start)
string(FIND "${fonts}" "\n\nFiles: debian/" end)
if(start LESS 0 OR end LESS start)
  message(FATAL_ERROR "resources/fonts/DejaVu-LICENSE.txt is not in the form expected")
endif()
math(EXPR length "${end} - ${start} - 1")
math(EXPR start "${start} + 1")
string(SUBSTRING "${fonts}" ${start} ${length} fonts)
string(REGEX REPLACE "[ \t]+\n" "\n" PW_FONT_PARAGRAPH "${fonts}")
configure_file(${PW_PACKAGE_FILES}/copyright.in ${CMAKE_BINARY_DIR}/package/copyright @ONLY)

# The changelog's newest entry must name the version being packaged.
file(STRINGS ${PW_PACKAGE_FILES}/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^pivotwarden \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog has no entry for version ${PROJECT_VERSION}")
endif()
execute_process(COMMAND gzip -9nc ${PW_PACKAGE_FILES}/changelog
  OUTPUT_FILE ${CMAKE_BINARY_DIR}/package/changelog.gz RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot compress the changelog")
endif()
install(FILES ${CMAKE_BINARY_DIR}/package/copyright ${CMAKE_BINARY_DIR}/package/changelog.gz
  DESTINATION ${PW_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pivotwarden)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PW_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PW_SUMMARY}")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PW_PACKAGE_FILES}/description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries it needs are read from the executable by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
