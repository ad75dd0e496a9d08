cmake_minimum_required(VERSION 3.25)
# Opens the compiled help file and checks what a reader depends on:
# - every topic is inside it and listed in its table of contents, and the contents name nothing
#   that is not inside;
# - every link and every picture of every topic resolves to a file inside it;
# - every topic says it is written in code page 1251, the code page of the help's language.
#   cmake -DCHM=<Morvane.CHM> -DSEVEN_ZIP=<7z> -DWORK=<folder> -P CheckHelpFile.cmake

# The topics the help must have, one per subject (what the server does, first start, the main
# window, the options and each of their pages, per-terminal bases, upload names, outside programs,
# the log, the log's lines, the simulator).
set(expected_topics
  index.html start.html window.html options.html options-general.html options-download.html
  options-upload.html base-files.html upload-names.html programs.html log.html log-messages.html
  simulator.html)

set(failures "")
macro(fail text)
  string(APPEND failures "\n  ${text}")
endmacro()

if(NOT EXISTS "${CHM}")
  message(FATAL_ERROR "no help file at ${CHM}")
endif()
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${SEVEN_ZIP}" x -y "-o${WORK}" "${CHM}"
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE error)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "7z cannot open ${CHM}: ${error}")
endif()

file(GLOB_RECURSE inside RELATIVE "${WORK}" "${WORK}/*")
file(GLOB topics RELATIVE "${WORK}" "${WORK}/*.html")

foreach(topic IN LISTS expected_topics)
  if(NOT topic IN_LIST topics)
    fail("topic ${topic} is missing")
  endif()
endforeach()

# The table of contents.
file(GLOB contents_files "${WORK}/*.hhc")
list(LENGTH contents_files contents_count)
if(NOT contents_count EQUAL 1)
  fail("expected one table of contents, found ${contents_count}")
else()
  file(READ "${contents_files}" contents)
  string(REGEX MATCHALL "name=\"Local\" value=\"[^\"]*\"" locals "${contents}")
  set(listed "")
  foreach(local IN LISTS locals)
    string(REGEX REPLACE "^name=\"Local\" value=\"([^\"]*)\"$" "\\1" local "${local}")
    list(APPEND listed "${local}")
    if(NOT local IN_LIST inside)
      fail("the contents list ${local}, which is not inside")
    endif()
  endforeach()
  foreach(topic IN LISTS topics)
    if(NOT topic IN_LIST listed)
      fail("topic ${topic} is not in the contents")
    endif()
  endforeach()
endif()

# Links, pictures and the code page of every topic.
foreach(topic IN LISTS topics)
  file(READ "${WORK}/${topic}" text)
  if(NOT text MATCHES "charset=windows-1251")
    fail("${topic} does not say charset=windows-1251")
  endif()
  string(REGEX MATCHALL "(href|src)=\"[^\"]*\"" references "${text}")
  foreach(reference IN LISTS references)
    string(REGEX REPLACE "^(href|src)=\"([^\"#]*)(#[^\"]*)?\"$" "\\2" target "${reference}")
    if(target STREQUAL "" OR target MATCHES ":")
      continue()  # a place in the same topic, or outside the help
    endif()
    if(NOT target IN_LIST inside)
      fail("${topic}: ${reference} points at nothing inside")
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "the help file ${CHM} is not complete:${failures}")
endif()
list(LENGTH topics topic_count)
message(STATUS "help file: ${topic_count} topics, every link resolves")
