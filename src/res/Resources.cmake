# The program's resources: fum.rc with the images it compiles in, for fum.exe and for the GUI
# tests that load them.
set(FUM_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "")

function(fum_add_resources target)
  set(script ${FUM_RESOURCE_DIR}/fum.rc)
  file(GLOB images CONFIGURE_DEPENDS ${FUM_RESOURCE_DIR}/images/*.bmp ${FUM_RESOURCE_DIR}/images/*.ico)
  target_sources(${target} PRIVATE ${script})
  set_source_files_properties(${script} PROPERTIES
    OBJECT_DEPENDS "${images};${FUM_RESOURCE_DIR}/../comun/resource.h")
endfunction()

fum_add_resources(fum)
