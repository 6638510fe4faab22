# Compiles the help document (run by the build with cmake -P):
#   SOURCE_DIR  the pages, the stylesheet and the UTF-8 project, contents and index files
#   STAGE_DIR   a scratch folder, emptied first
#   OUTPUT      where the compiled document goes
#   CHMCMD, ICONV
file(REMOVE_RECURSE "${STAGE_DIR}")
file(MAKE_DIRECTORY "${STAGE_DIR}")
file(GLOB pages "${SOURCE_DIR}/*.html" "${SOURCE_DIR}/*.css")
file(COPY ${pages} DESTINATION "${STAGE_DIR}")

# Title, contents and index are read in the language's code page (GBK).
foreach(name tarnex-help.hhp tarnex-help.hhc tarnex-help.hhk)
  execute_process(COMMAND "${ICONV}" -f UTF-8 -t GBK -o "${STAGE_DIR}/${name}" "${SOURCE_DIR}/${name}"
                  RESULT_VARIABLE failed ERROR_VARIABLE why)
  if(failed)
    message(FATAL_ERROR "${name} cannot be converted to GBK: ${why}")
  endif()
endforeach()

execute_process(COMMAND "${CHMCMD}" tarnex-help.hhp
                WORKING_DIRECTORY "${STAGE_DIR}"
                RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
# chmcmd reports a page missing from the project or a link to a missing file as a warning
# and still writes the document: a help document with a dead link is not a build result.
if(failed OR NOT EXISTS "${STAGE_DIR}/tarnex-help.chm" OR log MATCHES "([Ww]arning|[Ee]rror)")
  message(FATAL_ERROR "chmcmd failed to compile the help document:\n${log}")
endif()
file(COPY_FILE "${STAGE_DIR}/tarnex-help.chm" "${OUTPUT}")
