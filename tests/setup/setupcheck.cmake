# The set-up as a new user meets it: the installed program carries its copyright file, and
# run.sh without a display says so before it starts a build.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -P setupcheck.cmake
file(REMOVE_RECURSE ${WORK_DIR})

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()
if(NOT EXISTS ${WORK_DIR}/prefix/share/doc/library-desk/copyright)
    message(FATAL_ERROR "the installed tree has no share/doc/library-desk/copyright")
endif()

# run.sh in a copy of the tree whose build step only leaves a mark.
file(COPY ${SOURCE_DIR}/scripts/run.sh DESTINATION ${WORK_DIR}/tree/scripts)
file(WRITE ${WORK_DIR}/tree/scripts/build.sh "#!/bin/sh\ntouch \"$(dirname \"$0\")/../built\"\n")
file(CHMOD ${WORK_DIR}/tree/scripts/build.sh PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            --unset=QT_QPA_PLATFORM bash ${WORK_DIR}/tree/scripts/run.sh
    RESULT_VARIABLE ran ERROR_VARIABLE said OUTPUT_QUIET)
if(ran EQUAL 0 OR NOT said MATCHES "No display found")
    message(FATAL_ERROR "run.sh without a display: exit ${ran}, said: ${said}")
endif()
if(EXISTS ${WORK_DIR}/tree/built)
    message(FATAL_ERROR "run.sh started the build before saying there is no display")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
