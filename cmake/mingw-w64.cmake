# Cross-compiles for 64-bit Windows with mingw-w64, the posix threads variant (std::thread
# and std::mutex need it), linked statically so varrowlog.exe runs from any folder alone.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VARROW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARROW_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARROW_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VARROW_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VARROW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Test programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
