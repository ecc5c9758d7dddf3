# The Windows build, cross-compiled with mingw-w64 (cmake/mingw-w64.cmake): the Win32 file
# layer, clock, sound and user interface, varrowlog.exe, the key-script runner
# varrowlog-script.exe, and the unit tests, all run under Wine by scripts/test.

# Windows-1252 throughout: the ANSI functions, never the wide ones.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# GCC 12 reports a false overlap inside std::string's own copies when it inlines them
# (its bug 105329), which -Werror would make fatal.
add_compile_options(-Wno-restrict)

# The system's services: files, the clock, serial ports, run-time libraries and the web client
# (WinHTTP) and other programs (tqsl, for LoTW).
add_library(varrow_files_win32 STATIC src/platform/win32/Files_win32.cpp
            src/platform/win32/Clock_win32.cpp src/platform/win32/Serial_win32.cpp
            src/platform/win32/SharedLibrary_win32.cpp src/platform/win32/Http_win32.cpp
            src/platform/win32/Programs_win32.cpp src/platform/win32/Tcp_win32.cpp
            src/platform/win32/Process_win32.cpp src/platform/win32/Datagrams_win32.cpp)
target_link_libraries(varrow_files_win32 PUBLIC varrow_platform winhttp ws2_32)
add_library(varrow_files ALIAS varrow_files_win32)

# No PDF output on Windows: the runner's --pdf says so.
add_library(varrow_pdf STATIC src/platform/linux/NoPdfPrinter.cpp)
target_link_libraries(varrow_pdf PUBLIC varrow_platform)

# The runner writes its journal byte for byte as on Linux: its standard output is binary.
add_executable(varrowlog-script app/varrowlog_script.cpp src/platform/win32/BinaryOutput_win32.cpp)
target_link_libraries(varrowlog-script PRIVATE varrow_program varrow_headless varrow_pdf
                      varrow_files)

add_library(varrow_win32 STATIC src/platform/win32/Win32Ui.cpp src/platform/win32/Win32Speech.cpp
            src/platform/win32/Sound_win32.cpp)
target_link_libraries(varrow_win32 PUBLIC varrow_platform comctl32 winmm oleaut32)

# The default printer through GDI and the spooler.
add_library(varrow_win32_printer STATIC src/platform/win32/Printer_win32.cpp)
target_link_libraries(varrow_win32_printer PUBLIC varrow_platform gdi32 winspool)

# The program itself: a GUI program, no console, with its icon, version and manifest.
enable_language(RC)
add_executable(varrowlog WIN32 app/varrowlog_win32.cpp app/win32/varrowlog.rc)
target_link_libraries(varrowlog PRIVATE varrow_program varrow_win32 varrow_win32_printer
                      varrow_files)
configure_file(app/win32/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
target_include_directories(varrowlog PRIVATE ${CMAKE_BINARY_DIR}/generated)

# The sound cues, made by a Linux build of make_cues (scripts/package-windows) or here by
# make_cues.exe under Wine.
add_executable(make_cues tools/make_cues.cpp)
target_link_libraries(make_cues PRIVATE varrow_platform)

# The rules are in the DX data layer, as on Linux.
add_library(varrow_country_file INTERFACE)
target_link_libraries(varrow_country_file INTERFACE varrow_dxdata)

if(VARROW_TESTS)
  # GoogleTest from the sources Debian ships with libgtest-dev, built by the cross-compiler.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  enable_testing()
  add_subdirectory(tests)
endif()
