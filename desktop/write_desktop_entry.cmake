# Writes the menu entry from its template. Expects TEMPLATE, ENTRY (the file
# to write), PIMURU_APP_ID and PIMURU_EXECUTABLE (the program's full path as
# installed).
configure_file("${TEMPLATE}" "${ENTRY}" @ONLY)
