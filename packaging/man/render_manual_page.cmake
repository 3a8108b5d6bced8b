# Writes a command-line program's manual page: the template with its OPTIONS section taken
# from the program itself (its hidden --manual-options flag walks the option definitions).
# Run as: cmake -DPROGRAM=... -DTEMPLATE=... -DPAGE=... -DPROJECT_VERSION=...
#               -DBREVANDOR_RELEASE_DATE=... -P render_manual_page.cmake
execute_process(
  COMMAND ${PROGRAM} --manual-options
  OUTPUT_VARIABLE BREVANDOR_MANUAL_OPTIONS
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR BREVANDOR_MANUAL_OPTIONS STREQUAL "")
  message(FATAL_ERROR
    "${PROGRAM} --manual-options gave no OPTIONS section (status ${status}): ${errors}\n"
    "Every command-line program adds the hidden flag and prints brevandor::cli::manualOptions "
    "(src/cli/manual_options.h), as src/cli/main.cpp does.")
endif()
string(STRIP "${BREVANDOR_MANUAL_OPTIONS}" BREVANDOR_MANUAL_OPTIONS)
file(READ ${TEMPLATE} template)
string(CONFIGURE "${template}" page @ONLY)
file(WRITE ${PAGE} "${page}")
