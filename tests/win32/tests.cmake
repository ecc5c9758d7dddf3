# The Windows build's tests, run under Wine (the toolchain's emulator): the unit tests as
# one program, and every scenario through varrowlog-script.exe, whose journal must equal the
# one the Linux runner gives byte for byte.
target_sources(varrow_tests PRIVATE win32/Win32FilesTest.cpp)

# Three tests assume POSIX names: one file name differing from another only in its letters,
# a temporary folder without backslashes (which the journal doubles), and a backup drive
# letter that names a folder beside the program.
add_test(NAME win_unit_tests COMMAND varrow_tests --gtest_brief=1
  --gtest_filter=-ExportScreen.APathKeepsItsLetters:HousekeepingTest.ABackupThatCannotBeWrittenSaysLogNotSaved:BackupPath.LettersFoldersAndTextThatNamesNoFolder)
set_tests_properties(win_unit_tests PROPERTIES TIMEOUT 600)

# A call-book lookup through varrowlog-script.exe with the test DLL beside the program.
add_test(NAME win_script_runner_call_book
  COMMAND ${CMAKE_COMMAND} -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}
          -DRUNNER=$<TARGET_FILE:varrowlog-script>
          -DSCRIPT=${CMAKE_CURRENT_SOURCE_DIR}/reference/callbook/call_book.script
          -DEXPECTED=${CMAKE_CURRENT_SOURCE_DIR}/reference/callbook/call_book.journal
          "-DFILES=${CMAKE_CURRENT_SOURCE_DIR}/reference/callbook/folder/DBNAMES.TXT|$<TARGET_FILE:test_HAMCAL32>"
          -P ${CMAKE_CURRENT_SOURCE_DIR}/scenarios/run_scenario.cmake)

