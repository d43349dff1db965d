include_guard(GLOBAL)

# add_wine_test_with_http_server(name SCRIPT routes.json SOURCES ... LIBS ...
#                                [SERVER_OPTIONS --idle-seconds 60 ...])
# Like add_wine_test, but the program runs while tools/test_http_server.py
# serves `routes.json` on loopback; it finds the port in TEST_HTTP_PORT (see
# with_http_server.sh for the other variables).
set(WITH_HTTP_SERVER ${CMAKE_CURRENT_LIST_DIR}/with_http_server.sh CACHE INTERNAL "")

function(add_wine_test_with_http_server name)
  cmake_parse_arguments(ARG "" "SCRIPT" "SOURCES;LIBS;SERVER_OPTIONS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${name}
           COMMAND bash ${WITH_HTTP_SERVER} ${ARG_SCRIPT} ${ARG_SERVER_OPTIONS}
                   -- ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}> --gtest_color=no)
  require_gtest_pass(${name})
endfunction()
