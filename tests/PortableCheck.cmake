# Runs the Linux and the Windows build of the portable-file test on the same input and compares
# what they wrote, byte for byte. Called by ctest in the Windows build with
# -DLINUX_EXE=... -DWINDOWS_EXE=... -DEMULATOR=a|b|c -DOUT=folder
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
set(filter --gtest_filter=PortableFileTest.NamesBeyondAsciiAndTheBytesForTheCrossCheck)
if(NOT EXISTS "${LINUX_EXE}")
  message(FATAL_ERROR "no Linux build of the test at ${LINUX_EXE}: run ./test first")
endif()
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}/linux" "${OUT}/windows")

set(ENV{SAROKO_PORTABLE_OUT} "${OUT}/linux")
execute_process(COMMAND "${LINUX_EXE}" ${filter} RESULT_VARIABLE r OUTPUT_VARIABLE o ERROR_VARIABLE o)
if(NOT r EQUAL 0)
  message(FATAL_ERROR "Linux build failed:\n${o}")
endif()
# Wine shows the host's root as drive Z:.
set(ENV{SAROKO_PORTABLE_OUT} "Z:${OUT}/windows")
execute_process(COMMAND ${EMULATOR} "${WINDOWS_EXE}" ${filter} RESULT_VARIABLE r OUTPUT_VARIABLE o
                ERROR_VARIABLE o)
if(NOT r EQUAL 0)
  message(FATAL_ERROR "Windows build failed:\n${o}")
endif()

file(GLOB written RELATIVE "${OUT}/linux" "${OUT}/linux/*")
list(LENGTH written n)
if(NOT n EQUAL 2)
  message(FATAL_ERROR "expected a .klg and a .txt from the Linux build, got: ${written}")
endif()
foreach(f ${written})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUT}/linux/${f}"
                  "${OUT}/windows/${f}" RESULT_VARIABLE r)
  if(NOT r EQUAL 0)
    message(FATAL_ERROR "${f}: the Windows build wrote other bytes than the Linux build")
  endif()
  file(SIZE "${OUT}/linux/${f}" size)
  message(STATUS "${f}: ${size} bytes, the same from both builds")
endforeach()
