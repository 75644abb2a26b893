# libFuzzer targets (clang only; the `fuzz` preset builds them with
# AddressSanitizer and UndefinedBehaviorSanitizer).
#
#   zor_fuzz_target(<name> SOURCES <files...> LIBS <libraries...>)
#
# builds fuzz_<name> from the sources, which define LLVMFuzzerTestOneInput
# and zorFuzzSeeds() (FuzzSeeds.h), into <build>/fuzz-targets/, beside a copy
# of <name>.dict when the folder holds one. scripts/run-fuzzers.sh runs every
# program it finds there; `zor_fuzz_targets` builds them all.
set(ZOR_FUZZ_OUTPUT_DIR "${PROJECT_BINARY_DIR}/fuzz-targets")
if(NOT TARGET zor_fuzz_targets)
  add_custom_target(zor_fuzz_targets)
endif()

function(zor_fuzz_target name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  set(target "fuzz_${name}")
  add_executable(${target} ${ARG_SOURCES} "${PROJECT_SOURCE_DIR}/tests/fuzz/FuzzSeeds.cpp")
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}/src"
                                                "${PROJECT_SOURCE_DIR}/tests/fuzz")
  target_link_libraries(${target} PRIVATE ${ARG_LIBS})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${ZOR_FUZZ_OUTPUT_DIR}")
  set(dict "${CMAKE_CURRENT_SOURCE_DIR}/${name}.dict")
  if(EXISTS "${dict}")
    configure_file("${dict}" "${ZOR_FUZZ_OUTPUT_DIR}/${target}.dict" COPYONLY)
  endif()
  add_dependencies(zor_fuzz_targets ${target})
endfunction()
