# cmake -DEXPECTED=<version line> -DGUI=<program> -DCLI=<program> -P versionoptions.cmake
# The xcb platform without a display makes any application object abort, so the window program
# passes only if it answers before creating one.
set(ENV{QT_QPA_PLATFORM} xcb)
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})

foreach(program IN ITEMS "${GUI}" "${CLI}")
    execute_process(COMMAND "${program}" --version
        RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT code STREQUAL "0" OR NOT out STREQUAL "${EXPECTED}\n")
        message(FATAL_ERROR "${program} --version: exit ${code}, stdout '${out}', stderr '${err}'; expected '${EXPECTED}'")
    endif()

    execute_process(COMMAND "${program}" --help
        RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(FIND "${out}" "--share-site URL" at)
    if(NOT code STREQUAL "0" OR at EQUAL -1)
        message(FATAL_ERROR "${program} --help: exit ${code}, stdout '${out}', stderr '${err}'; expected the endpoint options")
    endif()
endforeach()
