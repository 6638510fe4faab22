# Writes a C++ source that holds the bytes of every *.txt file of SOURCE_DIR, by file name,
# for the function FUNCTION declared in HEADER. Line ends become CR LF, whatever the checkout
# has, so that the files read alike by every reader of the working folder.
# Run with cmake -DSOURCE_DIR=... -DOUTPUT=... -DHEADER=... -DFUNCTION=... -P.
cmake_minimum_required(VERSION 3.25)

file(GLOB files LIST_DIRECTORIES false "${SOURCE_DIR}/*.txt")
list(SORT files)
set(arrays "")
set(rows "")
set(index 0)
foreach(path IN LISTS files)
  get_filename_component(name "${path}" NAME)
  file(READ "${path}" hex HEX)
  # One "0x..," per byte; the CR of a CR LF is dropped, then every LF gets its CR.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REPLACE "0x0d," "" bytes "${bytes}")
  string(REPLACE "0x0a," "0x0d,0x0a," bytes "${bytes}")
  string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "constexpr unsigned char kFile${index}[] = {\n    ${bytes}};\n")
  string(APPEND rows "      {\"${name}\", view(kFile${index})},\n")
  math(EXPR index "${index} + 1")
endforeach()

set(text "// Generated from ${SOURCE_DIR} by embed_files.cmake: do not edit.
#include \"${HEADER}\"

namespace tarnex {

namespace {

${arrays}
template <std::size_t N>
std::string_view view(const unsigned char (&bytes)[N]) {
  return {reinterpret_cast<const char*>(bytes), N};
}

}  // namespace

std::span<const EmbeddedFile> ${FUNCTION}() {
  static const EmbeddedFile kFiles[] = {
${rows}  };
  return kFiles;
}

}  // namespace tarnex
")
# Rewritten only when it changes, so that a rebuild does not recompile it.
file(WRITE "${OUTPUT}.tmp" "${text}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
