# Installs BUILD_DIR into a fresh PREFIX and checks the layout the desktop and the toolbox
# rely on. Run with cmake -DBUILD_DIR=... -DPREFIX=... -DSOURCE_DIR=...
# [-DDESKTOP_FILE_VALIDATE=...] -P.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(failures)

foreach(program tarnex tarnex-calc)
  execute_process(COMMAND test -x "${PREFIX}/bin/${program}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    list(APPEND failures "bin/${program} missing or not executable")
  endif()
endforeach()
# The installed command-line program runs from the installed tree.
execute_process(COMMAND "${PREFIX}/bin/tarnex-calc" --list OUTPUT_QUIET ERROR_QUIET
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  list(APPEND failures "bin/tarnex-calc --list fails: ${status}")
endif()

# The help document lies in share/tarnex (when it was built), from where the first start of
# either program copies it into the working folder.
set(help "${PREFIX}/share/tarnex/Tarnex V3.2帮助.chm")
if(EXISTS "${help}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env "TARNEX_HOME=${PREFIX}/home"
                          "${PREFIX}/bin/tarnex-calc" dcdc
                  OUTPUT_QUIET ERROR_QUIET RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT EXISTS "${PREFIX}/home/Tarnex V3.2帮助.chm")
    list(APPEND failures "bin/tarnex-calc does not copy the help document into its working folder")
  endif()
endif()

# The file names are the ones the toolbox hands to the desktop: each drawing of
# resources/code is named after its picture.
file(GLOB drawings "${SOURCE_DIR}/resources/code/*.svg")
if(NOT drawings)
  list(APPEND failures "no drawing in ${SOURCE_DIR}/resources/code")
endif()
foreach(drawing IN LISTS drawings)
  get_filename_component(picture "${drawing}" NAME_WLE)
  set(file "${PREFIX}/bin/Code/${picture}.JPG")
  if(NOT EXISTS "${file}")
    list(APPEND failures "bin/Code/${picture}.JPG missing")
    continue()
  endif()
  # A JPEG starts with the start-of-image marker FF D8 FF.
  file(READ "${file}" head LIMIT 3 HEX)
  if(NOT head STREQUAL "ffd8ff")
    list(APPEND failures "bin/Code/${picture}.JPG is not a JPEG")
  endif()
endforeach()

set(desktop "${PREFIX}/share/applications/tarnex.desktop")
if(EXISTS "${desktop}")
  file(STRINGS "${desktop}" lines)
  # A design file double-clicked in the file manager is passed on as the program's argument.
  foreach(line "Exec=tarnex %f" "Icon=tarnex" "Type=Application"
               "MimeType=application/x-tarnex-design;")
    if(NOT line IN_LIST lines)
      list(APPEND failures "tarnex.desktop lacks ${line}")
    endif()
  endforeach()
  if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${desktop} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      list(APPEND failures "desktop-file-validate rejects tarnex.desktop")
    endif()
  endif()
else()
  list(APPEND failures "share/applications/tarnex.desktop missing")
endif()

# The design files' type: the shared MIME database's package with the type and its glob.
set(mime "${PREFIX}/share/mime/packages/tarnex.xml")
if(EXISTS "${mime}")
  file(READ "${mime}" types)
  foreach(part "type=\"application/x-tarnex-design\"" "pattern=\"*.tarnex\"")
    string(FIND "${types}" "${part}" at)
    if(at EQUAL -1)
      list(APPEND failures "share/mime/packages/tarnex.xml lacks ${part}")
    endif()
  endforeach()
else()
  list(APPEND failures "share/mime/packages/tarnex.xml missing")
endif()

# A PNG keeps its width and height as big-endian 32-bit numbers at bytes 16 to 23.
foreach(side 16 24 32 48 64 128 256)
  set(icon "${PREFIX}/share/icons/hicolor/${side}x${side}/apps/tarnex.png")
  if(NOT EXISTS "${icon}")
    list(APPEND failures "icons/hicolor/${side}x${side}/apps/tarnex.png missing")
    continue()
  endif()
  file(READ "${icon}" header OFFSET 16 LIMIT 8 HEX)
  math(EXPR hex "${side}" OUTPUT_FORMAT HEXADECIMAL)  # 0x10 for 16
  string(SUBSTRING "${hex}" 2 -1 digits)
  string(LENGTH "${digits}" length)
  math(EXPR pad "8 - ${length}")
  string(REPEAT "0" ${pad} zeros)
  if(NOT header STREQUAL "${zeros}${digits}${zeros}${digits}")
    list(APPEND failures "${side}x${side}/apps/tarnex.png is not ${side} x ${side} pixels")
  endif()
endforeach()
if(NOT EXISTS "${PREFIX}/share/icons/hicolor/scalable/apps/tarnex.svg")
  list(APPEND failures "icons/hicolor/scalable/apps/tarnex.svg missing")
endif()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "install tree incomplete:\n  ${text}")
endif()
