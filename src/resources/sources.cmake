# The pictures of the resources are drawn as text (images/*.txt) and turned
# into .bmp, .ico and .cur files at build time; Ownerlens.rc names them
# without a folder and finds them in the generated folder.
set(OL_RESOURCE_IMAGES
  ${OL_GENERATED_DIR}/ownerlens.ico
  ${OL_GENERATED_DIR}/hand.cur
  ${OL_GENERATED_DIR}/split.cur
  ${OL_GENERATED_DIR}/toolbar.bmp
  ${OL_GENERATED_DIR}/row_icons.bmp
  ${OL_GENERATED_DIR}/sort_up.bmp
  ${OL_GENERATED_DIR}/sort_down.bmp
)
file(GLOB OL_RESOURCE_DRAWINGS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/images/*.txt)
add_custom_command(
  OUTPUT ${OL_RESOURCE_IMAGES}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/make_images.py
          ${CMAKE_CURRENT_LIST_DIR}/images ${OL_GENERATED_DIR}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_images.py ${OL_RESOURCE_DRAWINGS}
  COMMENT "Drawing the icon, cursors and bitmaps"
  VERBATIM
)
list(APPEND OL_GENERATED_DEPS ${OL_RESOURCE_IMAGES})

# windres reports no included files to the build tool: name them here so that
# a changed picture, table or id rebuilds the resources.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/Ownerlens.rc PROPERTIES OBJECT_DEPENDS
  "${OL_RESOURCE_IMAGES};${CMAKE_CURRENT_LIST_DIR}/resource_ids.h;${OL_GENERATED_DIR}/country_table.bin;${OL_GENERATED_DIR}/state_table.bin;${OL_GENERATED_DIR}/first_octet_table.bin"
)
