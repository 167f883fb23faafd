# The browser build (configured with emcmake): the game's own code, the
# platform layer without SDL and with the web backend, and the page's site.
# The resulting folder site/ is plain static files.
include(${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake)

# The portable root, the browser's backend, and the headless one for the
# replays the page plays.
# Emscripten's C library gives the POSIX clock and calendar.
file(GLOB PW_PLATFORM_SOURCES CONFIGURE_DEPENDS platform/*.cpp platform/web/*.cpp platform/headless/*.cpp)
list(APPEND PW_PLATFORM_SOURCES platform/posix/SystemServices.cpp)
add_library(pw_platform STATIC ${PW_PLATFORM_SOURCES} ${PW_EMBEDDED_SOURCES})
target_include_directories(pw_platform PUBLIC ${CMAKE_SOURCE_DIR})
# stb's headers from Debian (libstb-dev): only their folder, linked into the
# build tree, since the rest of /usr/include is the desktop's C library.
find_path(STB_INCLUDE_DIR stb/stb_image.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/stb-include)
file(CREATE_LINK ${STB_INCLUDE_DIR}/stb ${CMAKE_BINARY_DIR}/stb-include/stb SYMBOLIC)
target_include_directories(pw_platform SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/stb-include)

include(${CMAKE_SOURCE_DIR}/cmake/Game.cmake)

set(PW_WEB_EXPORTS _pw_play,_pw_play_set,_pw_post,_pw_key,_pw_describe,_pw_dump,_pw_replay,_pw_replay_text,_pw_replay_show,_pw_show,_pw_show_end,_malloc,_free)
add_executable(pivotwarden app/web_main.cpp)
target_link_libraries(pivotwarden PRIVATE pw_game)
# Linked to .js, not .html: the page is our own (platform/web/site/). One
# factory makes independent instances: the game, and a second one for replays
# with settings, random numbers and clock of its own.
target_link_options(pivotwarden PRIVATE
  --no-entry
  "SHELL:-s MODULARIZE=1"
  "SHELL:-s EXPORT_NAME=createPivotwarden"
  "SHELL:-s ENVIRONMENT=web"
  "SHELL:-s ALLOW_MEMORY_GROWTH=1"
  "SHELL:-s INITIAL_MEMORY=8MB"
  "SHELL:-s FILESYSTEM=0"
  "SHELL:-s EXPORTED_FUNCTIONS=${PW_WEB_EXPORTS}"
  "SHELL:-s EXPORTED_RUNTIME_METHODS=ccall,UTF8ToString,stringToUTF8,lengthBytesUTF8")

# The site: the page, its script, the service worker, the manifest, the
# icons and the game itself, with the service worker's cache named after a
# digest of the files it keeps, so that a new build replaces the old one.
# Written at every build, after the game links, so that a change to the page
# alone shows too (what is unchanged is not copied again).
set(PW_SITE ${CMAKE_BINARY_DIR}/site)
add_custom_target(site ALL
  COMMAND ${CMAKE_COMMAND} -DSITE=${PW_SITE} -DSOURCE=${CMAKE_SOURCE_DIR}
    -DGAME_JS=$<TARGET_FILE:pivotwarden> -P ${CMAKE_SOURCE_DIR}/cmake/WebSite.cmake
  VERBATIM)
add_dependencies(site pivotwarden)
