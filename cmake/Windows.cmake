# MinGW build: the two programs, the staged install folder and the tests that
# need Windows, run through Wine.
set(WAVORA_WIN_LIBS winmm gdi32 comctl32 comdlg32 shell32 gdiplus ole32 uuid)
set(WAVORA_STATIC -static -static-libgcc -static-libstdc++)

set(WAVORA_ENTRY ${CMAKE_SOURCE_DIR}/src/app/WinMainWin32.cpp)
list(REMOVE_ITEM WAVORA_WIN32_SOURCES ${WAVORA_ENTRY})
add_library(wavora_win32 STATIC ${WAVORA_WIN32_SOURCES})
target_link_libraries(wavora_win32 PUBLIC wavora_core ${WAVORA_WIN_LIBS})

# Each program's resources: its icon (assets/programs), its version (the
# shared cmake/VersionInfo.rc) and its manifest, both made from the project's
# version.
enable_language(RC)
set(WAVORA_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/Version.h.in ${WAVORA_GENERATED}/Version.h @ONLY)
foreach(MANIFEST_PROGRAM IN ITEMS Wavora Pictra)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/program.manifest.in ${WAVORA_GENERATED}/${MANIFEST_PROGRAM}.manifest @ONLY)
endforeach()
set(WAVORA_RC_INCLUDES ${WAVORA_GENERATED} ${CMAKE_SOURCE_DIR}/assets/programs ${CMAKE_SOURCE_DIR}/cmake)
set(WAVORA_RC ${CMAKE_SOURCE_DIR}/src/app/Wavora.rc)
set(PICTRA_RC ${CMAKE_SOURCE_DIR}/src/converter/pictra/Pictra.rc)
set_source_files_properties(${WAVORA_RC} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/assets/programs/Wavora.ico;${WAVORA_GENERATED}/Wavora.manifest;${WAVORA_GENERATED}/Version.h;${CMAKE_SOURCE_DIR}/cmake/VersionInfo.rc")
set_source_files_properties(${PICTRA_RC} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/assets/programs/Pictra.ico;${WAVORA_GENERATED}/Pictra.manifest;${WAVORA_GENERATED}/Version.h;${CMAKE_SOURCE_DIR}/cmake/VersionInfo.rc")

add_executable(Wavora WIN32 ${WAVORA_ENTRY} ${WAVORA_RC})
target_link_libraries(Wavora PRIVATE wavora_win32)
target_include_directories(Wavora PRIVATE ${WAVORA_RC_INCLUDES})
target_link_options(Wavora PRIVATE -municode ${WAVORA_STATIC})

add_executable(Pictra WIN32 ${PICTRA_WIN32_SOURCES} ${PICTRA_RC})
target_link_libraries(Pictra PRIVATE pictra_core ${WAVORA_WIN_LIBS})
target_include_directories(Pictra PRIVATE ${WAVORA_RC_INCLUDES})
target_link_options(Pictra PRIVATE -municode ${WAVORA_STATIC})

# The install folder as a user gets it: Wavora.exe beside its parts folder.
set(WAVORA_STAGE ${CMAKE_BINARY_DIR}/stage)
set(WAVORA_PARTS "${WAVORA_STAGE}/Wavora部品")
add_custom_target(stage ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory "${WAVORA_PARTS}"
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Wavora> "${WAVORA_STAGE}/Wavora.exe"
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Pictra> "${WAVORA_PARTS}/Pictra.exe"
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/assets/parts -DDST=${WAVORA_PARTS}
          -P ${CMAKE_SOURCE_DIR}/cmake/CopyParts.cmake
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/assets/help -DDST=${WAVORA_PARTS}
          -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/StageHelp.cmake
  DEPENDS Wavora Pictra
  COMMENT "Staging the install folder")

# Tests run under Wine through a wrapper that knows the prefix and the display.
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -Wno-error)
target_compile_options(gtest_main PRIVATE -Wno-error)
include(GoogleTest)

file(GLOB WAVORA_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(WAVORA_WIN_TESTS)
  # With the editor's resources, so the frame made inside it has the real icon.
  add_executable(win_tests ${WAVORA_WIN_TESTS} ${WAVORA_RC})
  target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win ${CMAKE_SOURCE_DIR}/tests/unit
                             ${WAVORA_RC_INCLUDES})
  # The driver's helpers too: some tests make their input with Linux tools.
  target_link_libraries(win_tests PRIVATE wavora_win32 e2e_driver gtest gtest_main version)
  target_link_options(win_tests PRIVATE ${WAVORA_STATIC})
  add_dependencies(win_tests stage)
  gtest_discover_tests(win_tests DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST TEST_FILTER "-NoSoundDevice.*"
    PROPERTIES LABELS wine ENVIRONMENT "WAVORA_STAGE=${WAVORA_STAGE}"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  # Without a sound device: a home of its own whose ALSA default leads nowhere.
  file(WRITE ${CMAKE_BINARY_DIR}/winehome-nodevice/.asoundrc
       "pcm.!default { type hw; card 63 }\nctl.!default { type hw; card 63 }\n")
  add_test(NAME NoSoundDevice.PlayShowsTheOpenErrorAndTheProgramGoesOn
    COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh $<TARGET_FILE:win_tests> --gtest_filter=NoSoundDevice.*)
  set_tests_properties(NoSoundDevice.PlayShowsTheOpenErrorAndTheProgramGoesOn PROPERTIES LABELS wine
    ENVIRONMENT "WAVORA_STAGE=${WAVORA_STAGE};WAVORA_WINE_HOME=${CMAKE_BINARY_DIR}/winehome-nodevice"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

# The driver that works the real programs from outside, and the smoke run's
# small program built on it.
add_library(e2e_driver STATIC ${CMAKE_SOURCE_DIR}/tests/e2e/support/Driver.cpp)
target_include_directories(e2e_driver PUBLIC ${CMAKE_SOURCE_DIR}/tests/e2e/support)
add_executable(wavora_smoke ${CMAKE_SOURCE_DIR}/tests/e2e/driver/SmokeMain.cpp)
target_link_libraries(wavora_smoke PRIVATE e2e_driver)
target_link_options(wavora_smoke PRIVATE -municode ${WAVORA_STATIC})
# Takes the help pages' screenshots from the real editor (tools/help-screenshots.sh).
add_executable(help_shots ${CMAKE_SOURCE_DIR}/tests/e2e/driver/HelpShotsMain.cpp)
target_link_libraries(help_shots PRIVATE e2e_driver gdi32)
target_link_options(help_shots PRIVATE -municode ${WAVORA_STATIC})

# The random user: a long seeded sequence of a user's steps at the real
# editor (tools/random-user.sh); a short run is one of the Wine tests.
add_executable(random_user ${CMAKE_SOURCE_DIR}/tests/e2e/driver/RandomUserMain.cpp
               ${CMAKE_SOURCE_DIR}/tests/e2e/driver/RandomUserSession.cpp
               ${CMAKE_SOURCE_DIR}/tests/e2e/driver/RandomUserSteps.cpp)
target_link_libraries(random_user PRIVATE e2e_driver comctl32)
target_link_options(random_user PRIVATE -municode ${WAVORA_STATIC})
add_dependencies(random_user stage)
add_test(NAME RandomUser.ShortRun COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh $<TARGET_FILE:random_user> -n 150 -s 15)
set_tests_properties(RandomUser.ShortRun PROPERTIES LABELS wine RUN_SERIAL TRUE TIMEOUT 900
  ENVIRONMENT "WAVORA_STAGE=${WAVORA_STAGE}" WORKING_DIRECTORY ${CMAKE_BINARY_DIR})

# The start-up part of the speed sweep (tools/speed-sweep.sh): the editor to a
# ready frame against a bare window program under the same Wine.
add_executable(bare_window WIN32 ${CMAKE_SOURCE_DIR}/bench/startup/BareWindowMain.cpp)
target_link_options(bare_window PRIVATE -municode ${WAVORA_STATIC})
add_executable(startup_bench ${CMAKE_SOURCE_DIR}/bench/startup/StartupBenchMain.cpp)
target_link_libraries(startup_bench PRIVATE e2e_driver)
target_link_options(startup_bench PRIVATE -municode ${WAVORA_STATIC})
add_dependencies(startup_bench bare_window stage)

file(GLOB WAVORA_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(WAVORA_E2E_TESTS)
  add_executable(e2e_tests ${WAVORA_E2E_TESTS})
  target_link_libraries(e2e_tests PRIVATE e2e_driver gtest gtest_main ${WAVORA_WIN_LIBS})
  target_link_options(e2e_tests PRIVATE ${WAVORA_STATIC})
  add_dependencies(e2e_tests stage)
  gtest_discover_tests(e2e_tests DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS wine RUN_SERIAL TRUE ENVIRONMENT "WAVORA_STAGE=${WAVORA_STAGE}"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

# Neither program imports the libraries that cost the start-up most; they are
# loaded when first needed (src/core/LateBoundWin32.h).
find_program(WAVORA_OBJDUMP NAMES ${CMAKE_CXX_COMPILER_TARGET}-objdump x86_64-w64-mingw32-objdump REQUIRED)
add_test(NAME Imports.TheEditorLoadsTheCommonControlsAndTheShellLate
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${WAVORA_OBJDUMP} -DPROGRAM=${WAVORA_STAGE}/Wavora.exe
          "-DFORBIDDEN=comctl32.dll;shell32.dll;comdlg32.dll;gdiplus.dll" -P ${CMAKE_SOURCE_DIR}/cmake/CheckImports.cmake)
add_test(NAME Imports.TheHelperLoadsItsDialogsAndImagingLate
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${WAVORA_OBJDUMP} -DPROGRAM=${WAVORA_PARTS}/Pictra.exe
          "-DFORBIDDEN=comctl32.dll;comdlg32.dll;gdiplus.dll" -P ${CMAKE_SOURCE_DIR}/cmake/CheckImports.cmake)
