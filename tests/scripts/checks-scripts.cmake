# Shell-level checks: the machine set-up script and the installation.
set(check_dir ${CMAKE_CURRENT_LIST_DIR})
add_test(NAME scripts.install_deps COMMAND bash ${check_dir}/InstallDepsTest.sh ${CMAKE_SOURCE_DIR})
add_test(NAME scripts.install
         COMMAND bash ${check_dir}/InstallTest.sh ${CMAKE_COMMAND} ${CMAKE_SOURCE_DIR}
                 ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${GRAPHMAT_PROGRAMS} -- ${GRAPHMAT_SCRIPTS})
