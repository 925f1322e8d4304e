# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads), run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
# The Windows kit (tools/windows-kit.sh): Qt, SQLite and libcrypto built for mingw-w64, with the
# host's Qt tools (moc, rcc, uic) of the same release.
if(SAROKO_WINDOWS_KIT AND EXISTS "${SAROKO_WINDOWS_KIT}/kit.txt")
  list(PREPEND CMAKE_FIND_ROOT_PATH "${SAROKO_WINDOWS_KIT}")
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
  set(OPENSSL_USE_STATIC_LIBS TRUE)
  set(SAROKO_HAVE_WINDOWS_KIT TRUE)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Without Qt, a static runtime: the programs need no DLL of the compiler beside them. With the
# kit's Qt DLLs, the compiler's runtime DLLs, one copy for the programs and Qt alike.
if(NOT SAROKO_HAVE_WINDOWS_KIT)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()

