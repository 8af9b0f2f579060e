# Runs `bench` with the options the pin names and fails unless it prints the pinned signature.
# Called with BENCH (the program), PINS (bench/signature.txt), NAME (a line's first word) and
# ARGS (its options); RUNS=2 also checks that a second run agrees with the first.
file(STRINGS ${PINS} lines REGEX "^${NAME} ")
list(LENGTH lines n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "${PINS} needs exactly one line '${NAME} <signature>'")
endif()
string(REGEX REPLACE "^${NAME} +([0-9a-f]+).*" "\\1" pinned "${lines}")
separate_arguments(args UNIX_COMMAND "${ARGS}")
if(NOT RUNS)
  set(RUNS 1)
endif()
foreach(run RANGE 1 ${RUNS})
  execute_process(COMMAND ${BENCH} ${args} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "bench ${ARGS} failed (${rc}):\n${out}${err}")
  endif()
  string(REGEX MATCH "signature ([0-9a-f]+)" _ "${out}")
  set(sig "${CMAKE_MATCH_1}")
  if(run EQUAL 1)
    set(first "${sig}")
    message("${out}")
  elseif(NOT sig STREQUAL first)
    message(FATAL_ERROR "two runs of bench ${ARGS} disagree: ${first}, then ${sig}")
  endif()
endforeach()
if(NOT sig STREQUAL pinned)
  message(FATAL_ERROR
    "bench ${ARGS} prints signature ${sig}, but ${PINS} pins ${pinned}.\n"
    "The search or the tables now decide differently. If that is intended, write\n"
    "  ${NAME} ${sig}\n"
    "into ${PINS}, and let the commit that does it say why the search changed and state the\n"
    "new value; otherwise find what changed the search.")
endif()
message("signature ${sig} as pinned")
