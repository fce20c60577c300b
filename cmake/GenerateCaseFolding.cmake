# Writes the engine's case-folding table from the Unicode Character Database's
# CaseFolding.txt (Debian package unicode-data): the simple foldings, statuses C and S, as
# ranges of characters that fold by one distance, every character or every other one.
#
#   cmake -DINPUT=/usr/share/unicode/CaseFolding.txt -DOUTPUT=case_folding_table.inc -P ...
#
# Each line of the output is "{first, last, delta, stride},", in ascending order.

if(NOT EXISTS "${INPUT}")
  message(FATAL_ERROR "${INPUT} is missing: run scripts/install-deps (package unicode-data)")
endif()

file(STRINGS "${INPUT}" lines REGEX "^[0-9A-F]+; [CS]; [0-9A-F]+;")

set(table "")
set(count 0)
set(first "")
macro(flush_range)
  if(NOT first STREQUAL "")
    math(EXPR first_hex "${first}" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR last_hex "${last}" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND table "{${first_hex}, ${last_hex}, ${delta}, ${stride}},\n")
    math(EXPR count "${count} + 1")
  endif()
endmacro()

foreach(line IN LISTS lines)
  string(REGEX MATCH "^([0-9A-F]+); [CS]; ([0-9A-F]+);" _ "${line}")
  math(EXPR code "0x${CMAKE_MATCH_1}")
  math(EXPR folded "0x${CMAKE_MATCH_2} - ${code}")
  set(extends FALSE)
  if(NOT first STREQUAL "" AND folded EQUAL delta)
    math(EXPR step "${code} - ${last}")
    if(first EQUAL last AND (step EQUAL 1 OR step EQUAL 2))
      set(stride ${step})
      set(extends TRUE)
    elseif(NOT first EQUAL last AND step EQUAL stride)
      set(extends TRUE)
    endif()
  endif()
  if(extends)
    set(last ${code})
  else()
    flush_range()
    set(first ${code})
    set(last ${code})
    set(delta ${folded})
    set(stride 1)
  endif()
endforeach()
flush_range()

if(count LESS 100)
  message(FATAL_ERROR "${INPUT} gave only ${count} ranges: not the Unicode case-folding file?")
endif()
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT}; do not edit.\n${table}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
