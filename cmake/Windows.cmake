# The Windows build, cross-compiled with MinGW-w64 (scripts/build-windows.sh):
# the game's own code, the platform layer with the SDL window and sound, the
# headless backend and the Windows pieces, linked with SDL2 and the C++
# runtime into one pivotwarden.exe that needs only Windows' own DLLs; then
# the installer (NSIS) and a plain .zip.
include(${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake)
enable_language(RC)

find_package(SDL2 REQUIRED CONFIG)
find_package(Threads REQUIRED)
# stb's headers from Debian (libstb-dev): only their folder, linked into the
# build tree, since the rest of /usr/include is the desktop's C library.
find_path(STB_INCLUDE_DIR stb/stb_image.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/stb-include)
file(CREATE_LINK ${STB_INCLUDE_DIR}/stb ${CMAKE_BINARY_DIR}/stb-include/stb SYMBOLIC)

# The portable root, the
# SDL window and sound (without the POSIX signal watcher: Windows has a
# console handler instead), the headless backend for --headless and
# replays, and the Windows pieces.
file(GLOB PW_PLATFORM_SOURCES CONFIGURE_DEPENDS
  platform/*.cpp platform/sdl/*.cpp platform/headless/*.cpp platform/windows/*.cpp)
list(REMOVE_ITEM PW_PLATFORM_SOURCES ${CMAKE_SOURCE_DIR}/platform/sdl/QuitSignalWatcher.cpp)
add_library(pw_platform STATIC ${PW_PLATFORM_SOURCES} ${PW_EMBEDDED_SOURCES})
set_source_files_properties(platform/Surface.cpp PROPERTIES COMPILE_OPTIONS "-O3")
target_include_directories(pw_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_include_directories(pw_platform SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/stb-include)
target_link_libraries(pw_platform PUBLIC SDL2::SDL2-static Threads::Threads)
# The shell (the player's folders, opening a page), the user's identity and
# the list of sound devices.
target_link_libraries(pw_platform PUBLIC shell32 ole32 uuid advapi32)
# Unicode Windows calls, and the headers without min/max macros.
target_compile_definitions(pw_platform PUBLIC UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)

include(${CMAKE_SOURCE_DIR}/cmake/Game.cmake)

# The icon, the version information and the manifest.
set(PW_ICON_FILE ${CMAKE_SOURCE_DIR}/resources/icon/101.ico)
set(PW_MANIFEST_FILE ${CMAKE_SOURCE_DIR}/platform/windows/pivotwarden.manifest)
configure_file(platform/windows/pivotwarden.rc.in ${CMAKE_BINARY_DIR}/generated/pivotwarden.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/generated/pivotwarden.rc PROPERTIES
  OBJECT_DEPENDS "${PW_ICON_FILE};${PW_MANIFEST_FILE}")

# A GUI program: no console window opens when the player starts it.
add_executable(pivotwarden WIN32 app/main.cpp ${CMAKE_BINARY_DIR}/generated/pivotwarden.rc)
target_link_libraries(pivotwarden PRIVATE pw_game)
# Everything linked in: the C and C++ runtimes of the compiler and its
# threads, so that only Windows' own DLLs are needed.
target_link_options(pivotwarden PRIVATE -static -static-libgcc -static-libstdc++ -s)

# What a player downloads: the installer, made with Debian's NSIS, and a
# plain .zip of the game with its licences and a short README, in a folder
# of its own so that unpacking it makes one folder.
# The README with Windows' line endings, so that Notepad of any age shows
# its lines.
set(PW_WINDOWS_README ${CMAKE_BINARY_DIR}/generated/README.txt)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${PW_WINDOWS_README} @ONLY NEWLINE_STYLE CRLF)
set(PW_FONT_LICENSE ${CMAKE_SOURCE_DIR}/resources/fonts/DejaVu-LICENSE.txt)
set(PW_ZIP_STAGE ${CMAKE_BINARY_DIR}/zip/Pivotwarden)
set(PW_ZIP ${CMAKE_BINARY_DIR}/pivotwarden-${PROJECT_VERSION}-windows.zip)
add_custom_command(OUTPUT ${PW_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PW_ZIP_STAGE}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:pivotwarden> ${PW_ZIP_STAGE}/pivotwarden.exe
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${PW_ZIP_STAGE}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${PW_WINDOWS_README} ${PW_ZIP_STAGE}/README.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${PW_FONT_LICENSE} ${PW_ZIP_STAGE}/DejaVu-LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip
    ${CMAKE_COMMAND} -E tar cf ${PW_ZIP} --format=zip Pivotwarden
  DEPENDS pivotwarden ${CMAKE_SOURCE_DIR}/LICENSE ${PW_WINDOWS_README} ${PW_FONT_LICENSE}
  VERBATIM)
add_custom_target(pw_zip ALL DEPENDS ${PW_ZIP})

find_program(PW_MAKENSIS makensis)
if(PW_MAKENSIS)
  set(PW_INSTALLER ${CMAKE_BINARY_DIR}/pivotwarden-${PROJECT_VERSION}-setup.exe)
  set(PW_NSIS_SCRIPT ${CMAKE_SOURCE_DIR}/packaging/windows/pivotwarden.nsi)
  add_custom_command(OUTPUT ${PW_INSTALLER}
    COMMAND ${PW_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DEXE=$<TARGET_FILE:pivotwarden>
      -DLICENSE=${CMAKE_SOURCE_DIR}/LICENSE -DREADME=${PW_WINDOWS_README} -DFONT_LICENSE=${PW_FONT_LICENSE}
      -DICON=${PW_ICON_FILE} -DOUTFILE=${PW_INSTALLER} ${PW_NSIS_SCRIPT}
    DEPENDS pivotwarden ${PW_NSIS_SCRIPT} ${CMAKE_SOURCE_DIR}/LICENSE ${PW_WINDOWS_README} ${PW_FONT_LICENSE}
      ${PW_ICON_FILE}
    VERBATIM)
  add_custom_target(pw_installer ALL DEPENDS ${PW_INSTALLER})
else()
  message(STATUS "makensis not found: no installer")
endif()
