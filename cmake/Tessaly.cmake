# Each folder under src/core, src/gui and tests is built from the sources it holds,
# so adding a file never needs an edit here.

function(tessaly_library name dir)
  cmake_parse_arguments(ARG "RECURSE" "" "DEPS" ${ARGN})
  set(glob GLOB)
  if(ARG_RECURSE)
    set(glob GLOB_RECURSE)
  endif()
  file(${glob} sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  file(${glob} headers CONFIGURE_DEPENDS ${dir}/*.h)
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

function(tessaly_test name dir)
  cmake_parse_arguments(ARG "" "" "DEPS;EXTRA" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${ARG_EXTRA})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  # The user's own settings folder never reaches a test: programs that look for the user's
  # Quorvel.ini find an empty folder of the build instead.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    ENVIRONMENT_MODIFICATION "XDG_CONFIG_HOME=set:${PROJECT_BINARY_DIR}/tests/user-config")
  # Tests find the project folder (and the shared test data beside it) from their own source
  # path; TESSALY_SOURCE_DIR, when set by hand, overrides it.
endfunction()
