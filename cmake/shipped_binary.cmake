# What ships is stripped of debug information: Wine (and Windows, for images
# whose sections are not page-aligned in the file) loads every section of a PE
# file into memory, debug sections included, which cost the tool some 35 MB of
# memory for as long as it ran. The debug information stays beside the binary,
# linked by name, for the debugger.
function(vorn_shipped_binary target)
    if(NOT CMAKE_OBJCOPY)
        message(FATAL_ERROR "vorn_shipped_binary needs objcopy")
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
        COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
            $<TARGET_FILE:${target}>
        WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
        VERBATIM)
endfunction()
