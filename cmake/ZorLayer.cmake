# One static library per layer. Its sources are every .cpp file of the
# layer's folder (sub-folders included); its link dependencies are exactly the
# layers it may use, so the build states the architecture.
function(zor_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# A GoogleTest executable made of every .cpp file of the current test folder.
function(zor_gtest name)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} zor_test_support
                                        GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ZOR_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    ZOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES LABELS "${ARG_LABELS}")
endfunction()

# One Qt Test executable per .cpp file of the current test folder.
function(zor_qtests)
  cmake_parse_arguments(ARG "" "PREFIX" "DEPS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp")
  foreach(src IN LISTS sources)
    get_filename_component(base "${src}" NAME_WE)
    set(target "${ARG_PREFIX}_${base}")
    add_executable(${target} "${src}")
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} zor_test_support Qt6::Test)
    target_compile_definitions(${target} PRIVATE
      ZOR_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
      ZOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      ZOR_BINARY_DIR="${PROJECT_BINARY_DIR}")
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES
      LABELS "${ARG_LABELS}"
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=60000"
      TIMEOUT 300)
  endforeach()
endfunction()
