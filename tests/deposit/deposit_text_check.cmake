# Runs tallix --deposit on a project (through EMULATOR, Wine, in a Windows build) and reads the
# PDF back on the host with pdftotext -layout: its text, each page's lines with blank lines
# dropped and runs of spaces made one (the only liberties -layout takes), must equal the
# expected text, which the Linux and the Windows programs are both held to.
#   cmake -DEMULATOR=... -DTALLIX=... -DPROJECT=... -DPDF=... -DPDF_FOR_PROGRAM=...
#         -DEXPECTED=... -DPDFTOTEXT=... -P deposit_text_check.cmake

if(NOT EXISTS "${PDFTOTEXT}")
  message(FATAL_ERROR "pdftotext not found: run scripts/install-deps (poppler-utils)")
endif()
file(REMOVE "${PDF}")
execute_process(
  COMMAND ${EMULATOR} ${TALLIX} --deposit ${PDF_FOR_PROGRAM} --software-name 库存管理系统
          --software-version V1.0 ${PROJECT}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT EXISTS "${PDF}")
  message(FATAL_ERROR "tallix --deposit failed (${status}) or wrote no ${PDF}:\n${output}")
endif()
if(NOT output MATCHES "源程序量：64 行")
  message(FATAL_ERROR "not the summary of 64 lines:\n${output}")
endif()

execute_process(COMMAND ${PDFTOTEXT} -layout -enc UTF-8 "${PDF}" -
                RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE error)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "pdftotext failed (${status}): ${error}")
endif()

# normalise(VAR text): blank lines dropped, runs of spaces made one, none at a line's ends.
function(normalise var text)
  string(REPLACE "\r" "" text "${text}")
  string(ASCII 12 form_feed)
  string(REPLACE "${form_feed}" "\n" text "${text}")
  string(REGEX REPLACE " +" " " text "${text}")
  string(REGEX REPLACE " \n" "\n" text "${text}")
  string(REGEX REPLACE "\n " "\n" text "${text}")
  string(REGEX REPLACE "^ " "" text "${text}")
  string(REGEX REPLACE "\n\n+" "\n" text "${text}")
  string(STRIP "${text}" text)
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

file(READ "${EXPECTED}" expected)
normalise(expected "${expected}")
normalise(text "${text}")
if(NOT text STREQUAL expected)
  file(WRITE "${PDF}.txt" "${text}\n")
  message(FATAL_ERROR "the deposit's text (in ${PDF}.txt) is not that of ${EXPECTED}")
endif()
message(STATUS "the deposit's text is that of ${EXPECTED}")
