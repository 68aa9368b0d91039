# Helpers that give every target of the project the same warnings and layout.

set(ZAPDATE_WARNINGS -Wall -Wextra)
if(ZAPDATE_WERROR)
  list(APPEND ZAPDATE_WARNINGS -Werror)
endif()

# zapdate_library(<name> SOURCES ... [LIBS ...]): a static library of one folder of the source.
function(zapdate_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_compile_options(${name} PRIVATE ${ZAPDATE_WARNINGS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(L_LIBS)
    target_link_libraries(${name} PUBLIC ${L_LIBS})
  endif()
endfunction()

# zapdate_executable(<name> SOURCES ... [LIBS ...] [CONSOLE]): a Windows program; GUI unless CONSOLE.
function(zapdate_executable name)
  cmake_parse_arguments(E "CONSOLE" "OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${E_SOURCES})
  target_compile_options(${name} PRIVATE ${ZAPDATE_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(NOT E_CONSOLE)
    target_link_options(${name} PRIVATE -mwindows)
  endif()
  if(E_LIBS)
    target_link_libraries(${name} PRIVATE ${E_LIBS})
  endif()
  if(E_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${E_OUTPUT_NAME})
  endif()
endfunction()

# zapdate_test(<name> SOURCES ... [LIBS ...] [SERIAL] [LABELS ...]): a GoogleTest program run by
# CTest under Wine. SERIAL tests share the program's fixed kernel-object names and the update
# temporary folder, so CTest never runs two of them at once.
function(zapdate_test name)
  cmake_parse_arguments(T "SERIAL" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_compile_options(${name} PRIVATE ${ZAPDATE_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS} zapdate_test_main)
  set(props LABELS "${T_LABELS}")
  if(T_SERIAL)
    list(APPEND props RESOURCE_LOCK zapdate_kernel_objects)
  endif()
  if(T_TIMEOUT)
    list(APPEND props TIMEOUT ${T_TIMEOUT})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX "${name}:"
                       PROPERTIES ${props})
endfunction()
