# Test harness: GoogleTest for both builds. Native tests are discovered one case at a time;
# Windows test programs run whole under Wine, inside one wineserver kept alive for the run.
include(GoogleTest)

set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(WIN32)
  set(KESTRIP_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE @ONLY)
  add_test(NAME wine_server_start COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --server-start)
  add_test(NAME wine_server_stop COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --server-stop)
  set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180 LABELS windows)
  set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60 LABELS windows)
endif()

# kestrip_add_gtest(NAME SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s] [GUI] [PROPERTIES k v ...])
#   Every test gets the label of its build (native or windows) plus the given LABELS.
#   GUI tests run under xvfb-run.
function(kestrip_add_gtest name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS;LABELS;PROPERTIES" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(WIN32)
    if(T_GUI)
      add_test(NAME ${name} COMMAND xvfb-run -a ${CMAKE_BINARY_DIR}/wine-run.sh $<TARGET_FILE:${name}>)
    else()
      add_test(NAME ${name} COMMAND ${name})
    endif()
    set_tests_properties(${name} PROPERTIES
      TIMEOUT ${T_TIMEOUT} LABELS "windows;${T_LABELS}"
      FAIL_REGULAR_EXPRESSION "wine: Unhandled" WORKING_DIRECTORY ${KESTRIP_BIN_DIR} ${T_PROPERTIES})
    # Added, not set: a test's own fixtures must not drop the Wine server.
    set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED wine)
    # GUI tests share the Wine session's one screen (focus, mouse): one at a time.
    if(T_GUI)
      set_property(TEST ${name} APPEND PROPERTY RESOURCE_LOCK screen)
    endif()
  else()
    # gtest_discover_tests flattens list values in its PROPERTIES ("LABELS native;x" would
    # lose x and shift every later pair), so the properties are set by a file ctest reads
    # after the discovered tests.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 WORKING_DIRECTORY ${KESTRIP_BIN_DIR}
      TEST_LIST ${name}_TESTS)
    set(props "TIMEOUT [==[${T_TIMEOUT}]==] LABELS [==[native;${T_LABELS}]==]")
    set(key "")
    foreach(item IN LISTS T_PROPERTIES)
      if(key STREQUAL "")
        set(key ${item})
      else()
        string(APPEND props " ${key} [==[${item}]==]")
        set(key "")
      endif()
    endforeach()
    set(props_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
    file(WRITE ${props_file}
      "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES ${props})\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${props_file})
  endif()
endfunction()