# varrowlog.exe under Xvfb and Wine, driven by key presses and read through MSAA by a
# program of our own; the screenshots go to the Linux build's test artefacts.
add_executable(msaa_probe win32/MsaaProbe.cpp)
target_include_directories(msaa_probe PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(msaa_probe PRIVATE oleacc ole32 oleaut32 uuid version)
if(NOT VARROW_ARTIFACTS)
  set(VARROW_ARTIFACTS ${CMAKE_BINARY_DIR}/test-artifacts)
endif()
# The generated 120,000-entry log for the start-up measurement.
add_executable(make_bench_log ${PROJECT_SOURCE_DIR}/bench/MakeBenchLog.cpp
               ${PROJECT_SOURCE_DIR}/bench/BenchLog.cpp)
target_link_libraries(make_bench_log PRIVATE varrow_logstore varrow_files)
target_include_directories(make_bench_log PRIVATE ${PROJECT_SOURCE_DIR}/bench)
target_compile_definitions(make_bench_log PRIVATE VARROW_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
add_test(NAME win_msaa_probe
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/run_msaa_probe.sh $<TARGET_FILE:msaa_probe>
          $<TARGET_FILE:varrowlog> $<TARGET_FILE:make_bench_log> ${PROJECT_SOURCE_DIR}/data
          ${VARROW_ARTIFACTS} $<TARGET_FILE:varrowlog-script> ${CMAKE_CURRENT_SOURCE_DIR}
          $<TARGET_FILE:test_HAMCAL32>)
set_tests_properties(win_msaa_probe PROPERTIES TIMEOUT 420 RESOURCE_LOCK wine_desktop)

# With the Linux build's runner at hand (scripts/test gives it), every key script of the
# Orca check and the scenarios gives the same journal and log on both runners, the on-line
# call book's through WinHTTP and the small XML reader against its local stand-in, and the
# Hamlib one through Winsock against Linux's rigctld.
if(VARROW_LINUX_RUNNER)
  add_test(NAME win_same_journal_as_linux
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/same_journal.sh ${VARROW_LINUX_RUNNER}
            $<TARGET_FILE:varrowlog-script> ${PROJECT_SOURCE_DIR}/data ${CMAKE_CURRENT_SOURCE_DIR}
            $<TARGET_FILE:test_HAMCAL32>)
  # Once seen failing while the reader check ran the Windows runner beside it, cause not
  # found: the two take turns.
  set_tests_properties(win_same_journal_as_linux PROPERTIES TIMEOUT 300 RESOURCE_LOCK wine_desktop)
endif()

# WSJT-X's datagrams sent to varrowlog-script.exe's port under Wine: Winsock receives,
# answers and keeps the port as the Linux runner does, with the same journals and log.
add_test(NAME win_wsjtx_listener
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/digital/listener_test.py
          $<TARGET_FILE:varrowlog-script> ${PROJECT_SOURCE_DIR})
set_tests_properties(win_wsjtx_listener PROPERTIES TIMEOUT 180)

# The Windows serial backend on COM9, a pseudo-terminal under Wine with a simulated radio on
# its other end.
add_executable(serial_probe win32/SerialProbe.cpp)
target_link_libraries(serial_probe PRIVATE varrow_files)
add_test(NAME win_serial_com_port
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/win32/serial_peer.py
          ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:serial_probe>)
set_tests_properties(win_serial_com_port PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)

# Printing through GDI and Wine's spooler to a private CUPS scheduler; the PostScript Wine
# spools is turned into PDF and read back as on Linux.
add_executable(print_program ${CMAKE_CURRENT_SOURCE_DIR}/printing/PrintProgram.cpp)
target_link_libraries(print_program PRIVATE varrow_program varrow_win32_printer varrow_headless
                      varrow_files)
add_test(NAME win_print_through_cups
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/printing/cups_print_test.py
          $<TARGET_FILE:print_program> ${VARROW_ARTIFACTS} --wine)
set_tests_properties(win_print_through_cups PROPERTIES TIMEOUT 180)

# A screen reader's stand-in: every Orca key script played to varrowlog.exe under Wine,
# its WinEvents heard from another process and its UI Automation notifications taken by a
# UIAutomationCore.dll of our own beside it, must say what the key-script runner's journal
# says, once and in the same order.
add_executable(reader_standin win32/reader/ReaderStandIn.cpp)
target_include_directories(reader_standin PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(reader_standin PRIVATE oleacc ole32 oleaut32 uuid)
add_library(uia_standin MODULE win32/reader/UiaStandIn.cpp)
set_target_properties(uia_standin PROPERTIES PREFIX "" OUTPUT_NAME UIAutomationCore SUFFIX ".dll")
target_include_directories(uia_standin PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(uia_standin PRIVATE oleaut32)
target_link_options(uia_standin PRIVATE -static -static-libgcc -static-libstdc++)
add_test(NAME win_reader_hears_the_journal
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/reader/reader_check.sh $<TARGET_FILE:reader_standin>
          $<TARGET_FILE:uia_standin> $<TARGET_FILE:varrowlog> $<TARGET_FILE:varrowlog-script>
          ${PROJECT_SOURCE_DIR}/data ${CMAKE_CURRENT_SOURCE_DIR} ${VARROW_ARTIFACTS}/win32_reader
          $<TARGET_FILE:test_HAMCAL32>)
set_tests_properties(win_reader_hears_the_journal PROPERTIES TIMEOUT 900 RESOURCE_LOCK wine_desktop)

# Uploads through WinHTTP under Wine against the local stand-in of the services, and LoTW
# through a stand-in tqsl started with CreateProcess.
add_executable(tqsl_standin win32/TqslStandIn.cpp)
add_test(NAME win_uploads_through_winhttp
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/uploads_under_wine.sh
          $<TARGET_FILE:varrowlog-script> ${CMAKE_CURRENT_SOURCE_DIR} $<TARGET_FILE:tqsl_standin>)
set_tests_properties(win_uploads_through_winhttp PROPERTIES TIMEOUT 120)
