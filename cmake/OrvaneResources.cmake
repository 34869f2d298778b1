# Resource bundles and help files of the deliverables, built the same way for
# the checker library and for Tamsel.

# orvane_resource_bundle(TARGET NAME FILES...): the files (below the calling
# folder, named by their path there) into NAME.rcc beside the libraries. The
# bundle's list is written at configure time.
function(orvane_resource_bundle target name)
  set(files ${ARGN})
  list(SORT files)
  set(bundle ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/${name}.rcc)
  set(qrc_text "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/\">\n")
  foreach(file IN LISTS files)
    file(RELATIVE_PATH alias ${CMAKE_CURRENT_SOURCE_DIR} ${file})
    string(APPEND qrc_text "    <file alias=\"${alias}\">${file}</file>\n")
  endforeach()
  string(APPEND qrc_text "  </qresource>\n</RCC>\n")
  set(qrc ${CMAKE_CURRENT_BINARY_DIR}/${name}.qrc)
  file(CONFIGURE OUTPUT ${qrc} CONTENT "${qrc_text}")
  add_custom_command(
    OUTPUT ${bundle}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}
    COMMAND Qt6::rcc -binary ${qrc} -o ${bundle}
    DEPENDS ${qrc} ${files}
    COMMENT "Building the resource bundle ${name}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${bundle})
endfunction()

# orvane_help_file(TARGET NAME NAMESPACE ns TOC text KEYWORDS text FILES ...
#                  [PLAIN_COPY folder]): the topics compiled by qhelpgenerator
# into NAME.qch with its collection NAME.qhc beside the libraries; TOC and
# KEYWORDS are the <toc> and <keywords> entries of the help project. With
# PLAIN_COPY the topics are also copied there as plain pages.
function(orvane_help_file target name)
  cmake_parse_arguments(HELP "" "NAMESPACE;TOC;KEYWORDS;PLAIN_COPY" "FILES" ${ARGN})
  set(stage ${CMAKE_CURRENT_BINARY_DIR}/help-${name})
  set(out ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
  set(files_text "")
  foreach(file IN LISTS HELP_FILES)
    get_filename_component(file_name ${file} NAME)
    string(APPEND files_text "      <file>${file_name}</file>\n")
  endforeach()
  file(CONFIGURE OUTPUT ${stage}/${name}.qhp CONTENT
"<?xml version=\"1.0\" encoding=\"UTF-8\"?>
<QtHelpProject version=\"1.0\">
  <namespace>${HELP_NAMESPACE}</namespace>
  <virtualFolder>doc</virtualFolder>
  <filterSection>
    <toc>
${HELP_TOC}    </toc>
    <keywords>
${HELP_KEYWORDS}    </keywords>
    <files>
${files_text}    </files>
  </filterSection>
</QtHelpProject>
")
  file(CONFIGURE OUTPUT ${stage}/${name}.qhcp CONTENT
"<?xml version=\"1.0\" encoding=\"UTF-8\"?>
<QHelpCollectionProject version=\"1.0\">
  <docFiles>
    <generate>
      <file><input>${name}.qhp</input><output>${name}.qch</output></file>
    </generate>
    <register><file>${name}.qch</file></register>
  </docFiles>
</QHelpCollectionProject>
")
  set(plain_copy "")
  if(HELP_PLAIN_COPY)
    set(plain_copy COMMAND ${CMAKE_COMMAND} -E make_directory ${HELP_PLAIN_COPY}
                   COMMAND ${CMAKE_COMMAND} -E copy ${HELP_FILES} ${HELP_PLAIN_COPY})
  endif()
  add_custom_command(
    OUTPUT ${out}/${name}.qhc ${out}/${name}.qch
    ${plain_copy}
    COMMAND ${CMAKE_COMMAND} -E copy ${HELP_FILES} ${stage}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${stage}/${name}.qhc ${stage}/${name}.qch
    COMMAND ${ORVANE_QHELPGENERATOR} -s ${stage}/${name}.qhcp -o ${stage}/${name}.qhc
    COMMAND ${CMAKE_COMMAND} -E copy ${stage}/${name}.qhc ${stage}/${name}.qch ${out}
    DEPENDS ${HELP_FILES} ${stage}/${name}.qhp ${stage}/${name}.qhcp
    COMMENT "Compiling the help file ${name}.qch"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${out}/${name}.qhc)
endfunction()
