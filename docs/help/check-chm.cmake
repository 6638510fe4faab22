# Checks the compiled help document (a CTest test, run with cmake -P):
#   CHM         the compiled document
#   CHMLS       chmls from the same package as chmcmd
#   SOURCE_DIR  the folder with the project file tarnex-help.hhp
if(NOT EXISTS "${CHM}")
  message(FATAL_ERROR "the help document ${CHM} was not built")
endif()

# Every file of the project's [FILES] section is in the document.
file(STRINGS "${SOURCE_DIR}/tarnex-help.hhp" project)
set(in_files FALSE)
set(files "")
foreach(line IN LISTS project)
  if(line MATCHES "^\\[")
    set(in_files FALSE)
    if(line STREQUAL "[FILES]")
      set(in_files TRUE)
    endif()
  elseif(in_files AND NOT line STREQUAL "")
    list(APPEND files "${line}")
  endif()
endforeach()
list(LENGTH files count)
if(count LESS 20)
  message(FATAL_ERROR "the project lists only ${count} files")
endif()

execute_process(COMMAND "${CHMLS}" --no-page --name-only list "${CHM}"
                RESULT_VARIABLE failed OUTPUT_VARIABLE listing ERROR_QUIET)
if(failed)
  message(FATAL_ERROR "chmls cannot list ${CHM}")
endif()
foreach(name IN LISTS files)
  string(FIND "${listing}" "/${name}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${name} is missing from the help document")
  endif()
endforeach()

# Every page can be reached from the contents.
file(READ "${SOURCE_DIR}/tarnex-help.hhc" contents)
foreach(name IN LISTS files)
  string(FIND "${contents}" "value=\"${name}\"" at)
  if(name MATCHES "\\.html$" AND at EQUAL -1)
    message(FATAL_ERROR "${name} is not in the contents")
  endif()
endforeach()

# The language decides the code page in which viewers read the title and the contents.
execute_process(COMMAND "${CHMLS}" printsystem "${CHM}" OUTPUT_VARIABLE system ERROR_QUIET)
if(NOT system MATCHES "LCID from HHP file[ ]*: 2052")
  message(FATAL_ERROR "the help document's language is not simplified Chinese (LCID 2052)")
endif()
