# velkaro_strip(<target>): the shipped executable carries no symbols; they go to
# <file>.debug beside it, which a debugger finds through the link the executable keeps to it.
# objcopy writes the time of the copy into the PE header unless SOURCE_DATE_EPOCH names one:
# 0, as the linker leaves it (cmake/reproducible.cmake), so that a build is the same bytes at
# any time.
# The linker's map, <file>.map beside it, names every library member linked in: the release's
# bill of materials is read from it (scripts/package).
function(velkaro_strip target)
  if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "objcopy is needed to strip ${target}")
  endif()
  target_link_options(${target} PRIVATE "LINKER:-Map=$<TARGET_FILE:${target}>.map")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
            ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
            ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
            $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
