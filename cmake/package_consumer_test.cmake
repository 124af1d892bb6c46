# Proof by use of the installed package, run by ctest as a script:
#   cmake -DBUILD_DIR=... -DCONSUMER_SOURCE=... -DWORK_DIR=... -DTOOLCHAIN_FILE=...
#         [-DRUN=<emulator>] -P package_consumer_test.cmake
# Installs the build's package into WORK_DIR/prefix, configures and builds the consumer
# project against that prefix alone, and with RUN runs its journal_check.
foreach(var BUILD_DIR CONSUMER_SOURCE WORK_DIR TOOLCHAIN_FILE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "package_consumer_test: ${var} not set")
  endif()
endforeach()

function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "package_consumer_test: ${what} failed (${result})")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
run_step("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix --component tambre32)
# Nothing of the library's build tree but the installed prefix reaches the consumer.
run_step("configure" ${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/build -G Ninja
         -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE}
         -DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix)
run_step("build" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)
if(DEFINED RUN)
  execute_process(COMMAND ${RUN} ${WORK_DIR}/build/journal_check.exe journal.log
                  WORKING_DIRECTORY ${WORK_DIR}/build RESULT_VARIABLE result OUTPUT_VARIABLE output)
  message("${output}")
  if(NOT result EQUAL 0 OR NOT output MATCHES "journal_check: ok")
    message(FATAL_ERROR "package_consumer_test: journal_check failed (${result})")
  endif()
endif()
