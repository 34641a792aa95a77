# Regenerates the reference data file into a temporary file and compares it byte for byte
# with the committed data/KQUCSData.kqb. Prints "SKIPPED" (which the test maps to a skip) when
# python3 or PROJ's database is missing.
#   cmake -DSOURCE_DIR=<repository> -DWORK_DIR=<scratch directory> -P check_refdata.cmake
set(_db /usr/share/proj/proj.db)
find_program(_python NAMES python3)
if(NOT _python OR NOT EXISTS ${_db})
  message("SKIPPED: python3 or ${_db} not available")
  return()
endif()
set(_output ${WORK_DIR}/KQUCSData.regenerated.kqb)
execute_process(
  COMMAND ${_python} ${SOURCE_DIR}/tools/make_refdata.py --db ${_db} --output ${_output}
  RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "make_refdata.py failed: ${_result}")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E compare_files ${_output} ${SOURCE_DIR}/data/KQUCSData.kqb
  RESULT_VARIABLE _different)
file(REMOVE ${_output})
if(_different)
  message(FATAL_ERROR "data/KQUCSData.kqb differs from a regeneration; run the refdata target")
endif()
message("data/KQUCSData.kqb matches its regeneration")
