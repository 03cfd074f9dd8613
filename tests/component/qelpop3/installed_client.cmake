# Installs the qelpop3 component into a fresh prefix, builds the README's
# example client against it through pkg-config alone, and runs it against a
# port nobody listens on.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component qelpop3)
run("install development files" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component qelpop3_dev)

file(READ ${SOURCE_DIR}/README.md readme)
string(FIND "${readme}" "<!-- example-client -->\n```cpp\n" begin)
if(begin EQUAL -1)
  message(FATAL_ERROR "README.md has no example client")
endif()
string(LENGTH "<!-- example-client -->\n```cpp\n" marker)
math(EXPR begin "${begin} + ${marker}")
string(SUBSTRING "${readme}" ${begin} -1 rest)
string(FIND "${rest}" "```" end)
string(SUBSTRING "${rest}" 0 ${end} example)
file(WRITE ${WORK_DIR}/list_mailbox.cpp "${example}")

set(ENV{PKG_CONFIG_PATH} "")
file(GLOB pc_dirs ${prefix}/lib*/pkgconfig ${prefix}/lib/*/pkgconfig)
set(ENV{PKG_CONFIG_LIBDIR} "${pc_dirs}")
run("pkg-config" pkg-config --cflags --libs qelpop3)
string(STRIP "${last_output}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run("pkg-config variable" pkg-config --variable=qelpop3_library qelpop3)
string(STRIP "${last_output}" library)
if(NOT EXISTS ${library})
  message(FATAL_ERROR "pkg-config names ${library}, which the install lacks")
endif()
separate_arguments(extra UNIX_COMMAND "${EXTRA_FLAGS}")
run("compile" ${CXX} -std=c++20 -Wall -Wextra -Werror ${extra} ${WORK_DIR}/list_mailbox.cpp ${flags}
    "-DQELPOP3_LIBRARY=\"${library}\"" -o ${WORK_DIR}/list_mailbox)

# Port 1 on the loopback address refuses at once: error 10061.
execute_process(COMMAND ${WORK_DIR}/list_mailbox 127.0.0.1 1 user secret
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out MATCHES "^error 10061: ")
  message(FATAL_ERROR "the installed client answered ${rc}:\n${out}\n${err}")
endif()
message(STATUS "installed client: ${out}")
