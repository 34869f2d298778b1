# Writes one help topic from its source, run by the build as
#   cmake -DSOURCE=help/de/X.html -DEXAMPLES=help/examples -DLANGUAGE=de -DOUTPUT=.../X.html -P OrvaneHelpTopic.cmake
#
# A topic's source holds only what is said in its language: its <title> and
# <meta name="keywords"> lines, then the body. What every topic has alike is
# written here: the head, the heading repeating the title, the way back to
# the start page and the end. So is the example: a line
#   <!-- example: NAME -->
# in the body stands for the "before" and "after" of help/examples/NAME, one
# file for every language: the markup once, the words that are translated as
# {{English|German}} (in the order of the languages below). A sentence that
# leads from the "before" to the "after" goes into the line itself:
#   <!-- example: NAME; after: The page still uses font, so ... -->
# An example file is "<!-- before -->", its lines, "<!-- after -->", its
# lines; the markup is written as it is and escaped here, so that it shows
# as code.
#
# A passage several topics say alike is kept once as a part: a line
#   <!-- part: NAME -->
# in the body stands for parts/NAME beside the source (help/parts/ for
# English, help/de/parts/ for German), written in as it is. A part holds
# whole lines of its language's text and names no other part or example.
# An example may name parts too, kept for both languages in help/examples/parts/.

set(languages en de)
set(words_en "Example" "Before" "After" "Orvane Help")
set(words_de "Beispiel" "Vorher" "Nachher" "Orvane-Hilfe")

list(FIND languages "${LANGUAGE}" language_index)
if(language_index LESS 0 OR NOT DEFINED words_${LANGUAGE})
  message(FATAL_ERROR "help topic ${SOURCE}: no help language \"${LANGUAGE}\"")
endif()
list(GET words_${LANGUAGE} 0 word_example)
list(GET words_${LANGUAGE} 1 word_before)
list(GET words_${LANGUAGE} 2 word_after)
list(GET words_${LANGUAGE} 3 word_back)

# TEXT with each of its lines "<!-- part: NAME -->" replaced by FOLDER/NAME.
function(insert_parts out text folder)
  set(part_pattern "<!-- part: ([A-Za-z0-9_.-]+) -->\n")
  while(text MATCHES "${part_pattern}")
    set(directive "${CMAKE_MATCH_0}")
    set(part_file "${folder}/${CMAKE_MATCH_1}")
    if(NOT EXISTS "${part_file}")
      message(FATAL_ERROR "help topic ${SOURCE} names the part ${CMAKE_MATCH_1}, which is not in ${folder}")
    endif()
    file(READ "${part_file}" part)
    if(NOT part MATCHES "\n$" OR part MATCHES "<!-- (part|example|before|after)")
      message(FATAL_ERROR "help part ${part_file} is not whole lines, or names a part or an example")
    endif()
    string(REPLACE "${directive}" "${part}" text "${text}")
  endwhile()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The example's words in this topic's language, the markup escaped.
function(example_code out text)
  math(EXPR group "${language_index} + 1")
  if(group EQUAL 1)
    string(REGEX REPLACE "{{([^|}]*)\\|([^}]*)}}" "\\1" text "${text}")
  else()
    string(REGEX REPLACE "{{([^|}]*)\\|([^}]*)}}" "\\2" text "${text}")
  endif()
  if(text MATCHES "{{|}}")
    message(FATAL_ERROR "help example ${example_file}: an alternative is not {{English|German}} with neither | nor } in it")
  endif()
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The example section of help/examples/NAME, with SENTENCE (may be empty)
# before the "after".
function(example_section out name sentence)
  set(example_file "${EXAMPLES}/${name}")
  if(NOT EXISTS "${example_file}")
    message(FATAL_ERROR "help topic ${SOURCE} names the example ${name}, which is not in ${EXAMPLES}")
  endif()
  file(READ "${example_file}" example)
  insert_parts(example "${example}" "${EXAMPLES}/parts")
  set(start "<!-- before -->\n")
  set(middle "\n<!-- after -->\n")
  string(FIND "${example}" "${middle}" middle_at)
  string(LENGTH "${example}" example_length)
  if(NOT example MATCHES "^<!-- before -->\n" OR middle_at LESS 0 OR NOT example MATCHES "\n$")
    message(FATAL_ERROR "help example ${example_file} is not \"<!-- before -->\", lines, \"<!-- after -->\", lines")
  endif()
  string(LENGTH "${start}" start_length)
  string(LENGTH "${middle}" middle_length)
  math(EXPR before_length "${middle_at} - ${start_length}")
  math(EXPR after_at "${middle_at} + ${middle_length}")
  math(EXPR after_length "${example_length} - ${after_at} - 1")
  string(SUBSTRING "${example}" ${start_length} ${before_length} before)
  string(SUBSTRING "${example}" ${after_at} ${after_length} after)
  example_code(before "${before}")
  example_code(after "${after}")
  set(section "<h2>${word_example}</h2>\n<h3>${word_before}</h3>\n<pre><code>${before}</code></pre>\n<h3>${word_after}</h3>\n")
  if(NOT sentence STREQUAL "")
    string(APPEND section "<p>${sentence}</p>\n")
  endif()
  string(APPEND section "<pre><code>${after}</code></pre>\n")
  set(${out} "${section}" PARENT_SCOPE)
endfunction()

file(READ "${SOURCE}" source)
if(NOT source MATCHES "^(<title>([^<]*)</title>\n<meta name=\"keywords\" content=\"[^\"]*\">\n)")
  message(FATAL_ERROR "help topic ${SOURCE} does not start with its <title> line and its <meta name=\"keywords\"> line")
endif()
set(fields "${CMAKE_MATCH_1}")
set(title "${CMAKE_MATCH_2}")
string(LENGTH "${fields}" fields_length)
string(SUBSTRING "${source}" ${fields_length} -1 body)

get_filename_component(source_folder "${SOURCE}" DIRECTORY)
insert_parts(body "${body}" "${source_folder}/parts")

set(directive_pattern "<!-- example: ([A-Za-z0-9_.-]+)(; after: ([^\n]*))? -->\n")
while(body MATCHES "${directive_pattern}")
  set(directive "${CMAKE_MATCH_0}")
  set(example_name "${CMAKE_MATCH_1}")
  set(sentence "${CMAKE_MATCH_3}")
  example_section(section "${example_name}" "${sentence}")
  string(REPLACE "${directive}" "${section}" body "${body}")
endwhile()

set(page "<!DOCTYPE html>\n<html lang=\"${LANGUAGE}\">\n<head>\n<meta charset=\"utf-8\">\n${fields}")
string(APPEND page "<link rel=\"stylesheet\" href=\"help.css\">\n</head>\n<body>\n<h1>${title}</h1>\n${body}")
get_filename_component(topic "${OUTPUT}" NAME)
# The start page is where the way back leads.
if(NOT topic STREQUAL "index.html")
  string(APPEND page "<p class=\"back\"><a href=\"index.html\">${word_back}</a></p>\n")
endif()
string(APPEND page "</body>\n</html>\n")
file(WRITE "${OUTPUT}" "${page}")
