# veltrane_expose(target folder [PRIVATE|PUBLIC|INTERFACE]): the target (and,
# unless PRIVATE, whatever links it) includes the headers of the source folder
# `folder` as "folder/..." and nothing else of the tree. A link of that one
# folder stands in a staging folder of the target's own.
function(veltrane_expose target folder)
  set(scope PUBLIC)
  if(ARGC GREATER 2)
    set(scope ${ARGV2})
  endif()
  set(stage ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${stage}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${stage}/${folder} SYMBOLIC)
  target_include_directories(${target} ${scope} ${stage})
endfunction()

# One library target per source folder. Sources are found by a glob so that a
# new file joins its layer's target without touching the build files. The
# target exposes only its own folder's headers, so an include of a layer it
# does not link fails to compile. RECURSE: the folder's subfolders belong to
# the target too (a window's pages, each in a folder of its own).
function(veltrane_library name)
  cmake_parse_arguments(ARG "QT;SHARED;RECURSE" "" "DEPS;PRIVATE_DEPS;EXCLUDE" ${ARGN})
  set(glob GLOB)
  if(ARG_RECURSE)
    set(glob GLOB_RECURSE)
  endif()
  file(${glob} sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  if(ARG_QT)
    set(CMAKE_AUTOMOC ON)
  endif()
  if(sources)
    if(ARG_SHARED)
      add_library(${name} SHARED ${sources})
    else()
      add_library(${name} STATIC ${sources})
    endif()
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS} ${ARG_PRIVATE_DEPS})
    set(scope INTERFACE)
  endif()
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  veltrane_expose(${name} ${folder} ${scope})
endfunction()

# veltrane_forms(target): every window description (*.form) of the calling
# folder and its subfolders becomes the C++ class of its designed controls,
# <name>_design.h and .cpp beside where the description lies, built into the
# target; the build fails on a description that names a control or container
# wrongly.
function(veltrane_forms target)
  file(GLOB_RECURSE forms CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.form)
  set(out ${CMAKE_BINARY_DIR}/generated/${target})
  set(compiler ${PROJECT_SOURCE_DIR}/cmake/form_compiler.py)
  foreach(form ${forms})
    get_filename_component(base ${form} NAME_WE)
    get_filename_component(dir ${form} DIRECTORY)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${dir})
    file(MAKE_DIRECTORY ${out}/${folder})
    set(h ${out}/${folder}/${base}_design.h)
    set(cpp ${out}/${folder}/${base}_design.cpp)
    add_custom_command(OUTPUT ${h} ${cpp}
                       COMMAND ${Python3_EXECUTABLE} ${compiler} ${form} ${h} ${cpp} ${folder}/${base}_design.h
                       DEPENDS ${form} ${compiler}
                       COMMENT "Window description ${folder}/${base}.form" VERBATIM)
    target_sources(${target} PRIVATE ${h} ${cpp})
  endforeach()
  target_include_directories(${target} PUBLIC ${out})
endfunction()

# A GoogleTest program from every *_test.cpp in the calling folder; each test
# case runs as its own CTest test inside a fresh home folder (see
# tests/run_isolated.sh), and the program runs whole as <name>.whole, each
# case again in a home of its own (tests/support/gtest/fresh_home.cpp).
# POP3D: the cases need the Dovecot fixture. RECURSE: the *_test.cpp of the
# folder's subfolders belong to the program too.
function(veltrane_gtest name)
  cmake_parse_arguments(ARG "POP3D;QT;RECURSE" "" "LIBS;SOURCES" ${ARGN})
  set(glob GLOB)
  if(ARG_RECURSE)
    set(glob GLOB_RECURSE)
  endif()
  file(${glob} sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  list(APPEND sources ${ARG_SOURCES})
  if(NOT sources)
    return()
  endif()
  # Every case in a home of its own, also when the program runs whole.
  list(APPEND sources ${PROJECT_SOURCE_DIR}/tests/support/gtest/fresh_home.cpp)
  if(ARG_QT)
    set(CMAKE_AUTOMOC ON)
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE test_support ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${VELTRANE_TEST_LAUNCHER})
  set(props LABELS ${name})
  if(ARG_POP3D)
    list(APPEND props FIXTURES_REQUIRED pop3d)
  endif()
  if(ARG_QT)
    list(APPEND props ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
  # The whole program in one process as well: what one case leaves behind
  # must not decide the next.
  add_test(NAME ${name}.whole COMMAND ${VELTRANE_TEST_LAUNCHER} $<TARGET_FILE:${name}>)
  set_tests_properties(${name}.whole PROPERTIES ${props} TIMEOUT 900)
endfunction()

# veltrane_screenshot(name SOURCE file LIBS ... [LABEL label]): a program that
# shows windows on a virtual X display with a window manager and saves them,
# frames included, as <build>/<name>*.png for a person to look at, run as the
# test <name> (skipped where the display or the manager is missing).
function(veltrane_screenshot name)
  cmake_parse_arguments(ARG "" "SOURCE;LABEL" "LIBS" ${ARGN})
  set(CMAKE_AUTOMOC ON)
  add_executable(${name} ${ARG_SOURCE})
  target_link_libraries(${name} PRIVATE test_support ${ARG_LIBS})
  add_test(NAME ${name}
           COMMAND ${VELTRANE_TEST_LAUNCHER} ${PROJECT_SOURCE_DIR}/tests/support/with_tray_host.sh --window-manager
                   $<TARGET_FILE:${name}> ${CMAKE_BINARY_DIR}/${name}.png)
  set_tests_properties(${name} PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77)
  if(ARG_LABEL)
    set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL})
  endif()
endfunction()

# veltrane_fuzzer(name SOURCE file LIBS ...): a libFuzzer target, built only
# with VELTRANE_FUZZ (clang). Its seed corpus lives in tests/fuzz/corpus/<name>.
function(veltrane_fuzzer name)
  cmake_parse_arguments(ARG "" "SOURCE" "LIBS" ${ARGN})
  if(NOT VELTRANE_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCE})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# Adds every sub-folder of the calling folder that has a CMakeLists.txt, in
# name order, so a new test, benchmark or fuzz folder joins by existing.
# EXCLUDE names folders to leave out.
function(veltrane_add_subfolders)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB lists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  list(SORT lists)
  foreach(l ${lists})
    get_filename_component(dir ${l} DIRECTORY)
    get_filename_component(name ${dir} NAME)
    if(NOT name IN_LIST ARG_EXCLUDE)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
