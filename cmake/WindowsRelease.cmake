# The Windows release: one folder holding kelvo.exe, the DLLs of the
# libraries it uses, data/, kelvo.cfg, README.txt and the libraries' licences,
# zipped by cpack as kelvo-<version>-windows-x64.zip. The game finds data/
# beside its executable, so the folder can live anywhere.
#
# KELVO_MINGW_PREFIX is the folder scripts/mingw-deps.sh built the libraries
# into.

# A double-clicked game opens no console window; output still reaches a
# shell that redirects it.
set_target_properties(kelvo PROPERTIES WIN32_EXECUTABLE ON)
target_compile_definitions(kelvo PRIVATE KELVO_INSTALLED_ROOT="")

set(KELVO_WINDOWS_DLLS
  ${KELVO_MINGW_PREFIX}/bin/libfreeglut.dll
  ${KELVO_MINGW_PREFIX}/bin/glew32.dll
  ${KELVO_MINGW_PREFIX}/bin/OpenAL32.dll
  ${KELVO_MINGW_PREFIX}/bin/alut.dll)

install(TARGETS kelvo RUNTIME DESTINATION .)
install(FILES ${KELVO_WINDOWS_DLLS} DESTINATION .)
# The DLLs ship without their symbol tables, like kelvo.exe (half the size).
foreach(dll ${KELVO_WINDOWS_DLLS})
  get_filename_component(name ${dll} NAME)
  install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${name}\" COMMAND_ERROR_IS_FATAL ANY)")
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION data PATTERN "__pycache__" EXCLUDE)
install(FILES kelvo.cfg DESTINATION .)
install(FILES dist/windows/README.txt DESTINATION .)
install(DIRECTORY ${KELVO_MINGW_PREFIX}/licenses/ DESTINATION licences)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME kelvo)
set(CPACK_PACKAGE_VENDOR "Kelvo developers")
set(CPACK_PACKAGE_FILE_NAME kelvo-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

# ctest runs the Windows test programs through this wrapper (wine with a
# prefix of its own and the libraries' DLLs on its path).
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
