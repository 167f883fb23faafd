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

add_executable(pivotwarden app/web_main.cpp)
target_link_libraries(pivotwarden PRIVATE pw_game)
# Linked to .js, not .html: the page is our own (platform/web/site/). The
# game's side is one ES module whose factory makes the one instance the page
# plays in; the contract with the page is one JS library, and what the game
# gives the page is marked in the C++ (PW_PAGE_EXPORT), not listed here.
set(PW_PAGE_CONTRACT ${CMAKE_SOURCE_DIR}/platform/web/PageContract.js)
target_link_options(pivotwarden PRIVATE
  --no-entry
  "SHELL:--js-library ${PW_PAGE_CONTRACT}"
  "SHELL:-s MODULARIZE=1"
  "SHELL:-s EXPORT_ES6=1"
  "SHELL:-s EXPORT_NAME=createPivotwarden"
  "SHELL:-s ENVIRONMENT=web"
  "SHELL:-s ALLOW_MEMORY_GROWTH=1"
  "SHELL:-s INITIAL_MEMORY=8MB"
  "SHELL:-s FILESYSTEM=0"
  # The heap's allocator, which the contract hands text through.
  "SHELL:-s EXPORTED_FUNCTIONS=_malloc,_free")
set_target_properties(pivotwarden PROPERTIES LINK_DEPENDS ${PW_PAGE_CONTRACT})

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
