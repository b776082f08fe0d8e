# Writes the page's script (its own scripts, then the module's loader) and module into SITE,
# beside the page and pictures that make-art.js wrote, then the service worker, whose version is
# a digest of every other file: any change of the page makes a new worker with its own cache.
file(MAKE_DIRECTORY ${SITE})
set(script "")
foreach(part IN LISTS SCRIPTS)
  file(READ ${part} text)
  string(APPEND script "${text}")
endforeach()
file(WRITE ${SITE}/tessarline.js "${script}")
file(COPY_FILE ${WASM} ${SITE}/tessarline.wasm ONLY_IF_DIFFERENT)

set(files index.html tessarline.js tessarline.wasm manifest.webmanifest icon-192.png icon-512.png)
set(digests "")
foreach(name IN LISTS files)
  file(SHA256 ${SITE}/${name} digest)
  string(APPEND digests "${digest}")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 VERSION)
list(JOIN files "', '" list)
set(FILES "'./', '${list}'")
configure_file(${WORKER} ${SITE}/sw.js @ONLY)
