# cmake -DIN=file -DOUT=file -P Truncate.cmake: OUT is the first half of IN.
file(SIZE ${IN} size)
math(EXPR half "${size} / 2")
execute_process(COMMAND head -c ${half} ${IN} OUTPUT_FILE ${OUT} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not truncate ${IN}")
endif()
