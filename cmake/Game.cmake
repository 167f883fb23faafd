# The game itself, the same on every target: the scene framework, its
# elements, the screens and the settings; then the host's capabilities
# around it (one folder each) and the application that wires them. The
# entry points (app/main.cpp, app/web_main.cpp) belong to each target.
set(PW_HOST_FOLDERS replay dump keys narration results howtoplay text sound)
set(PW_GAME_GLOBS scene elements game title settings ${PW_HOST_FOLDERS} app)
list(TRANSFORM PW_GAME_GLOBS PREPEND ${CMAKE_SOURCE_DIR}/)
list(TRANSFORM PW_GAME_GLOBS APPEND /*.cpp)
file(GLOB PW_GAME_SOURCES CONFIGURE_DEPENDS ${PW_GAME_GLOBS})
list(REMOVE_ITEM PW_GAME_SOURCES ${CMAKE_SOURCE_DIR}/app/main.cpp ${CMAKE_SOURCE_DIR}/app/web_main.cpp)
add_library(pw_game STATIC ${PW_GAME_SOURCES})
target_include_directories(pw_game PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(pw_game PUBLIC pw_platform)
target_compile_definitions(pw_game PUBLIC PW_VERSION="${PROJECT_VERSION}")
