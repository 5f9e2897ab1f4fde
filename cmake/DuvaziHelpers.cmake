# Helper functions shared by every subsystem: warnings, sanitizers, unit tests, fuzz targets.

function(duvazi_global_flags)
  if(DUVAZI_FUZZ)
    # Instrument everything for coverage; only the fuzz binaries link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  elseif(DUVAZI_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endfunction()

# Warnings for our own targets (not for Qt's headers, which come in as system includes).
function(duvazi_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /utf-8)
    if(DUVAZI_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Woverloaded-virtual
                                             -Wimplicit-fallthrough)
    if(DUVAZI_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# A library of ours: sources, public include root, warnings.
function(duvazi_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  duvazi_warnings(${name})
endfunction()

# add_unit_test(name SOURCES ... LIBS ... [GUI])
# Builds a QtTest executable, gives it the test data folder and registers it with CTest.
# Every test runs on the offscreen platform so that widget tests need no display.
function(add_unit_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
      TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
      FUZZ_CORPUS_DIR="${PROJECT_SOURCE_DIR}/fuzz/corpus")
  duvazi_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false;LC_ALL=C.UTF-8"
      TIMEOUT 300)
endfunction()

# add_fuzz_target(name SOURCE file LIBS ... CORPUS dir)
# Always builds <name>_corpus, which runs the target's entry point over every file of its
# corpus as an ordinary test; with DUVAZI_FUZZ (clang) also the libFuzzer binary <name>.
function(add_fuzz_target name)
  cmake_parse_arguments(ARG "" "SOURCE;CORPUS" "LIBS" ${ARGN})
  add_executable(${name}_corpus ${ARG_SOURCE} ${PROJECT_SOURCE_DIR}/fuzz/corpusrunner.cpp)
  target_link_libraries(${name}_corpus PRIVATE ${ARG_LIBS})
  duvazi_warnings(${name}_corpus)
  add_test(NAME ${name}_corpus COMMAND ${name}_corpus ${ARG_CORPUS})
  set_tests_properties(${name}_corpus PROPERTIES TIMEOUT 300)
  if(DUVAZI_FUZZ)
    add_executable(${name} ${ARG_SOURCE})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  endif()
endfunction()
