# The Windows release: one folder holding kelvo.exe, the DLLs of the
# libraries it uses, data/, kelvo.cfg, README.txt and the libraries' licences
# (cmake --install into the release folder; scripts/windows zips it as
# kelvo-<version>-windows-x64.zip and builds the installer from it). The game
# finds data/ beside its executable, so the folder can live anywhere.
#
# KELVO_MINGW_PREFIX is the folder scripts/mingw-deps.sh built the libraries
# into.

# A double-clicked game opens no console window; output still reaches a
# shell that redirects it.
set_target_properties(kelvo PROPERTIES WIN32_EXECUTABLE ON)
target_compile_definitions(kelvo PRIVATE KELVO_INSTALLED_ROOT="")

# Icon, version details and manifest. windres reads the icon and the
# manifest itself, so the build names them as dependencies.
enable_language(RC)
configure_file(${CMAKE_SOURCE_DIR}/dist/windows/kelvo.rc.in ${CMAKE_BINARY_DIR}/kelvo.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/kelvo.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/data/icons/kelvo.ico;${CMAKE_SOURCE_DIR}/dist/windows/kelvo.manifest")
target_sources(kelvo PRIVATE ${CMAKE_BINARY_DIR}/kelvo.rc)
# The PE header's link time would make every build differ.
target_link_options(kelvo PRIVATE -Wl,--no-insert-timestamp)

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
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION data
  PATTERN "__pycache__" EXCLUDE PATTERN "icons" EXCLUDE)
install(FILES kelvo.cfg DESTINATION .)
install(FILES dist/windows/README.txt DESTINATION .)
install(DIRECTORY ${KELVO_MINGW_PREFIX}/licenses/ DESTINATION licences)

# The installer's script, with the version and names it shows.
configure_file(${CMAKE_SOURCE_DIR}/dist/windows/kelvo.nsi.in ${CMAKE_BINARY_DIR}/kelvo.nsi @ONLY)

# ctest runs the Windows test programs through this wrapper (wine with a
# prefix of its own and the libraries' DLLs on its path).
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
