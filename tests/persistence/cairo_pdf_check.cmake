# Runs the cairo PDF smoke test (through EMULATOR, Wine, in a Windows build) so that it
# writes its PDF, then reads the PDF back on the host with poppler-utils: one A4 page, the
# two lines' text exactly, and one font, an embedded CID subset with a ToUnicode map.
#   cmake -DEMULATOR=... -DPROGRAM=... -DPDF=... -DPDF_FOR_PROGRAM=... -DPDFTOTEXT=...
#         -DPDFFONTS=... -DPDFINFO=... -P cairo_pdf_check.cmake

foreach(tool PDFTOTEXT PDFFONTS PDFINFO)
  if(NOT EXISTS "${${tool}}")
    message(FATAL_ERROR "${tool} not found: run scripts/install-deps (poppler-utils)")
  endif()
endforeach()
file(REMOVE "${PDF}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "TALLIX_CAIRO_SMOKE_PDF=${PDF_FOR_PROGRAM}"
          ${EMULATOR} ${PROGRAM} --gtest_filter=CairoPdf.*
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT EXISTS "${PDF}")
  message(FATAL_ERROR "the smoke test failed (${status}) or wrote no ${PDF}:\n${output}")
endif()

# run(VAR tool args...): the tool's standard output, which must succeed.
function(run var)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}): ${err}")
  endif()
  set(${var} "${out}" PARENT_SCOPE)
endfunction()

run(text ${PDFTOTEXT} -layout -enc UTF-8 "${PDF}" -)
# Each page ends with a form feed.
string(ASCII 12 form_feed)
set(expected "Option Explicit\n' 计算成绩\n${form_feed}")
if(NOT text STREQUAL expected)
  message(FATAL_ERROR "pdftotext gave:\n[${text}]\nnot:\n[${expected}]")
endif()

run(info ${PDFINFO} "${PDF}")
if(NOT info MATCHES "\nPages: +1\n" OR NOT info MATCHES "\nPage size: +595\\.2[0-9]* x 841\\.8[0-9]* pts \\(A4\\)")
  message(FATAL_ERROR "not one A4 page:\n${info}")
endif()

run(fonts ${PDFFONTS} "${PDF}")
string(REGEX REPLACE "^[^\n]*\n[^\n]*\n" "" font_lines "${fonts}")
string(STRIP "${font_lines}" font_lines)
if(font_lines MATCHES "\n")
  message(FATAL_ERROR "more than one font:\n${fonts}")
endif()
if(NOT font_lines MATCHES "^[A-Z][A-Z][A-Z][A-Z][A-Z][A-Z]\\+NotoSansMonoCJKsc-Regular +CID Type 0C +Identity-H +yes +yes +yes ")
  message(FATAL_ERROR "not an embedded CID subset with a ToUnicode map:\n${fonts}")
endif()
message(STATUS "the PDF reads back: one A4 page, both lines, ${font_lines}")
