# SPDX-License-Identifier: GPL-2.0-or-later
# Puts beside Windows programs the DLLs they load and Qt's plugins they need, and nothing else:
# the plugins named, then every DLL that a program, a plugin or such a DLL imports (read from
# their import tables with objdump) and that lies in one of the search folders (Qt's and the
# mingw-w64 runtime's). What is found nowhere there is the system's own (KERNEL32.dll, ...).
#   cmake -DOBJDUMP=... -DSEARCH="dir|..." -DQT_PLUGINS=dir -DPLUGINS="platforms/qwindows|..."
#         -DDESTINATION=dir -DPROGRAMS="file|..." [-DLIST=file] -P deploy.cmake
# Lists are separated by "|" (a ";" would split the command line that runs this). PROGRAMS may
# hold wildcards. LIST, when given, receives the DLLs' and plugins' names.
cmake_minimum_required(VERSION 3.25)
foreach(list SEARCH PLUGINS PROGRAMS)
    string(REPLACE "|" ";" ${list} "${${list}}")
endforeach()

set(found "")
foreach(pattern IN LISTS PROGRAMS)
    file(GLOB matches ${pattern})
    list(APPEND found ${matches})
endforeach()
set(queue ${found})
set(deployed "")

foreach(plugin IN LISTS PLUGINS)
    get_filename_component(folder ${plugin} DIRECTORY)
    file(COPY ${QT_PLUGINS}/${plugin}.dll DESTINATION ${DESTINATION}/${folder})
    list(APPEND queue ${DESTINATION}/${plugin}.dll)
    list(APPEND deployed ${plugin}.dll)
endforeach()

set(seen "")
while(queue)
    list(POP_FRONT queue file)
    execute_process(COMMAND ${OBJDUMP} -p ${file} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "objdump cannot read ${file}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
    foreach(import IN LISTS imports)
        string(REPLACE "DLL Name: " "" name "${import}")
        string(TOLOWER "${name}" key)
        if(key IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${key})
        foreach(folder IN LISTS SEARCH)
            if(EXISTS ${folder}/${name})
                file(COPY ${folder}/${name} DESTINATION ${DESTINATION})
                list(APPEND queue ${DESTINATION}/${name})
                list(APPEND deployed ${name})
                break()
            endif()
        endforeach()
    endforeach()
endwhile()

if(LIST)
    list(SORT deployed)
    list(JOIN deployed "\n" text)
    file(WRITE ${LIST} "${text}\n")
endif()
