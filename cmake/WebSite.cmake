# Writes the browser build's site: cmake -DSITE=... -DSOURCE=... -DGAME_JS=...
# -P WebSite.cmake. Run at every build, after the game links.
get_filename_component(_dir ${GAME_JS} DIRECTORY)
file(MAKE_DIRECTORY ${SITE}/icons)
set(_pages ${SOURCE}/platform/web/site)
file(COPY ${_pages}/manifest.webmanifest ${_pages}/content-security-policy DESTINATION ${SITE})
# The site's content policy, one line, in the page's head as the server
# sends it as a header.
file(READ ${_pages}/content-security-policy PW_POLICY)
string(STRIP "${PW_POLICY}" PW_POLICY)
configure_file(${_pages}/index.html ${SITE}/index.html @ONLY)
# The page's modules, one by concern.
file(GLOB _modules RELATIVE ${_pages} ${_pages}/page/*.js)
file(REMOVE_RECURSE ${SITE}/page)
file(COPY ${_pages}/page DESTINATION ${SITE} FILES_MATCHING PATTERN "*.js")
file(COPY ${_dir}/pivotwarden.js ${_dir}/pivotwarden.wasm DESTINATION ${SITE})
# The recordings "How to play" shows.
file(MAKE_DIRECTORY ${SITE}/demo)
file(COPY ${SOURCE}/docs/replays/demo-shown.replay ${SOURCE}/docs/replays/demo-hidden.replay
  DESTINATION ${SITE}/demo)
file(GLOB _icons ${SOURCE}/resources/icon/*.png)
file(COPY ${_icons} DESTINATION ${SITE}/icons)
# The pictures the desktop's AppStream listing shows from the published
# site; the game does not need them, so the service worker does not keep them.
file(MAKE_DIRECTORY ${SITE}/screenshots)
file(COPY ${SOURCE}/docs/overview.png ${SOURCE}/docs/game-left.png ${SOURCE}/docs/keypad.png
  ${SOURCE}/docs/options.png DESTINATION ${SITE}/screenshots)

set(_kept index.html manifest.webmanifest pivotwarden.js pivotwarden.wasm
  demo/demo-shown.replay demo/demo-hidden.replay ${_modules})
foreach(_icon IN LISTS _icons)
  get_filename_component(_name ${_icon} NAME)
  list(APPEND _kept icons/${_name})
endforeach()
set(_all "")
set(_list "")
foreach(_file IN LISTS _kept)
  file(SHA256 ${SITE}/${_file} _hash)
  string(APPEND _all ${_hash})
  string(APPEND _list "  [\"${_file}\", \"${_hash}\"],\n")
  if(_file STREQUAL "index.html")
    string(APPEND _list "  [\"./\", \"${_hash}\"],\n")
  endif()
endforeach()
string(SHA256 _version "${_all}")
string(SUBSTRING ${_version} 0 16 PW_CACHE_VERSION)
set(PW_CACHED_FILES "${_list}")
configure_file(${_pages}/sw.js ${SITE}/sw.js @ONLY)
