# Installs the build (MODE=install: cmake --install into a prefix; MODE=package:
# the Debian package made by cpack and unpacked with dpkg-deb -x) into
# WORK_DIR, then uses the installation as a user would: every file in its
# usual place, the programs' run paths relative to themselves, the checker
# and the example host run from there without LD_LIBRARY_PATH, finding their
# data in share/orvane.
cmake_minimum_required(VERSION 3.25)

foreach(variable MODE BUILD_DIR SOURCE_DIR WORK_DIR VERSION BINDIR LIBDIR LIBEXECDIR INCLUDEDIR DATADIR MANDIR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "installed_tree.cmake needs -D${variable}=...")
  endif()
endforeach()

function(fail)
  string(JOIN "" text ${ARGN})
  message(FATAL_ERROR "${text}")
endfunction()

# Runs a command; its status, standard output and error land in <prefix>_status, _out, _err.
function(run prefix)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${prefix}_status "${status}" PARENT_SCOPE)
  set(${prefix}_out "${out}" PARENT_SCOPE)
  set(${prefix}_err "${err}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
string(TIMESTAMP started "%s")

if(MODE STREQUAL "install")
  set(root ${WORK_DIR}/prefix)
  run(install ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${root})
  if(NOT install_status EQUAL 0)
    fail("cmake --install failed:\n${install_out}${install_err}")
  endif()
elseif(MODE STREQUAL "package")
  run(cpack ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -G DEB -B ${WORK_DIR}/cpack)
  file(GLOB packages ${WORK_DIR}/cpack/orvane_${VERSION}_*.deb)
  if(NOT cpack_status EQUAL 0 OR NOT packages)
    fail("cpack made no package orvane_${VERSION}_*.deb:\n${cpack_out}${cpack_err}")
  endif()
  list(GET packages 0 package)
  foreach(field Package Version Maintainer Section Depends Description)
    run(field ${DPKG_DEB} --field ${package} ${field})
    string(STRIP "${field_out}" value_of_${field})
  endforeach()
  if(NOT value_of_Package STREQUAL "orvane" OR NOT value_of_Version STREQUAL "${VERSION}")
    fail("the package is ${value_of_Package} ${value_of_Version}, not orvane ${VERSION}")
  endif()
  if(value_of_Maintainer STREQUAL "" OR value_of_Section STREQUAL "" OR value_of_Description STREQUAL "")
    fail("the package has no maintainer, section or description")
  endif()
  # What dpkg-shlibdeps read off the programs, and the plugin nothing links.
  foreach(needed libqt6core6 libqt6widgets6 libqt6help6 libqt6sql6-sqlite libc6)
    if(NOT value_of_Depends MATCHES "(^|, )${needed}( |,|$)")
      fail("the package does not depend on ${needed}: Depends: ${value_of_Depends}")
    endif()
  endforeach()
  run(unpack ${DPKG_DEB} -x ${package} ${WORK_DIR}/root)
  if(NOT unpack_status EQUAL 0)
    fail("dpkg-deb -x failed:\n${unpack_err}")
  endif()
  set(root ${WORK_DIR}/root/usr)
else()
  fail("MODE is install or package, not ${MODE}")
endif()

set(examples ${root}/${DATADIR}/doc/orvane/examples)
foreach(file
    ${BINDIR}/orvane ${BINDIR}/Tamsel ${LIBDIR}/libORVANE.so ${INCLUDEDIR}/orvane.h
    ${LIBEXECDIR}/orvane/orvane_host
    ${DATADIR}/orvane/OrvaneResources.rcc ${DATADIR}/orvane/LangCodes.txt
    ${DATADIR}/orvane/Orvane.qhc ${DATADIR}/orvane/Orvane.qch ${DATADIR}/orvane/help/index.html
    ${DATADIR}/orvane/Orvane_de.qhc ${DATADIR}/orvane/Orvane_de.qch ${DATADIR}/orvane/help/de/index.html
    ${DATADIR}/orvane/help/Tamsel.html ${DATADIR}/orvane/TamselResources.rcc
    ${DATADIR}/applications/tamsel.desktop ${DATADIR}/icons/hicolor/48x48/apps/tamsel.png
    ${MANDIR}/man1/orvane.1 ${DATADIR}/bash-completion/completions/orvane
    ${DATADIR}/doc/orvane/examples/orvane_host.c ${DATADIR}/doc/orvane/examples/sample.html)
  if(NOT EXISTS ${root}/${file})
    fail("the installation has no ${file}")
  endif()
endforeach()

# The programs that load the library find it beside themselves, wherever the
# tree was put: a run path relative to $ORIGIN, none into the build folder.
find_program(READELF readelf)
if(READELF)
  foreach(program ${BINDIR}/Tamsel ${LIBEXECDIR}/orvane/orvane_host)
    run(elf ${READELF} -d ${root}/${program})
    if(NOT elf_out MATCHES "(RUNPATH|RPATH)[^\n]*\\[\\$ORIGIN/")
      fail("${program} has no run path relative to itself:\n${elf_out}")
    endif()
  endforeach()
  foreach(program ${BINDIR}/orvane ${BINDIR}/Tamsel ${LIBDIR}/libORVANE.so ${LIBEXECDIR}/orvane/orvane_host)
    run(elf ${READELF} -d ${root}/${program})
    string(FIND "${elf_out}" "${BUILD_DIR}" into_build)
    if(NOT into_build EQUAL -1)
      fail("${program} looks for libraries in the build folder:\n${elf_out}")
    endif()
  endforeach()
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  run(desktop ${DESKTOP_FILE_VALIDATE} ${root}/${DATADIR}/applications/tamsel.desktop)
  if(NOT desktop_status EQUAL 0 OR NOT "${desktop_out}${desktop_err}" STREQUAL "")
    fail("the desktop entry is not valid:\n${desktop_out}${desktop_err}")
  endif()
endif()

# Nothing of the build's library folder is on the way, nor the user's own state.
set(clean_env ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ORVANE_HOME=${WORK_DIR}/home ORVANE_LANG=en
              QT_QPA_PLATFORM=offscreen)

run(version ${clean_env} ${root}/${BINDIR}/orvane --version)
if(NOT version_status EQUAL 0 OR NOT version_out STREQUAL "orvane ${VERSION}\n")
  fail("orvane --version printed '${version_out}${version_err}' (status ${version_status})")
endif()

# The installed checker finds the problems of the sample (status 1) and says
# of them just what the checker in the build folder says: with its strings
# and language codes found in share/orvane.
set(check_args check --no-registry --all sample.html)
execute_process(COMMAND ${clean_env} ${root}/${BINDIR}/orvane ${check_args} WORKING_DIRECTORY ${examples}
  RESULT_VARIABLE installed_status OUTPUT_VARIABLE installed_out ERROR_VARIABLE installed_err)
execute_process(COMMAND ${clean_env} ${BUILD_DIR}/bin/orvane ${check_args} WORKING_DIRECTORY ${examples}
  RESULT_VARIABLE built_status OUTPUT_VARIABLE built_out ERROR_VARIABLE built_err)
if(NOT installed_status EQUAL 1 OR NOT installed_out MATCHES "sample.html:[0-9]+:[0-9]+:")
  fail("the installed orvane check gave status ${installed_status}:\n${installed_out}${installed_err}")
endif()
if(NOT installed_out STREQUAL built_out)
  fail("the installed orvane check reports otherwise than the built one:\n"
       "installed:\n${installed_out}${installed_err}\nbuilt:\n${built_out}${built_err}")
endif()

# The HTML report links the help pages installed in share/orvane/help.
run(html ${clean_env} ${root}/${BINDIR}/orvane check --no-registry --format html --output ${WORK_DIR}/report.html
    ${examples}/sample.html)
file(READ ${WORK_DIR}/report.html report)
set(help_folder ${root}/${DATADIR}/orvane/help)
string(FIND "${report}" "file://${help_folder}/" help_link)
if(NOT html_status EQUAL 1 OR help_link EQUAL -1)
  fail("the HTML report of the installed orvane does not link the installed help ${help_folder} "
       "(status ${html_status}):\n${html_err}")
endif()

# The example host loads libORVANE.so by name and checks the sample unattended.
# In a sanitized build LeakSanitizer reports, at the host's exit, blocks that
# Qt's libraries allocated as they were loaded and that were still held when
# dlclose unloaded them; the host's own status is what counts here.
run(host ${clean_env} ORVANE_SESSION=unattended ASAN_OPTIONS=detect_leaks=0
    ${root}/${LIBEXECDIR}/orvane/orvane_host ${examples}/sample.html ${WORK_DIR}/host-out.html)
if(NOT host_status EQUAL 0 OR NOT host_out MATCHES
   "file: [0-3]\ntext: [0-3]\ntext back: [a-z]+\nlines: [0-3]\nlines back: [0-9]+ bytes\nsaved: 1")
  fail("the installed example host gave status ${host_status}:\n${host_out}${host_err}")
endif()
file(SIZE ${WORK_DIR}/host-out.html saved_size)
if(saved_size EQUAL 0)
  fail("the installed example host saved an empty page")
endif()

string(TIMESTAMP finished "%s")
math(EXPR seconds "${finished} - ${started}")
message(STATUS "${MODE}: installed into ${root}, checked and run in ${seconds} s")
