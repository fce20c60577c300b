# Writes the engine's table of the characters that take two columns in Chinese text, from
# the Unicode Character Database's EastAsianWidth.txt (Debian package unicode-data): those of
# width W (wide), F (full-width) and A (ambiguous, drawn full-width by Chinese fonts), as
# ranges with neighbouring ranges joined.
#
#   cmake -DINPUT=/usr/share/unicode/EastAsianWidth.txt -DOUTPUT=wide_table.inc -P ...
#
# Each line of the output is "{first, last},", in ascending order.

if(NOT EXISTS "${INPUT}")
  message(FATAL_ERROR "${INPUT} is missing: run scripts/install-deps (package unicode-data)")
endif()

file(STRINGS "${INPUT}" lines REGEX "^[0-9A-F]+(\\.\\.[0-9A-F]+)? *; *[WFA] ")

set(table "")
set(count 0)
set(first "")
set(last -2)
macro(flush_range)
  if(NOT first STREQUAL "")
    math(EXPR first_hex "${first}" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR last_hex "${last}" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND table "{${first_hex}, ${last_hex}},\n")
    math(EXPR count "${count} + 1")
  endif()
endmacro()

foreach(line IN LISTS lines)
  string(REGEX MATCH "^([0-9A-F]+)(\\.\\.([0-9A-F]+))?" _ "${line}")
  math(EXPR low "0x${CMAKE_MATCH_1}")
  if(CMAKE_MATCH_3)
    math(EXPR high "0x${CMAKE_MATCH_3}")
  else()
    set(high ${low})
  endif()
  math(EXPR next "${last} + 1")
  if(NOT first STREQUAL "" AND low EQUAL next)
    set(last ${high})
  else()
    flush_range()
    set(first ${low})
    set(last ${high})
  endif()
endforeach()
flush_range()

if(count LESS 50)
  message(FATAL_ERROR "${INPUT} gave only ${count} ranges: not the East Asian width file?")
endif()
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT}; do not edit.\n${table}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
