# Installs the build into a temporary prefix and checks the tree and the installed programs.
set(with_windows 0)
if(TARGET tessaly)
  set(with_windows 1)
endif()
add_test(NAME install_tree
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/install/check.sh ${PROJECT_BINARY_DIR}
          $<TARGET_FILE:make_test_photo> ${with_windows})
set_tests_properties(install_tree PROPERTIES TIMEOUT 120)
