# Writes the game's page from its template: cmake -DTEMPLATE= -DOUTPUT= -DSCRIPT= [-DFAVICON=]
# [-DINLINE=ON] -P web_page.cmake. With INLINE the script and the favicon (a file of its base64
# text) go inside the page, which then plays from disk, where a browser fetches nothing beside it.
if(INLINE)
  file(READ ${SCRIPT} code)
  string(FIND "${code}" "</script" closing)
  if(NOT closing EQUAL -1)
    message(FATAL_ERROR "${SCRIPT} contains </script and cannot go inside the page")
  endif()
  set(ORBFALL_SCRIPT "<script>\n${code}</script>")
  file(READ ${FAVICON} icon)
  string(STRIP "${icon}" icon)
  set(ORBFALL_FAVICON "data:image/png;base64,${icon}")
else()
  get_filename_component(script ${SCRIPT} NAME)
  set(ORBFALL_SCRIPT "<script src=\"${script}\"></script>")
  get_filename_component(ORBFALL_FAVICON ${FAVICON} NAME)
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
