# Installs the build tree into a scratch prefix and builds and runs hosts against it: through
# find_package(geoxform CONFIG) and, for the C interface, through pkg-config. Each host reads
# the data from Support/ beside the installed library. Variables: BUILD_DIR, SOURCE_DIR,
# WORK_DIR, GENERATOR, C_COMPILER, CXX_COMPILER, LINK_FLAGS (the library's sanitizers),
# LIBDIR, VERSION, CONSUMER_C (ON or OFF), PYTHON_DIR.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  message(STATUS "${ARGN}\n${out}")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status})")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
set(libdir ${prefix}/${LIBDIR})
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/consumer -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_C_COMPILER=${C_COMPILER}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER} "-DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS}"
    -DCONSUMER_C=${CONSUMER_C})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/consumer_cpp) # the imported target's RPATH finds the library
if(EXISTS ${prefix}/bin/geoxform) # the installed command-line host, through its own RPATH
  run(${prefix}/bin/geoxform fwd 27700 1.7179 52.6576)
endif()
if(CONSUMER_C)
  run(${WORK_DIR}/consumer/consumer_c)
endif()

# The installed Python package finds the installed library above it (Debian's interpreter with
# numpy; not with a sanitizer runtime, which the interpreter would have to preload).
if(NOT LINK_FLAGS AND EXISTS /usr/bin/python3)
  run(${CMAKE_COMMAND} -E env --unset=GEOXFORM_LIBRARY
      PYTHONPATH=${prefix}/${PYTHON_DIR} /usr/bin/python3 -c
      "g = __import__('geoxform')\nprint(g.library_path(), g.System.from_epsg(27700).forward(1.7179215833, 52.6575703056))")
  if(NOT out MATCHES "^${libdir}/libgeoxform.so .*651409.90")
    message(FATAL_ERROR "the installed Python package did not use the installed library")
  endif()
endif()

# pkg-config: the version, and the C host built with its flags alone.
set(pkg ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${libdir}/pkgconfig pkg-config)
run(${pkg} --exact-version=${VERSION} geoxform)
if(CONSUMER_C)
  run(${pkg} --cflags --libs geoxform)
  separate_arguments(flags UNIX_COMMAND "${out} ${LINK_FLAGS}")
  run(${C_COMPILER} -std=c99 -Wall -Wextra -pedantic -Werror ${SOURCE_DIR}/consumer.c ${flags}
      -lm -o ${WORK_DIR}/consumer_pc)
  run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${libdir} ${WORK_DIR}/consumer_pc)
endif()
