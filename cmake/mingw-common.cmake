# The -posix compilers: GoogleTest needs std::mutex, which the win32 thread model lacks.
set(CMAKE_C_COMPILER ${SCRIVANE_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SCRIVANE_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SCRIVANE_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SCRIVANE_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Only the 64-bit build can run here (no 32-bit code runs on these machines); its tests go through wine64.
if(SCRIVANE_TRIPLE STREQUAL "x86_64-w64-mingw32")
  find_program(SCRIVANE_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  if(NOT SCRIVANE_WINE64)
    find_program(SCRIVANE_WINE64 NAMES wine64)
  endif()
  if(SCRIVANE_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${SCRIVANE_WINE64})
  endif()
endif()
