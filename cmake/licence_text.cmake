# Joins the licence and the runtime libraries' notices into one text.
file(READ ${LICENSE} text)
set(text "${text}\n\nThe Windows programs contain the MinGW-w64 runtime and the GCC runtime\nlibraries (GCC Runtime Library Exception). Their notices follow.\n\n")
if(EXISTS ${NOTICE})
  file(READ ${NOTICE} notice)
  set(text "${text}${notice}")
endif()
file(WRITE ${OUT} "${text}")
