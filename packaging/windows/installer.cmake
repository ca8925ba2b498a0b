# SPDX-License-Identifier: GPL-2.0-or-later
# Makes the installer: installs the build into a fresh stage folder, lists for the uninstaller
# what is there (it removes those files and no other), and runs makensis.
#   cmake -DBUILD=dir -DSTAGE=dir -DMAKENSIS=file -DSCRIPT=quorvel.nsi -DVERSION=x -DOUTPUT=file
#         -P installer.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE}/files
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

file(GLOB_RECURSE files RELATIVE ${STAGE}/files ${STAGE}/files/*)
file(GLOB_RECURSE folders LIST_DIRECTORIES true RELATIVE ${STAGE}/files ${STAGE}/files/*)
list(REMOVE_ITEM folders ${files})
list(SORT folders ORDER DESCENDING) # the deepest first
set(text "")
foreach(file IN LISTS files)
    string(REPLACE "/" "\\" file "${file}")
    string(APPEND text "Delete \"$INSTDIR\\${file}\"\n")
endforeach()
foreach(folder IN LISTS folders)
    string(REPLACE "/" "\\" folder "${folder}")
    string(APPEND text "RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
file(WRITE ${STAGE}/uninstall-files.nsh "${text}")

execute_process(COMMAND ${MAKENSIS} -V2 -DVERSION=${VERSION} -DFILES=${STAGE}/files
                        -DUNINSTALL_LIST=${STAGE}/uninstall-files.nsh -DOUTPUT=${OUTPUT} ${SCRIPT}
                COMMAND_ERROR_IS_FATAL ANY)
