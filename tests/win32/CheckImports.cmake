# Fails unless EXE is a GUI program that imports only system DLLs.
# Usage: cmake -DOBJDUMP=<objdump> -DEXE=<program.exe> -P CheckImports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
if(NOT dump MATCHES "Subsystem[\t ]+00000002")
  message(FATAL_ERROR "${EXE} is not a Windows GUI program")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
string(TOLOWER "${imports}" imports)
string(REGEX REPLACE "dll name: (user32|gdi32|kernel32|advapi32|shell32|comctl32|msvcrt)\\.dll;?"
       "" others "${imports}")
if(NOT imports OR others)
  message(FATAL_ERROR "${EXE} imports no DLLs or some other than the system's: ${others}")
endif()
