# Lays out the Windows program folder as it is installed, and writes the NSIS list of its files.
#   cmake -DPROGRAM=tabulane.exe -DCURSOR=HAND-M.CUR -DSOURCE_DIR=<repository> -DSTAGE=<folder> -DFILE_LIST=files.nsh
#         [-DSTRIP=x86_64-w64-mingw32-strip] -P StageProgramFolder.cmake
# With STRIP the program is installed without debugging information or symbols, which a Debug build carries.
# The list holds two macros made from the same walk of the staged folder: TABULANE_INSTALL_FILES puts each file in
# place, TABULANE_UNINSTALL_FILES deletes exactly those files and then the subfolders if they are empty, so the
# uninstaller never touches what a user added (results beside the samples, a skin in x\).
foreach(variable PROGRAM CURSOR SOURCE_DIR STAGE FILE_LIST)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "StageProgramFolder.cmake needs -D${variable}=...")
    endif()
endforeach()
foreach(input ${PROGRAM} ${CURSOR})
    if(NOT EXISTS ${input})
        message(FATAL_ERROR "missing ${input}")
    endif()
endforeach()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/Samples ${STAGE}/skins)
if(STRIP)
    # strip stamps the header with the time it runs unless told one: the program's own time, so the same program
    # always gives the same bytes.
    file(TIMESTAMP ${PROGRAM} linked "%s" UTC)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${linked}
                            ${STRIP} -o ${STAGE}/tabulane.exe ${PROGRAM}
                    COMMAND_ERROR_IS_FATAL ANY)
else()
    file(COPY_FILE ${PROGRAM} ${STAGE}/tabulane.exe)
endif()
file(COPY_FILE ${CURSOR} ${STAGE}/HAND-M.CUR)
file(GLOB samples ${SOURCE_DIR}/samples/*)
file(COPY ${samples} DESTINATION ${STAGE}/Samples)
file(COPY_FILE ${SOURCE_DIR}/skins/o.cjs ${STAGE}/skins/o.cjs)
# The texts are for reading in Notepad: CR LF line ends.
function(copy_text source target)
    file(READ ${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${target} "${text}")
endfunction()
copy_text(${SOURCE_DIR}/README.md ${STAGE}/README.txt)
copy_text(${CMAKE_CURRENT_LIST_DIR}/skins-README.txt ${STAGE}/skins/README.txt)

# NSIS reads "$" as the start of a variable in both the source path and the installed name; the latter is
# quoted as "<prefix><text>", the prefix (a variable) as it stands.
function(nsis_quote prefix text out)
    string(REPLACE "$" "$$" text "${text}")
    set(${out} "\"${prefix}${text}\"" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE staged LIST_DIRECTORIES false RELATIVE ${STAGE} ${STAGE}/*)
list(SORT staged CASE INSENSITIVE)
set(install "!macro TABULANE_INSTALL_FILES\n")
set(uninstall "!macro TABULANE_UNINSTALL_FILES\n")
set(folders)
set(current_folder "-")
set(size 0)
foreach(relative IN LISTS staged)
    get_filename_component(folder ${relative} DIRECTORY)
    string(REPLACE "/" "\\" windows_relative "${relative}")
    string(REPLACE "/" "\\" windows_folder "${folder}")
    if(NOT "${folder}" STREQUAL "${current_folder}")
        if("${folder}" STREQUAL "")
            string(APPEND install "    SetOutPath \"$INSTDIR\"\n")
        else()
            nsis_quote("$INSTDIR\\" "${windows_folder}" out_path)
            string(APPEND install "    SetOutPath ${out_path}\n")
            list(APPEND folders ${windows_folder})
        endif()
        set(current_folder "${folder}")
    endif()
    nsis_quote("" "${STAGE}/${relative}" source)
    nsis_quote("$INSTDIR\\" "${windows_relative}" target)
    string(APPEND install "    File ${source}\n")
    string(APPEND uninstall "    Delete ${target}\n")
    file(SIZE ${STAGE}/${relative} bytes)
    math(EXPR size "${size} + (${bytes} + 1023) / 1024")
endforeach()
list(REMOVE_DUPLICATES folders)
# Deepest first, so a folder is empty of our files before its parent is tried.
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
    nsis_quote("$INSTDIR\\" "${folder}" target)
    string(APPEND uninstall "    RMDir ${target}\n")
endforeach()
string(APPEND install "!macroend\n")
string(APPEND uninstall "!macroend\n")
file(WRITE ${FILE_LIST} "; Written by StageProgramFolder.cmake from ${STAGE}.\n${install}${uninstall}"
                        "!define TABULANE_FILES_KB ${size}\n")
