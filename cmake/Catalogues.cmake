# Compiles every locale/<Domain>/<lang>.po into build/locale/<lang>/LC_MESSAGES/<Domain>.mo
find_program(MSGFMT msgfmt REQUIRED)
function(zel_add_catalogues)
  file(GLOB_RECURSE po_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/locale/*.po)
  set(outputs)
  foreach(po ${po_files})
    get_filename_component(lang ${po} NAME_WE)
    get_filename_component(dir ${po} DIRECTORY)
    get_filename_component(domain ${dir} NAME)
    set(mo ${CMAKE_BINARY_DIR}/locale/${lang}/LC_MESSAGES/${domain}.mo)
    add_custom_command(OUTPUT ${mo}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/locale/${lang}/LC_MESSAGES
      COMMAND ${MSGFMT} --check -o ${mo} ${po}
      DEPENDS ${po} VERBATIM)
    list(APPEND outputs ${mo})
    install(FILES ${mo} DESTINATION share/locale/${lang}/LC_MESSAGES)
  endforeach()
  add_custom_target(catalogues ALL DEPENDS ${outputs})
endfunction()
