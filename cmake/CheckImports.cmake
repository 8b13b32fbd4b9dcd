# Fails when PROGRAM imports one of the libraries in FORBIDDEN (a ;-list,
# compared without case): those are loaded at the first use instead, because
# an imported library loads before the program's first line and delays the
# start-up.
#   cmake -DOBJDUMP=... -DPROGRAM=... -DFORBIDDEN="a.dll;b.dll" -P CheckImports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot read the imports of ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
if(NOT names)
  message(FATAL_ERROR "no imports found in ${PROGRAM}: the check would pass for nothing")
endif()
string(TOLOWER "${names}" names)
foreach(library IN LISTS FORBIDDEN)
  string(TOLOWER "${library}" library)
  list(FIND names "dll name: ${library}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${PROGRAM} imports ${library}")
  endif()
endforeach()
message(STATUS "${PROGRAM}: ${names}")
