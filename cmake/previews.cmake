# The preview pictures go into "previews" beside the program, where it looks for them.
set(VELKARO_PREVIEWS_DIR ${CMAKE_CURRENT_BINARY_DIR}/previews)
file(GLOB preview_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/previews/*.png)
set(preview_copies)
foreach(picture IN LISTS preview_pictures)
  get_filename_component(picture_name ${picture} NAME)
  add_custom_command(OUTPUT ${VELKARO_PREVIEWS_DIR}/${picture_name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${picture} ${VELKARO_PREVIEWS_DIR}/${picture_name}
    DEPENDS ${picture}
    VERBATIM)
  list(APPEND preview_copies ${VELKARO_PREVIEWS_DIR}/${picture_name})
endforeach()
add_custom_target(previews ALL DEPENDS ${preview_copies})
set(VELKARO_PREVIEWS_DIR ${VELKARO_PREVIEWS_DIR} PARENT_SCOPE)
