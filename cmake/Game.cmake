# The game itself, the same on every target: the scene framework, its
# elements, the screens, the settings and the application around them. The
# entry points (app/main.cpp, app/web_main.cpp) belong to each target.
file(GLOB PW_GAME_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/scene/*.cpp ${CMAKE_SOURCE_DIR}/elements/*.cpp ${CMAKE_SOURCE_DIR}/game/*.cpp
  ${CMAKE_SOURCE_DIR}/title/*.cpp ${CMAKE_SOURCE_DIR}/settings/*.cpp ${CMAKE_SOURCE_DIR}/app/*.cpp)
list(REMOVE_ITEM PW_GAME_SOURCES ${CMAKE_SOURCE_DIR}/app/main.cpp ${CMAKE_SOURCE_DIR}/app/web_main.cpp)
add_library(pw_game STATIC ${PW_GAME_SOURCES})
target_include_directories(pw_game PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(pw_game PUBLIC pw_platform)
target_compile_definitions(pw_game PUBLIC PW_VERSION="${PROJECT_VERSION}")
