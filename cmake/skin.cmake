# Packs a folder of layouts and images into a ZIP (deflated) for a ZIPRES resource. The archive
# is rebuilt whenever a file of the folder changes.
function(add_skin_archive target folder output)
    file(GLOB_RECURSE files RELATIVE ${folder} CONFIGURE_DEPENDS ${folder}/*.xml ${folder}/*.png)
    list(SORT files)
    set(absolute)
    foreach(f ${files})
        list(APPEND absolute ${folder}/${f})
    endforeach()
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E rm -f ${output}
        COMMAND ${CMAKE_COMMAND} -E tar cf ${output} --format=zip ${files}
        WORKING_DIRECTORY ${folder}
        DEPENDS ${absolute}
        COMMENT "Packing ${folder} into ${output}"
        VERBATIM)
    add_custom_target(${target} DEPENDS ${output})
endfunction()
