# Cross build for 64-bit Windows with the Debian mingw-w64 toolchain. The
# posix thread variant is used because GoogleTest needs std::mutex. Test
# programs run under wine through scripts/wine-harness, which gives them a
# private WINEPREFIX inside the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PQK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PQK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PQK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PQK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PQK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A self-contained exe: no libstdc++/libgcc/winpthread DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

get_filename_component(PQK_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${PQK_SOURCE_ROOT}/scripts/wine-harness;--state-dir;${CMAKE_BINARY_DIR}/wine")
