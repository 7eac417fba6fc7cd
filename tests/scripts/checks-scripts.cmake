# Shell-level checks: the machine set-up script, the installation, and the README commands.
set(check_dir ${CMAKE_CURRENT_LIST_DIR})
add_test(NAME scripts.install_deps COMMAND bash ${check_dir}/InstallDepsTest.sh ${CMAKE_SOURCE_DIR})
add_test(NAME scripts.install
         COMMAND bash ${check_dir}/InstallTest.sh ${CMAKE_COMMAND} ${CMAKE_SOURCE_DIR}
                 ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${GRAPHMAT_PROGRAMS} -- ${GRAPHMAT_SCRIPTS})
add_test(NAME scripts.readme
         COMMAND bash ${check_dir}/ReadmeTest.sh ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_BINARY_DIR})
