# Turns the assembled viewer programs into C++ arrays.
#   cmake -DOUTPUT=<file.cpp> -DBINARIES=<a.prg;b.prg;...> -P EmbedViewerHeaders.cmake
# Each binary, say hires_flip_viewer.prg, becomes
# pavona::viewer_bytes::HiresFlipViewer, declared in
# c64/viewer_header_bytes.h; a static_assert checks that the assembled size
# matches the declared one, so a header that grew or shrank fails the build.

set(body "")
foreach(binary IN LISTS BINARIES)
  get_filename_component(stem ${binary} NAME_WE)
  string(REGEX MATCHALL "[a-z0-9]+" words ${stem})
  set(identifier "")
  foreach(word IN LISTS words)
    string(SUBSTRING ${word} 0 1 first)
    string(SUBSTRING ${word} 1 -1 rest)
    string(TOUPPER ${first} first)
    string(APPEND identifier ${first}${rest})
  endforeach()

  file(READ ${binary} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," values "${hex}")
  # Sixteen bytes a line (CMake's regular expressions have no counted repeats).
  string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n    " values "${values}")

  string(APPEND body "const decltype(${identifier}) ${identifier} = {\n    ${values}\n};\n")
  string(APPEND body "static_assert(${identifier}.size() == ${size}, \"${stem} assembled to ${size} bytes\");\n\n")
endforeach()

set(text "// Generated from the assembled viewer programs by EmbedViewerHeaders.cmake.
// Do not edit: change c64/viewers/*.asm instead.

#include \"c64/viewer_header_bytes.h\"

namespace pavona::viewer_bytes {

${body}}  // namespace pavona::viewer_bytes
")

file(WRITE ${OUTPUT} "${text}")
