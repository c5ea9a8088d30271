# Fuzz targets for every reader of outside data. In the ordinary build each target replays its
# stored inputs (tests/data/fuzz/<name>/) as a test; with TESSALY_FUZZ (clang) each is also a
# libFuzzer program, run by bench/fuzz.
file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/fuzz/fuzz_*.cpp)
foreach(source ${fuzz_sources})
  get_filename_component(name ${source} NAME_WE)
  string(REPLACE "fuzz_" "" area ${name})
  add_executable(replay_${area} ${source} ${CMAKE_CURRENT_LIST_DIR}/fuzz/replay.cpp)
  target_link_libraries(replay_${area} PRIVATE tessaly_core)
  target_include_directories(replay_${area} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/fuzz)
  add_test(NAME fuzz_replay_${area}
    COMMAND replay_${area} ${CMAKE_CURRENT_LIST_DIR}/data/fuzz/${area} ${CMAKE_CURRENT_LIST_DIR}/data/fuzz/common)
  if(TESSALY_FUZZ)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE tessaly_core)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/fuzz)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endif()
endforeach()
