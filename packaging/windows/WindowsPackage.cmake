# The Windows installer and the portable zip, both made from one staged program folder:
#   cmake --build build-windows --target tabulane_windows_package
# gives build-windows/tabulane-<version>-setup.exe (NSIS, 64-bit, for the current user) and
# build-windows/tabulane-<version>-win64.zip. The version is the project's, passed to makensis.
find_program(TABULANE_MAKENSIS makensis)
if(NOT TABULANE_MAKENSIS)
    message(STATUS "makensis not found (Debian: nsis): the target tabulane_windows_package will fail")
endif()

set(package_dir ${CMAKE_BINARY_DIR}/windows-package)
set(stage_dir ${package_dir}/Tabulane)
set(file_list ${package_dir}/files.nsh)
set(setup_exe ${CMAKE_BINARY_DIR}/tabulane-${PROJECT_VERSION}-setup.exe)
set(portable_zip ${CMAKE_BINARY_DIR}/tabulane-${PROJECT_VERSION}-win64.zip)
file(MAKE_DIRECTORY ${package_dir})
# The installer's version resource wants four numbers, as the program's does.
set(version4 ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)

# Staged afresh on every build, so a file dropped from the program is dropped from the package too; the file list
# both the installer and its uninstaller work from is written from what was staged.
add_custom_target(tabulane_windows_package
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:tabulane> -DCURSOR=${CMAKE_BINARY_DIR}/HAND-M.CUR
            -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DSTAGE=${stage_dir} -DFILE_LIST=${file_list} -DSTRIP=${CMAKE_STRIP}
            -P ${CMAKE_CURRENT_LIST_DIR}/StageProgramFolder.cmake
    COMMAND ${CMAKE_COMMAND} -E rm -f ${setup_exe} ${portable_zip}
    COMMAND ${TABULANE_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DVERSION4=${version4} -DFILE_LIST=${file_list}
            -DPROGRAM_ICON=${PROJECT_SOURCE_DIR}/src/ui/win32/resources/tabulane.ico -DOUTFILE=${setup_exe}
            ${CMAKE_CURRENT_LIST_DIR}/tabulane.nsi
    COMMAND ${CMAKE_COMMAND} -E tar cf ${portable_zip} --format=zip Tabulane
    WORKING_DIRECTORY ${package_dir}
    COMMENT "Packaging tabulane-${PROJECT_VERSION}-setup.exe and tabulane-${PROJECT_VERSION}-win64.zip"
    VERBATIM)
add_dependencies(tabulane_windows_package tabulane)

# Reads what the install check needs from Windows itself: a program's version resource, a shortcut's target.
add_executable(tabulane_probe_install ${PROJECT_SOURCE_DIR}/tools/ProbeWindowsInstall.cpp)
target_link_libraries(tabulane_probe_install PRIVATE tabulane_config version ole32 uuid)
target_link_options(tabulane_probe_install PRIVATE -municode)
