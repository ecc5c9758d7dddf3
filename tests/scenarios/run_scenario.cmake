# Runs varrowlog-script on a fresh program directory and compares its journal with the
# expected one. Variables: RUNNER, SCRIPT, EXPECTED, EXIT_CODE (0 when not given),
# EMULATOR, the program that runs RUNNER (Wine for the Windows build), and FILES, files put
# into the program directory first, separated by "|".
string(RANDOM LENGTH 12 suffix)
set(dir "${CMAKE_CURRENT_BINARY_DIR}/scenario-${suffix}")
file(MAKE_DIRECTORY "${dir}")
if(DEFINED FILES)
  string(REPLACE "|" ";" files "${FILES}")
  file(COPY ${files} DESTINATION "${dir}")
endif()
execute_process(COMMAND ${EMULATOR} "${RUNNER}" "${dir}" "${SCRIPT}"
                OUTPUT_VARIABLE journal ERROR_VARIABLE errors RESULT_VARIABLE result)
file(REMOVE_RECURSE "${dir}")
if(NOT DEFINED EXIT_CODE)
  set(EXIT_CODE 0)
endif()
if(NOT result EQUAL EXIT_CODE)
  message(FATAL_ERROR "varrowlog-script exited with ${result}, not ${EXIT_CODE}: ${errors}")
endif()
file(READ "${EXPECTED}" expected)
if(NOT journal STREQUAL expected)
  message(FATAL_ERROR "journal differs.\n--- expected\n${expected}--- got\n${journal}")
endif()
