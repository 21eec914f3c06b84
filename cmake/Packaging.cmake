# Installation into the freedesktop locations and a Debian package built with CPack:
#   cmake --build build-package && (cd build-package && cpack -G DEB)
# Dependencies on the runtime libraries are computed by dpkg-shlibdeps, not listed by hand.

install(TARGETS tolvane tolvane-standin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tolvane/examples
  FILES_MATCHING PATTERN "*.tcl" PATTERN "*.txt" PATTERN "*.dat")

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tolvane)
set(package_build ${PROJECT_BINARY_DIR}/package)
install(FILES ${PROJECT_SOURCE_DIR}/tools/package/copyright DESTINATION ${doc_dir})

# Debian wants the changelog and the manual pages compressed without a time stamp.
find_program(GZIP gzip)
find_program(HELP2MAN help2man)
set(package_files)
if(GZIP)
  add_custom_command(OUTPUT ${package_build}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_build}
    COMMAND ${GZIP} -9n -c ${PROJECT_SOURCE_DIR}/tools/package/changelog > ${package_build}/changelog.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/package/changelog)
  list(APPEND package_files ${package_build}/changelog.gz)
  install(FILES ${package_build}/changelog.gz DESTINATION ${doc_dir})
endif()

# Manual pages from the programs' own --help and --version, so they never drift from them. Not
# in the sanitizer build, whose programs would report their start-up on every build.
if(GZIP AND HELP2MAN AND NOT TOLVANE_SANITIZE)
  foreach(program tolvane tolvane-standin)
    if(program STREQUAL "tolvane")
      set(summary "edit, view, run and study OpenSees Tcl models")
    else()
      set(summary "stand-in for the OpenSees solver, for trying Tolvane and its tests")
    endif()
    add_custom_command(OUTPUT ${package_build}/${program}.1.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${package_build}
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              ${HELP2MAN} --no-info --no-discard-stderr --name=${summary} --output=${package_build}/${program}.1
              $<TARGET_FILE:${program}>
      COMMAND ${GZIP} -9n -f ${package_build}/${program}.1
      DEPENDS ${program}
      VERBATIM)
    list(APPEND package_files ${package_build}/${program}.1.gz)
    install(FILES ${package_build}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
endif()
add_custom_target(tolvane_package_files ALL DEPENDS ${package_files})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tolvane developers")
set(CPACK_PACKAGE_CONTACT "The Tolvane developers <developers@tolvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "edit, view, run and study OpenSees Tcl models")
# CPack indents these lines and marks the empty one as a paragraph break; the synopsis is the
# summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Tolvane is a desktop program for structural engineers who describe
finite-element models as OpenSees Tcl scripts. In one window they edit their
scripts, see the model in 3-D, run the solver on it and study the results:
deformed shapes, contours and member force diagrams stepped as an animation,
curves of node responses and of the load history, and a deformed shape that
follows a running analysis live.

The package also holds tolvane-standin, a stand-in for the solver for trying
the program; it does no structural analysis.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tolvane.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: OpenGL drivers for the 3-D view and
# Tcl's script library for the interpreter.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri, tcl8.6")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
