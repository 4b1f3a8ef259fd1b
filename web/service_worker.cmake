# Writes SITE/sw.js from TEMPLATE (sw.js.in): the list of every file the site holds now, and a
# version made of their names and contents, which names the service worker's cache. Run as
# `cmake -DSITE=... -DTEMPLATE=... -P service_worker.cmake` after the site is complete; sw.js is
# rewritten only when it changes.
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(digests "")
set(HITBLOW_SITE_FILES "")
foreach(file IN LISTS files)
  file(SHA256 ${SITE}/${file} digest)
  string(APPEND digests "${file} ${digest}\n")
  string(APPEND HITBLOW_SITE_FILES "  '${file}',\n")
endforeach()
string(SHA256 HITBLOW_SITE_VERSION "${digests}")
string(SUBSTRING ${HITBLOW_SITE_VERSION} 0 16 HITBLOW_SITE_VERSION)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
