# Writes the site's service worker after a build: the list of the site's files, and a
# cache name taken from their contents, so that a changed file reaches every player.
#   cmake -DSITE=dir -DTEMPLATE=sw.js.in -DFILES="a;b" -P service_worker.cmake
set(hashes "")
set(quoted "'./'")
foreach(file IN LISTS FILES)
    file(SHA256 ${SITE}/${file} hash)
    string(APPEND hashes "${hash}\n")
    string(APPEND quoted ", '${file}'")
endforeach()
string(SHA256 site_hash "${hashes}")
string(SUBSTRING ${site_hash} 0 16 TORNEL_SITE_HASH)
set(TORNEL_SITE_FILES "${quoted}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
