# Resources compiled into a deliverable: a manifest lists one resource a line,
#   TYPE ID VALUE
# where TYPE is STRING (VALUE is the text), or PNG, BITMAP, ICON, MENU (VALUE is
# a file beside the manifest). The generated C++ file defines the module's table.
set(GLIDER_RESOURCE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/GenerateResources.cmake)

function(glider_resources target manifest)
  get_filename_component(dir ${manifest} DIRECTORY)
  file(STRINGS ${manifest} lines ENCODING UTF-8)
  set(deps ${manifest})
  foreach(line IN LISTS lines)
    if(line MATCHES "^(PNG|BITMAP|ICON|MENU)[ \t]+[0-9]+[ \t]+(.+)$")
      list(APPEND deps ${dir}/${CMAKE_MATCH_2})
    endif()
  endforeach()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${manifest} -DOUTPUT=${out} -P ${GLIDER_RESOURCE_SCRIPT}
    DEPENDS ${deps} ${GLIDER_RESOURCE_SCRIPT}
    COMMENT "Compiling resources of ${target}")
  add_library(${target} STATIC ${out})
  target_link_libraries(${target} PUBLIC glider_platform_core)
  # The core looks the table up itself (a null HINSTANCE), so pull it in even
  # when the archive comes before the core on the link line.
  target_link_options(${target} INTERFACE "LINKER:--undefined=_Z22glider_resource_modulev")
endfunction()
