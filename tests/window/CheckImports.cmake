# Fails unless PROGRAM is a Windows GUI program that imports only DLLs that
# every Windows has: nothing to install beside it.
cmake_minimum_required(VERSION 3.25)

set(system_dlls ADVAPI32.DLL COMCTL32.DLL COMDLG32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL
                SHELL32.DLL USER32.DLL WS2_32.DLL)

execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} could not read ${PROGRAM}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(NOT imports)
  message(FATAL_ERROR "${PROGRAM} lists no imported DLL")
endif()
foreach(line IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOUPPER "${dll}" dll)
  if(NOT dll IN_LIST system_dlls)
    message(FATAL_ERROR "${PROGRAM} imports ${dll}, which is not part of Windows")
  endif()
endforeach()

if(NOT headers MATCHES "Subsystem[ \t]+00000002")
  message(FATAL_ERROR "${PROGRAM} is not a Windows GUI program")
endif()
