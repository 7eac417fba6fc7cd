# Installation rules: every program the programs*.cmake fragments define, the scripts under
# scripts/, and the README with the example diagrams as documentation.
include(GNUInstallDirs)

# Installs every executable defined in the calling directory (the top one, where the
# programs*.cmake fragments are included), so a fragment needs no install line of its own.
# A fragment keeps a program out with
#   set_target_properties(<name> PROPERTIES GRAPHMAT_INSTALL OFF)
# The names of the installed programs are returned in `out_var`.
function(graphmat_install_programs out_var)
  get_directory_property(targets BUILDSYSTEM_TARGETS)
  set(programs)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    get_target_property(wanted ${target} GRAPHMAT_INSTALL)
    if(type STREQUAL "EXECUTABLE" AND (wanted MATCHES "-NOTFOUND$" OR wanted))
      list(APPEND programs ${target})
    endif()
  endforeach()
  install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(${out_var} ${programs} PARENT_SCOPE)
endfunction()

# Every executable file under scripts/ is a user command, except the machine set-up,
# which only makes sense inside a source tree.
function(graphmat_install_scripts out_var)
  file(GLOB candidates CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/scripts/*)
  set(scripts)
  foreach(path ${candidates})
    get_filename_component(name ${path} NAME)
    if(IS_DIRECTORY ${path} OR name STREQUAL "install-deps")
      continue()
    endif()
    execute_process(COMMAND test -x ${path} RESULT_VARIABLE not_executable)
    if(NOT not_executable)
      install(PROGRAMS ${path} DESTINATION ${CMAKE_INSTALL_BINDIR})
      list(APPEND scripts ${name})
    endif()
  endforeach()
  set(${out_var} ${scripts} PARENT_SCOPE)
endfunction()

# The README and the example pair go under share/doc/graphmat/; the demo script is left
# out because it runs from a build tree.
function(graphmat_install_docs)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
          FILES_MATCHING PATTERN "*.txt")
endfunction()
